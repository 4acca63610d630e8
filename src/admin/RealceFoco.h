#pragma once

#include <QHash>
#include <QPalette>
#include <QPointer>

class QDialog;
class QKeyEvent;
class QLabel;
class QPushButton;
class QStatusBar;
class QWidget;

// What the administration dialogs share in their views: the yellow of the
// focused box or button, which focus moves are the operator's, Enter never
// reaching a default button, and the status bar whose panel 1 shows a hint.
namespace RealceFoco {

// Focus moves the operator makes (Tab, click, access key). Qt also moves the focus when a box opens or closes or the
// window is activated again; the windows' own focus handlers never ran then.
bool movidoPeloOperador(int razao);

bool eEnter(const QKeyEvent* e);
// Takes a key the dialog itself must not act on (Enter pressing a default
// button, Esc closing it): true when taken.
bool engolir(QKeyEvent* e, Qt::Key tecla);

// A button that never becomes the dialog's default: Enter in a box must not
// press it (it would set the clock or save a code by accident).
void semDefeito(QPushButton* b);

// The status bar of a dialog with its panel 1 ("stbPainel1").
QLabel* criarBarraEstado(QDialog* janela, QStatusBar** barra = nullptr);

}  // namespace RealceFoco

// Paints the highlighted control yellow (a box's base, a button's face) and
// gives every other one back its own colours; writes a palette only when it
// changes.
class Realce
{
public:
    void registar(QWidget* w);
    void aplicar(const QWidget* realcado);

private:
    QHash<QWidget*, QPalette> m_normal;
};
