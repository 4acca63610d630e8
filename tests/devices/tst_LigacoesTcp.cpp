#include "BancadaBasculas.h"
#include "EstacaoLigada.h"
#include "devices/CargaDispositivos.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
// B1's indicator on TCP at 127.0.0.1 and the test server's port; short waits.
QByteArray iniTcp(const QByteArray& modelo = "Avery Weigh-Tronix")
{
    return "[IndicadorB1]\nComunicaçãoIP=True\nEndereçoIP=127.0.0.1\nIndicador=" + modelo +
           "\n[LerPeso]\nCiclos=3\n";
}
}  // namespace

class TesteLigacoesTcp : public QObject
{
    Q_OBJECT

    QTcpServer servidor;
    std::unique_ptr<EstacaoLigada> s;

    void tick() { s->ligacao->tmr_Timer(0); }

    // Ticks (as the timer would) until the indicator's server has a connection.
    QTcpSocket* ligar()
    {
        QTcpSocket* ligacao = nullptr;
        for (int k = 0; k < 200 && !ligacao; ++k) {
            tick();
            if (servidor.waitForNewConnection(20))
                ligacao = servidor.nextPendingConnection();
        }
        return ligacao;
    }

    // The indicator sends a frame; the tick after it has arrived reads it.
    void enviar(QTcpSocket* par, const QByteArray& trama)
    {
        par->write(trama);
        QTRY_VERIFY(!s->e(0).BufferIndicador.isEmpty());
        tick();
    }

private Q_SLOTS:
    void init();
    void cleanup();
    void estadoSemLigacao();
    void servidorFechaEVolta();
    void servidorCalado();
    void modeloPolladoPorTcp();
    void portaSerieDoIndicadorTcpFicaFechada();
};

void TesteLigacoesTcp::init()
{
    QVERIFY(servidor.listen(QHostAddress::LocalHost, 0));
}

void TesteLigacoesTcp::cleanup()
{
    s.reset();
    servidor.close();
}

void TesteLigacoesTcp::estadoSemLigacao()
{
    s = std::make_unique<EstacaoLigada>(iniTcp());
    QCOMPARE(s->io->estadoTcp(0), EstadoTcp::Fechado);
    // An empty address is harmless: never connected.
    s->io->religarTcp(0, QString(), servidor.serverPort());
    QTRY_VERIFY(s->io->estadoTcp(0) != EstadoTcp::ALigar && s->io->estadoTcp(0) != EstadoTcp::ResolverNome);
    QVERIFY(s->io->estadoTcp(0) != EstadoTcp::Ligado);
    // Nothing is sent on a socket that is not connected, and nothing is said.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    s->io->enviarTcp(0, "P\r");
}

// Connects, reads; the indicator closes the connection: the station shows it and connects anew.
void TesteLigacoesTcp::servidorFechaEVolta()
{
    s = std::make_unique<EstacaoLigada>(iniTcp());
    s->ligacao->definirPortaTcp(0, servidor.serverPort());
    for (int k = 0; k < 3; ++k)
        tick();
    QVERIFY(!servidor.waitForNewConnection(50));  // no attempt before Ciclos + 1 ticks
    QPointer<QTcpSocket> par = ligar();
    QVERIFY(par);
    QTRY_COMPARE(s->io->estadoTcp(0), EstadoTcp::Ligado);
    enviar(par, tramaPeso(15000));
    QCOMPARE(s->e(0).PesoActual, 15000);
    QVERIFY(s->e(0).PesoValido);
    par->disconnectFromHost();
    QTRY_VERIFY(s->io->estadoTcp(0) != EstadoTcp::Ligado);
    tick();
    QCOMPARE(s->e(0).MensagemIndicador, QStringLiteral("Em ligação ao indicador de peso"));
    QVERIFY(s->e(0).ErroIndicador);
    par = ligar();
    QVERIFY(par);
    QTRY_COMPARE(s->io->estadoTcp(0), EstadoTcp::Ligado);
    enviar(par, tramaPeso(9000));
    QCOMPARE(s->e(0).PesoActual, 9000);
    QVERIFY(!s->e(0).ErroIndicador);
}

void TesteLigacoesTcp::servidorCalado()
{
    // Connected but silent (an indicator restarted without closing): after 50
    // empty ticks the connection is dropped and made anew.
    s = std::make_unique<EstacaoLigada>(iniTcp());
    s->ligacao->definirPortaTcp(0, servidor.serverPort());
    QPointer<QTcpSocket> primeira = ligar();
    QVERIFY(primeira);
    QTRY_COMPARE(s->io->estadoTcp(0), EstadoTcp::Ligado);
    for (int k = 0; k < 51; ++k)
        tick();
    QCOMPARE(s->e(0).MensagemIndicador, QStringLiteral("Indicador de peso desligado"));
    QVERIFY(s->io->estadoTcp(0) != EstadoTcp::Ligado);
    QPointer<QTcpSocket> segunda = ligar();
    QVERIFY(segunda);
    QTRY_COMPARE(s->io->estadoTcp(0), EstadoTcp::Ligado);
}

void TesteLigacoesTcp::modeloPolladoPorTcp()
{
    s = std::make_unique<EstacaoLigada>(iniTcp("Utilcel Matrix II"));
    s->ligacao->definirPortaTcp(0, servidor.serverPort());
    QPointer<QTcpSocket> par = ligar();
    QVERIFY(par);
    QTRY_COMPARE(s->io->estadoTcp(0), EstadoTcp::Ligado);
    tick();
    QByteArray recebido;
    QTRY_VERIFY((recebido += par->readAll()).endsWith("P\r"));
    enviar(par, tramaU("    2500"));
    QCOMPARE(s->e(0).PesoActual, 2500);
    s->estacao.estacao->Acesso.NivelAcesso = 2;
    s->ligacao->cmdZ_Click(0);
    QTRY_VERIFY((recebido += par->readAll()).endsWith("P\rZ"));
}

void TesteLigacoesTcp::portaSerieDoIndicadorTcpFicaFechada()
{
    s = std::make_unique<EstacaoLigada>(iniTcp() + "[PortasSerie]\nCOM1=/dev/null\n");
    QVERIFY(CarregarDispositivos(*s->estacao.estacao, *s->io, *s->ligacao).isEmpty());
    QVERIFY(!s->io->aberta(0, Canal::Indicador));
}

QTEST_GUILESS_MAIN(TesteLigacoesTcp)
#include "tst_LigacoesTcp.moc"
