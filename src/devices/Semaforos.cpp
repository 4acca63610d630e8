#include "devices/Semaforos.h"

#include "devices/ContextoDispositivos.h"
#include "devices/EcraBascula.h"
#include "devices/ProtocoloLeitor.h"
#include "platform/Ligacoes.h"

#include <cstdlib>

namespace {
const QString ComandoManual = QStringLiteral("Comando &Manual");
const QString ComandoAutomatico = QStringLiteral("Comando &Automático");
const QString Vermelho = QStringLiteral("&Vermelho");
const QString Verde = QStringLiteral("&Verde");
}  // namespace

Semaforos::Semaforos(ContextoDispositivos& contexto) : m_c(contexto) {}

void Semaforos::ControlarSemaforos()
{
    const Definicoes& d = m_c.def();
    VistaDispositivos& vista = m_c.vista;
    vista.mnuSemaforosVisivel = d.LPLigado[0] || d.LSLigado[0] || d.LPLigado[1] || d.LSLigado[1];
    // Manual command takes access level 3; below it both bridges go back to automatic.
    const bool nivelManual = m_c.nivelAcesso() >= 3;
    for (int b = 0; b < 2; ++b) {
        EstadoBascula& s = m_c.estados[b];
        VistaBascula& vb = vista.bascula[b];
        vb.mnuSemaforosActivo = d.LPLigado[b] || d.LSLigado[b];
        if (!nivelManual)
            s.SemaforoManual = false;
        vb.principal.manualActivo = nivelManual;
        vb.secundario.manualActivo = nivelManual;
        // Under manual command the colour item names the colour a click
        // switches to; under automatic command it names the colour shown.
        vb.mnuSmf0 = s.SemaforoManual ? ComandoAutomatico : ComandoManual;
        vb.mnuSmf2Activo = s.SemaforoManual;
        vb.mnuSmf2 = (s.SemaforoManual != s.SemaforoVermelho) ? Vermelho : Verde;
    }

    for (int b = 0; b < 2; ++b) {
        if (!decidir(b))
            return;
    }
}

bool Semaforos::decidir(int b)
{
    const Definicoes& d = m_c.def();
    EstadoBascula& s = m_c.estados[b];
    VistaBascula& vb = m_c.vista.bascula[b];

    vb.principal.visivel = d.LPLigado[b];
    vb.secundario.visivel = d.LSLigado[b];
    for (VistaSemaforo* luz : {&vb.principal, &vb.secundario}) {
        // The boxes show the colour as it stood before this decision.
        luz->vermelho = s.SemaforoVermelho;
        luz->verde = !s.SemaforoVermelho;
        luz->manual = s.SemaforoManual;
        luz->coresActivas = s.SemaforoManual;
    }

    // A weight that moves by more than two divisions has left (or is leaving).
    const qint64 duasDivisoes = 2 * qint64(d.IndDivisao[b]);
    if (std::llabs(qint64(s.PesoActual) - s.PesoAnterior) > duasDivisoes)
        s.PesoCapturado = false;
    s.PesoAnterior = s.PesoActual;

    if (!s.SemaforoManual) {
        if (s.ErroIndicador)
            s.SemaforoVermelho = true;
        else if (std::llabs(qint64(s.PesoActual)) > duasDivisoes)
            s.SemaforoVermelho = !s.PesoCapturado;
        else
            s.SemaforoVermelho = false;
    }

    s.ComandoSemaforo = s.SemaforoVermelho ? ProtocoloLeitor::SemaforoVermelho : ProtocoloLeitor::SemaforoVerde;
    vb.cor = s.SemaforoVermelho ? CorSemaforo::Vermelho : CorSemaforo::Verde;

    ++s.CiclosSemaforo;
    if (s.CiclosSemaforo >= CiclosReenvio || s.ComandoEnviado != s.ComandoSemaforo) {
        s.CiclosSemaforo = 0;
        s.ComandoEnviado = s.ComandoSemaforo;
        // A refused write ends the decision; the resend retries it.
        if (d.LPLigado[b] && m_c.io.aberta(b, Canal::LeitorP) && !m_c.io.escrever(b, Canal::LeitorP, s.ComandoEnviado))
            return false;
        if (d.LSLigado[b] && m_c.io.aberta(b, Canal::LeitorS) && !m_c.io.escrever(b, Canal::LeitorS, s.ComandoEnviado))
            return false;
    }
    return true;
}

void Semaforos::mnuSmf_Click(int bascula, int item)
{
    EstadoBascula& s = m_c.estados[bascula];
    const VistaBascula& vb = m_c.vista.bascula[bascula];
    if (item == 0)
        s.SemaforoManual = vb.mnuSmf0 == ComandoManual;
    else if (item == 2)
        s.SemaforoVermelho = vb.mnuSmf2 == Vermelho;
}

void Semaforos::manual_Click(int bascula, bool principal, bool marcado)
{
    VistaBascula& vb = m_c.vista.bascula[bascula];
    (principal ? vb.principal : vb.secundario).manual = marcado;
    m_c.estados[bascula].SemaforoManual = marcado;
    m_c.ecra.focarCampoActual();
}

void Semaforos::vermelho_Click(int bascula, bool principal, bool marcado)
{
    VistaBascula& vb = m_c.vista.bascula[bascula];
    (principal ? vb.principal : vb.secundario).vermelho = marcado;
    m_c.estados[bascula].SemaforoVermelho = marcado;
    m_c.ecra.focarCampoActual();
}

void Semaforos::verde_Click(int bascula, bool principal, bool marcado)
{
    VistaBascula& vb = m_c.vista.bascula[bascula];
    (principal ? vb.principal : vb.secundario).verde = marcado;
    m_c.estados[bascula].SemaforoVermelho = !marcado;
    m_c.ecra.focarCampoActual();
}
