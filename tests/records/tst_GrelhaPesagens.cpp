#include "BancadaRegistos.h"

#include "platform/Mensagens.h"
#include "data/Consulta.h"

#include <QtTest>

namespace {

// Rows 1..n of the kinds in turn, with net weights that do not follow the row order.
void semear(BancadaRegistos& b, int n, const QStringList& tipos)
{
    Consulta::Transaccao t(b.bd());
    for (int i = 1; i <= n; ++i) {
        const QString tipo = tipos[(i - 1) % tipos.size()];
        Consulta::executar(b.bd(),
                           QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\", \"Número de pesagem\", "
                                          "\"Peso líquido\", \"Data de saída\") VALUES (?, ?, ?, ?, ?)"),
                           {i, tipo.isNull() ? QVariant() : QVariant(tipo), i % 4 == 0 ? QVariant() : QVariant(i),
                            (i * 37) % 101, QStringLiteral("2026-03-07 10:00:00")});
    }
    t.confirmar();
}

QList<qint64> pesagens(GrelhaPesagens& g)
{
    QList<qint64> v;
    for (int r = 0; r < g.modelo().rowCount(); ++r)
        v << g.modelo().pesagem(r);
    return v;
}

QList<qint64> coluna(GrelhaPesagens& g, const QString& campo)
{
    QList<qint64> v;
    for (int r = 0; r < g.modelo().rowCount(); ++r)
        v << g.modelo().valor(r, campo).toLongLong();
    return v;
}

}  // namespace

class TesteGrelhaPesagens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtrosEJanelaDasUltimas_data();
    void filtrosEJanelaDasUltimas();
    void colunasELegendas();
    void recomecoLimpaOEcra();
    void opcaoNaoMexeNoEcra();
    void cliqueNoCabecalhoAlterna();
    void ordemMantemFiltroEUltimas();
    void ordemDeCampoInexistenteAvisa();
    void duploCliquePeloTipo_data();
    void duploCliquePeloTipo();
    void muitasLinhasLidasAsPaginas();
};

void TesteGrelhaPesagens::filtrosEJanelaDasUltimas_data()
{
    QTest::addColumn<int>("opcao");
    QTest::addColumn<qint32>("ultima");
    QTest::addColumn<QList<qint64>>("esperadas");

    // 150 rows of kinds G, E, T, P, A, none, '' in turn: row i has kind (i-1) % 7.
    auto linhas = [](int tipo, qint64 acima) {
        QList<qint64> v;
        for (qint64 i = 150; i > acima; --i) {
            if (tipo < 0 || (i - 1) % 7 == tipo)
                v << i;
        }
        return v;
    };
    const char* const nomes[] = {"Guias", "Entradas", "Talões", "1as.Pesagens", "Anuladas"};
    for (int o = 0; o < 5; ++o) {
        QTest::addRow("%s no arranque", nomes[o]) << o << qint32(0) << linhas(o, 0);
        QTest::addRow("%s depois da 140", nomes[o]) << o << qint32(140) << linhas(o, 40);
    }
    QTest::newRow("Tudo no arranque") << 5 << qint32(0) << linhas(-1, 0);
    QTest::newRow("Tudo depois da 140") << 5 << qint32(140) << linhas(-1, 40);
}

void TesteGrelhaPesagens::filtrosEJanelaDasUltimas()
{
    QFETCH(int, opcao);
    QFETCH(qint32, ultima);
    QFETCH(QList<qint64>, esperadas);
    BancadaRegistos b;
    semear(b, 150, {"G", "E", "T", "P", "A", QString(), QStringLiteral("")});
    b.estacao().UltimaPesagem = ultima;
    b.grelha->optTP_Click(opcao);
    QCOMPARE(b.grelha->optTP(), opcao);
    QCOMPARE(pesagens(*b.grelha), esperadas);
}

void TesteGrelhaPesagens::colunasELegendas()
{
    BancadaRegistos b;
    semear(b, 1, {"G"});
    b.grelha->optTP_Click(0);
    const ModeloGrelhaPesagens& m = b.grelha->modelo();
    QCOMPARE(m.columnCount(), 27);
    QStringList legendas;
    for (int c = 0; c < 27; ++c)
        legendas << m.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(legendas, (QStringList{"Pesagem", "Tipo", "Número", "Cód.", "Viatura", "Cód.", "Entidade", "Cód.",
                                    "Transportador", "Cód.", "Produto", "Cód.", "Local de carga", "Cód.",
                                    "Local de descarga", "Observações", "1a.Pesag.", "Básc", "Data", "Hora",
                                    "2a.Pesag.", "Básc", "Data", "Hora", "Líquido", "Operador", "Empresa"}));
    QCOMPARE(m.data(m.index(0, 22)).toString(), QStringLiteral("07-03-2026"));
    QCOMPARE(m.data(m.index(0, 1)).toString(), QStringLiteral("G"));
    QCOMPARE(m.data(m.index(0, 24)).toLongLong(), 37);
    QVERIFY(!m.flags(m.index(0, 1)).testFlag(Qt::ItemIsEditable));
}

void TesteGrelhaPesagens::recomecoLimpaOEcra()
{
    BancadaRegistos b;
    semear(b, 10, {"G", "P"});
    b.grelha->optTP_Click(3);
    b.ecra.campos[Txt::CodigoViatura] = QStringLiteral("AB12");
    b.ecra.activos[MnuOpc::ApagarPrimeiraPesagem] = true;

    b.grelha->RefrescarLista();

    QCOMPARE(b.ecra.activos.value(MnuOpc::ApagarPrimeiraPesagem), false);
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), QString());
    // The change handling runs only for the field that held text.
    QCOMPARE(b.ecra.alteracoes, QList<int>{Txt::CodigoViatura});
    QCOMPARE(b.ecra.limpezas, 1);
    QCOMPARE(b.grelha->optTP(), 3);
    QCOMPARE(pesagens(*b.grelha), (QList<qint64>{10, 8, 6, 4, 2}));
}

void TesteGrelhaPesagens::opcaoNaoMexeNoEcra()
{
    BancadaRegistos b;
    b.ecra.campos[Txt::CodigoViatura] = QStringLiteral("AB12");
    b.grelha->optTP_Click(5);
    QCOMPARE(b.ecra.limpezas, 0);
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), QStringLiteral("AB12"));
    QVERIFY(b.ecra.activos.isEmpty());
}

void TesteGrelhaPesagens::cliqueNoCabecalhoAlterna()
{
    BancadaRegistos b;
    semear(b, 30, {"G"});
    b.grelha->optTP_Click(0);
    const int liquido = 24;
    QList<qint64> crescente = coluna(*b.grelha, QStringLiteral("Peso líquido"));
    std::sort(crescente.begin(), crescente.end());
    QList<qint64> decrescente = crescente;
    std::reverse(decrescente.begin(), decrescente.end());

    // First click descending, then in turn; another column starts descending.
    b.grelha->dbg_HeadClick(liquido);
    QCOMPARE(coluna(*b.grelha, QStringLiteral("Peso líquido")), decrescente);
    QVERIFY(b.grelha->OrdemGrelha.isEmpty());
    b.grelha->dbg_HeadClick(liquido);
    QCOMPARE(coluna(*b.grelha, QStringLiteral("Peso líquido")), crescente);
    b.grelha->dbg_HeadClick(0);
    QCOMPARE(pesagens(*b.grelha).first(), 30);

    // A re-read brings newest first back, and the column remembers its turn.
    b.grelha->RefrescarLista();
    QCOMPARE(pesagens(*b.grelha).first(), 30);
    b.grelha->dbg_HeadClick(liquido);
    QCOMPARE(coluna(*b.grelha, QStringLiteral("Peso líquido")), decrescente);

    // Null sorts lowest: first when ascending.
    b.grelha->dbg_HeadClick(2);
    b.grelha->dbg_HeadClick(2);
    QVERIFY(b.grelha->modelo().valor(0, QStringLiteral("Número de pesagem")).isNull());
    QVERIFY(!b.grelha->modelo().valor(29, QStringLiteral("Número de pesagem")).isNull());
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
    QCOMPARE(b.grelha->OrdemAscendente[31 - 1], false);
}

void TesteGrelhaPesagens::ordemMantemFiltroEUltimas()
{
    BancadaRegistos b;
    semear(b, 150, {"G", "E"});
    b.estacao().UltimaPesagem = 150;
    b.grelha->optTP_Click(1);
    b.grelha->OrdemGrelha = QStringLiteral("[Peso líquido]");
    b.grelha->OrdenarColuna();
    const QList<qint64> linhas = pesagens(*b.grelha);
    QCOMPARE(linhas.size(), 50);
    for (qint64 p : linhas)
        QVERIFY(p > 50 && p % 2 == 0);
}

void TesteGrelhaPesagens::ordemDeCampoInexistenteAvisa()
{
    BancadaRegistos b;
    semear(b, 3, {"G"});
    b.grelha->optTP_Click(0);
    b.grelha->OrdemGrelha = QString();
    b.grelha->OrdenarColuna();  // nothing at all
    QVERIFY(b.t.mensagens.caixas.isEmpty());

    b.grelha->OrdemGrelha = QStringLiteral("[Inexistente] desc");
    b.grelha->OrdenarColuna();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro:3265 ")));
    QCOMPARE(b.t.mensagens.caixas[0].estilo, 0);
    QCOMPARE(b.t.mensagens.caixas[0].titulo, QStringLiteral("Zumarel"));
    QCOMPARE(pesagens(*b.grelha), (QList<qint64>{3, 2, 1}));
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
}

void TesteGrelhaPesagens::duploCliquePeloTipo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("ficheiro");
    QTest::newRow("E") << "E" << "doc_sgv_e.rpt";
    QTest::newRow("G") << "G" << "doc_sgv_g.rpt";
    QTest::newRow("T") << "T" << "doc_sgv_t.rpt";
    QTest::newRow("P") << "P" << "doc_pri.rpt";
    QTest::newRow("A") << "A" << "doc_anu.rpt";
    QTest::newRow("sem tipo") << "" << "";
}

void TesteGrelhaPesagens::duploCliquePeloTipo()
{
    QFETCH(QString, tipo);
    QFETCH(QString, ficheiro);
    BancadaRegistos b;
    semear(b, 6, {"G", tipo});
    b.grelha->optTP_Click(5);
    QCOMPARE(b.grelha->modelo().pesagem(0), 6);

    b.grelha->dbg_DblClick(0);

    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
    if (ficheiro.isEmpty()) {
        QVERIFY(b.t.impressora.pedidos.isEmpty());
        return;
    }
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), ficheiro);
    QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Tipo de pesagem} = '%1' and {Pesagens.Pesagem} = 6").arg(tipo));
    QCOMPARE(p.Destino, 0);
    QCOMPARE(p.TituloJanela, QStringLiteral("Segunda via"));
    QCOMPARE(p.EstadoJanela, 2);
    QCOMPARE(p.Esquerda, 0);
    QCOMPARE(p.Topo, 0);

    // An empty grid, or no row chosen: nothing.
    Consulta::executar(b.bd(), QStringLiteral("DELETE FROM Pesagens"));
    b.grelha->optTP_Click(5);
    QCOMPARE(b.grelha->modelo().rowCount(), 0);
    b.grelha->dbg_DblClick(0);
    b.grelha->dbg_DblClick(-1);
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
}

void TesteGrelhaPesagens::muitasLinhasLidasAsPaginas()
{
    BancadaRegistos b;
    semear(b, 1000, {"G"});
    b.grelha->optTP_Click(0);
    const ModeloGrelhaPesagens& m = b.grelha->modelo();
    QCOMPARE(m.rowCount(), 1000);
    QCOMPARE(m.data(m.index(999, 0)).toLongLong(), 1);
    QCOMPARE(m.data(m.index(0, 0)).toLongLong(), 1000);
    QCOMPARE(m.data(m.index(500, 24)).toLongLong(), (500 * 37) % 101);
    // A row removed after the load shows empty, without failing.
    Consulta::executar(b.bd(), QStringLiteral("DELETE FROM Pesagens WHERE Pesagem = 250"));
    QVERIFY(!m.data(m.index(750, 0)).isValid());
    QCOMPARE(m.data(m.index(749, 0)).toLongLong(), 251);
}

QTEST_GUILESS_MAIN(TesteGrelhaPesagens)
#include "tst_GrelhaPesagens.moc"
