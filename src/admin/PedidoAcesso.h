#pragma once

// How the main window asks for a login (frmAcesso implements it). The main
// window hides itself first, then calls MostrarAcesso, which returns at once:
// - its activation with no valid access level: MostrarAcesso(false), modeless;
// - "&Código de Acesso": MostrarAcesso(true), application-modal, without a
//   nested event loop; the menu handler does nothing more after it.
// The login opens afresh each time (access level 0, operators list reloaded,
// last operator proposed); when it is already open it is only brought forward.
// With no operator in the database it shows one message and ends the program
// instead of opening, so the two windows never hand over to each other forever.
class PedidoAcesso
{
public:
    virtual ~PedidoAcesso() = default;
    virtual void MostrarAcesso(bool modal) = 0;
};
