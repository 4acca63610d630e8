#include "BancadaBasculas.h"

#include <QtTest>

namespace {
const QByteArray Vermelho = "HO0001";
const QByteArray Verde = "HO0003";

// A bench whose B1 has both readers in use with their ports open.
void comLeitores(BancadaBasculas& b, int bascula = 0)
{
    b.def().LPLigado[bascula] = true;
    b.def().LSLigado[bascula] = true;
    b.io.portaAberta[bascula][Canal::LeitorP] = true;
    b.io.portaAberta[bascula][Canal::LeitorS] = true;
}

// The ticks in which a command (no poll) went to this bridge's principal reader.
QList<int> ticksDosComandos(const BancadaBasculas& b, int bascula = 0)
{
    QList<int> ticks;
    for (const auto& e : b.io.escritas) {
        if (e.bascula == bascula && e.canal == Canal::LeitorP && e.dados != "C\r\n")
            ticks << e.tick;
    }
    return ticks;
}
}  // namespace

class TesteSemaforos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primeiraDecisao_data();
    void primeiraDecisao();
    void corAutomatica_data();
    void corAutomatica();
    void libertacao_data();
    void libertacao();
    void reenvioACada26Decisoes();
    void reenvioContaDecisoesDeAmbas();
    void ciclosCompletosDeUmCamiao();
    void comandoManual_data();
    void comandoManual();
    void semLeitores();
    void leitorComPortaFechada();
    void caixasMostramACorAnterior();
    void legendasDoMenu_data();
    void legendasDoMenu();
    void caixasDeVerificacao();
    void escritaRecusadaTerminaDecisao();
};

void TesteSemaforos::primeiraDecisao_data()
{
    QTest::addColumn<QByteArray>("trama");  // what the indicator sent before the first tick
    QTest::addColumn<QByteArray>("comando");
    QTest::newRow("sem leitura: vermelho") << QByteArray() << Vermelho;
    QTest::newRow("vazia: verde") << tramaPeso(0) << Verde;
    QTest::newRow("carregada: vermelho") << tramaPeso(12000) << Vermelho;
}

void TesteSemaforos::primeiraDecisao()
{
    QFETCH(QByteArray, trama);
    QFETCH(QByteArray, comando);
    BancadaBasculas b;
    comLeitores(b);
    b.io.chegar(0, Canal::Indicador, trama);
    b.tick(0);
    // Written at once, principal first, no terminator.
    QCOMPARE(b.io.escritas.size(), 2);
    QCOMPARE(b.io.escritas[0].canal, int(Canal::LeitorP));
    QCOMPARE(b.io.escritoEm(0, Canal::LeitorS), QList<QByteArray>{comando});
    QCOMPARE(b.io.escritoEm(0, Canal::LeitorP), QList<QByteArray>{comando});
}

void TesteSemaforos::corAutomatica_data()
{
    QTest::addColumn<bool>("erro");
    QTest::addColumn<int>("peso");
    QTest::addColumn<bool>("capturado");
    QTest::addColumn<bool>("vermelho");
    QTest::newRow("erro, mesmo capturado") << true << 12000 << true << true;
    QTest::newRow("duas divisões: vazia") << false << 40 << false << false;
    QTest::newRow("duas divisões e 1 kg: carregada") << false << 41 << false << true;
    QTest::newRow("negativa dentro de duas divisões") << false << -40 << false << false;
    QTest::newRow("negativa além") << false << -41 << false << true;
    QTest::newRow("carregada e capturada") << false << 12000 << true << false;
}

void TesteSemaforos::corAutomatica()
{
    QFETCH(bool, erro);
    QFETCH(int, peso);
    QFETCH(bool, capturado);
    QFETCH(bool, vermelho);
    BancadaBasculas b;
    comLeitores(b);
    EstadoBascula& e = b.e(0);
    e.ErroIndicador = erro;
    e.PesoActual = peso;
    e.PesoAnterior = peso;
    e.PesoCapturado = capturado;
    b.ligacao->ControlarSemaforos();
    QCOMPARE(e.SemaforoVermelho, vermelho);
    QCOMPARE(e.ComandoSemaforo, vermelho ? Vermelho : Verde);
    QCOMPARE(b.v(0).cor, vermelho ? CorSemaforo::Vermelho : CorSemaforo::Verde);
    QCOMPARE(b.io.escritoEm(0, Canal::LeitorP), QList<QByteArray>{e.ComandoSemaforo});
}

void TesteSemaforos::libertacao_data()
{
    QTest::addColumn<int>("movimento");
    QTest::addColumn<bool>("capturado");
    QTest::newRow("move 40: fica") << 40 << true;
    QTest::newRow("move -40: fica") << -40 << true;
    QTest::newRow("move 41: liberta") << 41 << false;
    QTest::newRow("move -41: liberta") << -41 << false;
}

void TesteSemaforos::libertacao()
{
    QFETCH(int, movimento);
    QFETCH(bool, capturado);
    BancadaBasculas b;
    comLeitores(b);
    b.lerPeso(0, 12000);
    b.e(0).PesoCapturado = true;
    b.lerPeso(0, 12000);
    QVERIFY(!b.e(0).SemaforoVermelho);
    b.lerPeso(0, 12000 + movimento);
    QCOMPARE(b.e(0).PesoCapturado, capturado);
    QCOMPARE(b.e(0).SemaforoVermelho, !capturado);
}

void TesteSemaforos::reenvioACada26Decisoes()
{
    BancadaBasculas b;
    comLeitores(b);
    b.lerPeso(0, 0, 60);
    QCOMPARE(ticksDosComandos(b), (QList<int>{1, 27, 53}));
    QList<QByteArray> comandos = b.io.escritoEm(0, Canal::LeitorP);
    comandos.removeAll("C\r\n");
    QCOMPARE(comandos, QList<QByteArray>(3, Verde));
    // A change goes out at once.
    b.lerPeso(0, 5000);
    QCOMPARE(b.io.escritas.last().dados, Vermelho);  // secondary, after the principal
    QCOMPARE(b.io.escritas.last().tick, 61);
}

void TesteSemaforos::reenvioContaDecisoesDeAmbas()
{
    // The count is of decisions, made by both timers: with both ticking, B1's
    // unchanged command goes out every 13th tick of B1 (alone, every 26th).
    BancadaBasculas b;
    comLeitores(b);
    b.io.chegar(0, Canal::Indicador, tramaPeso(0));
    for (int k = 0; k < 27; ++k) {
        b.io.chegar(0, Canal::Indicador, tramaPeso(0));
        b.tickAmbas();
    }
    // Decisions 1, 27 and 53 are B1's 1st, 14th and 27th ticks.
    QCOMPARE(ticksDosComandos(b), (QList<int>{1, 27, 53}));
    QCOMPARE(b.io.tick, 54);
}

void TesteSemaforos::ciclosCompletosDeUmCamiao()
{
    // Empty, loaded, weight taken at the question, driving off, empty again.
    BancadaBasculas b;
    comLeitores(b);
    b.ecra.modo = QStringLiteral("PP");
    b.estacao.mensagens.respostas << Resposta::Sim;
    b.ecra.aoGravar = [&] {
        b.ecra.modo.clear();
        b.e(0).CapturarPeso = false;
    };
    b.lerPeso(0, 0);
    b.lerPeso(0, 12000);
    b.e(0).CapturarPeso = true;
    b.lerPeso(0, 12000);
    b.lerPeso(0, 12010);
    b.lerPeso(0, 11000);
    b.lerPeso(0, 0);
    QList<QByteArray> principal = b.io.escritoEm(0, Canal::LeitorP);
    QCOMPARE(principal, (QList<QByteArray>{Verde, Vermelho, Verde, Vermelho, Verde}));
    QCOMPARE(b.io.escritoEm(0, Canal::LeitorS), principal);
}

// A script of B1, one step each: "N3" the access level, a number a reading
// (one tick), "-" a tick without one, "m0" / "m2" a click on the menu's item,
// "capturado" the weight taken. Gives the commands sent to the principal
// reader (V green, R red) and the manual command and colour at the end.
void TesteSemaforos::comandoManual_data()
{
    QTest::addColumn<QString>("passos");
    QTest::addColumn<QString>("comandos");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<bool>("vermelho");
    // Below level 3 the manual command is undone before any command is computed.
    QTest::newRow("abaixo do nível 3") << "N2 0 m0 12000" << "VR" << false << true;
    // Weight, error and capture no longer change the colour; the release still runs.
    QTest::newRow("vermelho no nível 3") << "N3 0 m0 0 m2 0 capturado 12000 -" << "VR" << true << true;
    // The clicks go by the caption the last decision wrote: two clicks ask the same.
    QTest::newRow("dois cliques entre decisões") << "N3 0 m0 m0 0 m2 m2 m1" << "V" << true << true;
    QTest::newRow("de volta ao automático") << "N3 0 m0 0 m2 0 m0 12000 0" << "VRV" << false << false;
}

void TesteSemaforos::comandoManual()
{
    QFETCH(QString, passos);
    QFETCH(bool, manual);
    BancadaBasculas b;
    comLeitores(b);
    for (const QString& p : passos.split(u' ')) {
        if (p.startsWith(u'N'))
            b.estacao.estacao->Acesso.NivelAcesso = quint8(p.mid(1).toInt());
        else if (p.startsWith(u'm'))
            b.ligacao->mnuSmfB1_Click(p.mid(1).toInt());
        else if (p == u"capturado")
            b.e(0).PesoCapturado = true;
        else if (p == u"-")
            b.tick(0);
        else
            b.lerPeso(0, p.toInt());
    }
    QString comandos;
    for (const QByteArray& c : b.io.escritoEm(0, Canal::LeitorP))
        comandos += c == Verde ? u'V' : c == Vermelho ? u'R' : u'?';
    QTEST(comandos, "comandos");
    QCOMPARE(b.e(0).SemaforoManual, manual);
    QTEST(b.e(0).SemaforoVermelho, "vermelho");
    QVERIFY(!b.e(0).PesoCapturado);
    // The boxes as the last decision left them.
    QCOMPARE(std::pair(b.v(0).principal.manual, b.v(0).principal.coresActivas), std::pair(manual, manual));
    const bool nivel3 = b.estacao.estacao->Acesso.NivelAcesso >= 3;
    QCOMPARE(b.v(0).principal.manualActivo && b.v(0).secundario.manualActivo, nivel3);
}

void TesteSemaforos::semLeitores()
{
    BancadaBasculas b;
    b.def().IndLigado[1] = true;
    b.lerPeso(0, 12000);
    b.e(0).PesoCapturado = true;
    b.lerPeso(0, 0);
    QVERIFY(!b.ligacao->vista().mnuSemaforosVisivel);
    QVERIFY(!b.v(0).mnuSemaforosActivo);
    QVERIFY(!b.v(0).principal.visivel);
    QVERIFY(!b.v(0).secundario.visivel);
    QVERIFY(b.io.escritas.isEmpty());
    // Still decided and counted.
    QVERIFY(!b.e(0).PesoCapturado);
    QVERIFY(!b.e(0).SemaforoVermelho);
    QCOMPARE(b.e(0).ComandoEnviado, Verde);
    QCOMPARE(b.e(0).CiclosSemaforo, 0);
    b.lerPeso(0, 0);
    QCOMPARE(b.e(0).CiclosSemaforo, 1);
}

void TesteSemaforos::leitorComPortaFechada()
{
    BancadaBasculas b;
    b.def().LPLigado[0] = true;
    b.def().LSLigado[0] = true;
    b.io.portaAberta[0][Canal::LeitorS] = true;
    b.lerPeso(0, 0);
    QVERIFY(b.ligacao->vista().mnuSemaforosVisivel);
    QVERIFY(b.v(0).principal.visivel);
    QVERIFY(b.v(0).principal.verde);
    QVERIFY(b.io.escritoEm(0, Canal::LeitorP).isEmpty());
    QCOMPARE(b.io.escritoEm(0, Canal::LeitorS), QList<QByteArray>{Verde});
}

void TesteSemaforos::caixasMostramACorAnterior()
{
    BancadaBasculas b;
    comLeitores(b);
    b.lerPeso(0, 0);
    b.lerPeso(0, 0);
    QVERIFY(b.v(0).principal.verde);
    b.lerPeso(0, 12000);
    // The back colours turn at once, the boxes one decision later.
    QCOMPARE(b.v(0).cor, CorSemaforo::Vermelho);
    QVERIFY(b.v(0).principal.verde);
    QVERIFY(!b.v(0).principal.vermelho);
    b.lerPeso(0, 12000);
    QVERIFY(b.v(0).principal.vermelho);
    QVERIFY(b.v(0).secundario.vermelho);
    QVERIFY(!b.v(0).secundario.verde);
}

void TesteSemaforos::legendasDoMenu_data()
{
    QTest::addColumn<bool>("manual");
    QTest::addColumn<bool>("vermelho");
    QTest::addColumn<QString>("item0");
    QTest::addColumn<bool>("item2Activo");
    QTest::addColumn<QString>("item2");
    QTest::newRow("manual, vermelho") << true << true << "Comando &Automático" << true << "&Verde";
    QTest::newRow("manual, verde") << true << false << "Comando &Automático" << true << "&Vermelho";
    QTest::newRow("automático, vermelho") << false << true << "Comando &Manual" << false << "&Vermelho";
    QTest::newRow("automático, verde") << false << false << "Comando &Manual" << false << "&Verde";
}

void TesteSemaforos::legendasDoMenu()
{
    QFETCH(bool, manual);
    QFETCH(bool, vermelho);
    BancadaBasculas b;
    comLeitores(b, 1);
    b.def().IndLigado[1] = true;
    b.estacao.estacao->Acesso.NivelAcesso = 4;
    QCOMPARE(b.v(1).mnuSmf0, QStringLiteral("&Comando manual"));  // before the first decision
    QCOMPARE(b.v(1).mnuSmf2, QStringLiteral("&Encarnado"));
    b.e(1).SemaforoManual = manual;
    b.e(1).SemaforoVermelho = vermelho;
    b.ligacao->ControlarSemaforos();
    QTEST(b.v(1).mnuSmf0, "item0");
    QTEST(b.v(1).mnuSmf2Activo, "item2Activo");
    QTEST(b.v(1).mnuSmf2, "item2");
    QVERIFY(b.v(1).mnuSemaforosActivo);
    QVERIFY(!b.v(0).mnuSemaforosActivo);
}

void TesteSemaforos::caixasDeVerificacao()
{
    BancadaBasculas b;
    comLeitores(b);
    b.estacao.estacao->Acesso.NivelAcesso = 3;
    b.lerPeso(0, 0);
    b.ligacao->chkS_Click(0, true);
    b.ligacao->chkPV_Click(0, false);  // green unchecked: red
    QVERIFY(b.e(0).SemaforoManual && b.e(0).SemaforoVermelho);
    QCOMPARE(b.ecra.registado(QStringLiteral("foco")).size(), 2);
    // The decision's own changes of the boxes move no focus (it could land
    // on the vehicle code and clear the weighing being entered).
    b.ligacao->chkP_Click(0, false);
    b.ecra.registo.clear();
    b.lerPeso(0, 12000, 3);
    b.lerPeso(0, 0, 3);
    QVERIFY(b.ecra.registado(QStringLiteral("foco")).isEmpty());
}

void TesteSemaforos::escritaRecusadaTerminaDecisao()
{
    BancadaBasculas b;
    comLeitores(b, 0);
    comLeitores(b, 1);
    b.def().IndLigado[1] = true;
    b.io.recusarEscrita = true;
    b.ligacao->ControlarSemaforos();
    // B1's write was refused: B2's turn waits for the next decision.
    QCOMPARE(b.e(0).ComandoEnviado, Vermelho);
    QCOMPARE(b.e(1).CiclosSemaforo, 0);
    QVERIFY(b.e(1).ComandoEnviado.isEmpty());
    b.io.recusarEscrita = false;
    b.ligacao->ControlarSemaforos();
    // B1's command is retried only at the periodic resend; B2 goes now.
    QVERIFY(b.io.escritoEm(0, Canal::LeitorP).isEmpty());
    QCOMPARE(b.io.escritoEm(1, Canal::LeitorP), QList<QByteArray>{Vermelho});
}

QTEST_GUILESS_MAIN(TesteSemaforos)
#include "tst_Semaforos.moc"
