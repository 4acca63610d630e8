#pragma once

struct EstadoBascula;

// What the weighing screen uses of its neighbours. Each is set on the screen
// once the neighbour exists; without one, the screen does its own part only.

// The bridges' device link (ports, cycle, device state).
class DispositivosEcra
{
public:
    virtual ~DispositivosEcra() = default;

    // The devices' part of the load: each bridge's ports set up and those in
    // use opened, each failing step shown in its own box; the card codes shown
    // emptied.
    virtual void CarregarDispositivos() = 0;

    // One tick of bridge `Index`'s cycle.
    virtual void tmr_Timer(int Index) = 0;

    // The station is ending: ports closed.
    virtual void FecharPortas() = 0;

    // The device state of bridge `Index` (0 = B1, 1 = B2).
    virtual EstadoBascula& Estado(int Index) = 0;
};

// The weighing records: the saves and the grid of recent weighings. Each may
// throw Erro where the step that failed is its caller's to report.
class RegistosEcra
{
public:
    virtual ~RegistosEcra() = default;
    virtual void GravarPrimeiraPesagem() = 0;
    virtual void GravarSegundaPesagem() = 0;
    // The start-over: empties the vehicle fields, clears the screen, disables
    // "&Apagar primeira pesagem" (through the screen) and re-reads the grid.
    virtual void RefrescarLista() = 0;
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
    virtual void frmTabelas() = 0;      // modal, by TituloTabela
    virtual void frmMapas() = 0;        // modal, by TituloMapa
    virtual void frmSegVia() = 0;       // modal
    virtual void frmAnularPsg() = 0;    // without waiting; a second request brings it forward
    virtual void frmRelogio() = 0;      // modal
    virtual void frmAltCod() = 0;       // modal
    virtual void frmPar() = 0;          // modal
    virtual void frmAcerca() = 0;       // modal
    // The look-up list, modal, by TituloMenu; the caller set the hourglass and
    // the list puts the normal pointer back once it is filled.
    virtual void frmMenu() = 0;
    virtual void Calculadora() = 0;     // brought forward, or started
    virtual void Ajuda() = 0;           // the help topics
};
