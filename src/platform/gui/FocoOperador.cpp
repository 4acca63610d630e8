#include "platform/gui/FocoOperador.h"

#include <QFocusEvent>
#include <QWidget>

bool movidoPeloOperador(Qt::FocusReason razao)
{
    switch (razao) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason: return true;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::OtherFocusReason:
    case Qt::NoFocusReason: break;
    }
    return false;
}

void VigiaFoco::vigiar(QWidget* controlo)
{
    controlo->installEventFilter(this);
}

bool VigiaFoco::eventFilter(QObject* objecto, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn && aoMover && movidoPeloOperador(static_cast<QFocusEvent*>(evento)->reason()))
        aoMover(static_cast<QWidget*>(objecto));
    return QObject::eventFilter(objecto, evento);
}
