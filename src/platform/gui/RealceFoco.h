#pragma once

#include <QColor>
#include <QHash>
#include <QPalette>

class QLabel;
class QWidget;

// The highlight of one window: the controls that take it, each with the
// colours it shows without the focus (taken when it is registered: a window
// that wants white instead of the window colour sets it first), and the one
// that has it now. A palette is written only when it changes.
class Realce
{
public:
    void registar(QWidget* w);
    // `realcado` highlighted (none with nullptr), every other control plain.
    void aplicar(const QWidget* realcado);

private:
    QHash<QWidget*, QPalette> m_semFoco;
};

// The yellow of the control that has the focus: a box's, list's or grid's
// background and a button's face turn yellow; a check box changes the colour
// of its text instead. Every other control shows its own colours.
namespace RealceFoco {

inline const QColor Amarelo(0xFF, 0xFF, 0x00);

// The palette `w` shows with the focus, from the one it shows without it.
QPalette comFoco(const QWidget* w, const QPalette& semFoco);

// What a window shows of the focus its logic keeps: the yellow on `realcado`,
// the hint `dica` in `painel`, and Qt's focus put on `foco` when it is on
// another control of the window (so the window's own move is made once).
void mostrar(Realce& realce, const QWidget* realcado, QLabel* painel, const QString& dica, QWidget* foco);

}  // namespace RealceFoco
