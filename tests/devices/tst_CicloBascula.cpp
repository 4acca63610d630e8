#include "BancadaBasculas.h"

#include <QtTest>

namespace {
const QString Aguarda = QStringLiteral("Aguarda por resposta do indicador de peso");
const QString Desligado = QStringLiteral("Indicador de peso desligado");
const QString EmLigacao = QStringLiteral("Em ligação ao indicador de peso");

QList<int> ticksDe(const LigacoesFalsas& io, int bascula, int canal, const QByteArray& dados)
{
    QList<int> r;
    for (const auto& e : io.escritas) {
        if (e.bascula == bascula && e.canal == canal && e.dados == dados)
            r << e.tick;
    }
    return r;
}

// B1's indicator on TCP at 127.0.0.1, Ciclos 3, the socket in this state.
void comTcp(BancadaBasculas& b, int estado = EstadoTcp::Ligado)
{
    b.def().Ciclos = 3;
    b.def().ComunicacaoIP[0] = true;
    b.def().EnderecoIP[0] = QStringLiteral("127.0.0.1");
    b.io.estado[0] = estado;
}
}  // namespace

class TesteCicloBascula : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Link and parse
    void silencioSerie_data();
    void silencioSerie();
    void tramaEmFaltaCiclos_data();
    void tramaEmFaltaCiclos();
    void bytesSemTramaNuncaValidos();
    void tcpArranqueEReligacao();
    void tcpSilencioso();
    void tcpDadosSubstituem();
    void basculaDesligadaNaoTocaNasLigacoes();
    void modeloDesconhecido();
    void pollUtilcelUmPorTick();
    void utilcelTcpRecuperaDeRestos();
    void relogio();
    // Display and fill
    void preencherPrimeiraPesagem();
    void basculaQuePreenche_data();
    void basculaQuePreenche();
    void segundaPesagem_data();
    void segundaPesagem();
    void modosManuais();
    void semModoDesactivaBotoes();
    // Save question
    void perguntaNaLeituraEstavel_data();
    void perguntaNaLeituraEstavel();
    void respostaNaoLibertaPeso();
    void pedidoSemModoPuxaFoco();
    void imagens_data();
    void imagens();
    void umaPerguntaDeCadaVez();
    void falhaDoEcraNaoPrendeABascula();
    // Zero
    void botaoZero_data();
    void botaoZero();
    void zeroAutomatico_data();
    void zeroAutomatico();
    void zeroContadoresCongelados();
    void cmdZ_data();
    void cmdZ();
    // Readers
    void pollLeitor_data();
    void pollLeitor();
    void cartoes_data();
    void cartoes();
    void tramaCartaoEmDuasPartes();
    void leitorSemPortaAberta();
};

// ---- link and parse --------------------------------------------------------

void TesteCicloBascula::silencioSerie_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("mensagem");
    QTest::addColumn<int>("ciclos");
    QTest::newRow("1.º tick") << 1 << Aguarda << 1;
    QTest::newRow("50.º tick") << 50 << Aguarda << 50;
    QTest::newRow("51.º tick") << 51 << Desligado << 0;
    QTest::newRow("52.º tick") << 52 << Aguarda << 1;
}

void TesteCicloBascula::silencioSerie()
{
    QFETCH(int, ticks);
    BancadaBasculas b;
    b.lerPeso(0, 12340);
    QVERIFY(!b.e(0).ErroIndicador);
    QCOMPARE(b.ligacao->vista().lblPeso, QStringLiteral("   12340 kg"));
    QCOMPARE(b.v(0).lblS, QStringLiteral("><"));
    b.tick(0, ticks);
    QTEST(b.v(0).lblI, "mensagem");
    QTEST(b.e(0).CiclosIndicador, "ciclos");
    // From the first silent tick the reading is gone.
    QVERIFY(b.e(0).ErroIndicador && !b.e(0).PesoValido);
    QCOMPARE(b.e(0).PesoActual, 0);
    QCOMPARE(b.v(0).lblP + b.v(0).lblU + b.v(0).lblM + b.v(0).lblS, QString());
    QCOMPARE(b.ligacao->vista().lblPeso, QStringLiteral(" kg"));
}

void TesteCicloBascula::tramaEmFaltaCiclos_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("erro");
    QTest::newRow("Ciclos ticks sem trama") << 5 << false;
    QTest::newRow("Ciclos + 1") << 6 << true;
    QTest::newRow("Ciclos + 2") << 7 << true;
}

void TesteCicloBascula::tramaEmFaltaCiclos()
{
    // Bytes keep coming but no frame: the reading stays for Ciclos ticks,
    // then "Erro de protocolo" (the bytes never reset the counter).
    QFETCH(int, ticks);
    QFETCH(bool, erro);
    BancadaBasculas b;
    b.def().Ciclos = 5;
    b.lerPeso(0, 12000);
    for (int k = 0; k < ticks; ++k) {
        b.io.chegar(0, Canal::Indicador, "garbage");
        b.tick(0);
    }
    QCOMPARE(b.e(0).ErroIndicador, erro);
    QCOMPARE(b.e(0).MensagemIndicador, erro ? QStringLiteral("Erro de protocolo") : QString());
    QCOMPARE(b.v(0).lblP, erro ? QString() : QStringLiteral("   12000"));
    // A good frame clears it.
    b.lerPeso(0, 12000);
    QVERIFY(!b.e(0).ErroIndicador);
    QCOMPARE(b.e(0).MensagemIndicador, QString());
}

void TesteCicloBascula::bytesSemTramaNuncaValidos()
{
    // From the start, before any frame, no reading is valid (not the capacity the load set).
    BancadaBasculas b;
    b.e(0).PesoActual = 60000;
    b.ecra.modo = QStringLiteral("PP");
    b.e(0).CapturarPeso = true;
    for (int k = 0; k < 3; ++k) {
        b.io.chegar(0, Canal::Indicador, "   12340kgGS\r");
        b.tick(0);
        QVERIFY(b.e(0).ErroIndicador);
        QVERIFY(!b.e(0).PesoValido);
        QCOMPARE(b.e(0).PesoActual, 0);
    }
    QVERIFY(b.estacao.mensagens.caixas.isEmpty());
}

void TesteCicloBascula::tcpArranqueEReligacao()
{
    BancadaBasculas b;
    comTcp(b, EstadoTcp::Fechado);
    b.ligacao->definirPortaTcp(0, 4567);
    for (int k = 1; k <= 3; ++k) {
        b.tick(0);
        QCOMPARE(b.e(0).MensagemIndicador, EmLigacao);
        QVERIFY(b.e(0).ErroIndicador);
    }
    QVERIFY(b.io.religacoes.isEmpty());
    b.tick(0);
    const LigacoesFalsas::Religacao& r = b.io.religacoes.value(0);
    QCOMPARE(std::tuple(r.endereco, r.porta, r.tick), std::tuple(QStringLiteral("127.0.0.1"), quint16(4567), 4));
    QCOMPARE(b.e(0).MensagemIndicador, Desligado);
    // Still connecting after Ciclos more ticks: closed and tried again.
    b.tick(0, 4);
    QCOMPARE(b.io.religacoes.size(), 2);
    QCOMPARE(b.io.religacoes[1].tick, 8);
    // Nothing was ever written to the serial port of a TCP indicator.
    QVERIFY(b.io.escritoEm(0, Canal::Indicador).isEmpty());
}

void TesteCicloBascula::tcpSilencioso()
{
    BancadaBasculas b;
    comTcp(b);
    b.ligacao->sck_DataArrival(0, tramaPeso(7000));
    b.tick(0);
    // The last reading stays, without error, for 50 empty ticks.
    b.tick(0, 50);
    QVERIFY(!b.e(0).ErroIndicador);
    QCOMPARE(b.v(0).lblP, QStringLiteral("    7000"));
    QCOMPARE(b.io.fechos[0], 0);
    // The 51st: gone, and the possibly half-open connection is dropped...
    b.tick(0);
    QVERIFY(b.e(0).ErroIndicador);
    QCOMPARE(b.e(0).MensagemIndicador, Desligado);
    QCOMPARE(b.io.fechos[0], 1);
    // ...so it is made anew Ciclos + 1 ticks later.
    b.tick(0, 3);
    QVERIFY(b.io.religacoes.isEmpty());
    b.tick(0);
    QCOMPARE(b.io.religacoes.size(), 1);
}

void TesteCicloBascula::tcpDadosSubstituem()
{
    BancadaBasculas b;
    comTcp(b);
    // Two whole frames between ticks: only the second is read.
    b.ligacao->sck_DataArrival(0, tramaPeso(1000));
    b.ligacao->sck_DataArrival(0, tramaPeso(2000));
    b.tick(0);
    QCOMPARE(b.e(0).PesoActual, 2000);
    // A frame split over two events is not put together.
    const QByteArray t = tramaPeso(3000);
    b.ligacao->sck_DataArrival(0, t.left(6));
    b.ligacao->sck_DataArrival(0, t.mid(6));
    b.tick(0);
    QCOMPARE(b.e(0).PesoActual, 2000);
    QCOMPARE(b.e(0).CiclosIndicador, 1);
}

void TesteCicloBascula::basculaDesligadaNaoTocaNasLigacoes()
{
    BancadaBasculas b;  // B2 is off by the factory settings
    b.def().LPLigado[1] = true;
    b.def().LSLigado[1] = true;
    b.io.portaAberta[1][Canal::LeitorP] = true;
    b.io.chegar(1, Canal::Indicador, tramaPeso(5000));
    b.io.chegar(1, Canal::LeitorP, tramaCartao("ABC12345"));
    b.tick(1, 60);
    QCOMPARE(b.io.chamadas[1], 0);  // nothing read, written or polled
    QCOMPARE(b.e(1).MensagemIndicador, QStringLiteral("Báscula desligada"));
    QVERIFY(b.e(1).ErroIndicador);
    QVERIFY(!b.v(1).controlosVisiveis);
    QVERIFY(!b.def().LPLigado[1]);
    QVERIFY(!b.def().LSLigado[1]);
    QVERIFY(!QFile::exists(b.estacao.caminho(QStringLiteral("Lorvane.ini"))));
    QVERIFY(!b.v(1).cmdZActivo);
}

void TesteCicloBascula::modeloDesconhecido()
{
    BancadaBasculas b;
    b.def().IndModelo[0] = QStringLiteral("avery berkel");
    for (int k = 0; k < 10; ++k) {
        b.io.chegar(0, Canal::Indicador, QByteArray(100, 'x') + tramaPeso(1000));
        b.tick(0);
    }
    QCOMPARE(b.e(0).BufferIndicador.size(), 512);
    QVERIFY(b.e(0).ErroIndicador);
    QCOMPARE(b.e(0).MensagemIndicador, QString());
}

void TesteCicloBascula::pollUtilcelUmPorTick()
{
    BancadaBasculas b;
    b.def().IndModelo[0] = QStringLiteral("Utilcel Matrix II");
    b.tick(0);  // empty buffer: poll
    b.io.chegar(0, Canal::Indicador, tramaU("   12340"));
    b.tick(0);  // a frame: the next poll at once
    b.io.chegar(0, Canal::Indicador, tramaU("   12340", "KG", ' ', '\n'));
    b.tick(0);  // a bad frame is still taken, and polled again
    QCOMPARE(ticksDe(b.io, 0, Canal::Indicador, "P\r"), (QList<int>{1, 2, 3}));
    QCOMPARE(b.io.escritas.size(), 3);
    QCOMPARE(b.e(0).MensagemIndicador, QStringLiteral("Erro em leitura de peso"));
}

void TesteCicloBascula::utilcelTcpRecuperaDeRestos()
{
    // The tail of a reply split over two data events is no frame; the
    // polled indicator must still be polled again after the error shows.
    BancadaBasculas b;
    comTcp(b);
    b.def().IndModelo[0] = QStringLiteral("Utilcel Matrix II");
    b.ligacao->sck_DataArrival(0, tramaU("    1000"));
    b.tick(0);
    QCOMPARE(b.e(0).PesoActual, 1000);
    b.ligacao->sck_DataArrival(0, "KG \r");
    b.tick(0, 4);
    QCOMPARE(b.e(0).MensagemIndicador, QStringLiteral("Erro de protocolo"));
    b.tick(0);
    QCOMPARE(b.io.escritas.last().dados, QByteArray("P\r"));
    QCOMPARE(b.io.escritas.last().tick, 6);
    b.ligacao->sck_DataArrival(0, tramaU("    2000"));
    b.tick(0);
    QCOMPARE(b.e(0).PesoActual, 2000);
    QCOMPARE(b.e(0).MensagemIndicador, QString());
}

void TesteCicloBascula::relogio()
{
    BancadaBasculas b;
    b.tick(0);
    QCOMPARE(b.ligacao->vista().lblHor, QStringLiteral("14:30:00"));
    QCOMPARE(b.ligacao->vista().lblDat, QStringLiteral("sábado, 5 de dezembro de 2026"));
    b.estacao.relogio.momento = b.estacao.relogio.momento.addSecs(86399);
    b.tick(1);
    QCOMPARE(b.ligacao->vista().lblHor, QStringLiteral("14:29:59"));
    QCOMPARE(b.ligacao->vista().lblDat, QStringLiteral("domingo, 6 de dezembro de 2026"));
}

// ---- display and fill ------------------------------------------------------

void TesteCicloBascula::preencherPrimeiraPesagem()
{
    BancadaBasculas b;
    b.def().CapacidadeMaxima = {60000, 30000};
    b.ecra.modo = QStringLiteral("PP");
    b.lerPeso(0, 50000, 3);
    QCOMPARE(b.ecra.registado(QStringLiteral("txt")),
             (QStringList{"txt13=50000", "txt14=05-12-2026", "txt15=14:30"}));
    // A field that already reads the weight (as a number) is not written.
    b.ecra.campos[13] = QStringLiteral("0050000");
    b.lerPeso(0, 50000);
    // Above the greater capacity: that capacity, with one beep.
    b.lerPeso(0, 70000, 3);
    QCOMPARE(b.ecra.registado(QStringLiteral("txt13")), (QStringList{"txt13=50000", "txt13=60000"}));
    QCOMPARE(b.estacao.mensagens.beeps, 1);
    // The bridge in error writes 0.
    b.tick(0);
    QCOMPARE(b.ecra.campos[13], QStringLiteral("0"));
}

void TesteCicloBascula::basculaQuePreenche_data()
{
    QTest::addColumn<bool>("b1Ligada");
    QTest::addColumn<int>("foco");  // the cmdB with the focus, -1 none
    QTest::addColumn<QString>("peso");
    QTest::newRow("duas, sem botão") << true << -1 << "";
    QTest::newRow("duas, botão de B2") << true << 1 << "8000";
    QTest::newRow("duas, botão de B1") << true << 0 << "12340";
    QTest::newRow("só B2") << false << -1 << "8000";
}

// With both bridges in use the first weighing takes the weight of the bridge
// whose button has the focus; the date and time are written anyway.
void TesteCicloBascula::basculaQuePreenche()
{
    QFETCH(bool, b1Ligada);
    QFETCH(int, foco);
    BancadaBasculas b;
    b.def().IndLigado = {b1Ligada, true};
    b.ecra.modo = QStringLiteral("PP");
    if (foco >= 0)
        b.ecra.focoCmdB[foco] = true;
    for (int k = 0; k < 2; ++k) {
        b.lerPeso(0, 12340);
        b.lerPeso(1, 8000);
    }
    QTEST(b.ecra.campos[13], "peso");
    QCOMPARE(b.ecra.campos[14] + u' ' + b.ecra.campos[15], QStringLiteral("05-12-2026 14:30"));
}

void TesteCicloBascula::segundaPesagem_data()
{
    QTest::addColumn<QString>("primeiro");
    QTest::addColumn<int>("peso");
    QTest::addColumn<bool>("automatico");
    QTest::addColumn<QString>("liquido");
    QTest::addColumn<int>("opcao");
    QTest::newRow("iguais: Guia") << "12340" << 12340 << true << "0" << 1;
    QTest::newRow("sai mais leve: Entrada") << "12340" << 9000 << true << "3340" << 0;
    QTest::newRow("sai mais pesado: Guia") << "9000" << 12340 << true << "3340" << 1;
    QTest::newRow("escolhido pelo operador") << "12340" << 9000 << false << "3340" << 2;
}

void TesteCicloBascula::segundaPesagem()
{
    QFETCH(QString, primeiro);
    QFETCH(int, peso);
    QFETCH(bool, automatico);
    QFETCH(QString, liquido);
    QFETCH(int, opcao);
    BancadaBasculas b;
    b.ecra.modo = QStringLiteral("SP");
    b.ecra.campos[13] = primeiro;
    b.ecra.tipoDocAutomatico = automatico;
    b.ecra.opcao = 2;
    b.lerPeso(0, peso, 2);
    QCOMPARE(b.ecra.campos[16], QString::number(peso));
    QCOMPARE(b.ecra.campos[17], QStringLiteral("05-12-2026"));
    QCOMPARE(b.ecra.campos[18], QStringLiteral("14:30"));
    QCOMPARE(b.ecra.liquido, liquido);
    QCOMPARE(b.ecra.opcao, opcao);
    QCOMPARE(b.ecra.registado(QStringLiteral("lblLiq")).size(), 1);
    QCOMPARE(b.ecra.registado(QStringLiteral("opt")).size(), automatico ? 1 : 0);
}

void TesteCicloBascula::modosManuais()
{
    BancadaBasculas b;
    b.ecra.modo = QStringLiteral("PM");
    b.lerPeso(0, 12340);
    QCOMPARE(b.ecra.registo, QStringList{"lblB1=PM"});
    b.ecra.registo.clear();
    b.ecra.modo = QStringLiteral("SM");
    b.ecra.liquido = QStringLiteral("Peso líquido");
    b.ecra.campos[13] = QStringLiteral("12000");
    b.ecra.campos[16] = QStringLiteral("9000");
    b.lerPeso(0, 12340);
    QCOMPARE(b.ecra.registo, (QStringList{"lblB2=PM", "lblLiq=3000", "opt0"}));
    b.ecra.campos[16] = QStringLiteral("15000");
    b.lerPeso(0, 12340);
    QCOMPARE(b.ecra.liquido, QStringLiteral("3000"));
    QCOMPARE(b.ecra.opcao, 1);
}

void TesteCicloBascula::semModoDesactivaBotoes()
{
    BancadaBasculas b;
    b.def().IndLigado[1] = true;
    b.tickAmbas();
    QCOMPARE(b.ecra.activoCmdB, (std::array<bool, 2>{false, false}));
    QCOMPARE(b.ecra.registado(QStringLiteral("cmdB")), (QStringList{"cmdB0 activo=0", "cmdB1 activo=0"}));
    b.tickAmbas();
    QCOMPARE(b.ecra.registado(QStringLiteral("cmdB")).size(), 2);
}

// ---- save question ---------------------------------------------------------

void TesteCicloBascula::perguntaNaLeituraEstavel_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<int>("peso");
    QTest::addColumn<QString>("pergunta");
    QTest::addColumn<QString>("gravar");
    QTest::newRow("primeira") << "PP" << 12000 << "Gravar 1a.Pesagem" << "GravarPrimeiraPesagem";
    QTest::newRow("segunda") << "SP" << 8000 << "Gravar 2a.Pesagem" << "GravarSegundaPesagem";
}

// The bridge asked to weigh: no question on an unstable reading; on a stable
// one the fields are filled and the weight taken before the question.
void TesteCicloBascula::perguntaNaLeituraEstavel()
{
    QFETCH(QString, modo);
    QFETCH(int, peso);
    QFETCH(QString, pergunta);
    QFETCH(QString, gravar);
    BancadaBasculas b;
    b.ecra.modo = modo;
    b.ecra.campos[13] = QStringLiteral("20000");
    b.e(0).CapturarPeso = true;
    b.lerPeso(0, peso, 2, 'U');
    QVERIFY(b.estacao.mensagens.caixas.isEmpty());
    b.estacao.mensagens.respostas << Resposta::Sim;
    const int campo = modo == u"PP" ? 13 : 16;
    b.estacao.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        [&] {
            QCOMPARE(b.ecra.campos[campo], QString::number(peso));
            QVERIFY(b.e(0).PesoCapturado);
        }();
        return 0;
    };
    b.lerPeso(0, peso);
    QCOMPARE(b.estacao.mensagens.caixas.size(), 1);
    const auto& c = b.estacao.mensagens.caixas[0];
    QCOMPARE(c.texto + u'|' + QString::number(c.estilo) + u'|' + c.titulo, pergunta + QStringLiteral("|36|Zumarel"));
    QCOMPARE(b.ecra.registado(QStringLiteral("Gravar")), QStringList{gravar});
    QVERIFY(b.e(0).CapturarPeso);  // the save's start-over clears it
}

void TesteCicloBascula::respostaNaoLibertaPeso()
{
    BancadaBasculas b;
    b.ecra.modo = QStringLiteral("PP");
    b.lerPeso(0, 12000);
    QVERIFY(b.v(0).img1Visivel);
    b.e(0).CapturarPeso = true;
    b.estacao.mensagens.respostas << Resposta::Nao;
    b.lerPeso(0, 12000);
    QCOMPARE(b.estacao.mensagens.caixas.size(), 1);
    QVERIFY(!b.e(0).CapturarPeso);
    QVERIFY(!b.e(0).PesoCapturado);  // the light must not let the vehicle go
    QCOMPARE(b.ecra.registado(QStringLiteral("foco")), QStringList{"foco cmdB0"});
    QVERIFY(!b.v(0).img1Visivel);
    QVERIFY(b.ecra.registado(QStringLiteral("Gravar")).isEmpty());
    // The next decision shows the loaded bridge red again.
    b.lerPeso(0, 12000);
    QVERIFY(b.v(0).img1Visivel);
    QVERIFY(b.e(0).SemaforoVermelho);
}

void TesteCicloBascula::pedidoSemModoPuxaFoco()
{
    BancadaBasculas b;
    b.e(0).CapturarPeso = true;
    b.lerPeso(0, 12000, 3);
    QCOMPARE(b.ecra.registado(QStringLiteral("foco")), (QStringList{"foco txt0", "foco txt0", "foco txt0"}));
    QVERIFY(b.estacao.mensagens.caixas.isEmpty());
    QVERIFY(b.e(0).CapturarPeso);
}

void TesteCicloBascula::imagens_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<int>("peso");
    QTest::addColumn<bool>("img1");
    QTest::addColumn<bool>("img2");
    QTest::newRow("PP no mínimo") << "PP" << 400 << false << false;
    QTest::newRow("PP acima do mínimo") << "PP" << 401 << true << false;
    QTest::newRow("SP acima do mínimo") << "SP" << 401 << false << true;
    QTest::newRow("sem modo") << "" << 12000 << false << false;
    QTest::newRow("manual") << "PM" << 12000 << false << false;
}

void TesteCicloBascula::imagens()
{
    QFETCH(QString, modo);
    QFETCH(int, peso);
    BancadaBasculas b;
    b.ecra.modo = modo;
    b.ecra.campos[13] = QStringLiteral("20000");
    b.lerPeso(0, peso);
    QTEST(b.v(0).img1Visivel, "img1");
    QTEST(b.v(0).img2Visivel, "img2");
}

void TesteCicloBascula::umaPerguntaDeCadaVez()
{
    BancadaBasculas b;
    b.def().IndLigado[1] = true;
    b.def().LPLigado[0] = true;
    b.io.portaAberta[0][Canal::LeitorP] = true;
    b.ecra.modo = QStringLiteral("PP");
    b.lerPeso(0, 12000);
    b.lerPeso(1, 15000);
    b.e(0).CapturarPeso = true;
    b.e(1).CapturarPeso = true;
    int caixasDentro = -1;
    bool verdeDentro = false;
    QByteArray naoLido;
    b.estacao.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        if (caixasDentro >= 0)
            return 0;
        // While B1's question is open both timers keep ticking.
        b.lerPeso(1, 15000, 3);
        verdeDentro = b.io.escritoEm(0, Canal::LeitorP).value(1) == "HO0003";
        b.io.chegar(0, Canal::Indicador, tramaPeso(12000));
        b.tick(0, 2);
        naoLido = b.io.entrada[0][Canal::Indicador];
        caixasDentro = b.estacao.mensagens.caixas.size();
        return int(Resposta::Nao);
    };
    b.lerPeso(0, 12000);
    QCOMPARE(caixasDentro, 1);               // no second question while the first is open
    QVERIFY(verdeDentro);                    // B2's ticks ran the decision: B1 taken, green
    QCOMPARE(naoLido, tramaPeso(12000));     // B1's own ticks waited
    QVERIFY(b.e(1).CapturarPeso);
    b.lerPeso(1, 15000);
    QCOMPARE(b.estacao.mensagens.caixas.size(), 2);
}

void TesteCicloBascula::falhaDoEcraNaoPrendeABascula()
{
    // A screen step that throws out of a tick (the main window catches it)
    // must not leave the bridge's tick or the save question marked as running.
    BancadaBasculas b;
    b.ecra.modo = QStringLiteral("PP");
    b.e(0).CapturarPeso = true;
    b.ecra.falharEscrita = true;
    b.io.chegar(0, Canal::Indicador, tramaPeso(12000));
    QVERIFY_THROWS_EXCEPTION(Erro, b.tick(0));
    b.estacao.mensagens.respostas << Resposta::Nao;
    b.lerPeso(0, 12000);
    QCOMPARE(b.estacao.mensagens.caixas.size(), 1);
    QVERIFY(!b.ligacao->ocupado());
    b.e(0).CapturarPeso = true;
    b.estacao.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) -> int { throw Erro{1, {}}; };
    QVERIFY_THROWS_EXCEPTION(Erro, b.lerPeso(0, 12000));
    QVERIFY(!b.ligacao->ocupado());
    b.estacao.mensagens.aoMostrar = nullptr;
    b.lerPeso(0, 12000);
    QCOMPARE(b.estacao.mensagens.caixas.size(), 3);
}

// ---- zero ------------------------------------------------------------------

void TesteCicloBascula::botaoZero_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<int>("peso");
    QTest::addColumn<bool>("activo");
    QTest::newRow("nível 2, 20 kg") << 2 << 20 << true;
    QTest::newRow("nível 2, 0 kg") << 2 << 0 << false;
    QTest::newRow("nível 2, no mínimo") << 2 << 400 << false;
    QTest::newRow("nível 2, negativo") << 2 << -60 << true;
    QTest::newRow("nível 1 não é oferecido") << 1 << 20 << false;
}

void TesteCicloBascula::botaoZero()
{
    QFETCH(int, nivel);
    QFETCH(int, peso);
    QFETCH(bool, activo);
    BancadaBasculas b;
    b.estacao.estacao->Acesso.NivelAcesso = quint8(nivel);
    b.def().ZeroAutomatico[0] = false;
    b.lerPeso(0, peso);
    QCOMPARE(b.v(0).cmdZActivo, activo);
    QCOMPARE(b.v(0).cmdZ, activo ? QStringLiteral("<< zero >>") : QString());
    QVERIFY(b.io.escritas.isEmpty());
}

void TesteCicloBascula::zeroAutomatico_data()
{
    QTest::addColumn<bool>("ligado");
    QTest::addColumn<QList<int>>("pesos");  // one reading a tick, the last repeated to 60 ticks
    QTest::addColumn<QList<int>>("ticks");  // the ticks that send "z"
    // The tick that first sees a weight is the reference; the command goes out
    // on the 26th equal tick after it, and again 26 ticks later.
    QTest::newRow("40 kg parados") << true << QList<int>{40} << QList<int>{27, 53};
    QTest::newRow("desligado") << false << QList<int>{40} << QList<int>{};
    QTest::newRow("muda a meio") << true << QList<int>{40, 40, 40, 40, 40, 60, 40} << QList<int>{33, 59};
    QTest::newRow("no mínimo não") << true << QList<int>{400} << QList<int>{};
    QTest::newRow("negativo") << true << QList<int>{-20} << QList<int>{27, 53};
}

void TesteCicloBascula::zeroAutomatico()
{
    QFETCH(bool, ligado);
    QFETCH(QList<int>, pesos);
    QFETCH(QList<int>, ticks);
    BancadaBasculas b;
    b.def().ZeroAutomatico[0] = ligado;
    for (int k = 0; k < 60; ++k)
        b.lerPeso(0, pesos.value(k, pesos.last()));
    QCOMPARE(ticksDe(b.io, 0, Canal::Indicador, "z"), ticks);
    QCOMPARE(b.io.escritas.size(), ticks.size());
    QCOMPARE(b.ecra.registado(QStringLiteral("foco")).size(), ticks.size());
    if (!ligado)
        QCOMPARE(b.e(0).ContadorZero, 0);
}

void TesteCicloBascula::zeroContadoresCongelados()
{
    BancadaBasculas b;
    b.lerPeso(0, 40, 21);
    QCOMPARE(b.e(0).ContadorZero, 20);
    b.estacao.estacao->Acesso.NivelAcesso = 2;
    b.lerPeso(0, 40, 10);
    QCOMPARE(b.e(0).ContadorZero, 20);
    QVERIFY(b.v(0).cmdZActivo);
    b.estacao.estacao->Acesso.NivelAcesso = 1;
    b.lerPeso(0, 40, 5);
    QVERIFY(b.io.escritas.isEmpty());
    b.lerPeso(0, 40);
    QCOMPARE(b.io.escritoEm(0, Canal::Indicador), QList<QByteArray>{"z"});
}

void TesteCicloBascula::cmdZ_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("modelo");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<QByteArray>("enviado");
    QTest::newRow("nível 1 não envia") << 1 << "Avery Berkel" << false << QByteArray();
    QTest::newRow("nível 2, A, série") << 2 << "Avery Berkel" << false << QByteArray("z");
    QTest::newRow("nível 2, U, TCP") << 2 << "Utilcel Matrix II" << true << QByteArray("Z");
    QTest::newRow("nível 4, U, série") << 4 << "Utilcel Matrix II" << false << QByteArray("Z");
    QTest::newRow("modelo desconhecido") << 4 << "Outro" << false << QByteArray();
}

void TesteCicloBascula::cmdZ()
{
    QFETCH(int, nivel);
    QFETCH(QString, modelo);
    QFETCH(bool, tcp);
    QFETCH(QByteArray, enviado);
    BancadaBasculas b;
    b.estacao.estacao->Acesso.NivelAcesso = quint8(nivel);
    b.def().IndModelo[0] = modelo;
    b.def().ComunicacaoIP[0] = tcp;
    b.io.estado[0] = EstadoTcp::Ligado;
    b.ligacao->cmdZ_Click(0);
    const QList<QByteArray> escrito = b.io.escritoEm(0, tcp ? -1 : Canal::Indicador);
    QCOMPARE(escrito, enviado.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{enviado});
    QCOMPARE(b.io.escritas.size(), escrito.size());
    QCOMPARE(b.ecra.registo, QStringList{"foco CampoActual"});
}

// ---- readers ---------------------------------------------------------------

void TesteCicloBascula::pollLeitor_data()
{
    QTest::addColumn<int>("temporizacao");
    QTest::addColumn<QByteArray>("antes");  // a frame read at the first tick
    QTest::addColumn<QList<int>>("polls");
    // A frame resets the count: the poll comes on the 51st silent tick after it.
    QTest::newRow("50 ticks") << 50 << tramaCartao("ABC12345") << QList<int>{52, 103};
    QTest::newRow("sem trama") << 50 << QByteArray() << QList<int>{51, 102};
    QTest::newRow("limite 0: cada tick") << 0 << QByteArray() << QList<int>{1, 2, 3};
}

void TesteCicloBascula::pollLeitor()
{
    QFETCH(int, temporizacao);
    QFETCH(QByteArray, antes);
    QFETCH(QList<int>, polls);
    BancadaBasculas b;
    b.def().LPLigado[0] = true;
    b.def().LPTemporizacao[0] = qint16(temporizacao);
    b.io.portaAberta[0][Canal::LeitorP] = true;
    b.io.chegar(0, Canal::LeitorP, antes);
    b.tick(0);
    QCOMPARE(b.v(0).lblCP, antes.isEmpty() ? QString() : QStringLiteral("ABC12345"));
    b.tick(0, polls.last() - 1);
    QCOMPARE(ticksDe(b.io, 0, Canal::LeitorP, "C\r\n"), polls);
    QCOMPARE(b.v(0).lblCP, QString());
}

// A card script, one step a tick of B1: "12000" a reading, "P:code" / "S:code"
// a card at the principal / secondary reader (read at the next tick),
// "ocupado" / "livre" the screen busy or free. Gives the codes handed to the
// automatic weighing.
void TesteCicloBascula::cartoes_data()
{
    QTest::addColumn<QString>("passos");
    QTest::addColumn<QStringList>("pesados");
    QTest::newRow("uma vez por estadia")
        << "12000 P:ABC12345 12000 P:ABC12345 12100 0 9000 P:ABC12345 9000" << QStringList{"ABC12345", "ABC12345"};
    QTest::newRow("no mínimo não pesa") << "P:ABC12345 400 P:ABC12345 401" << QStringList{"ABC12345"};
    QTest::newRow("dois leitores no mesmo tick")
        << "12000 P:AAA11111 S:AAA11111 12000 P:BBB22222 S:CCC33333 12000"
        << QStringList{"AAA11111", "BBB22222", "CCC33333"};
    QTest::newRow("espera pelo ecrã") << "ocupado 12000 P:ABC12345 12000 12000 12000 livre 12000"
                                     << QStringList{"ABC12345"};
    QTest::newRow("esquecido quando a báscula esvazia")
        << "ocupado 12000 P:ABC12345 12000 0 15000 livre 15000 15000" << QStringList{};
}

void TesteCicloBascula::cartoes()
{
    QFETCH(QString, passos);
    BancadaBasculas b;
    b.def().LPLigado[0] = b.def().LSLigado[0] = true;
    b.io.portaAberta[0][Canal::LeitorP] = b.io.portaAberta[0][Canal::LeitorS] = true;
    QStringList codigos;
    b.ecra.aoPesagemAutomatica = [&](int i) {
        codigos << b.e(i).CodigoCartao;
        b.e(i).UltimoCartao = b.e(i).CodigoCartao;
    };
    for (const QString& p : passos.split(u' ')) {
        if (p == u"ocupado" || p == u"livre")
            b.ecra.estaOcupado = p == u"ocupado";
        else if (p.startsWith(u"P:") || p.startsWith(u"S:"))
            b.io.chegar(0, p[0] == u'P' ? Canal::LeitorP : Canal::LeitorS, tramaCartao(p.mid(2).toLatin1()));
        else
            b.lerPeso(0, p.toInt());
    }
    QTEST(codigos, "pesados");
}

void TesteCicloBascula::tramaCartaoEmDuasPartes()
{
    BancadaBasculas b;
    b.def().LPLigado[0] = true;
    b.io.portaAberta[0][Canal::LeitorP] = true;
    const QByteArray t = "junk" + tramaCartao("ABC12345");
    b.io.chegar(0, Canal::LeitorP, t.left(20));
    b.tick(0);
    QCOMPARE(b.v(0).lblCP, QString());
    QCOMPARE(b.e(0).BufferLeitorP, t.left(20));
    b.io.chegar(0, Canal::LeitorP, t.mid(20));
    b.tick(0);
    QCOMPARE(b.v(0).lblCP, QStringLiteral("ABC12345"));
    QVERIFY(b.e(0).BufferLeitorP.isEmpty());
    // A CR before the frame is complete drops the bytes without trace.
    b.io.chegar(0, Canal::LeitorP, "R123\r");
    b.tick(0);
    QVERIFY(b.e(0).BufferLeitorP.isEmpty());
    QCOMPARE(b.v(0).lblCP, QStringLiteral("ABC12345"));
}

void TesteCicloBascula::leitorSemPortaAberta()
{
    BancadaBasculas b;
    b.def().LPLigado[0] = true;  // in use, but its port did not open
    b.ligacao->vista().bascula[0].lblCP = QStringLiteral("velho");
    b.tick(0, 60);
    QCOMPARE(b.v(0).lblCP, QString());
    QVERIFY(b.io.escritoEm(0, Canal::LeitorP).isEmpty());
    // A reader not in use: its open port is never read nor polled.
    b.def().LPLigado[0] = false;
    b.io.portaAberta[0][Canal::LeitorP] = true;
    b.io.chegar(0, Canal::LeitorP, tramaCartao("ABC12345"));
    b.tick(0, 60);
    QVERIFY(b.io.escritoEm(0, Canal::LeitorP).isEmpty());
    QCOMPARE(b.v(0).lblCP, QString());
    QVERIFY(!b.io.entrada[0][Canal::LeitorP].isEmpty());
}

QTEST_GUILESS_MAIN(TesteCicloBascula)
#include "tst_CicloBascula.moc"
