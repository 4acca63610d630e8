#pragma once

// What the login needs of the main window (frmPrincipal implements it).
//
// The hand-over between the two windows is flat: each one hides itself and
// shows the other, and neither runs a nested event loop for it. A login that
// succeeds hides itself and then, from the event loop (never from inside its
// own handler), calls Mostrar and Form_Activate once each.
class JanelaPrincipal
{
public:
    virtual ~JanelaPrincipal() = default;

    // Shows the main window and returns at once. `modal` (a level-1 operator)
    // makes it application-modal: no other window of the station takes input
    // while it is shown. Otherwise (level 2 or more) it is shown modeless.
    virtual void Mostrar(bool modal) = 0;

    // The window's activation: menus by the access level; with no valid level
    // it hides itself and asks for a login (PedidoAcesso), and carries on with
    // its other steps.
    virtual void Form_Activate() = 0;

    // Whether the main window is on screen. Closing the login while it is
    // hidden ends the program, so no invisible station keeps the ports.
    virtual bool Visivel() const = 0;
};
