#include "admin/JanelaPrincipal.h"
#include "admin/frmAcesso.h"
#include "platform/MensagensQt.h"
#include "platform/Relogio.h"
#include "platform/SistemaLinux.h"
#include "startup/Estacao.h"
#include "startup/ModGlobalMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

namespace {

// Stands where the weighing screen (frmPrincipal) goes: it takes the login's
// hand-over and can ask for another login or end the program.
class JanelaProvisoria : public QMainWindow, public JanelaPrincipal
{
public:
    JanelaProvisoria(Estacao& estacao, PedidoAcesso& acesso) : m_estacao(estacao), m_acesso(acesso)
    {
        setWindowTitle(QStringLiteral("Zumarel"));
        QMenu* programa = menuBar()->addMenu(QStringLiteral("&Programa"));
        programa->addAction(QStringLiteral("&Código de Acesso"), this, [this] {
            hide();
            m_acesso.MostrarAcesso(true);
        });
        programa->addAction(QStringLiteral("&Sair"), this, [this] { m_estacao.sistema.TerminarPrograma(0); });
        m_operador = new QLabel(this);
        statusBar()->addPermanentWidget(m_operador);
        resize(640, 480);
    }

    void Mostrar(bool modal) override
    {
        setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        show();
    }

    void Form_Activate() override
    {
        const int nivel = m_estacao.Acesso.NivelAcesso;
        if (nivel < 1 || nivel > 4) {
            hide();
            m_acesso.MostrarAcesso(false);
        }
        m_operador->setText(m_estacao.Acesso.NomeOperador);
    }

    bool Visivel() const override { return isVisible(); }

protected:
    void closeEvent(QCloseEvent* evento) override
    {
        m_estacao.sistema.TerminarPrograma(0);
        evento->accept();
    }

private:
    Estacao& m_estacao;
    PedidoAcesso& m_acesso;
    QLabel* m_operador;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zumarel"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    // The main window is hidden while the login is shown: the program ends
    // only when a window says so, never because no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);

    MensagensQt mensagens;
    RelogioSistema relogio;
    SistemaLinux sistema;
    Estacao estacao(QCoreApplication::applicationDirPath(), mensagens, relogio, sistema);

    frmAcesso acesso(estacao);
    JanelaProvisoria principal(estacao, acesso);
    acesso.definirJanelaPrincipal(&principal);

    const int estado = ModGlobal::Main(estacao, {
                                                    [] {},  // the weighing screen's load goes here
                                                    [&] { acesso.MostrarAcesso(false); },
                                                });
    if (estado != 0)
        return estado;
    return app.exec();
}
