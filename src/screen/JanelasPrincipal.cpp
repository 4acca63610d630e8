#include "screen/JanelasPrincipal.h"

#include "admin/EscolhaFicheiroQt.h"
#include "admin/PedidoAcesso.h"
#include "admin/frmAcerca.h"
#include "admin/frmAltCod.h"
#include "admin/frmPar.h"
#include "admin/frmRelogio.h"
#include "data/Estacao.h"
#include "platform/Sistema.h"
#include "records/janelas/frmAnularPsg.h"
#include "records/janelas/frmMapas.h"
#include "records/janelas/frmSegVia.h"
#include "screen/JanelaAjuda.h"
#include "screen/frmPrincipal.h"
#include "tables/frmMenu.h"
#include "tables/frmTabelas.h"

#include <QDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// A window modal over the main window; once it closes, the main window is the
// active one again.
void executarModal(QDialog& janela, QWidget* principal)
{
    janela.setWindowModality(Qt::ApplicationModal);
    janela.exec();
    if (principal && principal->isVisible())
        principal->activateWindow();
}
}  // namespace

JanelasPrincipal::JanelasPrincipal(Estacao& estacao, DestinoEscolha& destino, QWidget* janelaPrincipal)
    : m_estacao(estacao),
      m_destino(destino),
      m_janela(janelaPrincipal)
{}

// The calculator started here closes with the station.
JanelasPrincipal::~JanelasPrincipal() = default;

void JanelasPrincipal::frmAcesso(bool modal)
{
    if (m_acesso)
        m_acesso->MostrarAcesso(modal);
}

void JanelasPrincipal::frmTabelas()
{
    ::frmTabelas::Abrir(m_estacao, m_janela);
    if (m_janela && m_janela->isVisible())
        m_janela->activateWindow();
}

void JanelasPrincipal::frmMapas()
{
    ::frmMapas janela(m_estacao, m_janela);
    executarModal(janela, m_janela);
}

void JanelasPrincipal::frmSegVia()
{
    ::frmSegVia janela(m_estacao, m_janela);
    executarModal(janela, m_janela);
}

// One window at a time: a second request brings the open one forward as it is.
void JanelasPrincipal::frmAnularPsg()
{
    if (!m_anularPsg) {
        auto* janela = new ::frmAnularPsg(m_estacao, m_janela);
        janela->setAttribute(Qt::WA_DeleteOnClose);
        m_anularPsg = janela;
    }
    m_anularPsg->show();
    m_anularPsg->raise();
    m_anularPsg->activateWindow();
}

void JanelasPrincipal::frmRelogio()
{
    ::frmRelogio janela(m_estacao, m_janela);
    executarModal(janela, m_janela);
}

void JanelasPrincipal::frmAltCod()
{
    ::frmAltCod janela(m_estacao, m_janela);
    executarModal(janela, m_janela);
}

void JanelasPrincipal::frmPar()
{
    // A save stops the bridges and closes their ports before the program ends.
    QPointer<frmPrincipal> principal = qobject_cast<frmPrincipal*>(m_janela.data());
    QWidget* janela = m_janela;
    ::frmPar parametros(
        m_estacao, [janela](const LogicaParametros::PedidoFicheiro& p) { return EscolherFicheiroQt(janela, p); },
        [principal] {
            if (principal)
                principal->logica().comandos().PararDispositivos();
        },
        janela);
    executarModal(parametros, janela);
}

void JanelasPrincipal::frmAcerca()
{
    ::frmAcerca janela(m_estacao, m_janela);
    executarModal(janela, m_janela);
}

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
    JanelaAjuda::mostrar(m_estacao.naPastaPrograma(ficheiroAjuda), m_janela);
}
