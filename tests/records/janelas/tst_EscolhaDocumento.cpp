#include "../BancadaRegistos.h"
#include "SementeDocumentos.h"
#include "records/AnularPesagem.h"
#include "records/SegundaVia.h"

#include <QtTest>

using Controlo = EscolhaDocumento::Controlo;

// The second-copy and cancellation windows' logic on a real station database,
// the report printer recording what it is asked.
class TesteEscolhaDocumento : public QObject
{
    Q_OBJECT

    std::unique_ptr<BancadaRegistos> b;
    QList<PedidoRelatorio>& pedidos() { return b->t.impressora.pedidos; }
    QString valor(const QString& sql)
    {
        QSqlQuery q = Consulta::executar(b->bd(), sql);
        return q.next() ? q.value(0).toString() : QString();
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
        QCOMPARE(l.texto(), QStringLiteral("Vazio"));  // no Entradas
        QVERIFY(!l.cmbActivo() && !l.cmdVisivel());
        int enter = 13;
        l.opt_KeyPress(enter);
        QCOMPARE(l.foco(), Controlo::Opt0);  // nowhere to go

        int g = 'g';
        l.opt_KeyPress(g);
        QCOMPARE(l.lista().size(), 101);
        QCOMPARE(l.lista().first() + l.lista().last(), QStringLiteral("15050"));
        QCOMPARE(QStringList({l.lblSV(0), l.lblSV(1), l.lblSV(2), l.painel()}),
                 QStringList({"AA-150", "Cliente 150", "01-12-2026 08:30", "Guia de remessa"}));
        QVERIFY(l.cmdVisivel());
        l.opt_KeyPress(enter = 13);
        QCOMPARE(l.foco(), Controlo::Cmb);
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
        QCOMPARE(l.amarelo(l.foco()), true);

        l.cmd_Click(0);
        l.cmd_Click(1);
        const QString formula = "{Pesagens.Tipo de pesagem} = 'G' and {Pesagens.Número de pesagem} = " + numero;
        for (const PedidoRelatorio& p : pedidos())
            QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName() + p.FormulaSeleccao, "doc_sgv_g.rpt" + formula);
        QCOMPARE(pedidos()[0].TituloJanela + QString::number(pedidos()[0].Destino) + QString::number(pedidos()[0].EstadoJanela),
                 QStringLiteral("Segunda via02"));  // a maximised preview
        QCOMPARE(pedidos()[1].TituloJanela + QString::number(pedidos()[1].Destino) + QString::number(pedidos()[1].Copias),
                 QStringLiteral("13"));  // the printer, [NrCopias] SegundaVia copies
    }

    void teclas_data()
    {
        QTest::addColumn<bool>("anulacao");
        QTest::addColumn<int>("nivel");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("opcao");  // selected after the key on the options
        QTest::addColumn<bool>("talao");

        QTest::newRow("2ª via G") << false << 4 << int('G') << 1 << true;
        QTest::newRow("2ª via t") << false << 4 << int('t') << 2 << true;
        QTest::newRow("2ª via t nível 3") << false << 3 << int('t') << 0 << false;
        QTest::newRow("anular s") << true << 4 << int('s') << 1 << true;
        QTest::newRow("anular G") << true << 4 << int('g') << 0 << true;
        QTest::newRow("anular T nível 3") << true << 3 << int('T') << 0 << false;
    }
    void teclas()
    {
        QFETCH(bool, anulacao);
        QFETCH(int, nivel);
        QFETCH(int, tecla);
        QFETCH(int, opcao);
        QFETCH(bool, talao);
        documentos(b->bd(), QStringLiteral("T"), 2);
        b->estacao().Acesso.NivelAcesso = quint8(nivel);
        std::unique_ptr<EscolhaDocumento> l(anulacao ? static_cast<EscolhaDocumento*>(new AnularPesagem(b->estacao()))
                                                     : new SegundaVia(b->estacao()));
        l->Form_Load();
        l->opt_KeyPress(tecla);
        QCOMPARE(l->opt(), opcao);
        QCOMPARE(l->optVisivel(2), talao);
        QCOMPARE(l->foco(), Controlo(int(Controlo::Opt0) + opcao));
        l->opt_Click(2);
        QCOMPARE(l->lista().isEmpty(), !talao);  // Talões cannot be listed below level 4

        // In the number box only digits, Backspace and Esc reach the text.
        for (int k : {int('0'), int('9'), 8, 27, int('a'), int('-'), 22}) {
            int KeyAscii = k;
            l->cmb_KeyPress(KeyAscii);
            QCOMPARE(KeyAscii, k == 'a' || k == '-' || k == 22 ? 0 : k);
        }
        QCOMPARE(b->t.mensagens.beeps, 3);
    }

    void linhasSemNumeroNemData()
    {
        // Automatic Talões carry no number; a row with no exit date shows none.
        Consulta::executar(b->bd(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", Viatura) VALUES ('T', 'X'), ('T', 'Y')"));
        documentos(b->bd(), QStringLiteral("T"), 1, 4);
        Consulta::executar(b->bd(), QStringLiteral("UPDATE Pesagens SET \"Data de saída\" = NULL WHERE \"Tipo de pesagem\" = 'T'"));
        SegundaVia l(b->estacao());
        l.Form_Load();
        l.opt_Click(2);
        QCOMPARE(l.lista(), QStringList{QStringLiteral("4")});
        QCOMPARE(l.lblSV(0), QStringLiteral("AA-4"));
        QCOMPARE(l.lblSV(2), QString());
        QVERIFY(b->t.mensagens.caixas.isEmpty());
    }

    void baseIlegivel()
    {
        Consulta::executar(b->bd(), QStringLiteral("ALTER TABLE Pesagens RENAME TO Outra"));
        AnularPesagem l(b->estacao());
        l.Form_Load();
        QCOMPARE(b->t.mensagens.caixas.size(), 1);
        QCOMPARE(b->t.mensagens.caixas[0].estilo, 48);
        QVERIFY(b->t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro no acesso à tabela de pesagens\n\n(")));
        QCOMPARE(l.texto(), QStringLiteral("Vazio"));
        l.opt_Click(1);  // still usable
        QCOMPARE(b->t.mensagens.caixas.size(), 2);
    }

    void anulacao_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("entretanto");  // SQL run between the look-up and the click
        QTest::addColumn<QString>("digitado");    // typed over after the look-up
        QTest::addColumn<bool>("anulada");

        QTest::newRow("sim") << 6 << "" << "" << true;
        QTest::newRow("não") << 7 << "" << "" << false;
        QTest::newRow("apagada") << 6 << "DELETE FROM Pesagens WHERE \"Número de pesagem\" = 12" << "" << false;
        QTest::newRow("já anulada") << 6 << "UPDATE Pesagens SET \"Tipo de pesagem\" = 'A' WHERE \"Número de pesagem\" = 12"
                                    << "" << false;
        QTest::newRow("número sem documento") << 6 << "" << "151" << false;
    }
    void anulacao()
    {
        QFETCH(int, resposta);
        QFETCH(QString, entretanto);
        QFETCH(QString, digitado);
        QFETCH(bool, anulada);
        MensagensFalsas& m = b->t.mensagens;
        AnularPesagem l(b->estacao());
        l.Form_Load();
        l.opt_Click(1);
        procurar(l, QStringLiteral("12"));
        if (!entretanto.isEmpty())
            Consulta::executar(b->bd(), entretanto);
        if (!digitado.isEmpty())
            l.cmb_Editado(digitado);
        const QList<QVariantMap> antes = BancadaRegistos::linhas(b->bd());
        const QList<QVariantMap> copia = BancadaRegistos::linhas(b->backup());
        m.respostas << resposta;

        l.cmd_Click();

        QCOMPARE(m.caixas[0].texto, QStringLiteral("Confirma que deseja anular a pesagem"));
        QCOMPARE(m.caixas[0].estilo, 292);
        QCOMPARE(m.caixas[0].titulo, QStringLiteral("Anular pesagem"));
        QCOMPARE(l.fechar(), anulada);
        QCOMPARE(pedidos().size(), anulada ? 1 : 0);
        QCOMPARE(BancadaRegistos::linhas(b->backup()), copia);  // the backup is never written
        if (resposta == 6 && !anulada) {
            QCOMPARE(m.caixas.size(), 2);
            QCOMPARE(m.caixas[1].texto, QStringLiteral("Pesagem não existente em tabela de pesagens"));
            QCOMPARE(m.caixas[1].estilo, 64);
        }
        if (!anulada) {
            QCOMPARE(BancadaRegistos::linhas(b->bd()), antes);
            return;
        }
        QVariantMap esperada = antes[11];  // number, weights, dates and parties kept
        esperada["Tipo de pesagem"] = "A";
        esperada["Peso líquido"] = 0;
        QCOMPARE(BancadaRegistos::linha(b->bd(), 12), esperada);
        const PedidoRelatorio& p = pedidos()[0];
        QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), QStringLiteral("doc_anu.rpt"));
        QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Tipo de pesagem} = 'A' and {Pesagens.Número de pesagem} = 12"));
        QCOMPARE(p.Destino, 0);
        QCOMPARE(p.TituloJanela, QStringLiteral("Pesagem anulada"));
        QCOMPARE(p.EstadoJanela, 2);

        // Reopened, the list lacks 12; the next Guia takes the next number.
        AnularPesagem outra(b->estacao());
        outra.Form_Load();
        outra.opt_Click(1);
        QVERIFY(!outra.lista().contains(QStringLiteral("12")));
        b->segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("31500"),
                   OpcaoDocumento::Guia);
        b->gravacao->GravarSegundaPesagem();
        QCOMPARE(valor("SELECT max(\"Número de pesagem\") FROM Pesagens WHERE \"Tipo de pesagem\" = 'G'"),
                 QStringLiteral("151"));
    }
};

QTEST_GUILESS_MAIN(TesteEscolhaDocumento)
#include "tst_EscolhaDocumento.moc"
