#pragma once

class QDialog;
class QLabel;
class QPushButton;

// What every dialog of the station shares about Enter and Esc. None of its
// buttons is ever a default button, so Enter presses no button it is not on
// (Qt's default would set the clock or save a code by accident); Enter and
// Esc that reach the dialog itself (no control took them) do only what the
// window says, never Qt's own "press the default button" and "close".
namespace Dialogo {

struct Opcoes
{
    bool escFecha = false;     // Esc closes the dialog (its reject()); else it does nothing
    bool enterNoBotao = true;  // Enter on a button presses that button; else nothing
};

// Puts the rules on `janela`: its buttons now and when it is shown, its keys.
void aplicar(QDialog* janela, Opcoes opcoes = {});

// A button that never becomes a default button.
void semDefeito(QPushButton* b);

// The status bar of a dialog (the panel's parent widget, for the layout) with
// its panel 1 ("stbPainel1"), which shows the focused control's hint.
QLabel* criarBarraEstado(QDialog* janela);

}  // namespace Dialogo
