#include "admin/RealceFoco.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace RealceFoco {

bool movidoPeloOperador(int razao)
{
    switch (razao) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason: return true;
    default: return false;  // a box opened or closed, the window re-activated, or the view following its logic
    }
}

bool eEnter(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

bool engolir(QKeyEvent* e, Qt::Key tecla)
{
    const bool tomada = tecla == Qt::Key_Return ? eEnter(e) : e->key() == tecla;
    if (tomada)
        e->accept();
    return tomada;
}

void semDefeito(QPushButton* b)
{
    b->setAutoDefault(false);
    b->setDefault(false);
}

QLabel* criarBarraEstado(QDialog* janela, QStatusBar** barra)
{
    auto* stb = new QStatusBar(janela);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    auto* painel = new QLabel(stb);
    painel->setObjectName(QStringLiteral("stbPainel1"));
    stb->addWidget(painel, 1);
    if (barra)
        *barra = stb;
    return painel;
}

}  // namespace RealceFoco

void Realce::registar(QWidget* w)
{
    m_normal.insert(w, w->palette());
}

void Realce::aplicar(const QWidget* realcado)
{
    for (auto it = m_normal.cbegin(); it != m_normal.cend(); ++it) {
        QPalette p = it.value();
        if (it.key() == realcado)
            p.setColor(qobject_cast<QAbstractButton*>(it.key()) ? QPalette::Button : QPalette::Base,
                       QColor(0xFF, 0xFF, 0x00));
        if (it.key()->palette() != p)
            it.key()->setPalette(p);
    }
}
