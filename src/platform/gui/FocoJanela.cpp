#include "platform/gui/FocoJanela.h"

#include "platform/gui/FocoOperador.h"

#include <QFocusEvent>
#include <QWidget>

void FocoJanela::seguir(QWidget* controlo, bool realcar)
{
    if (!m_controlos.contains(controlo)) {
        m_controlos.insert(controlo);
        controlo->installEventFilter(this);
    }
    if (realcar)
        m_realce.registar(controlo);
}

void FocoJanela::seguirOsOutros(QWidget* janela)
{
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && !w->focusProxy() && w->window() == janela)
            seguir(w, false);
    }
}

void FocoJanela::darFoco(QWidget* controlo)
{
    if (!controlo)
        return;
    controlo->setFocus(Qt::OtherFocusReason);
    mudar(controlo);
}

bool FocoJanela::eventFilter(QObject* objecto, QEvent* evento)
{
    if (evento->type() != QEvent::FocusIn)
        return QObject::eventFilter(objecto, evento);
    auto* controlo = static_cast<QWidget*>(objecto);
    const auto razao = static_cast<QFocusEvent*>(evento)->reason();
    if (!m_controlos.contains(controlo) || controlo == m_actual || (m_actual && !movidoPeloOperador(razao)))
        return QObject::eventFilter(objecto, evento);
    // The control's own handling first (a box selects its text on Tab), then the window's.
    objecto->event(evento);
    mudar(controlo);
    return true;
}

void FocoJanela::mudar(QWidget* novo)
{
    if (novo == m_actual)
        return;
    QWidget* antigo = m_actual;
    m_actual = novo;
    m_realce.aplicar(novo);
    if (aoMudar)
        aoMudar(antigo, novo);
}
