#include "../BancadaRegistos.h"
#include "SementeDocumentos.h"
#include "records/AnularPesagem.h"
#include "records/SegundaVia.h"

#include <QtTest>

using Controlo = EscolhaDocumento::Controlo;

// The second-copy and cancellation windows' logic on a real station database
// holding 150 Guias, the report printer recording what it is asked.
class TesteEscolhaDocumento : public QObject
{
    Q_OBJECT

    std::unique_ptr<BancadaRegistos> b;
    QList<PedidoRelatorio>& pedidos() { return b->t.impressora.pedidos; }
    QString caixa(int i) { return b->t.mensagens.caixas[i].texto + '|' + QString::number(b->t.mensagens.caixas[i].estilo); }
    // A report request in one line: file, formula, title, destination/window state/copies.
    static QString pedido(const PedidoRelatorio& p)
    {
        return QStringLiteral("%1 %2 %3 %4/%5/%6")
            .arg(QFileInfo(p.FicheiroRelatorio).fileName(), p.FormulaSeleccao, p.TituloJanela)
            .arg(p.Destino)
            .arg(p.EstadoJanela)
            .arg(p.Copias);
    }
    // The operator types a number into the box and presses Enter.
    static void procurar(EscolhaDocumento& l, const QString& texto)
    {
        l.Foco(Controlo::Cmb);
        l.cmb_Editado(texto);
        int enter = 13;
        l.cmb_KeyPress(enter);
    }

private Q_SLOTS:
    void init()
    {
        b = std::make_unique<BancadaRegistos>(true);
        b->entrar(4);
        documentos(b->bd(), QStringLiteral("G"), 150);
        documentos(b->backup(), QStringLiteral("G"), 150);
    }
    void cleanup() { b.reset(); }

    void listaDosMaisRecentes()
    {
        SegundaVia l(b->estacao());
        l.Form_Load();
        QCOMPARE(l.texto(), "Vazio");  // no Entradas
        QVERIFY(!l.cmbActivo() && !l.cmdVisivel());
        int tecla = 13;
        l.opt_KeyPress(tecla);
        QCOMPARE(l.foco(), Controlo::Opt0);  // nowhere to go

        l.opt_KeyPress(tecla = 'g');
        QCOMPARE(l.lista().size(), 101);
        QCOMPARE(l.lista().first() + l.lista().last(), "15050");
        QCOMPARE(QStringList({l.lblSV(0), l.lblSV(1), l.lblSV(2), l.painel()}),
                 QStringList({"AA-150", "Cliente 150", "01-12-2026 08:30", "Guia de remessa"}));
        QVERIFY(l.cmdVisivel());
        l.opt_KeyPress(tecla = 13);
        QCOMPARE(l.foco(), Controlo::Cmb);

        // Automatic Talões carry no number; a row with no exit date shows none.
        Consulta::executar(b->bd(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", Viatura) VALUES ('T', 'X')"));
        documentos(b->bd(), QStringLiteral("T"), 1, 4);
        Consulta::executar(b->bd(), QStringLiteral("UPDATE Pesagens SET \"Data de saída\" = NULL WHERE Viatura = 'AA-4'"));
        l.opt_Click(2);
        QCOMPARE(l.lista(), QStringList{"4"});
        QCOMPARE(l.lblSV(0) + '|' + l.lblSV(2), "AA-4|");
        QVERIFY(b->t.mensagens.caixas.isEmpty());
    }

    void procura_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("matricula");  // empty: not found
        QTest::addColumn<bool>("botoes");
        QTest::addColumn<QString>("numero");     // of the formula

        QTest::newRow("antiga") << "7" << "AA-7" << true << "7";
        QTest::newRow("zeros") << "007" << "AA-7" << true << "7";
        QTest::newRow("colado") << "12ab" << "AA-12" << true << "12";
        QTest::newRow("inexistente") << "151" << "" << false << "151";
        QTest::newRow("enorme") << "99999999999999999999" << "" << false << "99999999999999999999";
        QTest::newRow("em branco") << "  " << "" << true << "0";  // the buttons stay as they were
    }
    void procura()
    {
        QFETCH(QString, texto);
        QFETCH(QString, matricula);
        QFETCH(bool, botoes);
        QFETCH(QString, numero);
        b->estacao().Def.CopiasSegundaVia = 3;
        SegundaVia l(b->estacao());
        l.Form_Load();
        l.opt_Click(1);
        procurar(l, texto);
        QCOMPARE(l.lblSV(0), matricula);
        QCOMPARE(l.cmdVisivel(), botoes);
        QCOMPARE(l.foco(), botoes ? Controlo::Cmd0 : Controlo::Cmb);  // Enter moves on to the visible buttons
        QVERIFY(l.amarelo(l.foco()));

        l.cmd_Click(0);
        l.cmd_Click(1);
        const QString formula = "doc_sgv_g.rpt {Pesagens.Tipo de pesagem} = 'G' and {Pesagens.Número de pesagem} = " + numero;
        QCOMPARE(pedido(pedidos()[0]), formula + " Segunda via 0/2/1");  // a maximised preview
        QCOMPARE(pedido(pedidos()[1]), formula + "  1/0/3");             // the printer, SegundaVia copies
    }

    // A copy the print system does not take says so, with its reason.
    void copiaNaoImpressa()
    {
        b->t.impressora.estado = EstadoRelatorio::FalhaImpressao;
        b->t.impressora.falha = {ErroImpressora, QStringLiteral("A impressora fila não aceitou o trabalho: recusa")};
        SegundaVia l(b->estacao());
        l.Form_Load();
        l.cmd_Click(1);
        QCOMPARE(pedidos().size(), 1);
        QCOMPARE(b->t.mensagens.vistas(),
                 QStringList{"Erro 482 48 O documento não foi impresso\n\n(A impressora fila não aceitou o trabalho: recusa)"});
    }

    // The keys on the options; Talões only at level 4, in sight and in the list.
    void teclas()
    {
        documentos(b->bd(), QStringLiteral("T"), 2);
        const struct { bool anular; quint8 nivel; int tecla; int opcao; } casos[] = {
            {false, 4, 'G', 1}, {false, 4, 't', 2}, {false, 3, 't', 0}, {true, 4, 's', 1}, {true, 4, 'g', 0}, {true, 3, 'T', 0}};
        for (auto [anular, nivel, tecla, opcao] : casos) {
            b->estacao().Acesso.NivelAcesso = nivel;
            std::unique_ptr<EscolhaDocumento> l(anular ? static_cast<EscolhaDocumento*>(new AnularPesagem(b->estacao()))
                                                       : new SegundaVia(b->estacao()));
            l->Form_Load();
            l->opt_KeyPress(tecla);
            QCOMPARE(l->opt(), opcao);
            QCOMPARE(l->foco(), Controlo(int(Controlo::Opt0) + opcao));
            QCOMPARE(l->optVisivel(2), nivel == 4);
            l->opt_Click(2);
            QCOMPARE(l->lista().isEmpty(), nivel < 4);
        }
        // In the number box only digits, Backspace and Esc reach the text.
        SegundaVia l(b->estacao());
        for (int k : {int('0'), int('9'), 8, 27, int('a'), int('-'), 22}) {
            int KeyAscii = k;
            l.cmb_KeyPress(KeyAscii);
            QCOMPARE(KeyAscii, k == 'a' || k == '-' || k == 22 ? 0 : k);
        }
        QCOMPARE(b->t.mensagens.beeps, 3);
    }

    void baseIlegivel()
    {
        Consulta::executar(b->bd(), QStringLiteral("ALTER TABLE Pesagens RENAME TO Outra"));
        AnularPesagem l(b->estacao());
        l.Form_Load();
        QCOMPARE(b->t.mensagens.caixas.size(), 1);
        QVERIFY(caixa(0).startsWith(QStringLiteral("Erro no acesso à tabela de pesagens\n\n(")));
        QVERIFY(caixa(0).endsWith(QStringLiteral("|48")));
        QCOMPARE(l.texto(), "Vazio");
        l.opt_Click(1);  // still usable
        QCOMPARE(b->t.mensagens.caixas.size(), 2);
    }

    void anulacao_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("entretanto");  // SQL run between the look-up and the click
        QTest::addColumn<QString>("numero");      // looked up
        QTest::addColumn<bool>("anulada");

        QTest::newRow("sim") << 6 << "" << "12" << true;
        QTest::newRow("não") << 7 << "" << "12" << false;
        QTest::newRow("apagada") << 6 << "DELETE FROM Pesagens WHERE \"Número de pesagem\" = 12" << "12" << false;
        QTest::newRow("já anulada") << 6 << "UPDATE Pesagens SET \"Tipo de pesagem\" = 'A' WHERE \"Número de pesagem\" = 12"
                                    << "12" << false;
        QTest::newRow("número sem documento") << 6 << "" << "151" << false;
    }
    void anulacao()
    {
        QFETCH(int, resposta);
        QFETCH(QString, entretanto);
        QFETCH(QString, numero);
        QFETCH(bool, anulada);
        AnularPesagem l(b->estacao());
        l.Form_Load();
        l.opt_Click(1);
        procurar(l, numero);
        if (!entretanto.isEmpty())
            Consulta::executar(b->bd(), entretanto);
        const QList<QVariantMap> antes = BancadaRegistos::linhas(b->bd());
        const QList<QVariantMap> copia = BancadaRegistos::linhas(b->backup());
        b->t.mensagens.respostas << resposta;

        l.cmd_Click();

        QCOMPARE(caixa(0) + b->t.mensagens.caixas[0].titulo, "Confirma que deseja anular a pesagem|292Anular pesagem");
        QCOMPARE(l.fechar(), anulada);
        QCOMPARE(BancadaRegistos::linhas(b->backup()), copia);  // the backup is never written
        if (!anulada) {
            QCOMPARE(BancadaRegistos::linhas(b->bd()), antes);
            QVERIFY(pedidos().isEmpty());
            if (resposta == 6)
                QCOMPARE(caixa(1), "Pesagem não existente em tabela de pesagens|64");
            return;
        }
        QVariantMap esperada = antes[11];  // number, weights, dates and parties kept
        esperada["Tipo de pesagem"] = "A";
        esperada["Peso líquido"] = 0;
        QCOMPARE(BancadaRegistos::linha(b->bd(), 12), esperada);
        QCOMPARE(pedidos().size(), 1);
        QCOMPARE(pedido(pedidos()[0]),
                 "doc_anu.rpt {Pesagens.Tipo de pesagem} = 'A' and {Pesagens.Número de pesagem} = 12 Pesagem anulada 0/2/1");

        // Reopened, the list lacks 12; the next Guia takes the next number.
        l.opt_Click(1);
        QVERIFY(!l.lista().contains("12"));
        b->segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("31500"),
                   OpcaoDocumento::Guia);
        b->gravacao->GravarSegundaPesagem();
        CONFERIR(BancadaRegistos::linhas(b->bd()).last(), {{"Tipo de pesagem", "G"}, {"Número de pesagem", 151}});
    }
};

QTEST_GUILESS_MAIN(TesteEscolhaDocumento)
#include "tst_EscolhaDocumento.moc"
