#include "EcraTeste.h"
#include "platform/Mensagens.h"

#include <QtTest>

// The main window's load, activation, close and menus, through its logic.
class TesteJanelaPrincipal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menusPorNivel_data();
    void menusPorNivel();
    void nivelMantidoSobMenuDesligado();
    void semNivelPedeAcesso_data();
    void semNivelPedeAcesso();
    void pesagemManualPorNivel_data();
    void pesagemManualPorNivel();
    void devolucaoDaLista_data();
    void devolucaoDaLista();
    void devolucaoDeViatura();
    void carga();
    void cargaComFalhaNaGrelha();
    void fechoPorNivel_data();
    void fechoPorNivel();
    void sair();
    void outrasJanelas();
    void ultimoDocumento_data();
    void ultimoDocumento();
    void apagarPrimeiraPesagem();
    void apagarSemChaveOuSemPendente();
    void pesagemManualEBotoes();
    void caixaDasMatriculas();
};

namespace {
const QStringList itensDoNivel = {
    QStringLiteral("mnuPrincipal0"), QStringLiteral("mnuPrg0"), QStringLiteral("mnuPrg2"),
    QStringLiteral("mnuPrincipal1"), QStringLiteral("mnuPrincipal2"), QStringLiteral("mnuPrincipal3"),
    QStringLiteral("mnuOpc2"), QStringLiteral("mnuOpc4"), QStringLiteral("mnuPrincipal4"),
    QStringLiteral("mnuPrincipal5"), QStringLiteral("mnuSis0"), QStringLiteral("mnuSis2"),
    QStringLiteral("mnuSis4"), QStringLiteral("mnuSis6"), QStringLiteral("mnuPrincipal6"),
};
}  // namespace

// What an operator can use at each level, item by item in the order above:
// 1 usable, 0 not (a disabled item, or one under a disabled menu).
void TesteJanelaPrincipal::menusPorNivel_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("utilizaveis");

    //                                Prog Cód Sair Tab Est Opç 2ªV Man Smf Sis Data CódA Par Calc Ajuda
    QTest::newRow("nível 1") << 1 << "1 1 0 0 0 0 0 0 0 0 0 0 0 0 0";
    QTest::newRow("nível 2") << 2 << "1 1 1 0 0 1 0 0 0 1 0 1 0 1 1";
    QTest::newRow("nível 3") << 3 << "1 1 1 1 1 1 1 0 1 1 0 1 0 1 1";
    QTest::newRow("nível 4") << 4 << "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
}

void TesteJanelaPrincipal::menusPorNivel()
{
    QFETCH(int, nivel);
    QFETCH(QString, utilizaveis);

    EcraTeste e(nivel);
    e.ecra.comandos().Form_Activate();
    QStringList r;
    for (const QString& item : itensDoNivel)
        r << (e.ecra.menuUtilizavel(item) ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(r.join(u' '), utilizaveis);
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuAjuda2")));  // never touched by the level
    // "Último documento" only once there is one.
    QVERIFY(!e.ecra.menuActivo(QStringLiteral("mnuOpc0")));
    e.estacao().Def.UltimoDocPesagem = 1;
    e.ecra.comandos().Form_Activate();
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuOpc0")));
}

void TesteJanelaPrincipal::nivelMantidoSobMenuDesligado()
{
    EcraTeste e(2);
    e.ecra.comandos().Form_Activate();
    QVERIFY(!e.ecra.menuActivo(QStringLiteral("mnuOpc2")));
    e.estacao().Acesso.NivelAcesso = 1;
    e.ecra.comandos().Form_Activate();
    QVERIFY(!e.ecra.menuActivo(QStringLiteral("mnuOpc2")));  // kept from level 2
    e.estacao().Acesso.NivelAcesso = 4;
    e.ecra.comandos().Form_Activate();
    e.estacao().Acesso.NivelAcesso = 1;
    e.estacao().Def.UltimoDocPesagem = 5;
    e.ecra.comandos().Form_Activate();
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuOpc2")));  // kept from level 4
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuOpc0")));
    QVERIFY(!e.ecra.menuUtilizavel(QStringLiteral("mnuOpc0")));  // F12 does nothing under "&Opções" disabled
}

void TesteJanelaPrincipal::semNivelPedeAcesso_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("matricula");  // the hand-back's Enter is swallowed below level 2 only
    QTest::newRow("antes de um acesso") << 0 << "";
    QTest::newRow("modo supervisor") << 5 << "AA-11-22";
}

void TesteJanelaPrincipal::semNivelPedeAcesso()
{
    QFETCH(int, nivel);
    QFETCH(QString, matricula);
    EcraTeste e(nivel);
    e.viatura(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 9000, QVariant());
    e.ecra.definirJanelaVisivel(true);
    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.estacao().Acesso.TituloMenu = QStringLiteral("Menu de viaturas");
    e.ecra.comandos().Form_Activate();
    QVERIFY(!e.ecra.estado().janelaVisivel);
    QCOMPARE(e.janelas.abertas, QStringList({QStringLiteral("frmAcesso")}));
    QCOMPARE(e.ecra.estado().stb[2], QStringLiteral("Ana"));  // the steps after still ran
    QCOMPARE(e.ecra.txt(1), matricula);
    QCOMPARE(e.estacao().Acesso.TituloMenu, QString());
}

// Manual mode is level 4's: switched on when no bridge is in use, kept as it
// was with one in use, switched off below level 4.
void TesteJanelaPrincipal::pesagemManualPorNivel_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<int>("ligadas");  // bridges in use: 1 B1, 2 B2
    QTest::addColumn<bool>("antes");
    QTest::addColumn<bool>("depois");
    QTest::newRow("4 sem báscula") << 4 << 0 << false << true;
    QTest::newRow("4 com B1, desligada") << 4 << 1 << false << false;
    QTest::newRow("4 com B2, ligada") << 4 << 2 << true << true;
    QTest::newRow("3 sem báscula") << 3 << 0 << true << false;
    QTest::newRow("2") << 2 << 2 << true << false;
}

void TesteJanelaPrincipal::pesagemManualPorNivel()
{
    QFETCH(int, nivel);
    QFETCH(int, ligadas);
    QFETCH(bool, antes);
    QFETCH(bool, depois);
    EcraTeste e(nivel);
    e.estacao().Def.IndLigado = {bool(ligadas & 1), bool(ligadas & 2)};
    e.ecra.definirPesagemManual(antes);
    e.ecra.comandos().Form_Activate();
    QCOMPARE(e.ecra.PesagemManual(), depois);
    QCOMPARE(e.ecra.estado().lblPMVisivel, depois);
}

void TesteJanelaPrincipal::devolucaoDaLista_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("nome");   // what field 7 then holds
    QTest::addColumn<int>("foco");

    QTest::newRow("produtos") << "Menu de produtos" << "Areia" << 12;
    QTest::newRow("outra caixa de letra: nada") << "menu de produtos" << "" << 6;
    QTest::newRow("lista cancelada: nada") << "" << "" << 6;
}

void TesteJanelaPrincipal::devolucaoDaLista()
{
    QFETCH(QString, titulo);
    QFETCH(QString, nome);
    QFETCH(int, foco);

    EcraTeste e;
    e.sql(QStringLiteral("INSERT INTO Produtos VALUES ('P1', 'Areia')"));
    e.dispor(QStringLiteral("PP"));
    e.ecra.focarTxt(6);
    e.ecra.setTxt(6, QStringLiteral("P1"));
    e.estacao().Acesso.TituloMenu = titulo;
    e.ecra.comandos().Form_Activate();
    QCOMPARE(e.ecra.txt(7), nome);
    QCOMPARE(e.ecra.foco(), Controlo::txt(foco));
    QCOMPARE(e.estacao().Acesso.TituloMenu, QString());
}

// The vehicle is identified at once, then the focus goes to the plate, whose
// taking of the focus clears the weighing for the operator to go on.
void TesteJanelaPrincipal::devolucaoDeViatura()
{
    EcraTeste e;
    e.viatura(QStringLiteral("V1"), QStringLiteral("AA-11-22"), 9000, QVariant());
    e.ecra.focarTxt(0);
    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.estacao().Acesso.TituloMenu = QStringLiteral("Menu de viaturas");
    e.ecra.comandos().Form_Activate();
    QCOMPARE(e.ecra.txt(1), QStringLiteral("AA-11-22"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(1));
    QCOMPARE(e.ecra.ModoPesagem(), QString());
}

void TesteJanelaPrincipal::carga()
{
    EcraTeste e;
    Definicoes& d = e.estacao().Def;
    d.IndTemporizacao = {250, 0};
    d.CapacidadeMaxima = {60000, 40000};
    d.FormatViatNac = true;
    e.ecra.definirPesagemManual(true);
    e.ecra.comandos().Form_Load();
    QCOMPARE(e.dispositivos.cargas, 1);
    QVERIFY(e.ecra.comandos().temporizadorActivo(0));
    QCOMPARE(e.ecra.comandos().intervaloTemporizador(0), 250);
    QVERIFY(!e.ecra.comandos().temporizadorActivo(1));  // 0 or less: stopped, never spinning
    QCOMPARE(e.dispositivos.estados[1].PesoActual, 40000);
    QVERIFY(!e.ecra.PesagemManual());
    QVERIFY(e.ecra.estado().chkVtN);
    QCOMPARE(e.registos.refrescamentos, 1);
    QVERIFY(!e.ecra.estado().janelaVisivel);  // loaded hidden
    e.ecra.comandos().Terminar();
    QVERIFY(!e.ecra.comandos().temporizadorActivo(0));
}

void TesteJanelaPrincipal::cargaComFalhaNaGrelha()
{
    EcraTeste e;
    e.estacao().Def.IndTemporizacao = {-5, 0};
    e.registos.falharRefrescar = true;
    e.ecra.comandos().Form_Load();
    QVERIFY(!e.ecra.comandos().temporizadorActivo(0));
    QCOMPARE(e.caixa(), QStringLiteral("Erro número: 3078\n\nTabela inexistente|16|Zumarel"));
}

void TesteJanelaPrincipal::fechoPorNivel_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<bool>("recusado");
    QTest::addColumn<bool>("opcoesComBotaoDireito");
    QTest::newRow("nível 1") << 1 << true << false;
    QTest::newRow("nível 2") << 2 << true << true;
    QTest::newRow("nível 3") << 3 << false << true;
}

void TesteJanelaPrincipal::fechoPorNivel()
{
    QFETCH(int, nivel);
    QFETCH(bool, recusado);
    QFETCH(bool, opcoesComBotaoDireito);
    EcraTeste e(nivel);
    QCOMPARE(e.ecra.comandos().Form_Unload(), recusado);
    QCOMPARE(e.t.sistema.terminacoes.size(), recusado ? 0 : 1);
    QCOMPARE(e.dispositivos.fechos, recusado ? 0 : 1);
    QCOMPARE(e.ecra.comandos().MostraOpcoesAoClicar(), opcoesComBotaoDireito);
}

void TesteJanelaPrincipal::sair()
{
    EcraTeste e(2);
    e.ecra.comandos().mnuPrg_Click(2);
    QCOMPARE(e.caixa(), QStringLiteral("Confirma que deseja sair do Zumarel|292|Zumarel"));
    QVERIFY(e.t.sistema.terminacoes.isEmpty());  // No, the default
    e.t.mensagens.respostas << Resposta::Sim;
    e.ecra.comandos().mnuPrg_Click(2);
    QCOMPARE(e.t.sistema.terminacoes, QList<int>({0}));

    EcraTeste outra(4);
    outra.ecra.definirJanelaVisivel(true);
    outra.ecra.comandos().mnuPrg_Click(0);
    QVERIFY(!outra.ecra.estado().janelaVisivel);
    QCOMPARE(outra.janelas.abertas, QStringList({QStringLiteral("frmAcesso modal")}));
}

void TesteJanelaPrincipal::outrasJanelas()
{
    EcraTeste e(4);
    e.ecra.comandos().mnuOpc_Click(2);
    e.ecra.comandos().mnuOpc_Click(8);
    e.ecra.comandos().mnuSis_Click(0);
    e.ecra.comandos().mnuSis_Click(2);
    e.ecra.comandos().mnuSis_Click(4);
    e.ecra.comandos().mnuSis_Click(6);
    e.ecra.comandos().mnuAjuda_Click(0);
    e.ecra.comandos().mnuAjuda_Click(2);
    QCOMPARE(e.janelas.abertas,
             QStringList({QStringLiteral("frmSegVia"), QStringLiteral("frmAnularPsg"), QStringLiteral("frmRelogio"),
                          QStringLiteral("frmAltCod"), QStringLiteral("frmPar"), QStringLiteral("Calculadora"),
                          QStringLiteral("Ajuda"), QStringLiteral("frmAcerca")}));
}

void TesteJanelaPrincipal::ultimoDocumento_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("ficheiro");  // "" : nothing printed

    QTest::newRow("primeira pesagem") << "P" << "doc_pri.rpt";
    QTest::newRow("entrada") << "E" << "doc_seg_e.rpt";
    QTest::newRow("guia") << "G" << "doc_seg_g.rpt";
    QTest::newRow("talão") << "T" << "doc_seg_t.rpt";
    QTest::newRow("anulada") << "A" << "";
    QTest::newRow("sem registo") << "" << "";
}

void TesteJanelaPrincipal::ultimoDocumento()
{
    QFETCH(QString, tipo);
    QFETCH(QString, ficheiro);

    EcraTeste e(2);
    e.estacao().Def.CopiasEntrada = 3;
    e.estacao().Def.CopiasPrimeiraPesagem = 2;
    if (!tipo.isEmpty()) {
        e.sql(QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (42, ?)"), {tipo});
    }
    e.estacao().Def.UltimoDocPesagem = 42;
    e.ecra.comandos().mnuOpc_Click(0);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.t.impressora.pedidos.size(), ficheiro.isEmpty() ? 0 : 1);
    if (ficheiro.isEmpty())
        return;
    const PedidoRelatorio& p = e.t.impressora.pedidos[0];
    QCOMPARE(p.FicheiroRelatorio, e.t.caminho(ficheiro));
    QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Pesagem} = 42"));
    QCOMPARE(p.Destino, 1);
    QCOMPARE(p.Copias, qint16(1));
}

void TesteJanelaPrincipal::apagarPrimeiraPesagem()
{
    EcraTeste e(4);
    e.pendente(QStringLiteral("AB'1"), QStringLiteral("AA-11-22"), 15000, QStringLiteral("2026-12-01 10:00:00"));
    e.pendente(QStringLiteral("AB'1"), QStringLiteral("AA-11-22"), 16000, QStringLiteral("2026-12-02 10:00:00"));
    const QString tipos = QStringLiteral("SELECT group_concat(\"Tipo de pesagem\", '') FROM "
                                         "(SELECT \"Tipo de pesagem\" FROM Pesagens ORDER BY Pesagem)");
    e.ecra.setTxt(0, QStringLiteral("AB'1"));
    e.ecra.identificacao().IdentificarStatusPesagem();
    QVERIFY(e.ecra.menuActivo(QStringLiteral("mnuOpc6")));

    e.ecra.comandos().mnuOpc_Click(6);  // No, the default
    QCOMPARE(e.caixa(), QStringLiteral("Confirma que deseja apagar a viatura AB'1 - AA-11-22, da tabela de "
                                       "primeiras pesagens|292|Zumarel"));
    QCOMPARE(e.valor(tipos).toString(), QStringLiteral("PP"));
    QCOMPARE(e.ecra.txt(0), QStringLiteral("AB'1"));

    e.t.mensagens.respostas << Resposta::Sim;
    e.ecra.comandos().mnuOpc_Click(6);
    QCOMPARE(e.valor(tipos).toString(), QStringLiteral("AP"));  // the older one; the row stays
    QCOMPARE(e.ecra.txt(0) + e.ecra.txt(1), QString());
    QVERIFY(!e.ecra.menuActivo(QStringLiteral("mnuOpc6")));
    QCOMPARE(e.ecra.foco(), Controlo::txt(0));
}

void TesteJanelaPrincipal::apagarSemChaveOuSemPendente()
{
    EcraTeste e(4);
    e.ecra.comandos().mnuOpc_Click(6);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
    QCOMPARE(e.ecra.foco(), Controlo::txt(0));
    e.ecra.setTxt(1, QStringLiteral("ZZ-99-99"));
    e.ecra.comandos().mnuOpc_Click(6);
    QVERIFY(e.t.mensagens.caixas.isEmpty());
}

void TesteJanelaPrincipal::pesagemManualEBotoes()
{
    EcraTeste e(4);
    e.ecra.comandos().mnuOpc_Click(4);
    QVERIFY(e.ecra.PesagemManual() && e.ecra.estado().mnuOpc4Marcado);
    e.ecra.comandos().mnuOpc_Click(4);
    QVERIFY(!e.ecra.PesagemManual() && !e.ecra.estado().mnuOpc4Marcado && !e.ecra.estado().lblPMVisivel);

    e.ecra.setTxt(0, QStringLiteral("V1"));
    e.ecra.comandos().cmpPM_Click(0);
    QCOMPARE(e.ecra.txt(0), QString());  // started over
    QVERIFY(e.ecra.PesagemManual() && e.ecra.PrimeiraManual());
    QCOMPARE(e.ecra.estado().lblPM, QStringLiteral("1a. Pesagem manual"));
    QCOMPARE(e.ecra.foco(), Controlo::txt(0));
    e.ecra.comandos().cmpPM_Click(0);
    QVERIFY(!e.ecra.PesagemManual() && e.ecra.PrimeiraManual());

    e.ecra.comandos().cmpPM_Click(0);
    e.ecra.comandos().cmpPM_Click(1);
    QVERIFY(!e.ecra.PesagemManual() && !e.ecra.PrimeiraManual());
    QCOMPARE(e.ecra.estado().lblPM, QStringLiteral("2a. Pesagem manual"));
    QVERIFY(!e.ecra.estado().lblPMVisivel);
    QCOMPARE(e.registos.refrescamentos, 4);
}

void TesteJanelaPrincipal::caixaDasMatriculas()
{
    EcraTeste e(4);
    e.dispor(QStringLiteral("PP"));
    e.ecra.setTxt(3, QStringLiteral("Cliente"));
    e.ecra.DarFoco(Controlo::chkVtN());
    e.ecra.comandos().chkVtN_Click(true);
    QCOMPARE(e.ecra.foco(), Controlo::txt(2));
    QCOMPARE(e.ecra.txt(3), QStringLiteral("Cliente"));
    QVERIFY(e.ecra.estado().chkVtN);
}

QTEST_GUILESS_MAIN(TesteJanelaPrincipal)
#include "tst_JanelaPrincipal.moc"
