#include "BancadaRegistos.h"

#include "platform/Mensagens.h"
#include "data/Consulta.h"

#include <QtTest>

namespace {

const QStringList Tipos = {"G", "E", "T", "P", "A"};  // the options 0 to 4; 5 is "Tudo"

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

// Rows with many equal values, Nulls and texts equal but for letter case, in
// the fields the ordering test sorts by.
void semearVariado(BancadaRegistos& b, int n)
{
    Consulta::Transaccao t(b.bd());
    const QStringList matriculas = {"aa-01", "AA-01", "bb-02", "Cc-03", "", "zz-99"};
    for (int i = 1; i <= n; ++i) {
        auto ou = [&](int cada, const QVariant& v) { return i % cada == 0 ? QVariant() : v; };
        Consulta::executar(
            b.bd(),
            QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", Viatura, \"Peso líquido\", "
                           "\"Data de saída\", Empresa) VALUES (?, ?, ?, ?, ?, ?)"),
            {ou(11, Tipos[(i * 7) % 5]), ou(5, i % 13), ou(7, matriculas[i % 6]), (i * 37) % 17,
             ou(3, QStringLiteral("2026-03-%1 10:00:00").arg(1 + i % 4, 2, 10, QLatin1Char('0'))), ou(2, 1)});
    }
    t.confirmar();
}

// Every row the grid can show, the view asking for page after page.
QList<qint64> pesagens(GrelhaPesagens& g)
{
    ModeloGrelhaPesagens& m = g.modelo();
    while (m.canFetchMore({}))
        m.fetchMore({});
    QList<qint64> v;
    for (int r = 0; r < m.rowCount(); ++r)
        v << m.pesagem(r);
    return v;
}

QList<qint64> coluna(GrelhaPesagens& g, const QString& campo)
{
    pesagens(g);
    QList<qint64> v;
    for (int r = 0; r < g.modelo().rowCount(); ++r)
        v << g.modelo().valor(r, campo).toLongLong();
    return v;
}

// The rows the whole result would give in one statement, for comparison.
QList<qint64> porUmaConsulta(BancadaRegistos& b, qint64 acima, int opcao, const QString& campo, bool desc)
{
    QString sql = QStringLiteral("SELECT Pesagem FROM Pesagens WHERE Pesagem > ?");
    QVariantList valores{acima};
    if (opcao < 5) {
        sql += QStringLiteral(" AND \"Tipo de pesagem\" = ?");
        valores << Tipos[opcao];
    }
    sql += QStringLiteral(" ORDER BY \"%1\" %2, Pesagem DESC").arg(campo, desc ? "DESC" : "ASC");
    QSqlQuery q = Consulta::executar(b.bd(), sql, valores);
    QList<qint64> v;
    while (q.next())
        v << q.value(0).toLongLong();
    return v;
}

}  // namespace

class TesteGrelhaPesagens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ordemIgualAUmaConsulta_data();
    void ordemIgualAUmaConsulta();
    void lePaginaAPagina();
    void recomecoLimpaOEcraEAOpcaoNao();
    void cliqueNoCabecalhoAlterna();
    void ordemDeCampoInexistenteAvisa();
    void duploCliquePeloTipo_data();
    void duploCliquePeloTipo();
};

void TesteGrelhaPesagens::ordemIgualAUmaConsulta_data()
{
    QTest::addColumn<QString>("campo");
    for (const char* campo : {"Pesagem", "Tipo de pesagem", "Número de pesagem", "Viatura", "Data de saída",
                              "Peso líquido", "Empresa"})
        QTest::newRow(campo) << QString::fromUtf8(campo);
}

// Page by page, walked along the field's index or sorted in one statement,
// the grid shows the rows one statement over the whole result gives, in its
// order: each kind, both directions, before the first save (every row) and
// after it (the last hundred row numbers).
void TesteGrelhaPesagens::ordemIgualAUmaConsulta()
{
    QFETCH(QString, campo);
    BancadaRegistos b;
    semearVariado(b, 300);
    for (bool depoisDeGravar : {false, true}) {
        if (depoisDeGravar) {
            b.primeira(QStringLiteral("V1"), QStringLiteral("AA-01"), QStringLiteral("1000"));
            b.gravacao->GravarPrimeiraPesagem();
            QCOMPARE(b.estacao().UltimaPesagem, 301);
        }
        for (int opcao : {0, 3, 4, 5}) {
            for (bool desc : {true, false}) {
                for (int limite : {0, 1000}) {
                    b.grelha->modelo().definirPaginacao(7, limite);
                    b.grelha->optTP_Click(opcao);
                    b.grelha->OrdemGrelha = u'[' + campo + (desc ? QStringLiteral("] desc") : QStringLiteral("]"));
                    b.grelha->OrdenarColuna();
                    const QList<qint64> esperadas =
                        porUmaConsulta(b, b.estacao().UltimaPesagem - 100, opcao, campo, desc);
                    QVERIFY(!esperadas.isEmpty());
                    QCOMPARE(pesagens(*b.grelha), esperadas);
                }
            }
        }
    }
    QVERIFY(b.t.mensagens.caixas.isEmpty());
}

void TesteGrelhaPesagens::lePaginaAPagina()
{
    BancadaRegistos b;
    semear(b, 30, {"G"});
    ModeloGrelhaPesagens& m = b.grelha->modelo();
    m.definirPaginacao(8, 0);
    b.grelha->optTP_Click(0);
    QCOMPARE(m.rowCount(), 8);
    QCOMPARE(m.data(m.index(0, 22)).toString(), QStringLiteral("07-03-2026"));
    QVERIFY(!m.flags(m.index(0, 1)).testFlag(Qt::ItemIsEditable));
    QCOMPARE(pesagens(*b.grelha).size(), 30);
    QVERIFY(!m.canFetchMore({}));
}

void TesteGrelhaPesagens::recomecoLimpaOEcraEAOpcaoNao()
{
    BancadaRegistos b;
    semear(b, 10, {"G", "P"});
    b.ecra.campos[Txt::CodigoViatura] = QStringLiteral("AB12");
    b.grelha->optTP_Click(3);
    QCOMPARE(b.ecra.limpezas, 0);
    b.ecra.activos[MnuOpc::ApagarPrimeiraPesagem] = true;

    b.grelha->RefrescarLista();

    QCOMPARE(b.ecra.activos.value(MnuOpc::ApagarPrimeiraPesagem), false);
    // The change handling runs only for the field that held text.
    QCOMPARE(b.ecra.alteracoes, QList<int>{Txt::CodigoViatura});
    QCOMPARE(b.ecra.limpezas, 1);
    QCOMPARE(b.grelha->optTP(), 3);
    QCOMPARE(pesagens(*b.grelha), (QList<qint64>{10, 8, 6, 4, 2}));
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
    b.grelha->dbg_HeadClick(31);  // past the columns: nothing
    QCOMPARE(coluna(*b.grelha, QStringLiteral("Peso líquido")), decrescente);
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
}

void TesteGrelhaPesagens::ordemDeCampoInexistenteAvisa()
{
    BancadaRegistos b;
    semear(b, 3, {"G"});
    b.grelha->optTP_Click(0);
    b.grelha->OrdemGrelha = QStringLiteral("[Inexistente] desc");
    b.grelha->OrdenarColuna();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro:3265 ")));
    QCOMPARE(b.t.mensagens.caixas[0].titulo, QStringLiteral("Zumarel"));
    QCOMPARE(pesagens(*b.grelha), (QList<qint64>{3, 2, 1}));
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
}

void TesteGrelhaPesagens::duploCliquePeloTipo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("ficheiro");
    for (auto [tipo, ficheiro] : {std::pair{"E", "doc_sgv_e.rpt"}, {"G", "doc_sgv_g.rpt"}, {"T", "doc_sgv_t.rpt"},
                                  {"P", "doc_pri.rpt"}, {"A", "doc_anu.rpt"}, {"", ""}})
        QTest::newRow(*tipo ? tipo : "sem tipo") << tipo << ficheiro;
}

void TesteGrelhaPesagens::duploCliquePeloTipo()
{
    QFETCH(QString, tipo);
    QFETCH(QString, ficheiro);
    BancadaRegistos b;
    semear(b, 6, {"G", tipo});
    b.grelha->optTP_Click(5);
    b.grelha->dbg_DblClick(0);

    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
    QCOMPARE(b.t.impressora.pedidos.size(), ficheiro.isEmpty() ? 0 : 1);
    if (ficheiro.isEmpty())
        return;
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), ficheiro);
    QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Tipo de pesagem} = '%1' and {Pesagens.Pesagem} = 6").arg(tipo));
    QCOMPARE(p.TituloJanela, QStringLiteral("Segunda via"));
    QCOMPARE(p.EstadoJanela, 2);  // maximised

    // An empty grid, or no row chosen: nothing.
    Consulta::executar(b.bd(), QStringLiteral("DELETE FROM Pesagens"));
    b.grelha->optTP_Click(5);
    b.grelha->dbg_DblClick(0);
    b.grelha->dbg_DblClick(-1);
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(b.t.mensagens.cursorOcupado, 0);
}

QTEST_GUILESS_MAIN(TesteGrelhaPesagens)
#include "tst_GrelhaPesagens.moc"
