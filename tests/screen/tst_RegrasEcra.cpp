#include "screen/RegrasEcra.h"

#include <QtTest>

using namespace RegrasEcra;

class TesteRegrasEcra : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modo_data();
    void modo();
    void basculaParaPesar_data();
    void basculaParaPesar();
};

void TesteRegrasEcra::modo_data()
{
    QTest::addColumn<bool>("pendente");
    QTest::addColumn<bool>("emFicheiro");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<bool>("primeiraManual");
    QTest::addColumn<bool>("duasPesagens");
    QTest::addColumn<QString>("modo");

    QTest::newRow("pendente") << true << false << false << false << true << "SP";
    QTest::newRow("pendente, uma pesagem só") << true << true << false << true << false << "SP";
    QTest::newRow("pendente, manual") << true << false << true << true << true << "SM";
    QTest::newRow("pendente, manual segunda") << true << false << true << false << false << "SM";
    QTest::newRow("em ficheiro, duas pesagens") << false << true << false << false << true << "PP";
    QTest::newRow("em ficheiro, contra a tara") << false << true << false << true << false << "SP";
    QTest::newRow("em ficheiro, manual primeira") << false << true << true << true << false << "PM";
    QTest::newRow("em ficheiro, manual segunda") << false << true << true << false << true << "SM";
    QTest::newRow("desconhecida") << false << false << false << false << false << "PP";
    QTest::newRow("desconhecida, manual primeira") << false << false << true << true << false << "PM";
    QTest::newRow("desconhecida, manual segunda") << false << false << true << false << true << "SM";
}

void TesteRegrasEcra::modo()
{
    QFETCH(bool, pendente);
    QFETCH(bool, emFicheiro);
    QFETCH(bool, manual);
    QFETCH(bool, primeiraManual);
    QFETCH(bool, duasPesagens);
    QFETCH(QString, modo);
    QCOMPARE(decidirModo(pendente, emFicheiro, manual, primeiraManual, duasPesagens), modo);
}

void TesteRegrasEcra::basculaParaPesar_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<bool>("usavel1");
    QTest::addColumn<bool>("usavel2");
    QTest::addColumn<bool>("carregada1");
    QTest::addColumn<bool>("carregada2");
    QTest::addColumn<int>("bascula");

    QTest::newRow("PP, ambas carregadas: B1") << "PP" << true << true << true << true << 0;
    QTest::newRow("SP, ambas carregadas: B2") << "SP" << true << true << true << true << 1;
    QTest::newRow("PP, só B2 carregada") << "PP" << true << true << false << true << 1;
    QTest::newRow("SP, só B1 carregada") << "SP" << true << true << true << false << 0;
    QTest::newRow("PP, B1 em erro, B2 vazia") << "PP" << false << true << false << false << 1;
    QTest::newRow("SP, ambas vazias: B2") << "SP" << true << true << false << false << 1;
    QTest::newRow("PP, ambas vazias: B1") << "PP" << true << true << false << false << 0;
    QTest::newRow("nenhuma utilizável") << "PP" << false << false << false << false << -1;
}

void TesteRegrasEcra::basculaParaPesar()
{
    QFETCH(QString, modo);
    QFETCH(bool, usavel1);
    QFETCH(bool, usavel2);
    QFETCH(bool, carregada1);
    QFETCH(bool, carregada2);
    QFETCH(int, bascula);
    QCOMPARE(RegrasEcra::basculaParaPesar(modo, {usavel1, usavel2}, {carregada1, carregada2}), bascula);
}

QTEST_GUILESS_MAIN(TesteRegrasEcra)
#include "tst_RegrasEcra.moc"
