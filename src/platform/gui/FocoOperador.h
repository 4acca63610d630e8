#pragma once

#include <QObject>
#include <functional>

// A focus move the operator made: Tab and Shift+Tab, a click, an access key.
// Qt moves the focus, or gives it again to the control that had it, for other
// reasons too: the program's own setFocus(), a box or window opening and
// closing, the window activated again, a popup or menu closing. A window's
// focus routines never run for those: the windows follow only the operator's
// moves, and their logic knows its own.
bool movidoPeloOperador(Qt::FocusReason razao);

class QWidget;

// Reports the operator's focus moves on the controls it watches, for a
// window whose logic keeps the focus: the logic runs its focus routines and
// the window then shows where the focus is. Kept as a member of its window,
// so it is gone before the window's controls are.
class VigiaFoco : public QObject
{
    Q_OBJECT

public:
    void vigiar(QWidget* controlo);
    std::function<void(QWidget* controlo)> aoMover;

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;
};
