// The simulator's frames, byte for byte, against the protocol tables.
#include "Tramas.h"

#include <QtTest>

class TesteTramasSimulador : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tramas_data();
    void tramas();
};

void TesteTramasSimulador::tramas_data()
{
    using Tramas::Unidade;
    QTest::addColumn<QByteArray>("obtida");
    QTest::addColumn<QByteArray>("esperada");
    Tramas::Leitura l;
    l.peso = 12340;
    QTest::newRow("A bruto estável") << Tramas::layoutA(l) << QByteArray("\x02   12340kgGS\x0d");
    QTest::newRow("U estável") << Tramas::layoutU(l) << QByteArray("\x02   12340KG \x0d");
    l.peso = -60;
    l.liquido = true;
    l.estavel = false;
    l.unidade = Unidade::Lb;
    QTest::newRow("A negativo líquido instável lb") << Tramas::layoutA(l) << QByteArray("\x02     -60lbNU\x0d");
    QTest::newRow("U em movimento lb") << Tramas::layoutU(l) << QByteArray("\x02     -60lbM\x0d");
    l.sobrecarga = true;
    l.unidade = Unidade::To;
    QTest::newRow("A sobrecarga") << Tramas::layoutA(l) << QByteArray("\x02--------toNU\x0d");
    // 24 bytes: the code at positions 16 to 23, the CR completes the frame.
    QTest::newRow("cartão") << Tramas::cartao("B1P143000", "ABC12345") << QByteArray("RB1P14300000000ABC12345\x0d");
    QTest::newRow("cartão curto") << Tramas::cartao("B2S", "XY") << QByteArray("RB2S00000000000XY      \x0d");
}

void TesteTramasSimulador::tramas()
{
    QFETCH(QByteArray, obtida);
    QFETCH(QByteArray, esperada);
    QCOMPARE(obtida, esperada);
}

QTEST_GUILESS_MAIN(TesteTramasSimulador)
#include "tst_TramasSimulador.moc"
