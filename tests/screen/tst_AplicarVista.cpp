// The binder on real widgets of an offscreen window: what the bridges show
// reaches the widgets, and an unchanged value is never written again.
#include "screen/AplicarVista.h"
#include "screen/Camiao.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {
struct Janela
{
    Janela()
    {
        auto* centro = new QWidget;
        auto* l = new QVBoxLayout(centro);
        janela.setCentralWidget(centro);
        for (QLabel** e : {&w.lblHor, &w.lblDat, &w.lblPeso})
            l->addWidget(*e = new QLabel);
        QMenu* semaforos = janela.menuBar()->addMenu(QStringLiteral("Semá&foros"));
        w.mnuPrincipal4 = semaforos->menuAction();
        for (int b = 0; b < 2; ++b) {
            WidgetsBascula& x = w.bascula[b];
            l->addWidget(x.cmdZ = new QPushButton);
            for (QLabel** e : {&x.lblP, &x.lblU, &x.lblM, &x.lblS, &x.lblI, &x.lblCP, &x.lblCS})
                l->addWidget(*e = new QLabel);
            l->addWidget(x.cmdB = new QPushButton(QStringLiteral("Báscula &%1").arg(b + 1)));
            auto* img1 = new QLabel;
            img1->setPixmap(DesenharCamiao(true));
            auto* img2 = new QLabel;
            img2->setPixmap(DesenharCamiao(false));
            l->addWidget(x.img1 = img1);
            l->addWidget(x.img2 = img2);
            for (QCheckBox** c : {&x.chkP, &x.chkPE, &x.chkPV, &x.chkS, &x.chkSE, &x.chkSV})
                l->addWidget(*c = new QCheckBox);
            QMenu* sub = semaforos->addMenu(QStringLiteral("Báscula &%1").arg(b + 1));
            x.mnuSemaforos = sub->menuAction();
            x.mnuSmf0 = sub->addAction(QStringLiteral("&Comando manual"));
            sub->addSeparator();
            x.mnuSmf2 = sub->addAction(QStringLiteral("&Encarnado"));
        }
        janela.show();
    }
    QMainWindow janela;
    WidgetsDispositivos w;
};
}  // namespace

class TesteAplicarVista : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiaParaOsWidgets();
    void valorIgualNaoVoltaAEscrever();
    void cores();
};

void TesteAplicarVista::copiaParaOsWidgets()
{
    Janela j;
    VistaDispositivos v;
    v.lblPeso = QStringLiteral("   12340 kg");
    v.mnuSemaforosVisivel = false;
    VistaBascula& b = v.bascula[1];
    b.controlosVisiveis = false;
    b.lblI = QStringLiteral("Báscula desligada");
    v.bascula[0].cmdZActivo = true;
    v.bascula[0].cmdZ = QStringLiteral("<< zero >>");
    v.bascula[0].img1Visivel = true;
    v.bascula[0].lblCP = QStringLiteral("ABC12345");
    v.bascula[0].principal = {true, true, true, true, true, false};
    v.bascula[0].mnuSmf0 = QStringLiteral("Comando &Automático");
    v.bascula[0].mnuSmf2Activo = false;
    AplicarVista(v, j.w);

    QCOMPARE(j.w.lblPeso->text(), QStringLiteral("   12340 kg"));
    QVERIFY(!j.w.mnuPrincipal4->isVisible());
    const WidgetsBascula& x0 = j.w.bascula[0];
    const WidgetsBascula& x1 = j.w.bascula[1];
    QVERIFY(x1.lblP->isHidden() && x1.cmdB->isHidden() && x1.cmdZ->isHidden() && x1.lblI->isHidden());
    QVERIFY(!x0.lblP->isHidden() && !x0.cmdB->isHidden());
    QCOMPARE(x1.lblI->text(), QStringLiteral("Báscula desligada"));
    QVERIFY(x0.cmdZ->isEnabled());
    QCOMPARE(x0.cmdZ->text(), QStringLiteral("<< zero >>"));
    QVERIFY(!x0.img1->isHidden() && x0.img2->isHidden());
    QCOMPARE(x0.lblCP->text(), QStringLiteral("ABC12345"));
    QVERIFY(!x0.chkP->isHidden() && x0.chkP->isEnabled() && x0.chkP->isChecked());
    QVERIFY(x0.chkPE->isChecked() && !x0.chkPV->isChecked() && x0.chkPE->isEnabled());
    QVERIFY(x0.chkS->isHidden());
    QCOMPARE(x0.mnuSmf0->text(), QStringLiteral("Comando &Automático"));
    QVERIFY(!x0.mnuSmf2->isEnabled());
}

void TesteAplicarVista::valorIgualNaoVoltaAEscrever()
{
    Janela j;
    VistaDispositivos v;
    v.bascula[0].principal = {true, true, true, true, true, false};
    v.bascula[0].lblP = QStringLiteral("   12340");
    AplicarVista(v, j.w);
    QSignalSpy marcado(j.w.bascula[0].chkPE, &QCheckBox::toggled);
    QSignalSpy clicado(j.w.bascula[0].chkPE, &QCheckBox::clicked);
    QSignalSpy menu(j.w.bascula[0].mnuSmf0, &QAction::changed);
    for (int k = 0; k < 5; ++k)
        AplicarVista(v, j.w);
    QCOMPARE(marcado.size(), 0);
    QCOMPARE(menu.size(), 0);
    v.bascula[0].principal.vermelho = false;
    AplicarVista(v, j.w);
    QCOMPARE(marcado.size(), 1);
    QCOMPARE(clicado.size(), 0);  // the handlers, on clicked, are not run by the copy
}

// The colour the operator sees: the widget rendered, its pixels counted.
static double parteDaCor(QWidget* w, const QColor& cor)
{
    const QImage img = w->grab().toImage();
    int iguais = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            iguais += QColor(img.pixel(x, y)) == cor;
    return img.isNull() ? 0 : double(iguais) / (img.width() * img.height());
}

void TesteAplicarVista::cores()
{
    Janela j;
    VistaDispositivos v;
    const QColor vermelho(255, 0, 0), verde(0, 255, 0);
    const WidgetsBascula& x = j.w.bascula[0];
    v.bascula[0].principal = v.bascula[0].secundario = {true, true, true, true, true, false};
    AplicarVista(v, j.w);  // before the first decision nothing is coloured
    QCOMPARE(parteDaCor(x.chkPE, vermelho), 0.0);
    v.bascula[0].cor = CorSemaforo::Vermelho;
    AplicarVista(v, j.w);
    for (QCheckBox* c : {x.chkPE, x.chkSE})
        QVERIFY2(parteDaCor(c, vermelho) > 0.3, qPrintable(c->objectName()));
    QCOMPARE(parteDaCor(x.chkPV, verde), 0.0);
    v.bascula[0].cor = CorSemaforo::Verde;
    AplicarVista(v, j.w);
    for (QCheckBox* c : {x.chkPV, x.chkSV})
        QVERIFY2(parteDaCor(c, verde) > 0.3, qPrintable(c->objectName()));
    QCOMPARE(parteDaCor(x.chkSE, vermelho), 0.0);
}

QTEST_MAIN(TesteAplicarVista)
#include "tst_AplicarVista.moc"
