#include "admin/frmAcesso.h"
#include "app/SistemaLinux.h"
#include "data/Estacao.h"
#include "platform/LigacoesQt.h"
#include "platform/Relogio.h"
#include "platform/gui/ImpressoraQt.h"
#include "platform/gui/MensagensQt.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"
#include "startup/ModGlobalMain.h"

#include <QApplication>
#include <QLocale>

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

    ImpressoraQt impressora(relogio, mensagens);
    MotorRelatorios relatorios([&estacao] { return estacao.bd(); }, relogio, impressora);
    estacao.impressora = &relatorios;

    // The ports of both bridges, named through the settings file's [PortasSerie].
    LigacoesQt ligacoes(estacao.Ini());
    frmPrincipal principal(estacao, &ligacoes);
    impressora.setJanelaPrincipal(&principal);

    frmAcesso acesso(estacao);
    acesso.definirJanelaPrincipal(&principal);
    principal.definirPedidoAcesso(&acesso);

    const int estado = ModGlobal::Main(estacao, {
                                                    [&] { principal.Form_Load(); },
                                                    [&] { acesso.MostrarAcesso(false); },
                                                });
    if (estado != 0)
        return estado;
    return app.exec();
}
