#include "Semente.h"

#include "data/Consulta.h"
#include "support/EstacaoTeste.h"
#include "tables/ListaRapidaViaturas.h"

#include <QtTest>

// The plates offered as the operator types: pending weighings first, then the vehicles' table.
class TesteListaRapidaViaturas : public QObject
{
    Q_OBJECT

    EstacaoTeste t;

    void pesagem(const QVariant& viatura, const QString& tipo = QStringLiteral("P"))
    {
        Semente::inserir(t.estacao->bd(), QStringLiteral("Pesagens"),
                         {{QStringLiteral("Tipo de pesagem"), tipo}, {QStringLiteral("Viatura"), viatura}});
    }

private Q_SLOTS:
    void initTestCase()
    {
        t.abrirBaseDados();
        for (const char* m : {"KA-2", "KA-1", "KA-1", "AE-1   ", "  "})
            pesagem(QString::fromUtf8(m));
        pesagem(QVariant());
        pesagem(QStringLiteral("KB-9"), QStringLiteral("E"));  // completed: not pending
        int n = 0;
        for (const QVariant& m : QVariantList{"KC-1", "KA-1", "KB-3", QVariant(), "AE-2 ", " AE-3", "A%1", "AX1", "A_2",
                                              "AB2", "D'OURO", "DXOURO", "A*3", "AZ3", "A\\4", "A\\\\4", "A?5", "AQ5",
                                              "A#[6", "A\"7"})
            Semente::inserir(t.estacao->bd(), QStringLiteral("Viaturas"),
                             {{QStringLiteral("Código da viatura"), QStringLiteral("V%1").arg(++n)},
                              {QStringLiteral("Viatura"), m}});
    }

    void linhas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("pendentes primeiro, maiúsculas ignoradas")
            << "k" << QStringList{"KA-1", "KA-2", "KA-1", "KB-3", "KC-1"};
        QTest::newRow("nas duas tabelas: duas vezes") << "KA-1" << QStringList{"KA-1", "KA-1"};
        QTest::newRow("pesagem completa fora") << "kb" << QStringList{"KB-3"};
        QTest::newRow("só o princípio") << "-1" << QStringList();
        QTest::newRow("texto e valores aparados") << "  ae  " << QStringList{"AE-1", "AE-2"};
        QTest::newRow("vazio") << "" << QStringList();
        QTest::newRow("brancos") << "    " << QStringList();
        QTest::newRow("percentagem") << "A%" << QStringList{"A%1"};
        QTest::newRow("sublinhado") << "a_" << QStringList{"A_2"};
        QTest::newRow("plica") << "D'" << QStringList{"D'OURO"};
        QTest::newRow("asterisco") << "A*" << QStringList{"A*3"};
        QTest::newRow("barra invertida") << "A\\" << QStringList{"A\\4", "A\\\\4"};
        QTest::newRow("interrogação") << "A?" << QStringList{"A?5"};
        QTest::newRow("cardinal e parêntese") << "A#[" << QStringList{"A#[6"};
        QTest::newRow("aspas") << "A\"" << QStringList{"A\"7"};
        QTest::newRow("injecção") << "A' OR '1'='1" << QStringList();
    }
    void linhas()
    {
        QFETCH(QString, texto);
        QTEST(ListaRapidaViaturas::linhas(t.estacao->bd(), texto), "esperadas");
        QVERIFY(t.mensagens.caixas.isEmpty());
    }

    // Without the pending weighings the vehicles still come, and the other way round; a closed
    // database gives nothing, with no box.
    void consultaQueFalhaNaoAcrescentaNada()
    {
        const QSqlDatabase db = t.estacao->bd();
        Consulta::executar(db, QStringLiteral("ALTER TABLE Pesagens RENAME TO PesagensGuardadas"));
        QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("KA")), (QStringList{"KA-1"}));
        Consulta::executar(db, QStringLiteral("ALTER TABLE PesagensGuardadas RENAME TO Pesagens"));
        Consulta::executar(db, QStringLiteral("ALTER TABLE Viaturas RENAME TO ViaturasGuardadas"));
        QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("KA")), (QStringList{"KA-1", "KA-2"}));
        QCOMPARE(ListaRapidaViaturas::linhas(QSqlDatabase(), QStringLiteral("A")), QStringList());
        QVERIFY(t.mensagens.caixas.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TesteListaRapidaViaturas)
#include "tst_ListaRapidaViaturas.moc"
