#include "EcraTeste.h"
#include "platform/Mensagens.h"
#include "screen/CampoEntrada.h"
#include "screen/MontagemPrincipal.h"
#include "screen/frmPrincipal.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

// The real main window on the offscreen platform, typed into as an operator does.
struct JanelaTeste
{
    explicit JanelaTeste(int nivel, LigacoesDispositivos* io = nullptr)
    {
        prepararEstacao(t, nivel);
        w = std::make_unique<frmPrincipal>(*t.estacao, io);
        w->logica().ligarJanelas(&janelas);
        w->Form_Load();
    }

    // Shown and active, as after a login.
    bool mostrar()
    {
        w->Mostrar(false);
        w->Form_Activate();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w.get());
    }

    // A first weighing laid out for a plate, the details open.
    EcraPesagem& dispor()
    {
        EcraPesagem& l = w->logica();
        l.setTxt(1, QStringLiteral("AA-11-22"));
        l.setModoPesagem(QStringLiteral("PP"));
        l.disposicao().MostrarPesagem();
        return l;
    }

    CampoEntrada* txt(int i) { return w->txt(i); }
    template <typename W>
    W* filho(const QString& nome) { return w->findChild<W*>(nome); }

    void sql(const QString& instrucao, const QVariantList& valores = {})
    {
        Consulta::executar(t.estacao->bd(), instrucao, valores);
    }

    EstacaoTeste t;
    JanelasFalsas janelas;
    std::unique_ptr<frmPrincipal> w;
};

class TesteFrmPrincipal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carregadaEscondida();
    void escreverNoCampo();
    void paineisPorModo_data();
    void paineisPorModo();
    void caixaNaoRepeteFoco();
    void colarPassaPelasRegras();
    void tabelasEMapas_data();
    void tabelasEMapas();
    void botoesDasBasculas_data();
    void botoesDasBasculas();
    void zeroDeCadaBascula_data() { botoesDasBasculas_data(); }
    void zeroDeCadaBascula();
    void atalhos();
    void geometria();
    void montagemLigada();
    void prontoDepoisDeGravar();
    void nomesMostramOInicio();
};

void TesteFrmPrincipal::carregadaEscondida()
{
    JanelaTeste j(0);
    QVERIFY(!j.w->isVisible());
    QCOMPARE(j.txt(0)->contextMenuPolicy(), Qt::PreventContextMenu);

    // No valid level: the window stays hidden and asks for the login.
    j.w->Mostrar(false);
    j.w->Form_Activate();
    QVERIFY(!j.w->isVisible());
    QCOMPARE(j.janelas.abertas, QStringList({QStringLiteral("frmAcesso")}));
}

void TesteFrmPrincipal::escreverNoCampo()
{
    JanelaTeste j(2);
    QVERIFY(j.mostrar());
    QTest::mouseClick(j.txt(0), Qt::LeftButton);
    QTRY_COMPARE(j.w->logica().foco(), Controlo::txt(0));
    QCOMPARE(j.txt(0)->palette().color(QPalette::Base), QColor(Qt::yellow));
    QCOMPARE(j.filho<QLabel>(QStringLiteral("stb1"))->text(), QStringLiteral("Código da viatura"));
    QCOMPARE(j.filho<QLabel>(QStringLiteral("stb3"))->text(), QStringLiteral("Ana"));

    QTest::keyClicks(j.txt(0), QStringLiteral("ab1"));
    QCOMPARE(j.txt(0)->text(), QStringLiteral("AB1"));
    QCOMPARE(j.w->logica().txt(0), QStringLiteral("AB1"));
    QTest::keyClick(j.txt(0), Qt::Key_Left);
    QTest::keyClick(j.txt(0), Qt::Key_Delete);  // the field's own edit, passed to the screen
    QCOMPARE(j.w->logica().txt(0), QStringLiteral("AB"));
    QTest::keyClick(j.txt(0), Qt::Key_Z, Qt::AltModifier);  // no menu's: typed nowhere, past no rule
    QCOMPARE(j.txt(0)->text(), QStringLiteral("AB"));

    // Tab moves on: the plate takes the focus, the code its normal colour.
    QTest::keyClick(j.txt(0), Qt::Key_Tab);
    QTRY_COMPARE(j.w->logica().foco(), Controlo::txt(1));
    QCOMPARE(j.txt(0)->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));

    // The plate pattern, and its dash, as typed.
    j.filho<QCheckBox>(QStringLiteral("chkVtN"))->click();
    QTRY_COMPARE(j.w->logica().foco(), Controlo::txt(1));
    QTest::keyClicks(j.txt(1), QStringLiteral("ab1c"));
    QCOMPARE(j.txt(1)->text(), QStringLiteral("AB-1"));
    QCOMPARE(j.t.mensagens.beeps, 1);
}

void TesteFrmPrincipal::paineisPorModo_data()
{
    QTest::addColumn<bool>("pendente");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<bool>("segunda");     // second weighing rows shown
    QTest::addColumn<bool>("pesoAberto");  // txt13 open for typing

    QTest::newRow("PP") << false << false << "Primeira pesagem" << false << false;
    QTest::newRow("SM") << true << true << "Segunda Pesagem Manual" << true << true;
}

void TesteFrmPrincipal::paineisPorModo()
{
    QFETCH(bool, pendente);
    QFETCH(bool, manual);
    QFETCH(QString, titulo);
    QFETCH(bool, segunda);
    QFETCH(bool, pesoAberto);

    JanelaTeste j(4);
    j.sql(QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura) VALUES ('V1', 'AA-11-22')"));
    if (pendente)
        j.sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, "
                             "\"Peso á entrada\") VALUES ('P', 'V1', 'AA-11-22', 12000)"));
    QVERIFY(j.mostrar());
    if (manual) {
        j.filho<QPushButton>(QStringLiteral("cmpPM0"))->click();  // a first manual weighing
        QVERIFY(j.w->accao(QStringLiteral("mnuOpc4"))->isChecked());
    }
    QVERIFY(j.filho<QWidget>(QStringLiteral("picQ"))->isHidden());
    QTest::mouseClick(j.txt(0), Qt::LeftButton);
    QTest::keyClicks(j.txt(0), QStringLiteral("v1"));
    QTest::keyClick(j.txt(0), Qt::Key_Return);

    QVERIFY(!j.filho<QWidget>(QStringLiteral("picP"))->isHidden());
    QCOMPARE(!j.filho<QWidget>(QStringLiteral("picPSegunda"))->isHidden(), segunda);
    QCOMPARE(j.filho<QGroupBox>(QStringLiteral("fraP"))->title(), titulo);
    QCOMPARE(j.txt(1)->text(), QStringLiteral("AA-11-22"));
    QCOMPARE(j.txt(13)->isEnabled(), pesoAberto);
    QCOMPARE(j.w->accao(QStringLiteral("mnuOpc6"))->isEnabled(), pendente);
    QTRY_COMPARE(QApplication::focusWidget(), j.txt(2));
}

// A box over the window (a save question of the bridge cycle, say) takes the
// focus away and gives it back: the field's focus routine must not run again.
void TesteFrmPrincipal::caixaNaoRepeteFoco()
{
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    QTest::mouseClick(j.txt(0), Qt::LeftButton);
    QTest::keyClicks(j.txt(0), QStringLiteral("v9"));
    j.w->logica().setTxt(5, QStringLiteral("fica"));  // a clearing would empty it

    int caixasVistas = 0;
    j.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa& c) {
        QMessageBox caixa(QMessageBox::Question, c.titulo, c.texto, QMessageBox::Yes | QMessageBox::No, j.w.get());
        caixa.show();
        caixa.activateWindow();
        if (QTest::qWaitForWindowActive(&caixa))
            ++caixasVistas;
        caixa.close();
        return Resposta::Nao;
    };
    j.w->logica().MsgBox(QStringLiteral("Gravar 1a.Pesagem"), 36, QStringLiteral("Zumarel"));
    QCOMPARE(caixasVistas, 1);
    QVERIFY(QTest::qWaitForWindowActive(j.w.get()));
    QTRY_COMPARE(QApplication::focusWidget(), j.txt(0));
    QCOMPARE(j.w->logica().txt(5), QStringLiteral("fica"));
    QCOMPARE(j.w->logica().campos().TextoAnterior(), QString());

    // Esc still gives back the text the field had when the operator came in.
    QTest::keyClick(j.txt(0), Qt::Key_Escape);
    QCOMPARE(j.txt(0)->text(), QString());

    // The window coming back, a box or a popup closing, gives its last
    // focused control the focus again (with the reason "other" on some
    // platforms), which may not be the screen's: no focus routine runs for it.
    j.dispor().setTxt(5, QStringLiteral("fica"));
    for (const Qt::FocusReason razao : {Qt::ActiveWindowFocusReason, Qt::OtherFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent regresso(QEvent::FocusIn, razao);
        QApplication::sendEvent(j.txt(1), &regresso);
        QCOMPARE(j.w->logica().foco(), Controlo::txt(2));
        QCOMPARE(j.w->logica().ModoPesagem(), QStringLiteral("PP"));
        QCOMPARE(j.w->logica().txt(5), QStringLiteral("fica"));
    }
    // The operator's own move does.
    QTest::mouseClick(j.txt(1), Qt::LeftButton);
    QCOMPARE(j.w->logica().foco(), Controlo::txt(1));
    QCOMPARE(j.w->logica().ModoPesagem(), QString());
}

void TesteFrmPrincipal::colarPassaPelasRegras()
{
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    QTest::mouseClick(j.txt(0), Qt::LeftButton);
    QTest::keyClicks(j.txt(0), QStringLiteral("v"));
    if (!QGuiApplication::clipboard())
        QSKIP("no clipboard on this platform");
    QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncd"));
    if (QGuiApplication::clipboard()->text() != QStringLiteral("ab\ncd"))
        QSKIP("the platform keeps no clipboard text");
    QTest::keySequence(j.txt(0), QKeySequence::Paste);
    QCOMPARE(j.txt(0)->text(), QStringLiteral("VABCD"));  // upper-cased, the line break left out
    QCOMPARE(j.w->logica().ModoPesagem(), QString());       // no Enter from the paste
}

void TesteFrmPrincipal::atalhos()
{
    JanelaTeste j(1);
    j.sql(QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (7, 'E')"));
    j.t.estacao->Def.UltimoDocPesagem = 7;
    QVERIFY(j.mostrar());
    QCOMPARE(j.w->accao(QStringLiteral("mnuOpc6"))->shortcut(), QKeySequence(Qt::Key_F8));
    QTest::mouseClick(j.txt(0), Qt::LeftButton);
    QTest::keyClick(j.txt(0), Qt::Key_F12);
    QVERIFY(j.t.impressora.pedidos.isEmpty());  // level 1 may only log in again

    j.t.estacao->Acesso.NivelAcesso = 2;
    j.w->Form_Activate();
    QTest::keyClick(j.txt(0), Qt::Key_F12);
    QCOMPARE(j.t.impressora.pedidos.size(), 1);
    QCOMPARE(j.t.impressora.pedidos[0].FormulaSeleccao, QStringLiteral("{Pesagens.Pesagem} = 7"));
    QVERIFY(j.t.mensagens.caixas.isEmpty());
    // A reprint the print system does not take says so.
    j.t.impressora.estado = EstadoRelatorio::FalhaImpressao;
    j.t.impressora.falha = {ErroImpressora, QStringLiteral("A impressora fila não aceitou o trabalho: recusa")};
    QTest::keyClick(j.txt(0), Qt::Key_F12);
    QCOMPARE(j.t.impressora.pedidos.size(), 2);
    QCOMPARE(j.t.mensagens.vistas(),
             QStringList{"Erro 482 48 O documento não foi impresso\n\n(A impressora fila não aceitou o trabalho: recusa)"});

    // Ctrl+C in a field is the calculator's, not a copy.
    QTest::keyClick(j.txt(0), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(j.janelas.abertas, QStringList({QStringLiteral("Calculadora")}));
}

// At the smallest size the station runs at, no two controls of a panel cover
// each other and none spills out of its panel, with every panel shown.
void TesteFrmPrincipal::geometria()
{
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    j.w->resize(1024, 768);
    for (QWidget* c : j.w->centralWidget()->findChildren<QWidget*>())
        if (c->isHidden() && c->objectName() != QStringLiteral("lst") && !c->objectName().startsWith(u"qt_") &&
            !c->objectName().isEmpty())
            c->show();
    j.w->layout()->activate();
    j.w->centralWidget()->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(j.w->size(), QSize(1024, 768));

    QList<QWidget*> controlos;
    for (QWidget* c : j.w->centralWidget()->findChildren<QWidget*>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(u"qt_") && c->objectName() != u"lst" &&
            c->isVisible())
            controlos << c;
    QVERIFY(controlos.size() > 80);
    for (QWidget* c : controlos) {
        QVERIFY2(!c->geometry().isEmpty(), qPrintable(c->objectName()));
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()),
                 qPrintable(c->objectName() + QStringLiteral(" sai de ") + c->parentWidget()->objectName()));
        for (QWidget* outro : controlos)
            if (outro != c && outro->parentWidget() == c->parentWidget())
                QVERIFY2(!c->geometry().intersects(outro->geometry()),
                         qPrintable(c->objectName() + QStringLiteral(" cobre ") + outro->objectName()));
    }
}

// With the bridges' device link, the saves and the grid behind it.
void TesteFrmPrincipal::montagemLigada()
{
    LigacoesInactivas io;
    JanelaTeste j(4, &io);
    QVERIFY(j.w->montagem());
    QVERIFY(j.filho<QTableView>(QStringLiteral("dbg"))->model());
    QVERIFY(!j.filho<QPushButton>(QStringLiteral("cmdB0"))->isEnabled());
    j.w->logica().comandos().tmr_Timer(0);
    j.w->sincronizar();
    QCOMPARE(j.filho<QLabel>(QStringLiteral("lblHor"))->text(), QStringLiteral("14:30:00"));
    // A bridge without a reading: the bridge's own message.
    QVERIFY(!j.filho<QLabel>(QStringLiteral("lblI0"))->text().isEmpty());
}

// Each item of "&Tabelas" and "&Estatisticas" opens its window with its own title.
void TesteFrmPrincipal::tabelasEMapas_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("mnuTab0") << "mnuTab0" << "Tabela de viaturas";
    QTest::newRow("mnuTab7") << "mnuTab7" << "Tabela de primeiras pesagens";
    QTest::newRow("mnuEst1") << "mnuEst1" << "Estatísticas por cliente ou fornecedor";
    QTest::newRow("mnuEst7") << "mnuEst7" << "Estatísticas por operador";
    QTest::newRow("mnuEst9") << "mnuEst9" << "Pesagens";
}

void TesteFrmPrincipal::tabelasEMapas()
{
    QFETCH(QString, item);
    QFETCH(QString, titulo);
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    const bool mapa = item.startsWith(u"mnuEst");
    QString aberto;
    j.janelas.aoAbrir = [&](const QString& janela) {
        aberto = janela + u' ' + (mapa ? j.t.estacao->Acesso.TituloMapa : j.t.estacao->Acesso.TituloTabela);
        j.t.estacao->Acesso.NomeOperador = QStringLiteral("Rui");  // seen by the activation that follows
    };
    QAction* a = j.w->accao(item);
    QVERIFY(a);
    a->trigger();
    QCOMPARE(aberto, (mapa ? QStringLiteral("frmMapas ") : QStringLiteral("frmTabelas ")) + titulo);
    QCOMPARE(j.filho<QLabel>(QStringLiteral("stb3"))->text(), QStringLiteral("Rui"));
}

// Each bridge's button, clicked, takes the focus and asks for its weight.
void TesteFrmPrincipal::botoesDasBasculas_data()
{
    QTest::addColumn<int>("bascula");
    QTest::newRow("B1") << 0;
    QTest::newRow("B2") << 1;
}

void TesteFrmPrincipal::botoesDasBasculas()
{
    QFETCH(int, bascula);
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    EcraPesagem& l = j.dispor();
    for (int i = 0; i < 2; ++i) {
        l.setCmdBActivo(i, true);
        l.Bascula(i).ErroIndicador = false;
    }
    j.w->sincronizar();
    j.filho<QPushButton>(QStringLiteral("cmdB") + QString::number(bascula))->click();
    QCOMPARE(l.foco(), Controlo::cmdB(bascula));
    QCOMPARE(l.Bascula(bascula).CapturarPeso, true);
    QCOMPARE(l.Bascula(1 - bascula).CapturarPeso, false);
    QCOMPARE(l.lblB1(), bascula ? QStringLiteral("B2") : QStringLiteral("B1"));
}

// Each bridge's zero button reaches its bridge, which hands the keyboard back
// to the field the operator was in.
void TesteFrmPrincipal::zeroDeCadaBascula()
{
    QFETCH(int, bascula);
    LigacoesInactivas io;
    JanelaTeste j(4, &io);
    QVERIFY(j.mostrar());
    QTest::mouseClick(j.txt(1), Qt::LeftButton);
    QTRY_COMPARE(j.w->logica().foco(), Controlo::txt(1));
    VistaBascula& v = j.w->montagem()->basculas().vista().bascula[bascula];
    v.controlosVisiveis = v.cmdZActivo = true;
    j.w->sincronizar();
    QTest::mouseClick(j.filho<QPushButton>(QStringLiteral("cmdZ") + QString::number(bascula)), Qt::LeftButton);
    QCOMPARE(j.w->logica().foco(), Controlo::txt(1));
    QTRY_COMPARE(QApplication::focusWidget(), j.txt(1));
}

// After a save the keyboard waits on the vehicle code for the next truck, and
// the bridge button's hint has left the status bar.
void TesteFrmPrincipal::prontoDepoisDeGravar()
{
    JanelaTeste j(4);
    RegistosFalsos registos(j.w->logica());
    PartesEcra partes;
    registos.ligar(partes);
    j.w->logica().ligarPartes(partes);
    QVERIFY(j.mostrar());
    EcraPesagem& l = j.dispor();
    l.setCmdBActivo(0, true);
    l.DarFoco(Controlo::cmdB(0));
    j.w->sincronizar();
    QCOMPARE(j.filho<QLabel>(QStringLiteral("stb1"))->text(), QStringLiteral("Báscula 1"));
    l.GravarPrimeiraPesagem();
    j.w->sincronizar();
    QCOMPARE(l.foco(), Controlo::txt(0));
    QTRY_COMPARE(QApplication::focusWidget(), j.txt(0));
    QCOMPARE(j.filho<QLabel>(QStringLiteral("stb1"))->text(), QStringLiteral("Código da viatura"));
    QCOMPARE(j.filho<QPushButton>(QStringLiteral("cmdB0"))->text(), QStringLiteral("Báscula &1"));
}

// A long name written by the program shows its beginning; the zero buttons
// carry a picture and their hint.
void TesteFrmPrincipal::nomesMostramOInicio()
{
    JanelaTeste j(4);
    QVERIFY(j.mostrar());
    const QString nome = QStringLiteral("Areias e Britas do Norte Litoral, S.A.");
    j.w->logica().setTxt(3, nome);
    j.w->sincronizar();
    QCOMPARE(j.txt(3)->text(), nome);
    QCOMPARE(j.txt(3)->cursorPosition(), 0);
    for (int i = 0; i < 2; ++i) {
        auto* z = j.filho<QPushButton>(QStringLiteral("cmdZ") + QString::number(i));
        QCOMPARE(z->toolTip(), QStringLiteral("Comando de zero em báscula ") + QString::number(i + 1));
        QVERIFY(!z->icon().isNull());
    }
}

QTEST_MAIN(TesteFrmPrincipal)
#include "tst_frmPrincipal.moc"
