#include "screen/AplicarVista.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPalette>

namespace {

void texto(QLabel* l, const QString& t)
{
    if (l && l->text() != t)
        l->setText(t);
}

void texto(QAbstractButton* b, const QString& t)
{
    if (b && b->text() != t)
        b->setText(t);
}

void texto(QAction* a, const QString& t)
{
    if (a && a->text() != t)
        a->setText(t);
}

void visivel(QWidget* w, bool v)
{
    // isHidden, not isVisible: a widget of a window not shown yet is "not visible".
    if (w && w->isHidden() == v)
        w->setVisible(v);
}

void visivel(QAction* a, bool v)
{
    if (a && a->isVisible() != v)
        a->setVisible(v);
}

void activo(QWidget* w, bool v)
{
    if (w && w->isEnabled() != v)
        w->setEnabled(v);
}

void activo(QAction* a, bool v)
{
    if (a && a->isEnabled() != v)
        a->setEnabled(v);
}

void marcado(QCheckBox* c, bool v)
{
    if (c && c->isChecked() != v)
        c->setChecked(v);
}

void fundo(QCheckBox* c, const QColor& cor)
{
    if (!c)
        return;
    // A check box fills its background from the Button role unless told
    // otherwise: without these two the colour is stored and never painted.
    if (!c->autoFillBackground())
        c->setAutoFillBackground(true);
    if (c->backgroundRole() != QPalette::Window)
        c->setBackgroundRole(QPalette::Window);
    if (c->palette().color(QPalette::Window) != cor) {
        QPalette p = c->palette();
        p.setColor(QPalette::Window, cor);
        c->setPalette(p);
    }
}

void aplicarSemaforo(const VistaSemaforo& v, QCheckBox* manual, QCheckBox* vermelho, QCheckBox* verde, CorSemaforo cor)
{
    for (QCheckBox* c : {manual, vermelho, verde})
        visivel(c, v.visivel);
    activo(manual, v.manualActivo);
    marcado(manual, v.manual);
    activo(vermelho, v.coresActivas);
    activo(verde, v.coresActivas);
    marcado(vermelho, v.vermelho);
    marcado(verde, v.verde);
    if (cor == CorSemaforo::Nenhuma)
        return;
    const QColor face = QApplication::palette().color(QPalette::Button);
    fundo(vermelho, cor == CorSemaforo::Vermelho ? QColor(255, 0, 0) : face);
    fundo(verde, cor == CorSemaforo::Verde ? QColor(0, 255, 0) : face);
}

}  // namespace

void AplicarVista(const VistaDispositivos& vista, const WidgetsDispositivos& w)
{
    texto(w.lblHor, vista.lblHor);
    texto(w.lblDat, vista.lblDat);
    texto(w.lblPeso, vista.lblPeso);
    visivel(w.mnuPrincipal4, vista.mnuSemaforosVisivel);
    for (int b = 0; b < 2; ++b) {
        const VistaBascula& v = vista.bascula[b];
        const WidgetsBascula& wb = w.bascula[b];
        for (QWidget* c :
             {static_cast<QWidget*>(wb.cmdZ), static_cast<QWidget*>(wb.lblP), static_cast<QWidget*>(wb.lblU),
              static_cast<QWidget*>(wb.lblM), static_cast<QWidget*>(wb.lblS), wb.cmdB, static_cast<QWidget*>(wb.lblI)})
            visivel(c, v.controlosVisiveis);
        texto(wb.lblP, v.lblP);
        texto(wb.lblU, v.lblU);
        texto(wb.lblM, v.lblM);
        texto(wb.lblS, v.lblS);
        texto(wb.lblI, v.lblI);
        activo(wb.cmdZ, v.cmdZActivo);
        texto(wb.cmdZ, v.cmdZ);
        visivel(wb.img1, v.img1Visivel);
        visivel(wb.img2, v.img2Visivel);
        texto(wb.lblCP, v.lblCP);
        texto(wb.lblCS, v.lblCS);
        activo(wb.mnuSemaforos, v.mnuSemaforosActivo);
        texto(wb.mnuSmf0, v.mnuSmf0);
        texto(wb.mnuSmf2, v.mnuSmf2);
        activo(wb.mnuSmf2, v.mnuSmf2Activo);
        aplicarSemaforo(v.principal, wb.chkP, wb.chkPE, wb.chkPV, v.cor);
        aplicarSemaforo(v.secundario, wb.chkS, wb.chkSE, wb.chkSV, v.cor);
    }
}
