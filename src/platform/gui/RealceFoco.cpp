#include "platform/gui/RealceFoco.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>

namespace RealceFoco {

QPalette comFoco(const QWidget* w, const QPalette& semFoco)
{
    QPalette p = semFoco;
    if (qobject_cast<const QCheckBox*>(w))
        p.setColor(QPalette::WindowText, semFoco.color(QPalette::HighlightedText));
    else if (qobject_cast<const QAbstractButton*>(w))
        p.setColor(QPalette::Button, Amarelo);
    else
        p.setColor(QPalette::Base, Amarelo);
    return p;
}

void mostrar(Realce& realce, const QWidget* realcado, QLabel* painel, const QString& dica, QWidget* foco)
{
    realce.aplicar(realcado);
    if (painel && painel->text() != dica)
        painel->setText(dica);
    if (foco && foco->window()->focusWidget() != foco && !foco->isHidden() && foco->isEnabled())
        foco->setFocus(Qt::OtherFocusReason);
}

}  // namespace RealceFoco

void Realce::registar(QWidget* w)
{
    m_semFoco.insert(w, w->palette());
}

void Realce::aplicar(const QWidget* realcado)
{
    for (auto it = m_semFoco.cbegin(); it != m_semFoco.cend(); ++it) {
        const QPalette p = it.key() == realcado ? RealceFoco::comFoco(it.key(), it.value()) : it.value();
        if (it.key()->palette() != p)
            it.key()->setPalette(p);
    }
}
