#include "JanelaPrincipalFalsa.h"
#include "OperadoresTeste.h"
#include "admin/frmAcesso.h"
#include "startup/ModGlobalMain.h"
#include "support/EstacaoTeste.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QColor Amarelo(0xFF, 0xFF, 0x00);

bool amarelo(const QWidget* w, QPalette::ColorRole papel = QPalette::Base)
{
    return w->palette().color(papel) == Amarelo;
}

}  // namespace

// The real login window, offscreen, driven by keys as an operator drives it,
// handing over to a fake main window.
class TesteFrmAcesso : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void aspecto();
    void entrarComTeclado();
    void recusaComTeclado();
    void escolherDaLista();
    void entrega_data();
    void entrega();
    void caixaDeFecho_data();
    void caixaDeFecho();
    void semOperadores();
    void codigoDeAcessoModal();
    void arranqueMostraSoAcesso();

private:
    void abrir(bool modal = false);
    void teclar(const QString& texto);
    void verificarComTeclado(const QString& codigo);
    void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);
    QWidget* foco() const { return QApplication::focusWidget(); }

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<frmAcesso> janela;
    std::unique_ptr<JanelaPrincipalFalsa> principal;
};

void TesteFrmAcesso::init()
{
    t = std::make_unique<EstacaoTeste>();
    t->abrirBaseDados();
    janela = std::make_unique<frmAcesso>(*t->estacao);
    principal = std::make_unique<JanelaPrincipalFalsa>(*t->estacao);
    principal->pedido = janela.get();
    janela->definirJanelaPrincipal(principal.get());
}

void TesteFrmAcesso::cleanup()
{
    janela.reset();
    principal.reset();
    t.reset();
}

void TesteFrmAcesso::abrir(bool modal)
{
    janela->MostrarAcesso(modal);
    QVERIFY(janela->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
}

void TesteFrmAcesso::teclar(const QString& texto)
{
    QTest::keyClicks(foco(), texto);
}

// From the operator box: Enter, the code, Enter shows the button, Enter presses it.
void TesteFrmAcesso::verificarComTeclado(const QString& codigo)
{
    tecla(Qt::Key_Return);
    teclar(codigo);
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
}

void TesteFrmAcesso::tecla(Qt::Key k, Qt::KeyboardModifiers m)
{
    QTest::keyClick(foco(), k, m);
}

void TesteFrmAcesso::aspecto()
{
    t->escreverIni("[Acesso]\nOperador=Supervisor\n");
    abrir();
    QCOMPARE(janela->windowTitle(), QStringLiteral("Zumarel"));
    QCOMPARE(janela->windowModality(), Qt::NonModal);
    QCOMPARE(janela->minimumSize(), janela->maximumSize());
    QCOMPARE(janela->cmb()->count(), 1);
    QCOMPARE(janela->cmb()->currentText(), QStringLiteral("Supervisor"));
    QVERIFY(janela->cmd()->isHidden());

    // The focus starts in the operator box; Tab goes on to the code box.
    QCOMPARE(foco(), janela->cmb());
    QVERIFY(amarelo(janela->cmb()));
    QCOMPARE(janela->painel()->text(), QStringLiteral("Identificação do operador"));
    tecla(Qt::Key_Tab);
    QCOMPARE(foco(), janela->txt());
    QVERIFY(amarelo(janela->txt()));
    QVERIFY(!amarelo(janela->cmb()));
    QCOMPARE(janela->painel()->text(), QStringLiteral("Código de acesso"));
    tecla(Qt::Key_O, Qt::AltModifier);  // the label's shortcut is the operator's move too
    QCOMPARE(foco(), janela->cmb());
    QCOMPARE(janela->painel()->text(), QStringLiteral("Identificação do operador"));

    tecla(Qt::Key_Escape);  // no cancel button: nothing happens
    QVERIFY(janela->isVisible());
    QVERIFY(t->sistema.terminacoes.isEmpty());
}

void TesteFrmAcesso::entrarComTeclado()
{
    abrir();
    QCOMPARE(janela->cmb()->currentText(), QString());
    teclar(QStringLiteral("supervisor"));
    tecla(Qt::Key_Return);  // moves on, adds nothing to the list, presses nothing
    QCOMPARE(foco(), janela->txt());
    QCOMPARE(janela->cmb()->count(), 1);
    QCOMPARE(janela->cmb()->currentText(), QStringLiteral("supervisor"));
    QVERIFY(janela->cmd()->isHidden());

    tecla(Qt::Key_Return);  // an empty code box does nothing
    QVERIFY(janela->cmd()->isHidden());
    QCOMPARE(foco(), janela->txt());

    teclar(QStringLiteral("ZUMAREL"));
    tecla(Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(janela->cmd()->isVisible());
    QCOMPARE(foco(), janela->cmd());
    QVERIFY(amarelo(janela->cmd(), QPalette::Button));
    QCOMPARE(janela->painel()->text(), QStringLiteral("Verificar acesso"));
    QVERIFY(principal->mostrar.isEmpty());

    tecla(Qt::Key_Return);
    QVERIFY(!janela->isVisible());
    QTRY_COMPARE(principal->mostrar, QList<bool>{false});
    QCOMPARE(t->estacao->Acesso.NomeOperador, QStringLiteral("Supervisor"));
}

void TesteFrmAcesso::recusaComTeclado()
{
    t->escreverIni("[Acesso]\nOperador=Supervisor\n");
    abrir();
    tecla(Qt::Key_Return);
    teclar(QStringLiteral("errado"));
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Space);  // the button pressed by the space bar
    QCOMPARE(t->mensagens.caixas.size(), 1);
    QCOMPARE(t->mensagens.caixas[0].titulo, QStringLiteral("1ª. tentativa de acesso"));
    QVERIFY(janela->isVisible());
    QCOMPARE(foco(), janela->txt());
    QCOMPARE(janela->txt()->text(), QStringLiteral("errado"));
    QCOMPARE(janela->txt()->selectedText(), QStringLiteral("errado"));
    QVERIFY(amarelo(janela->txt()));
    QVERIFY(!amarelo(janela->cmd(), QPalette::Button));
    QVERIFY(janela->cmd()->isVisible());

    // Enter in the code box and on the button tries again.
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
    QCOMPARE(t->mensagens.caixas.size(), 2);
    QVERIFY(janela->isVisible());
    QVERIFY(principal->mostrar.isEmpty());
}

void TesteFrmAcesso::escolherDaLista()
{
    definirOperadores(*t->estacao, {{"Supervisor", "zumarel", 4}, {"ana", "abc", 1}});
    abrir();
    tecla(Qt::Key_Tab);
    teclar(QStringLiteral("abc"));
    tecla(Qt::Key_Return);
    QCOMPARE(foco(), janela->cmd());
    tecla(Qt::Key_Backtab);
    tecla(Qt::Key_Backtab);
    QCOMPARE(foco(), janela->cmb());
    QCOMPARE(janela->painel()->text(), QStringLiteral("Identificação do operador"));

    teclar(QStringLiteral("z"));  // a typed name keeps the code and the button
    QCOMPARE(janela->txt()->text(), QStringLiteral("abc"));
    QVERIFY(janela->cmd()->isVisible());

    tecla(Qt::Key_Down);  // the next name of the list is picked
    QCOMPARE(janela->cmb()->currentText(), QStringLiteral("ana"));
    QCOMPARE(janela->txt()->text(), QString());
    QVERIFY(janela->cmd()->isHidden());
    QCOMPARE(foco(), janela->cmb());
}

void TesteFrmAcesso::entrega_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<bool>("modal");
    QTest::addColumn<bool>("volta");  // the main window refuses the level: the login comes back
    QTest::newRow("nível 1: modal") << 1 << true << false;
    QTest::newRow("nível 4") << 4 << false << false;
    QTest::newRow("nível acima de 4: de novo o acesso") << 7 << false << true;
}

// The hand-over to the main window, once; a level it does not accept brings
// the login back, afresh.
void TesteFrmAcesso::entrega()
{
    QFETCH(int, nivel);
    QFETCH(bool, modal);
    QFETCH(bool, volta);
    definirOperadores(*t->estacao, {{"ana", "abc", nivel}});
    t->escreverIni("[Acesso]\nOperador=ana\n");
    abrir();
    verificarComTeclado(QStringLiteral("abc"));
    QTRY_COMPARE(janela->isVisible(), volta);
    QTRY_COMPARE(principal->mostrar, QList<bool>{modal});
    QCOMPARE(principal->activacoes, 1);
    QCOMPARE(principal->Visivel(), !volta);
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), volta ? 0 : nivel);
    if (volta) {
        QCOMPARE(janela->txt()->text(), QString());
        QVERIFY(janela->cmd()->isHidden());
        QCOMPARE(janela->windowModality(), Qt::NonModal);
    }
}

void TesteFrmAcesso::caixaDeFecho_data()
{
    QTest::addColumn<bool>("principalVisivel");
    QTest::addColumn<QList<int>>("terminacoes");
    QTest::newRow("janela principal escondida: o programa termina") << false << QList<int>{0};
    QTest::newRow("janela principal à vista: só o acesso fecha") << true << QList<int>{};
}

void TesteFrmAcesso::caixaDeFecho()
{
    QFETCH(bool, principalVisivel);
    QFETCH(QList<int>, terminacoes);
    principal->visivel = principalVisivel;
    abrir();
    QVERIFY(janela->close());
    QVERIFY(!janela->isVisible());
    QCOMPARE(t->sistema.terminacoes, terminacoes);
    QVERIFY(principal->mostrar.isEmpty());
}

void TesteFrmAcesso::semOperadores()
{
    definirOperadores(*t->estacao, {});
    janela->MostrarAcesso(false);
    QVERIFY(!janela->isVisible());
    QCOMPARE(t->sistema.terminacoes, QList<int>{1});
    QVERIFY(principal->mostrar.isEmpty());
    QCOMPARE(principal->activacoes, 0);
}

// "&Código de Acesso": the login is modal but returns at once (no nested
// loop); a second request while it is open only brings it forward.
void TesteFrmAcesso::codigoDeAcessoModal()
{
    t->estacao->Acesso.NivelAcesso = 3;
    abrir(true);
    QCOMPARE(janela->windowModality(), Qt::ApplicationModal);
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 0);
    teclar(QStringLiteral("Supervisor"));
    janela->MostrarAcesso(false);
    QCOMPARE(janela->cmb()->currentText(), QStringLiteral("Supervisor"));
    QCOMPARE(janela->windowModality(), Qt::ApplicationModal);
}

// The program's start: the main window loaded but hidden, only the login shown.
void TesteFrmAcesso::arranqueMostraSoAcesso()
{
    t->estacao->Bd.reset();
    const int estado = ModGlobal::Main(*t->estacao, {[this] { principal->Carregar(); },
                                                     [this] { janela->MostrarAcesso(false); }});
    QCOMPARE(estado, 0);
    QVERIFY(principal->carregada);
    QVERIFY(!principal->Visivel());
    QVERIFY(principal->mostrar.isEmpty());
    QVERIFY(janela->isVisible());
    QCOMPARE(janela->windowModality(), Qt::NonModal);
}

QTEST_MAIN(TesteFrmAcesso)
#include "tst_frmAcesso.moc"
