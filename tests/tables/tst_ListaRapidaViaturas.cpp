#include "Semente.h"

#include "data/Consulta.h"
#include "support/EstacaoTeste.h"
#include "tables/ListaRapidaViaturas.h"

#include <QtTest>

namespace {

void pendente(const QSqlDatabase& db, const QVariant& viatura, const QString& tipo = QStringLiteral("P"))
{
    Semente::inserir(db, QStringLiteral("Pesagens"),
                     {{QStringLiteral("Tipo de pesagem"), tipo}, {QStringLiteral("Viatura"), viatura}});
}

void viatura(const QSqlDatabase& db, const QString& codigo, const QVariant& matricula)
{
    Semente::inserir(db, QStringLiteral("Viaturas"),
                     {{QStringLiteral("Código da viatura"), codigo}, {QStringLiteral("Viatura"), matricula}});
}

}  // namespace

class TesteListaRapidaViaturas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pendentesPrimeiroDuplicadosMantidos();
    void textoEValoresAparados();
    void textoVazioNaoListaNada_data();
    void textoVazioNaoListaNada();
    void caracteresEspeciaisLiterais_data();
    void caracteresEspeciaisLiterais();
    void consultaQueFalhaNaoAcrescentaNada();
};

void TesteListaRapidaViaturas::pendentesPrimeiroDuplicadosMantidos()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    const QSqlDatabase db = t.estacao->bd();
    pendente(db, QStringLiteral("AC-00-01"));
    pendente(db, QStringLiteral("AA-11-22"));
    pendente(db, QStringLiteral("AA-11-22"));           // the same plate pending twice: listed once
    pendente(db, QStringLiteral("AB-99-99"), QStringLiteral("E"));  // a completed weighing: not pending
    pendente(db, QStringLiteral("BA-00-00"));
    pendente(db, QVariant());                            // no plate at all
    viatura(db, QStringLiteral("V1"), QStringLiteral("AB-33-44"));
    viatura(db, QStringLiteral("V2"), QStringLiteral("AA-11-22"));
    viatura(db, QStringLiteral("V3"), QStringLiteral("CA-00-00"));
    viatura(db, QStringLiteral("V4"), QVariant());

    // Letter case ignored; pending plates first, then the vehicles'; a plate in both twice.
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("a")),
             (QStringList{"AA-11-22", "AC-00-01", "AA-11-22", "AB-33-44"}));
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("AB")), (QStringList{"AB-33-44"}));
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("AA-11-22")), (QStringList{"AA-11-22", "AA-11-22"}));
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("Z")), QStringList());
    // The typed text matches the beginning of plates only.
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("11")), QStringList());
}

void TesteListaRapidaViaturas::textoEValoresAparados()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    const QSqlDatabase db = t.estacao->bd();
    pendente(db, QStringLiteral("AE-1   "));
    viatura(db, QStringLiteral("V1"), QStringLiteral("AE-2 "));
    viatura(db, QStringLiteral("V2"), QStringLiteral(" AE-3"));  // a leading blank: does not begin with "AE"
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("  ae  ")), (QStringList{"AE-1", "AE-2"}));
}

void TesteListaRapidaViaturas::textoVazioNaoListaNada_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("vazio") << QString();
    QTest::newRow("brancos") << QStringLiteral("    ");
}

void TesteListaRapidaViaturas::textoVazioNaoListaNada()
{
    QFETCH(QString, texto);
    EstacaoTeste t;
    t.abrirBaseDados();
    viatura(t.estacao->bd(), QStringLiteral("V1"), QStringLiteral("AA-11-22"));
    pendente(t.estacao->bd(), QStringLiteral("  "));
    QCOMPARE(ListaRapidaViaturas::linhas(t.estacao->bd(), texto), QStringList());
}

void TesteListaRapidaViaturas::caracteresEspeciaisLiterais_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("esperadas");
    QTest::newRow("percentagem") << QStringLiteral("A%") << QStringList{"A%1"};
    QTest::newRow("sublinhado") << QStringLiteral("a_") << QStringList{"A_2"};
    QTest::newRow("plica") << QStringLiteral("D'") << QStringList{"D'OURO"};
    QTest::newRow("asterisco") << QStringLiteral("A*") << QStringList{"A*3"};
    QTest::newRow("barra invertida") << QStringLiteral("A\\") << QStringList{"A\\4", "A\\\\4"};
    QTest::newRow("interrogação") << QStringLiteral("A?") << QStringList{"A?5"};
    QTest::newRow("cardinal e parêntese") << QStringLiteral("A#[") << QStringList{"A#[6"};
    QTest::newRow("aspas") << QStringLiteral("A\"") << QStringList{"A\"7"};
    QTest::newRow("injecção") << QStringLiteral("A' OR '1'='1") << QStringList();
}

void TesteListaRapidaViaturas::caracteresEspeciaisLiterais()
{
    QFETCH(QString, texto);
    QFETCH(QStringList, esperadas);
    EstacaoTeste t;
    t.abrirBaseDados();
    const QSqlDatabase db = t.estacao->bd();
    int n = 0;
    for (const char* m : {"A%1", "AX1", "A_2", "AB2", "D'OURO", "DXOURO", "A*3", "AZ3", "A\\4", "A\\\\4", "A?5",
                          "AQ5", "A#[6", "A\"7"})
        viatura(db, QStringLiteral("V%1").arg(++n), QString::fromUtf8(m));
    QCOMPARE(ListaRapidaViaturas::linhas(db, texto), esperadas);
    QVERIFY(t.mensagens.caixas.isEmpty());
}

void TesteListaRapidaViaturas::consultaQueFalhaNaoAcrescentaNada()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    const QSqlDatabase db = t.estacao->bd();
    pendente(db, QStringLiteral("AA-11-22"));
    viatura(db, QStringLiteral("V1"), QStringLiteral("AB-33-44"));

    // Without the pending weighings the vehicles still come; and the other way round.
    Consulta::executar(db, QStringLiteral("ALTER TABLE Pesagens RENAME TO PesagensGuardadas"));
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("A")), (QStringList{"AB-33-44"}));
    Consulta::executar(db, QStringLiteral("ALTER TABLE PesagensGuardadas RENAME TO Pesagens"));
    Consulta::executar(db, QStringLiteral("ALTER TABLE Viaturas RENAME TO ViaturasGuardadas"));
    QCOMPARE(ListaRapidaViaturas::linhas(db, QStringLiteral("A")), (QStringList{"AA-11-22"}));

    // A closed database: no rows, nothing thrown, no box.
    QSqlDatabase fechada;
    QCOMPARE(ListaRapidaViaturas::linhas(fechada, QStringLiteral("A")), QStringList());
    QVERIFY(t.mensagens.caixas.isEmpty());
}

QTEST_GUILESS_MAIN(TesteListaRapidaViaturas)
#include "tst_ListaRapidaViaturas.moc"
