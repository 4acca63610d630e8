#include "BancadaBasculas.h"
#include "EstacaoLigada.h"
#include "Pty.h"
#include "devices/CargaDispositivos.h"
#include "platform/ConfiguracaoSerie.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/PortaSerie.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QSerialPort>
#include <QtTest>
#include <ctime>

namespace {
qint64 tempoCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

QByteArray iniComPortas(const QList<QPair<int, QString>>& portas, const QByteArray& resto = {})
{
    QByteArray ini = "[PortasSerie]\n";
    for (const auto& [n, caminho] : portas)
        ini += "COM" + QByteArray::number(n) + "=" + caminho.toLocal8Bit() + "\n";
    return ini + resto;
}
}  // namespace

class TesteLigacoesSerie : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void configuracao_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("valida");
        QTest::addColumn<int>("velocidade");
        QTest::addColumn<int>("paridade");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("paragem");
        QTest::newRow("9600,n,8,1") << "9600,n,8,1" << true << 9600 << int(QSerialPort::NoParity) << 8 << int(QSerialPort::OneStop);
        QTest::newRow("letra grande") << "19200,E,7,2" << true << 19200 << int(QSerialPort::EvenParity) << 7 << int(QSerialPort::TwoStop);
        QTest::newRow("ímpar, 1.5") << "4800,o,5,1.5" << true << 4800 << int(QSerialPort::OddParity) << 5 << int(QSerialPort::OneAndHalfStop);
        QTest::newRow("marca") << "1200,m,8,1" << true << 1200 << int(QSerialPort::MarkParity) << 8 << int(QSerialPort::OneStop);
        QTest::newRow("espaço") << " 2400 , s , 6 , 1 " << true << 2400 << int(QSerialPort::SpaceParity) << 6 << int(QSerialPort::OneStop);
        QTest::newRow("4 bits não") << "9600,n,4,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("paridade x") << "9600,x,8,1" << false << 0 << 0 << 0 << 0;
        QTest::newRow("paragem 3") << "9600,n,8,3" << false << 0 << 0 << 0 << 0;
        QTest::newRow("falta um campo") << "9600,n,8" << false << 0 << 0 << 0 << 0;
        QTest::newRow("velocidade 0") << "0,n,8,1" << false << 0 << 0 << 0 << 0;
    }
    void configuracao()
    {
        QFETCH(QString, texto);
        QFETCH(bool, valida);
        const std::optional<ConfiguracaoSerie> c = lerConfiguracaoSerie(texto);
        QCOMPARE(c.has_value(), valida);
        if (!valida)
            return;
        QFETCH(int, velocidade);
        QFETCH(int, paridade);
        QFETCH(int, bits);
        QFETCH(int, paragem);
        QCOMPARE(c->velocidade, velocidade);
        QCOMPARE(int(c->paridade), paridade);
        QCOMPARE(int(c->bitsDados), bits);
        QCOMPARE(int(c->bitsParagem), paragem);
    }

    void caminhoDaPorta()
    {
        EstacaoTeste t(false);
        t.escreverIni("[portasserie]\ncom3=/dev/serial/by-id/leitor\nCOM4=\n");
        const FicheiroPerfil& ini = t.estacao->Ini();
        QCOMPARE(caminhoPortaSerie(ini, 3), QStringLiteral("/dev/serial/by-id/leitor"));
        QCOMPARE(caminhoPortaSerie(ini, 4), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(caminhoPortaSerie(ini, 1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(caminhoPortaSerie(ini, 0), QString());
        QCOMPARE(caminhoPortaSerie(ini, -2), QString());
    }

    void indicadorPorPty_data()
    {
        QTest::addColumn<QList<QByteArray>>("partes");  // written between ticks
        QTest::addColumn<int>("peso");
        const QByteArray t = tramaPeso(8000);
        QTest::newRow("uma trama") << QList<QByteArray>{t} << 8000;
        QTest::newRow("partida em duas leituras") << QList<QByteArray>{t.left(9), t.mid(9)} << 8000;
        QTest::newRow("duas tramas: a primeira") << QList<QByteArray>{tramaPeso(1000) + tramaPeso(2000)} << 1000;
        // CR, LF and NUL bytes pass the raw line unchanged.
        QTest::newRow("lixo antes do STX") << QList<QByteArray>{QByteArray("\r\n\0\xff junk", 9) + t} << 8000;
    }
    // Frames through a real pty, one tick after each part arrives.
    void indicadorPorPty()
    {
        QFETCH(QList<QByteArray>, partes);
        QFETCH(int, peso);
        Pty pty;
        QVERIFY(pty.valido());
        EstacaoLigada s(iniComPortas({{1, pty.caminho()}}));
        QVERIFY(CarregarDispositivos(*s.estacao.estacao, *s.io, *s.ligacao).isEmpty());
        for (int k = 0; k < partes.size(); ++k) {
            QVERIFY(!s.e(0).PesoValido);
            pty.escrever(partes[k]);
            QTRY_COMPARE(s.io->bytesEmEspera(0, Canal::Indicador), partes[k].size());
            s.ligacao->tmr_Timer(0);
        }
        QCOMPARE(s.e(0).PesoActual, peso);
        QVERIFY(s.e(0).PesoValido);
        QVERIFY(s.e(0).BufferIndicador.isEmpty());
        QCOMPARE(s.ligacao->vista().bascula[0].lblP, QStringLiteral("%1").arg(peso, 8));
    }

    void pollEZeroNoFio()
    {
        Pty pty;
        EstacaoLigada s(iniComPortas({{1, pty.caminho()}}, "[IndicadorB1]\nIndicador=Utilcel Matrix II\n"));
        CarregarDispositivos(*s.estacao.estacao, *s.io, *s.ligacao);
        s.ligacao->tmr_Timer(0);
        QTRY_COMPARE(pty.recebido(), QByteArray("\x50\x0d"));
        pty.escrever(tramaU("   12340"));
        QTRY_VERIFY(s.io->bytesEmEspera(0, Canal::Indicador) == 13);
        s.ligacao->tmr_Timer(0);
        QCOMPARE(s.ligacao->vista().bascula[0].lblP, u"12\u00A0340"_qs);
        s.estacao.estacao->Acesso.NivelAcesso = 2;
        s.ligacao->cmdZ_Click(0);
        QTRY_COMPARE(pty.recebido(), QByteArray("P\rP\rZ"));
    }

    void segundaAberturaRecusada()
    {
        Pty pty;
        const QByteArray ini = iniComPortas({{1, pty.caminho()}});
        EstacaoLigada primeira(ini);
        EstacaoLigada segunda(ini);
        QVERIFY(CarregarDispositivos(*primeira.estacao.estacao, *primeira.io, *primeira.ligacao).isEmpty());
        const QList<Erro> falhas = CarregarDispositivos(*segunda.estacao.estacao, *segunda.io, *segunda.ligacao);
        QCOMPARE(falhas.size(), 1);
        QCOMPARE(falhas[0].numero, 8005);
        QVERIFY(!segunda.io->aberta(0, Canal::Indicador));
        QVERIFY(primeira.io->aberta(0, Canal::Indicador));
    }

    void cargaMostraCadaFalha()
    {
        EstacaoTeste pasta(false);
        const QString naoExiste = pasta.caminho(QStringLiteral("nada/COM"));
        EstacaoLigada s(iniComPortas({{1, naoExiste + "1"}, {2, naoExiste + "2"}, {3, naoExiste + "3"}},
                                     "[IndicadorB2]\nLigado=True\n"
                                     "[LeitorPrincipalB1]\nLigado=True\nConfiguracao=9600,x,8,1\n"
                                     "[LeitorSecundarioB1]\nLigado=True\nPorta=COM5\n"));
        s.e(0).PesoActual = 1;
        s.ligacao->vista().bascula[1].lblCS = QStringLiteral("velho");
        const QList<Erro> falhas = CarregarDispositivos(*s.estacao.estacao, *s.io, *s.ligacao);
        QList<int> numeros;
        for (const Erro& e : falhas)
            numeros << e.numero;
        // B1: reader P settings, reader P open, reader S number, indicator open; B2: indicator open.
        QCOMPARE(numeros, (QList<int>{380, 8002, 8002, 8002, 8002}));
        const auto& caixas = s.estacao.mensagens.caixas;
        QCOMPARE(caixas.size(), 5);
        QVERIFY(caixas[0].texto.startsWith(QStringLiteral("Erro número: 380\n\n")));
        QCOMPARE(caixas[0].estilo, 16);
        QCOMPARE(caixas[0].titulo, QStringLiteral("Zumarel"));
        QVERIFY(caixas[1].texto.contains(naoExiste + "3"));
        // The load goes on past each failure.
        QCOMPARE(s.e(0).PesoActual, 60000);
        QCOMPARE(s.e(1).PesoActual, 60000);
        QCOMPARE(s.ligacao->vista().bascula[1].lblCS, QString());
    }

    void leitorESemaforosPorPty()
    {
        Pty indicador;
        Pty leitorP;
        Pty leitorS;
        EstacaoLigada s(iniComPortas({{1, indicador.caminho()}, {3, leitorP.caminho()}, {5, leitorS.caminho()}},
                                     "[LeitorPrincipalB1]\nLigado=True\n[LeitorSecundarioB1]\nLigado=True\n"));
        QVERIFY(CarregarDispositivos(*s.estacao.estacao, *s.io, *s.ligacao).isEmpty());
        s.ecra.aoPesagemAutomatica = [&](int i) { s.e(i).UltimoCartao = s.e(i).CodigoCartao; };
        const auto tick = [&](qint32 peso) {
            indicador.escrever(tramaPeso(peso));
            QTRY_COMPARE(s.io->bytesEmEspera(0, Canal::Indicador), 14);
            s.ligacao->tmr_Timer(0);
        };
        tick(0);
        QTRY_COMPARE(leitorP.recebido(), QByteArray("HO0003"));
        QTRY_COMPARE(leitorS.recebido(), QByteArray("HO0003"));
        tick(12000);
        QTRY_COMPARE(leitorP.recebido(), QByteArray("HO0003HO0001"));
        for (int k = 0; k < 48; ++k)
            tick(12000);
        // An unchanged command goes again on the 26th decision after the last.
        QTRY_COMPARE(leitorP.recebido(), QByteArray("HO0003HO0001HO0001"));
        tick(12000);  // the 51st silent tick polls
        QTRY_COMPARE(leitorP.recebido(), QByteArray("HO0003HO0001HO0001C\r\n"));
        leitorP.escrever(tramaCartao("ABC12345"));
        QTRY_VERIFY(s.io->bytesEmEspera(0, Canal::LeitorP) == 24);
        tick(12000);
        QCOMPARE(s.ligacao->vista().bascula[0].lblCP, QStringLiteral("ABC12345"));
        QCOMPARE(s.ecra.registado(QStringLiteral("Pesagem")), QStringList{"PesagemAutomatica 0"});
    }

    void temporizadores()
    {
        // A bridge's interval of 0 leaves its timer stopped (it would spin);
        // the other ticks its cycle.
        EstacaoLigada s("[IndicadorB1]\nTemporizacao=20\n[IndicadorB2]\nTemporizacao=0\n");
        QTimer t0;
        QTimer t1;
        LigarTemporizadores({&t0, &t1}, *s.estacao.estacao, *s.ligacao);
        QVERIFY(t0.isActive());
        QCOMPARE(t0.interval(), 20);
        QVERIFY(!t1.isActive());
        QTRY_COMPARE(s.e(0).MensagemIndicador, QStringLiteral("Aguarda por resposta do indicador de peso"));
        QCOMPARE(s.e(1).MensagemIndicador, QString());  // B2's own cycle never ran
    }

    // An indicator whose adapter is pulled out and plugged in again is read again
    // by itself: its port, closed on the error, is opened again quietly every
    // PortaSerie::TicksReabertura ticks of its bridge. The device's stable name is
    // a link re-pointed to a new pty, as a by-id name follows a re-plugged adapter.
    void reabertura_data()
    {
        QTest::addColumn<bool>("volta");
        QTest::addColumn<bool>("fechadaPeloPrograma");  // as the parameters' save closes the ports
        QTest::newRow("o indicador volta") << true << false;
        QTest::newRow("o indicador não volta") << false << false;
        QTest::newRow("fechada pelo programa fica fechada") << true << true;
    }
    void reabertura()
    {
        QFETCH(bool, volta);
        QFETCH(bool, fechadaPeloPrograma);
        QTemporaryDir pasta;
        const QString ligacao = pasta.filePath(QStringLiteral("indicador"));
        auto primeiro = std::make_unique<Pty>();
        QVERIFY(QFile::link(primeiro->caminho(), ligacao));
        EstacaoLigada s("[PortasSerie]\nCOM1=" + QFile::encodeName(ligacao) + "\n");
        QVERIFY(CarregarDispositivos(*s.estacao.estacao, *s.io, *s.ligacao).isEmpty());
        primeiro->escrever(tramaPeso(12340));
        QTRY_VERIFY(s.io->bytesEmEspera(0, Canal::Indicador) > 0);
        s.ligacao->tmr_Timer(0);
        QCOMPARE(s.e(0).PesoActual, 12340);

        if (fechadaPeloPrograma)
            s.io->fecharPortas();
        primeiro->fecharMestre();
        // Closed at the first read error, so the event loop idles: little CPU over a quarter second.
        QTRY_VERIFY_WITH_TIMEOUT(!s.io->aberta(0, Canal::Indicador), 5000);
        const qint64 cpuAntes = tempoCpuMs();
        QEventLoop ciclo;
        QTimer::singleShot(250, &ciclo, &QEventLoop::quit);
        ciclo.exec();
        QVERIFY2(tempoCpuMs() - cpuAntes < 100, qPrintable(QString::number(tempoCpuMs() - cpuAntes)));
        primeiro.reset();
        QVERIFY(QFile::remove(ligacao));
        Pty segundo;
        if (volta)
            QVERIFY(QFile::link(segundo.caminho(), ligacao));

        for (int tick = 1; tick < PortaSerie::TicksReabertura; ++tick)
            s.ligacao->tmr_Timer(0);
        QVERIFY(!s.io->aberta(0, Canal::Indicador));
        s.ligacao->tmr_Timer(0);
        const bool reaberta = volta && !fechadaPeloPrograma;
        QCOMPARE(s.io->aberta(0, Canal::Indicador), reaberta);
        for (int tick = 0; tick < 3 * PortaSerie::TicksReabertura; ++tick)
            s.ligacao->tmr_Timer(0);
        QVERIFY(s.estacao.mensagens.caixas.isEmpty());  // quietly, however often it fails
        if (!reaberta) {
            // Writing to the closed port is dropped quietly.
            QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
            s.estacao.estacao->Acesso.NivelAcesso = 2;
            s.ligacao->cmdZ_Click(0);
            QVERIFY(!s.io->aberta(0, Canal::Indicador));
            return;
        }
        segundo.escrever(tramaPeso(7000));
        QTRY_VERIFY(s.io->bytesEmEspera(0, Canal::Indicador) > 0);
        s.ligacao->tmr_Timer(0);
        QCOMPARE(s.e(0).PesoActual, 7000);
        QVERIFY(s.e(0).PesoValido);
    }
};

QTEST_GUILESS_MAIN(TesteLigacoesSerie)
#include "tst_LigacoesSerie.moc"
