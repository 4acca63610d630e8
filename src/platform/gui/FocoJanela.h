#pragma once

#include "platform/gui/RealceFoco.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <functional>

// The control that has the focus as the handlers of a window see it, for a
// window whose logic does not keep it: it moves when the operator moves it
// (movidoPeloOperador), when the window moves it itself (darFoco), and the
// first time the window takes the focus; never when a box opens or closes
// or the window is activated again, nor to the control that has it already.
// Each move runs the window's handlers, after the control's own focus
// handling, and moves the yellow. Kept as a member of its window, so it is
// gone before the window's controls are.
class FocoJanela : public QObject
{
    Q_OBJECT

public:
    // A control whose focus moves count (every one that can take the focus,
    // so that leaving for any of them is seen); `realcar`: it turns yellow
    // while it has the focus.
    void seguir(QWidget* controlo, bool realcar);
    // Every control of `janela` that can take the focus and is not followed
    // yet, without the yellow.
    void seguirOsOutros(QWidget* janela);
    // The window moves the focus itself: Qt's focus and the handlers.
    void darFoco(QWidget* controlo);

    QWidget* actual() const { return m_actual; }

    // The window's handlers: `saiu` lost the focus (none at first), `entrou` took it.
    std::function<void(QWidget* saiu, QWidget* entrou)> aoMudar;

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    void mudar(QWidget* novo);

    QSet<const QObject*> m_controlos;
    Realce m_realce;
    QPointer<QWidget> m_actual;
};
