#pragma once

#include <functional>

struct EstadoBascula;

// The working parts behind the weighing screen, as the main window plugs them
// in: the bridges' device link and the weighing records. A part left empty is
// skipped and the screen does its own part only.
struct PartesEcra
{
    // The devices' part of the load: each bridge's ports set up and those in
    // use opened, each failing step shown in its own box; the card codes shown
    // emptied.
    std::function<void()> CarregarDispositivos;
    // One tick of bridge `Index`'s cycle.
    std::function<void(int Index)> tmr_Timer;
    // The station is ending: ports closed.
    std::function<void()> FecharPortas;
    // The device state of bridge `Index` (0 = B1, 1 = B2).
    std::function<EstadoBascula&(int Index)> Estado;
    // The saves; each may throw Erro, reported by the screen.
    std::function<void()> GravarPrimeiraPesagem;
    std::function<void()> GravarSegundaPesagem;
    // The start-over: empties the vehicle fields, clears the screen, disables
    // "&Apagar primeira pesagem" (through the screen) and re-reads the grid.
    std::function<void()> RefrescarLista;
};

// The windows and programs the main window opens. A modal one returns when it
// closes; the screen then runs its activation.
class JanelasEcra
{
public:
    virtual ~JanelasEcra() = default;
    // The login; the main window hid itself first. Returns at once: modeless
    // after an activation without a valid level, application-modal from
    // "&Código de Acesso".
    virtual void frmAcesso(bool modal) = 0;
    virtual void frmTabelas() = 0;    // modal, by TituloTabela
    virtual void frmMapas() = 0;      // modal, by TituloMapa
    virtual void frmSegVia() = 0;     // modal
    virtual void frmAnularPsg() = 0;  // without waiting; a second request brings it forward
    virtual void frmRelogio() = 0;    // modal
    virtual void frmAltCod() = 0;     // modal
    virtual void frmPar() = 0;        // modal
    virtual void frmAcerca() = 0;     // modal
    // The look-up list, modal, by TituloMenu; the caller set the hourglass and
    // the list puts the normal pointer back once it is filled.
    virtual void frmMenu() = 0;
    virtual void Calculadora() = 0;  // brought forward, or started
    virtual void Ajuda() = 0;        // the help topics
};
