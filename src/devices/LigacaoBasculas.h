#pragma once

#include "devices/CicloBascula.h"
#include "devices/ContextoDispositivos.h"
#include "devices/Semaforos.h"

#include <array>

// The device part of the main window: both bridges' reading cycles, the clock
// labels, the traffic lights and the handlers of the bridge panels' controls.
// It owns both bridges' device state and what the panels show; the main
// window's view copies vista() into its widgets (AplicarVista) after each
// tick and handler, and passes the timers' ticks and the clicks in.
class LigacaoBasculas
{
public:
    // Installs itself as the receiver of the sockets' data.
    LigacaoBasculas(Estacao& estacao, LigacoesDispositivos& io, EcraBascula& ecra);
    ~LigacaoBasculas();
    LigacaoBasculas(const LigacaoBasculas&) = delete;
    LigacaoBasculas& operator=(const LigacaoBasculas&) = delete;

    // One tick of bridge Index: clock, link, parse, display, fill, save
    // question or pictures, zero, the light decision for both bridges, card
    // readers. A tick of a bridge whose previous tick still waits (on its
    // save question) returns at once.
    void tmr_Timer(int Index);

    // The light decision for both bridges (also run by every tick).
    void ControlarSemaforos();

    // The socket of bridge Index brought data (replaces its buffer).
    void sck_DataArrival(int Index, const QByteArray& dados);

    // The operator pressed the zero button (sends only from access level 2).
    void cmdZ_Click(int Index);

    // The light menus' items (0: command, 2: colour) and check boxes; `marcado`
    // is the box's state after the click.
    void mnuSmfB1_Click(int Index);
    void mnuSmfB2_Click(int Index);
    void chkP_Click(int Index, bool marcado);
    void chkS_Click(int Index, bool marcado);
    void chkPE_Click(int Index, bool marcado);
    void chkSE_Click(int Index, bool marcado);
    void chkPV_Click(int Index, bool marcado);
    void chkSV_Click(int Index, bool marcado);

    // The device state of a bridge (0 = B1, 1 = B2): the bridge buttons set
    // CapturarPeso, the automatic weighing reads CodigoCartao and sets
    // UltimoCartao, the start-over clears CapturarPeso.
    EstadoBascula& estado(int Index) { return m_c.estados[Index]; }
    const EstadoBascula& estado(int Index) const { return m_c.estados[Index]; }

    // What the panels, clock, lights and menus show now.
    const VistaDispositivos& vista() const { return m_c.vista; }
    // The card-code labels are cleared by the main window's load.
    VistaDispositivos& vista() { return m_c.vista; }

    // The indicators' TCP port (3002), per bridge.
    void definirPortaTcp(int Index, quint16 porta) { m_c.portaTcp[Index] = porta; }
    // The thousands separator of polled weights (the pt_PT one by default).
    void definirSeparador(QChar separador) { m_c.separador = separador; }

    // A save question is open, or a save or automatic weighing started here runs.
    bool ocupado() const { return m_c.emCurso; }

private:
    void PassoRelogio();

    ContextoDispositivos m_c;
    std::array<CicloBascula, 2> m_ciclo;
    Semaforos m_semaforos;
    std::array<bool, 2> m_emCurso = {false, false};
};
