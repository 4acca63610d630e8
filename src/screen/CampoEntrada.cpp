#include "screen/CampoEntrada.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

CampoEntrada::CampoEntrada(int indice, QWidget* pai) : QLineEdit(pai), m_indice(indice)
{
    setObjectName(QStringLiteral("txt") + QString::number(indice));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
}

bool CampoEntrada::event(QEvent* e)
{
    // The window's Ctrl+C (calculator) and Ctrl+H (help) win over the field's
    // own copy and backspace keys.
    if (e->type() == QEvent::ShortcutOverride) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() == Qt::ControlModifier && (k->key() == Qt::Key_C || k->key() == Qt::Key_H)) {
            e->ignore();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CampoEntrada::keyPressEvent(QKeyEvent* e)
{
    if (aoTeclar && aoTeclar(e)) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void CampoEntrada::inputMethodEvent(QInputMethodEvent* e)
{
    // A composed character goes in through the screen's rules, like a typed one.
    if (!e->commitString().isEmpty() && aoColar) {
        aoColar(e->commitString());
        e->accept();
        return;
    }
    QLineEdit::inputMethodEvent(e);
}

void CampoEntrada::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    if (aoDuploClique)
        aoDuploClique();
}
