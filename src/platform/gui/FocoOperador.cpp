#include "platform/gui/FocoOperador.h"

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
