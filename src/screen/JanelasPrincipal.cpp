#include "screen/JanelasPrincipal.h"

#include "admin/PedidoAcesso.h"
#include "platform/Sistema.h"
#include "data/Estacao.h"
#include "records/janelas/frmMapas.h"
#include "tables/frmMenu.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {
void abrir(const std::function<void()>& f)
{
    if (f)
        f();
}
}  // namespace

JanelasPrincipal::JanelasPrincipal(Estacao& estacao, DestinoEscolha& destino, QWidget* janelaPrincipal)
    : m_estacao(estacao), m_destino(destino), m_janela(janelaPrincipal)
{
}

// The calculator started here closes with the station.
JanelasPrincipal::~JanelasPrincipal() = default;

void JanelasPrincipal::frmAcesso(bool modal)
{
    if (m_acesso)
        m_acesso->MostrarAcesso(modal);
}

void JanelasPrincipal::frmTabelas() { abrir(abrirTabelas); }
void JanelasPrincipal::frmMapas()
{
    ::frmMapas janela(m_estacao, m_janela);
    janela.exec();
    if (m_janela)
        m_janela->activateWindow();
}
void JanelasPrincipal::frmSegVia() { abrir(abrirSegVia); }
void JanelasPrincipal::frmAnularPsg() { abrir(abrirAnularPsg); }
void JanelasPrincipal::frmRelogio() { abrir(abrirRelogio); }
void JanelasPrincipal::frmAltCod() { abrir(abrirAltCod); }
void JanelasPrincipal::frmPar() { abrir(abrirPar); }
void JanelasPrincipal::frmAcerca() { abrir(abrirAcerca); }

void JanelasPrincipal::frmMenu()
{
    ::frmMenu lista(m_estacao, m_destino, m_janela);
    lista.exec();
}

void JanelasPrincipal::Calculadora()
{
    if (m_calculadora.state() != QProcess::NotRunning)
        return;  // already open
    for (const QString& nome : calculadoras) {
        const QString programa = QStandardPaths::findExecutable(nome);
        if (programa.isEmpty())
            continue;
        m_calculadora.start(programa, {});
        return;
    }
}

void JanelasPrincipal::Ajuda()
{
    const QString pagina = m_estacao.naPastaPrograma(ficheiroAjuda);
    if (QFileInfo::exists(pagina))
        m_estacao.sistema.IniciarPrograma(QStringLiteral("xdg-open"), {pagina});
}
