#include "platform/gui/Teclas.h"

#include "shared/Tecla.h"

#include <QKeyEvent>

namespace Teclas {

bool eEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

int caracter(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Tecla::Enter;
    case Qt::Key_Escape: return Tecla::Esc;
    case Qt::Key_Backspace: return Tecla::Retrocesso;
    default: break;
    }
    if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return 0;
    if (e->modifiers() & Qt::ControlModifier)
        return controlo(e) ? e->key() - Qt::Key_A + 1 : 0;
    const QString texto = e->text();
    if (texto.isEmpty() || !texto.at(0).isPrint())
        return 0;
    return texto.at(0).unicode();
}

bool controlo(const QKeyEvent* e)
{
    return (e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z;
}

bool soAcesso(const QKeyEvent* e)
{
    return (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) && !e->text().isEmpty() && e->text().at(0).isPrint();
}

int codigo(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp: return Tecla::PgUp;
    case Qt::Key_PageDown: return Tecla::PgDn;
    case Qt::Key_End: return Tecla::End;
    case Qt::Key_Home: return Tecla::Home;
    case Qt::Key_Left: return Tecla::Esquerda;
    case Qt::Key_Up: return Tecla::Cima;
    case Qt::Key_Right: return Tecla::Direita;
    case Qt::Key_Down: return Tecla::Baixo;
    case Qt::Key_F1: return Tecla::F1;
    case Qt::Key_F2: return Tecla::F2;
    case Qt::Key_F4: return Tecla::F4;
    default: return 0;
    }
}

int estadoShift(const QKeyEvent* e)
{
    int s = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        s |= 1;
    if (e->modifiers() & Qt::ControlModifier)
        s |= 2;
    if (e->modifiers() & Qt::AltModifier)
        s |= 4;
    return s;
}

}  // namespace Teclas
