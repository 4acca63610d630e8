#include "JanelaPrincipalFalsa.h"
#include "OperadoresTeste.h"
#include "admin/frmAcesso.h"
#include "startup/ModGlobalIni.h"
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
    void nivelUmModal();
    void nivelAcimaDeQuatroVoltaAoAcesso();
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
    QCOMPARE(principal->activacoes, 1);
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 4);
    QCOMPARE(t->estacao->Acesso.NomeOperador, QStringLiteral("Supervisor"));
    QCOMPARE(ModGlobal::LerIniTexto(t->estacao->Ini(), QStringLiteral("Acesso"), QStringLiteral("Operador"), {}),
             QStringLiteral("Supervisor"));
    QVERIFY(t->mensagens.caixas.isEmpty());
    QVERIFY(t->sistema.terminacoes.isEmpty());
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

    // Two more: the second refusal's box, then the power-off and nothing else.
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
    tecla(Qt::Key_Return);
    QCOMPARE(t->mensagens.caixas.size(), 2);
    QCOMPARE(t->mensagens.caixas[1].titulo, QStringLiteral("2ª. tentativa de acesso"));
    QCOMPARE(t->sistema.desligacoes, 1);
    QVERIFY(janela->isVisible());
    QVERIFY(principal->mostrar.isEmpty());
    QVERIFY(t->sistema.terminacoes.isEmpty());
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

void TesteFrmAcesso::nivelUmModal()
{
    definirOperadores(*t->estacao, {{"ana", "abc", 1}});
    t->escreverIni("[Acesso]\nOperador=ana\n");
    abrir();
    verificarComTeclado(QStringLiteral("abc"));
    QVERIFY(!janela->isVisible());
    QTRY_COMPARE(principal->mostrar, QList<bool>{true});
    QCOMPARE(principal->activacoes, 1);
    QCOMPARE(t->estacao->Ini().valor(QStringLiteral("Acesso"), QStringLiteral("Operador")), QString("ana"));
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 1);
}

// A level the main window does not accept brings the login back, afresh, once.
void TesteFrmAcesso::nivelAcimaDeQuatroVoltaAoAcesso()
{
    definirOperadores(*t->estacao, {{"Alto", "a", 7}});
    t->escreverIni("[Acesso]\nOperador=Alto\n");
    abrir();
    verificarComTeclado(QStringLiteral("a"));
    QTRY_VERIFY(janela->isVisible());
    QCOMPARE(principal->mostrar, QList<bool>{false});
    QCOMPARE(principal->activacoes, 1);
    QVERIFY(!principal->Visivel());
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 0);
    QCOMPARE(janela->txt()->text(), QString());
    QVERIFY(janela->cmd()->isHidden());
    QCOMPARE(janela->windowModality(), Qt::NonModal);
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
    QCOMPARE(t->mensagens.caixas.size(), 1);
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
    t->estacao->Acesso.TentativasAcesso = 2;
    const int estado = ModGlobal::Main(*t->estacao, {[this] { principal->Carregar(); },
                                                     [this] { janela->MostrarAcesso(false); }});
    QCOMPARE(estado, 0);
    QVERIFY(principal->carregada);
    QVERIFY(!principal->Visivel());
    QVERIFY(principal->mostrar.isEmpty());
    QVERIFY(janela->isVisible());
    QCOMPARE(janela->windowModality(), Qt::NonModal);
    QCOMPARE(int(t->estacao->Acesso.TentativasAcesso), 0);
    QVERIFY(t->mensagens.caixas.isEmpty());
}

QTEST_MAIN(TesteFrmAcesso)
#include "tst_frmAcesso.moc"
