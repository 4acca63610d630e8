#include "EcraTeste.h"
#include "platform/Mensagens.h"

#include <QtTest>

namespace {
const QString Menu = QStringLiteral("frmMenu");
}

// The entry fields, the clearing and layout of the screen, the bridge buttons
// and document-kind options, and the look-up lists, driven as the operator
// drives them.
class TesteCamposEntrada : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void digitacao_data();
    void digitacao();
    void escritoPeloPrograma();
    void enter_data();
    void enter();
    void enterNaoPesaSemBascula();
    void escReporTexto();
    void focoCorreUmaVez();
    void ganharEPerderFoco();
    void limparEcra();
    void mostrarPesagem_data();
    void mostrarPesagem();
    void setas_data();
    void setas();
    void botoesBascula();
    void cliqueBasculaSemLeitura();
    void opcoes();
    void listasConsulta_data();
    void listasConsulta();
    void listaRapida();
    void nivelUmNaoEscreve();
};

// "\b" stands for Backspace.
void TesteCamposEntrada::digitacao_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<bool>("nacional");
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("beeps");

    // The characters each field takes are the field rules' (tst_RegrasCampos);
    // here: each field's length, and the keys the screen itself handles.
    QTest::newRow("código da viatura até 8") << 0 << false << "abcdefghij" << "ABCDEFGH" << 0;
    QTest::newRow("código até 8") << 2 << false << "abcdefghij" << "ABCDEFGH" << 0;
    QTest::newRow("peso até 6") << 13 << false << "0123456" << "012345" << 0;
    QTest::newRow("segundo peso até 6") << 16 << false << "0123456" << "012345" << 0;
    QTest::newRow("data até 10") << 17 << false << "01-01-20261" << "01-01-2026" << 0;
    QTest::newRow("hora até 5") << 18 << false << "12:345" << "12:34" << 0;
    QTest::newRow("primeira hora até 5") << 15 << false << "12:345" << "12:34" << 0;
    QTest::newRow("nacional: retrocesso tira o hífen") << 1 << true << "12\b" << "1" << 0;
    QTest::newRow("nacional: depois de completa") << 1 << true << "ab12cde" << "AB-12-CD" << 1;
    QTest::newRow("retrocesso vulgar") << 3 << false << "abc\b" << "ab" << 0;
}

void TesteCamposEntrada::digitacao()
{
    QFETCH(int, campo);
    QFETCH(bool, nacional);
    QFETCH(QString, teclas);
    QFETCH(QString, texto);
    QFETCH(int, beeps);

    EcraTeste e;
    e.ecra.comandos().chkVtN_Click(nacional);
    // Fields 2 to 18 take the focus only while their panel shows.
    e.dispor(QStringLiteral("SM"));
    if (campo <= 1)
        e.ecra.setTxt(campo, QString());
    e.ecra.focarTxt(campo);
    for (QChar c : teclas)
        e.ecra.campos().Teclar(campo, c == u'\b' ? Tecla::Retrocesso : c.unicode());
    QCOMPARE(e.ecra.txt(campo), texto);
    QCOMPARE(e.t.mensagens.beeps, beeps);
    // The caret stays a caret, never a selection, after a key is typed or refused.
    const auto sel = e.ecra.campos().tomarPedidoSeleccao(campo);
    QVERIFY(!sel || sel->second == 0);
}

// The plate gets no dash from the program; a weight, typed or written, is
// held to the larger capacity with a beep.
void TesteCamposEntrada::escritoPeloPrograma()
{
    EcraTeste e;
    e.ecra.comandos().chkVtN_Click(true);
    e.ecra.setTxt(1, QStringLiteral("AB123"));
    QCOMPARE(e.ecra.txt(1), QStringLiteral("AB123"));
    e.estacao().Def.CapacidadeMaxima = {80000, 40000};
    e.dispor(QStringLiteral("PM"));
    e.escrever(13, QStringLiteral("90000"));
    e.ecra.focarTxt(14);
    QCOMPARE(e.ecra.txt(13), QStringLiteral("80000"));
    e.ecra.setTxt(16, QStringLiteral("99999"));
    QCOMPARE(e.ecra.txt(16), QStringLiteral("80000"));
    QCOMPARE(e.t.mensagens.beeps, 2);
}

void TesteCamposEntrada::enter_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("foco");    // "txt14", "cmdB1" ...; "" = unchanged
    QTest::addColumn<int>("primeiras");   // first saves asked for
    QTest::addColumn<int>("segundas");

    QTest::newRow("13 segue para 14") << "SM" << 13 << "txt14" << 0 << 0;
    QTest::newRow("14 segue para 15") << "SM" << 14 << "txt15" << 0 << 0;
    QTest::newRow("15 em SM segue para 16") << "SM" << 15 << "txt16" << 0 << 0;
    QTest::newRow("15 em PM grava a primeira") << "PM" << 15 << "txt0" << 1 << 0;
    QTest::newRow("16 segue para 17") << "SM" << 16 << "txt17" << 0 << 0;
    QTest::newRow("17 segue para 18") << "SM" << 17 << "txt18" << 0 << 0;
    QTest::newRow("18 grava a segunda") << "SM" << 18 << "txt0" << 0 << 1;
    QTest::newRow("12 em PP: báscula 1") << "PP" << 12 << "cmdB0" << 0 << 0;
    QTest::newRow("12 em SP: báscula 2") << "SP" << 12 << "cmdB1" << 0 << 0;
    QTest::newRow("12 em PM: peso") << "PM" << 12 << "txt13" << 0 << 0;
    QTest::newRow("12 em SM: peso") << "SM" << 12 << "txt13" << 0 << 0;
}

namespace {
QString nomeControlo(const Controlo& c)
{
    switch (c.tipo) {
    case Controlo::Txt: return QStringLiteral("txt") + QString::number(c.indice);
    case Controlo::CmdB: return QStringLiteral("cmdB") + QString::number(c.indice);
    case Controlo::Opt: return QStringLiteral("opt") + QString::number(c.indice);
    case Controlo::ChkVtN: return QStringLiteral("chkVtN");
    case Controlo::CmpPM: return QStringLiteral("cmpPM") + QString::number(c.indice);
    default: return QStringLiteral("outro");
    }
}
}  // namespace

void TesteCamposEntrada::enter()
{
    QFETCH(QString, modo);
    QFETCH(int, campo);
    QFETCH(QString, foco);
    QFETCH(int, primeiras);
    QFETCH(int, segundas);

    EcraTeste e;
    for (EstadoBascula& b : e.dispositivos.estados)
        b.PesoActual = 12000;
    e.dispor(modo);
    e.ecra.setTxt(12, QStringLiteral("obs"));
    e.enter(campo);
    QCOMPARE(nomeControlo(e.ecra.foco()), foco);
    QCOMPARE(e.registos.primeiras, primeiras);
    QCOMPARE(e.registos.segundas, segundas);
    // Enter never goes into the text; a save starts the screen over.
    QCOMPARE(e.ecra.txt(12), primeiras + segundas ? QString() : QStringLiteral("obs"));
    QVERIFY(e.t.mensagens.caixas.isEmpty());
}

void TesteCamposEntrada::enterNaoPesaSemBascula()
{
    EcraTeste e;
    e.dispositivos.estados[0].ErroIndicador = true;
    e.estacao().Def.IndLigado[1] = false;
    e.dispor(QStringLiteral("PP"));
    e.enter(12);
    QCOMPARE(e.caixa(), QStringLiteral("O sistema não permite efectuar a pesagem|16|Zumarel"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));
    QVERIFY(!e.ecra.estado().cmdB[0].activo && !e.ecra.estado().cmdB[1].activo);

    // B1 in error, B2 in use but empty: B2's button.
    e.estacao().Def.IndLigado[1] = true;
    e.dispositivos.estados[1].PesoActual = 0;
    e.ecra.campos().Teclar(12, Tecla::Enter);
    QCOMPARE(e.ecra.foco(), Controlo::cmdB(1));
    QVERIFY(!e.ecra.estado().cmdB[0].activo && e.ecra.estado().cmdB[1].activo);
}

void TesteCamposEntrada::escReporTexto()
{
    EcraTeste e;
    e.dispor(QStringLiteral("PP"));
    e.ecra.setTxt(5, QStringLiteral("Transportes"));
    e.escrever(5, QStringLiteral("xyz"));
    QCOMPARE(e.ecra.txt(5), QStringLiteral("xyz"));
    e.ecra.campos().Teclar(5, Tecla::Esc);
    QCOMPARE(e.ecra.txt(5), QStringLiteral("Transportes"));
    QCOMPARE(e.ecra.campos().tomarPedidoSeleccao(5), std::make_optional(std::pair(0, 11)));
}

void TesteCamposEntrada::focoCorreUmaVez()
{
    EcraTeste e;
    e.dispor(QStringLiteral("PP"));
    e.ecra.focarTxt(0);  // clears the screen, once
    e.ecra.setTxt(3, QStringLiteral("fica"));
    e.ecra.focarTxt(0);  // already there: no GotFocus, nothing cleared
    QCOMPARE(e.ecra.txt(3), QStringLiteral("fica"));
}

void TesteCamposEntrada::ganharEPerderFoco()
{
    EcraTeste e;
    e.dispor(QStringLiteral("SM"));
    QCOMPARE(e.ecra.campos().CampoActual(), 2);
    QCOMPARE(e.ecra.estado().txt[2].cor, Cor::Amarelo);
    QCOMPARE(e.ecra.estado().stb[0], QStringLiteral("Código do cliente ou fornecedor"));
    QCOMPARE(e.ecra.estado().stb[1], QStringLiteral("<F1> Menu de clientes e fornecedores"));

    e.escrever(13, QStringLiteral("1235"));
    QCOMPARE(e.ecra.estado().txt[2].cor, Cor::Janela);
    QCOMPARE(e.ecra.estado().txt[13].cor, Cor::Amarelo);
    QCOMPARE(e.ecra.estado().stb[1], QString());
    e.escrever(14, QStringLiteral("1-2-2024"));
    QCOMPARE(e.ecra.txt(13), QStringLiteral("1240"));
    QCOMPARE(e.ecra.estado().txt[13].cor, Cor::FaceBotao);
    e.escrever(15, QStringLiteral("9:5"));
    QCOMPARE(e.ecra.txt(14), QStringLiteral("01-02-2024"));
    e.ecra.focarTxt(16);
    QCOMPARE(e.ecra.txt(15), QStringLiteral("09:05"));

    e.ecra.focarTxt(0);
    QCOMPARE(e.ecra.estado().stb[1], QStringLiteral("<F1> Primeiras pesagens  <F2> Viaturas"));
    // The vehicle field cleared the weighing laid out; the vehicle stays.
    QCOMPARE(e.ecra.ModoPesagem(), QString());
    QCOMPARE(e.ecra.txt(1), QStringLiteral("AA-00-00"));
    QCOMPARE(e.ecra.txt(13), QStringLiteral("0"));
    QCOMPARE(e.ecra.campos().TextoAnterior(), QString());
}

void TesteCamposEntrada::limparEcra()
{
    EcraTeste e;
    e.t.relogio.momento = QDateTime(QDate(2026, 3, 7), QTime(8, 5));
    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.dispor(QStringLiteral("SM"));
    for (int i = 2; i <= 12; ++i)
        e.ecra.setTxt(i, QStringLiteral("x"));
    e.ecra.setLblB1(QStringLiteral("B1"));
    e.ecra.seleccionarOpt(2);
    e.ecra.setCmdBActivo(0, true);
    for (EstadoBascula& b : e.dispositivos.estados)
        b.CapturarPeso = true;
    e.ecra.disposicao().opt_GotFocus(0);  // the operator chose a kind

    e.ecra.LimparEcra();
    const EstadoEcra& s = e.ecra.estado();
    QStringList textos;
    for (int i = 0; i <= 18; ++i)
        textos << e.ecra.txt(i);
    QCOMPARE(textos.join(u'|'), QStringLiteral("V1|AA-00-00||||||||||||0|07-03-2026|08:05|0|07-03-2026|08:05"));
    QCOMPARE(e.ecra.estado().txt[2].cor, Cor::Janela);  // the yellow left by the focus is gone
    for (int i = Tecla::Enter; i <= 18; ++i)
        QVERIFY(!s.txt[std::size_t(i)].activo);
    QCOMPARE(s.lblB1, QString());
    QCOMPARE(s.lblLiq, QStringLiteral("0"));
    QCOMPARE(s.opt, -1);
    QVERIFY(!s.picQVisivel && !s.picPVisivel && s.picPCompleto);
    QVERIFY(s.cmdB[0].activo);  // only caption and colour are reset
    QCOMPARE(s.cmdB[0].legenda, QStringLiteral("Báscula &1"));
    QCOMPARE(e.ecra.ModoPesagem(), QString());
    QVERIFY(e.ecra.TipoDocAutomatico());
    for (const EstadoBascula& b : e.dispositivos.estados)
        QVERIFY(!b.CapturarPeso);  // neither bridge waits for a weight any more
}

void TesteCamposEntrada::mostrarPesagem_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("matricula");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<bool>("paineis");
    QTest::addColumn<bool>("todasLinhas");
    QTest::addColumn<QString>("abertos");  // weight fields enabled
    QTest::addColumn<QString>("foco");
    QTest::addColumn<bool>("apagar");      // "&Apagar primeira pesagem"

    QTest::newRow("PP") << "PP" << "AA-00-00" << "Primeira pesagem" << true << false << "" << "txt2" << false;
    QTest::newRow("SP") << "SP" << "AA-00-00" << "Segunda pesagem" << true << true << "" << "txt2" << true;
    QTest::newRow("PM") << "PM" << "AA-00-00" << "Primeira Pesagem Manual" << true << false << "13 14 15" << "txt2"
                        << false;
    QTest::newRow("SM") << "SM" << "AA-00-00" << "Segunda Pesagem Manual" << true << true << "13 14 15 16 17 18"
                        << "txt2" << true;
    QTest::newRow("SP sem matrícula") << "SP" << " " << "" << false << true << "" << "txt1" << true;
    QTest::newRow("sem modo") << "" << "AA-00-00" << "" << false << true << "" << "txt1" << false;
}

void TesteCamposEntrada::mostrarPesagem()
{
    QFETCH(QString, modo);
    QFETCH(QString, matricula);
    QFETCH(QString, titulo);
    QFETCH(bool, paineis);
    QFETCH(bool, todasLinhas);
    QFETCH(QString, abertos);
    QFETCH(QString, foco);
    QFETCH(bool, apagar);

    EcraTeste e;
    e.ecra.setMnuOpcActivo(MnuOpc::ApagarPrimeiraPesagem, false);
    e.ecra.setTxt(1, matricula);
    e.ecra.focarTxt(0);
    e.ecra.setModoPesagem(modo);
    e.ecra.disposicao().MostrarPesagem();
    const EstadoEcra& s = e.ecra.estado();
    QCOMPARE(s.fraP, titulo);
    QCOMPARE(s.picQVisivel, paineis);
    QCOMPARE(s.picPVisivel, paineis);
    QCOMPARE(s.picPCompleto, todasLinhas);
    QStringList activos;
    for (int i = Tecla::Enter; i <= 18; ++i)
        if (s.txt[std::size_t(i)].activo)
            activos << QString::number(i);
    QCOMPARE(activos.join(u' '), abertos);
    QCOMPARE(nomeControlo(e.ecra.foco()), foco);
    QCOMPARE(e.ecra.menuActivo(QStringLiteral("mnuOpc6")), apagar);
}

void TesteCamposEntrada::setas_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<QString>("foco");

    QTest::newRow("cima em 2: a caixa das matrículas") << 2 << "" << 0 << Tecla::Cima << "chkVtN";
    QTest::newRow("cima em 13") << 13 << "0" << 0 << Tecla::Cima << "txt12";
    QTest::newRow("esquerda no início do nome") << 3 << "abc" << 0 << Tecla::Esquerda << "txt2";
    QTest::newRow("esquerda no meio do nome") << 3 << "abc" << 2 << Tecla::Esquerda << "txt3";
    QTest::newRow("esquerda na hora") << 15 << "10:00" << 0 << Tecla::Esquerda << "txt14";
    QTest::newRow("direita no código cheio") << 2 << "ABCDEFGH" << 8 << Tecla::Direita << "txt3";
    QTest::newRow("direita no código por encher") << 2 << "ABC" << 3 << Tecla::Direita << "txt2";
    QTest::newRow("direita na data cheia") << 17 << "01-01-2026" << 10 << Tecla::Direita << "txt18";
    QTest::newRow("PgDn em 5") << 5 << "" << 0 << Tecla::PgDn << "txt12";
    QTest::newRow("End em 11") << 11 << "" << 0 << Tecla::End << "txt12";
    QTest::newRow("PgDn em 12 nada") << 12 << "" << 0 << Tecla::PgDn << "txt12";
    QTest::newRow("PgUp em 12") << 12 << "" << 0 << Tecla::PgUp << "txt2";
}

void TesteCamposEntrada::setas()
{
    QFETCH(int, campo);
    QFETCH(QString, texto);
    QFETCH(int, caret);
    QFETCH(int, tecla);
    QFETCH(QString, foco);

    EcraTeste e;
    e.dispor(QStringLiteral("SM"));
    e.ecra.focarTxt(campo);
    e.ecra.setTxt(campo, texto);
    e.ecra.campos().definirSeleccao(campo, caret, 0);
    e.ecra.campos().txt_KeyDown(campo, tecla, 0);
    QCOMPARE(nomeControlo(e.ecra.foco()), foco);
}

void TesteCamposEntrada::botoesBascula()
{
    EcraTeste e;
    e.dispor(QStringLiteral("PP"));
    e.ecra.setCmdBActivo(1, true);
    e.ecra.DarFoco(Controlo::cmdB(1));
    QCOMPARE(e.ecra.estado().cmdB[1].legenda, QStringLiteral("Pesagem"));
    QCOMPARE(e.ecra.estado().cmdB[1].cor, Cor::Amarelo);
    QCOMPARE(e.ecra.estado().stb[0], QStringLiteral("Báscula 2"));
    e.ecra.focarTxt(12);
    QCOMPARE(e.ecra.estado().cmdB[1].legenda, QStringLiteral("Báscula &2"));
    QCOMPARE(e.ecra.estado().cmdB[1].cor, Cor::FaceBotao);
    QCOMPARE(e.ecra.estado().lblB1, QStringLiteral("B2"));  // the entry's origin stays

    // Second weighing: the exit's origin; manual modes leave both alone.
    e.ecra.setModoPesagem(QStringLiteral("SP"));
    e.ecra.DarFoco(Controlo::cmdB(1));
    QCOMPARE(e.ecra.estado().lblB2, QStringLiteral("B2"));
    e.ecra.focarTxt(12);
    e.ecra.setLblB1(QStringLiteral("PM"));
    e.ecra.setLblB2(QStringLiteral("PM"));
    e.ecra.setModoPesagem(QStringLiteral("SM"));
    e.ecra.DarFoco(Controlo::cmdB(1));
    QCOMPARE(e.ecra.estado().lblB1 + e.ecra.estado().lblB2, QStringLiteral("PMPM"));

    e.ecra.disposicao().cmdB_Click(1);
    QVERIFY(e.dispositivos.estados[1].CapturarPeso);

    e.ecra.disposicao().cmdB_KeyDown(1, 34, 0);
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));
    e.ecra.DarFoco(Controlo::cmdB(1));
    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.ecra.disposicao().cmdB_KeyDown(1, 36, 0);  // Home: start over
    QCOMPARE(e.ecra.foco(), Controlo::txt(0));
    QCOMPARE(e.ecra.txt(0) + e.ecra.txt(1), QString());
    QCOMPARE(e.registos.refrescamentos, 1);
}

void TesteCamposEntrada::cliqueBasculaSemLeitura()
{
    EcraTeste e;
    e.dispor(QStringLiteral("PP"));
    e.dispositivos.estados[0].ErroIndicador = true;
    e.dispositivos.estados[0].MensagemIndicador = QStringLiteral("Indicador de peso desligado");
    e.ecra.setCmdBActivo(0, true);
    e.ecra.DarFoco(Controlo::cmdB(0));
    e.ecra.disposicao().cmdB_Click(0);
    QCOMPARE(e.caixa(), QStringLiteral("Indicador de peso desligado|16|Atenção"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));
    QVERIFY(!e.dispositivos.estados[0].CapturarPeso);
}

void TesteCamposEntrada::opcoes()
{
    EcraTeste e;
    e.ecra.comandos().Form_Activate();  // the operator's name in the third panel
    e.dispor(QStringLiteral("SP"));
    e.ecra.DarFoco(Controlo::opt(1));
    QCOMPARE(e.ecra.estado().opt, 1);
    QVERIFY(!e.ecra.TipoDocAutomatico());
    QCOMPARE(e.ecra.estado().stb[0], QStringLiteral("Guia de remessa"));
    QCOMPARE(e.ecra.estado().corOpt[1], Cor::Amarelo);

    // The kind's letter, either case, selects it.
    const QList<std::pair<char, int>> letras = {{'e', 0}, {'G', 1}, {'t', 2}};
    for (const auto& [letra, opcao] : letras) {
        int tecla = letra;
        e.ecra.disposicao().opt_KeyPress(e.ecra.estado().opt, tecla);
        QCOMPARE(e.ecra.estado().opt, opcao);
    }
    QCOMPARE(e.ecra.estado().corOpt[1], Cor::FaceBotao);
    QCOMPARE(e.ecra.foco(), Controlo::opt(2));

    int esc = Tecla::Esc;
    e.ecra.disposicao().opt_KeyPress(2, esc);
    QVERIFY(e.ecra.TipoDocAutomatico());
    QCOMPARE(e.ecra.foco(), Controlo::txt(12));
    QCOMPARE(e.ecra.estado().opt, 2);  // the choice stays until the tick proposes again
    QCOMPARE(e.ecra.estado().stb[2], QStringLiteral("Ana"));  // the options' hints leave it alone

    // Enter with the details hidden: swallowed, the focus stays.
    e.ecra.DarFoco(Controlo::opt(0));
    e.ecra.disposicao().RecomecarEcra();
    int enter = Tecla::Enter;
    e.ecra.disposicao().opt_KeyPress(0, enter);
    QCOMPARE(enter, 0);
    QCOMPARE(e.ecra.foco(), Controlo::opt(0));
}

void TesteCamposEntrada::listasConsulta_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<int>("tecla");   // 0: double click
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("titulo");

    // Which key opens which list is the titles' table (tst_TitulosMenu); here
    // the screen's part: the list opened, busy pointer, no stale title.
    QTest::newRow("F1 na viatura") << 0 << Tecla::F1 << "" << "Menu de primeiras pesagens";
    QTest::newRow("F1 nas observações: nada") << 12 << Tecla::F1 << "" << "";
    QTest::newRow("seta abaixo no código vazio") << 10 << Tecla::Baixo << " " << "Menu de locais de descarga";
    QTest::newRow("duplo clique no transportador") << 5 << 0 << "x" << "Menu de transportadores";
    QTest::newRow("duplo clique no peso: nada") << 13 << 0 << "" << "";
}

void TesteCamposEntrada::listasConsulta()
{
    QFETCH(int, campo);
    QFETCH(int, tecla);
    QFETCH(QString, texto);
    QFETCH(QString, titulo);

    EcraTeste e;
    e.dispor(QStringLiteral("SM"));
    e.ecra.focarTxt(campo);
    e.ecra.setTxt(campo, texto);
    e.estacao().Acesso.TituloMenu = QStringLiteral("Menu de produtos");  // left from before
    QString tituloAberto;
    int cursorAoAbrir = 0;
    e.janelas.aoAbrir = [&](const QString&) {
        tituloAberto = e.estacao().Acesso.TituloMenu;
        cursorAoAbrir = e.t.mensagens.cursorOcupado;
        e.t.mensagens.CursorOcupado(false);  // the list puts the pointer back once filled
        e.estacao().Acesso.TituloMenu.clear();  // and is cancelled
    };
    if (tecla)
        e.ecra.campos().txt_KeyDown(campo, tecla, 0);
    else
        e.ecra.campos().txt_DblClick(campo);
    QCOMPARE(e.janelas.abertas.count(Menu), titulo.isEmpty() ? 0 : 1);
    QCOMPARE(tituloAberto, titulo);
    QCOMPARE(cursorAoAbrir, titulo.isEmpty() ? 0 : 1);
    QCOMPARE(e.t.mensagens.cursorOcupado, 0);
    QCOMPARE(e.estacao().Acesso.TituloMenu, QString());  // a stale title never stays
}

void TesteCamposEntrada::listaRapida()
{
    EcraTeste e;
    e.pendente(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 15000, QStringLiteral("2026-12-01 10:00:00"));
    e.viatura(QStringLiteral("V2"), QStringLiteral("AA-11-22"), 9000, QVariant());
    e.viatura(QStringLiteral("V3"), QStringLiteral("AB-33-44"), 8000, QVariant());
    e.viatura(QStringLiteral("V4"), QStringLiteral("BB-55-66"), 8000, QVariant());
    e.escrever(0, QStringLiteral("a"));
    QCOMPARE(e.ecra.estado().lst,
             QStringList({QStringLiteral("AA-11-22"), QStringLiteral("AA-11-22"), QStringLiteral("AB-33-44")}));
    QVERIFY(e.ecra.estado().lstVisivel);
    e.ecra.campos().Teclar(0, Tecla::Retrocesso);
    QVERIFY(e.ecra.estado().lst.isEmpty());
    QVERIFY(!e.ecra.estado().lstVisivel);

    e.escrever(0, QStringLiteral("ab"));
    e.ecra.campos().lst_Click(QStringLiteral("AB-33-44"));
    QCOMPARE(e.ecra.txt(1), QStringLiteral("AB-33-44"));
    QCOMPARE(e.ecra.txt(0), QStringLiteral("V3"));  // identified by plate
    QCOMPARE(e.ecra.ModoPesagem(), QStringLiteral("PP"));
    QVERIFY(!e.ecra.estado().lstVisivel);
    QCOMPARE(e.ecra.foco(), Controlo::txt(2));

    // The list goes when the operator moves to the plate, and when a vehicle
    // identified by its plate writes its code back.
    e.escrever(0, QStringLiteral("a"));
    QVERIFY(e.ecra.estado().lstVisivel);
    e.escrever(1, QStringLiteral("BB-55-66"));
    QVERIFY(!e.ecra.estado().lstVisivel);
    e.ecra.setTxt(0, QString());
    e.ecra.campos().Teclar(1, Tecla::Enter);
    QCOMPARE(e.ecra.txt(0), QStringLiteral("V4"));
    QVERIFY(!e.ecra.estado().lstVisivel);
}

void TesteCamposEntrada::nivelUmNaoEscreve()
{
    EcraTeste e(1);
    e.viatura(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 9000, QVariant());
    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.escrever(0, QStringLiteral("x"));
    e.ecra.campos().Teclar(0, Tecla::Esc);
    e.ecra.campos().Teclar(0, Tecla::Enter);
    e.ecra.campos().Colar(0, QStringLiteral("V9"));
    QCOMPARE(e.ecra.txt(0), QStringLiteral("V1"));
    QCOMPARE(e.ecra.ModoPesagem(), QString());  // Enter identified nothing
    e.ecra.campos().txt_KeyDown(0, Tecla::F1, 0);
    QCOMPARE(e.janelas.abertas, QStringList({Menu}));
}

QTEST_GUILESS_MAIN(TesteCamposEntrada)
#include "tst_CamposEntrada.moc"
