// The simulator binary and both bridges' cycles together: B1 a continuous
// indicator on a pty, B2 a polled indicator on TCP, B1's readers on ptys.
#include "EstacaoLigada.h"
#include "devices/CargaDispositivos.h"
#include "support/ProcessoTeste.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

class TesteSimulador : public QObject
{
    Q_OBJECT

    QTemporaryDir pasta;
    QProcess simulador;
    QByteArray saida;
    std::unique_ptr<EstacaoLigada> s;
    QTimer tmr0;
    QTimer tmr1;

    // Sends a console command; returns what it printed up to the next "ok"
    // (or "estado fim").
    QByteArray comando(const QByteArray& linha)
    {
        const qsizetype inicio = saida.size();
        simulador.write(linha + '\n');
        const QByteArray fim = linha.startsWith("estado") ? "estado fim\n" : "ok\n";
        [&] { QTRY_VERIFY(saida.indexOf(fim, inicio) >= 0); }();
        return saida.mid(inicio);
    }

    const VistaBascula& v(int b) const { return s->ligacao->vista().bascula[b]; }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void pesoUnidadeEstabilidadePorPty();
    void indicadorPolladoPorTcp();
    void cartaoESemaforos();
    void zeroAutomaticoChegaAoIndicador();
};

void TesteSimulador::initTestCase()
{
    QVERIFY(pasta.isValid());
    connect(&simulador, &QProcess::readyReadStandardOutput, this, [this] { saida += simulador.readAllStandardOutput(); });
    connect(&simulador, &QProcess::finished, this, [this](int codigo, QProcess::ExitStatus estado) {
        qWarning("simulador terminou: código %d, %s; saída:\n%s", codigo,
                 estado == QProcess::CrashExit ? "falhou" : "normal", saida.right(2000).constData());
    });
    simulador.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    terminarComOTeste(simulador);
    simulador.start(QStringLiteral(ZUMAREL_DEVSIM),
                    {"--dir", pasta.filePath("portas"), "--b1", "wtronix:com1", "--b2", "matrix:tcp=127.0.0.1:0",
                     "--reader", "b1p=com3,b1s=com5", "--period", "40"});
    QVERIFY(simulador.waitForStarted());
    QTRY_VERIFY(saida.contains("pronto\n"));

    // The simulator tells the settings file's lines and the TCP port it took.
    const QRegularExpression tcp(QStringLiteral("B2 TCP 127\\.0\\.0\\.1:(\\d+)"));
    const auto m = tcp.match(QString::fromUtf8(saida));
    QVERIFY(m.hasMatch());
    const QByteArray portasSerie = saida.left(saida.indexOf("B2 TCP"));
    QVERIFY(portasSerie.startsWith("[PortasSerie]\nCOM1="));
    s = std::make_unique<EstacaoLigada>(portasSerie +
                                        "[IndicadorB1]\nTemporizacao=50\n"
                                        "[IndicadorB2]\nLigado=True\nComunicaçãoIP=True\nEndereçoIP=127.0.0.1\n"
                                        "Indicador=Utilcel Matrix II\nTemporizacao=50\n"
                                        "[LeitorPrincipalB1]\nLigado=True\nTemporizacao=2\n"
                                        "[LeitorSecundarioB1]\nLigado=True\nTemporizacao=2\n"
                                        "[LerPeso]\nCiclos=3\n");
    s->ligacao->definirPortaTcp(1, quint16(m.captured(1).toUInt()));
    s->ecra.aoPesagemAutomatica = [this](int i) { s->e(i).UltimoCartao = s->e(i).CodigoCartao; };
    QVERIFY(CarregarDispositivos(*s->estacao.estacao, *s->io, *s->ligacao).isEmpty());
    LigarTemporizadores({&tmr0, &tmr1}, *s->estacao.estacao, *s->ligacao);
    QVERIFY(tmr0.isActive() && tmr1.isActive());
}

void TesteSimulador::cleanupTestCase()
{
    tmr0.stop();
    tmr1.stop();
    if (simulador.state() == QProcess::Running) {
        simulador.write("sair\n");
        QVERIFY(simulador.waitForFinished(5000));
        QCOMPARE(simulador.exitCode(), 0);
    }
    // The simulator takes its links away when it ends.
    QVERIFY(!QFile::exists(pasta.filePath("portas/COM1")));
}

// What each reading means is the protocol's own test; here the readings of
// the pty arrive and a broken stream recovers.
void TesteSimulador::pesoUnidadeEstabilidadePorPty()
{
    comando("b1 peso 12340");
    QTRY_COMPARE_WITH_TIMEOUT(v(0).lblP, QStringLiteral("   12340"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(v(0).lblS, QStringLiteral("><"), 10000);
    QCOMPARE(v(0).lblU, QStringLiteral("kg"));
    QTRY_VERIFY(s->e(0).PesoValido);
    comando("b1 instavel");
    QTRY_COMPARE(v(0).lblI, QStringLiteral("Peso instavel"));
    comando("b1 estavel");
    comando("b1 sobrecarga sim");
    QTRY_COMPARE(v(0).lblI, QStringLiteral("Erro em leitura de peso"));
    comando("b1 sobrecarga nao");
    comando("b1 partido sim");
    comando("b1 lixo 5");
    QTRY_COMPARE_WITH_TIMEOUT(v(0).lblI, QString(), 10000);
    QTRY_COMPARE(s->e(0).PesoActual, 12340);
    comando("b1 normal");
}

void TesteSimulador::indicadorPolladoPorTcp()
{
    comando("b2 peso 8000");
    QTRY_COMPARE_WITH_TIMEOUT(s->e(1).PesoActual, 8000, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(v(1).lblS, QStringLiteral("><"), 10000);
    QCOMPARE(v(1).lblP, u"8\u00A0000"_qs);
    QCOMPARE(v(1).lblU, QStringLiteral("kg"));
    QVERIFY(comando("estado").contains("estado b2 modelo=matrix ligado=sim"));
    QVERIFY(comando("estado").contains("recebido=500d"));
}

void TesteSimulador::cartaoESemaforos()
{
    comando("b1 peso 15000");
    QTRY_COMPARE_WITH_TIMEOUT(s->e(0).PesoActual, 15000, 10000);
    QTRY_VERIFY(comando("estado").contains("estado b1p cartao=- semaforo=VERMELHO"));
    QVERIFY(comando("estado").contains("estado b1s cartao=- semaforo=VERMELHO"));
    comando("cartao b1p ABC12345");
    QTRY_COMPARE_WITH_TIMEOUT(v(0).lblCP, QStringLiteral("ABC12345"), 10000);
    QCOMPARE(s->ecra.registado(QStringLiteral("Pesagem")), QStringList{"PesagemAutomatica 0"});
    comando("cartao b1s XYZ9 imediato");
    QTRY_COMPARE_WITH_TIMEOUT(v(0).lblCS, QStringLiteral("XYZ9    "), 10000);
    QCOMPARE(s->ecra.registado(QStringLiteral("Pesagem")).size(), 2);
    comando("b1 vazia 200");
    QTRY_VERIFY_WITH_TIMEOUT(comando("estado").contains("estado b1p cartao=- semaforo=VERDE"), 10000);
}

void TesteSimulador::zeroAutomaticoChegaAoIndicador()
{
    // Nobody logged in: a steady residue is zeroed by the station itself.
    comando("b1 peso 40");
    QTRY_VERIFY_WITH_TIMEOUT(comando("estado").contains("estado b1 modelo=wtronix ligado=sim peso=0 "), 20000);
    QVERIFY(comando("estado").contains("recebido=7a"));
    QTRY_COMPARE_WITH_TIMEOUT(s->e(0).PesoActual, 0, 10000);
}

QTEST_GUILESS_MAIN(TesteSimulador)
#include "tst_Simulador.moc"
