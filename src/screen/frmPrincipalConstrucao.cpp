// The main window's widgets, laid out once.

#include "screen/Camiao.h"
#include "screen/CampoEntrada.h"
#include "screen/IconeZero.h"
#include "screen/frmPrincipal.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

using namespace CamposEntrada;

namespace {
QString nome(const char* controlo, int indice)
{
    return QString::fromLatin1(controlo) + QString::number(indice);
}

template <typename W> W* criar(QWidget* pai, const QString& nomeObjecto)
{
    auto* w = new W(pai);
    w->setObjectName(nomeObjecto);
    return w;
}

QLabel* rotulo(const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QStringLiteral("lbl") + QString(texto).remove(u' ').remove(u'.'));
    return l;
}

}  // namespace

void frmPrincipal::construir()
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Zumarel"));
    QFont letra = font();
    letra.setBold(true);
    letra.setPointSizeF(9.75);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmPrincipalFundo"));
    setCentralWidget(central);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(4);

    for (int i = 0; i < Numero; ++i) {
        auto* c = new CampoEntrada(i, central);
        const Definicao& d = definicao(i);
        c->setToolTip(d.dica);
        c->setFont(letra);
        if (d.genero == Genero::Peso)
            c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        else if (d.genero == Genero::Data || d.genero == Genero::Hora)
            c->setAlignment(Qt::AlignCenter);
        QPalette p = c->palette();
        if (d.genero == Genero::Codigo)
            p.setColor(QPalette::Text, p.color(QPalette::Highlight));
        if (ePainelPesagem(i)) {
            c->setFocusPolicy(Qt::ClickFocus);  // no tab stop
            for (auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                p.setColor(grupo, QPalette::Text, QColor(0, 0, 128));
        }
        c->setPalette(p);
        m_txt[std::size_t(i)] = c;
    }

    v->addWidget(construirCabecalho());
    v->addWidget(construirViatura());
    auto* trabalho = new QHBoxLayout;
    trabalho->setSpacing(6);
    trabalho->addWidget(construirDetalhes(), 5);
    trabalho->addWidget(construirPesagem(), 6);
    v->addLayout(trabalho);
    v->addWidget(construirGrelha(), 1);

    // The quick list floats over the panels, under the plate.
    lst = criar<QListWidget>(central, QStringLiteral("lst"));
    lst->setFont(letra);
    QPalette pl = lst->palette();
    pl.setColor(QPalette::Text, pl.color(QPalette::Highlight));
    lst->setPalette(pl);
    lst->hide();

    construirMenus();
    construirEstado();

    // The entry fields' tab order: the vehicle, the plate format, the details.
    setTabOrder(m_txt[0], m_txt[1]);
    setTabOrder(m_txt[1], chkVtN);
    setTabOrder(chkVtN, m_txt[2]);
    for (int i = 2; i < Observacoes; ++i)
        setTabOrder(m_txt[std::size_t(i)], m_txt[std::size_t(i + 1)]);

    resize(1024, 768);
}

QWidget* frmPrincipal::construirCabecalho()
{
    auto* w = criar<QWidget>(centralWidget(), QStringLiteral("picFix0"));
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    lblPeso = criar<QLabel>(w, QStringLiteral("lblPeso"));
    QFont grande = lblPeso->font();
    grande.setPointSize(36);
    grande.setBold(true);
    lblPeso->setFont(grande);
    lblPeso->setText(QStringLiteral(" kg"));
    lblHor = criar<QLabel>(w, QStringLiteral("lblHor"));
    lblDat = criar<QLabel>(w, QStringLiteral("lblDat"));
    h->addWidget(lblPeso);
    h->addStretch(1);
    h->addWidget(lblHor);
    h->addSpacing(12);
    h->addWidget(lblDat);
    m_widgetsDispositivos.lblPeso = lblPeso;
    m_widgetsDispositivos.lblHor = lblHor;
    m_widgetsDispositivos.lblDat = lblDat;
    return w;
}

QWidget* frmPrincipal::construirViatura()
{
    picFix1 = criar<QWidget>(centralWidget(), QStringLiteral("picFix1"));
    auto* h = new QHBoxLayout(picFix1);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(rotulo(QStringLiteral("Viatura"), picFix1));
    m_txt[0]->setParent(picFix1);
    m_txt[1]->setParent(picFix1);
    m_txt[0]->setMinimumWidth(90);
    m_txt[0]->setMaximumWidth(110);
    m_txt[1]->setMinimumWidth(150);
    m_txt[1]->setMaximumWidth(190);
    h->addWidget(m_txt[0]);
    h->addWidget(m_txt[1]);
    chkVtN = criar<QCheckBox>(picFix1, QStringLiteral("chkVtN"));
    chkVtN->setText(QStringLiteral("Viaturas nacionais"));
    h->addWidget(chkVtN);
    h->addSpacing(12);
    const QString legendas[2] = {QStringLiteral("1a. Pesagem manual"), QStringLiteral("2a. Pesagem manual")};
    for (int i = 0; i < 2; ++i) {
        cmpPM[std::size_t(i)] = criar<QPushButton>(picFix1, nome("cmpPM", i));
        cmpPM[std::size_t(i)]->setText(legendas[i]);
        cmpPM[std::size_t(i)]->setAutoDefault(true);  // Enter on the focused button presses it
        h->addWidget(cmpPM[std::size_t(i)]);
    }
    lblPM = criar<QLabel>(picFix1, QStringLiteral("lblPM"));
    QFont f = lblPM->font();
    f.setBold(true);
    lblPM->setFont(f);
    QPalette p = lblPM->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    lblPM->setPalette(p);
    lblPM->setText(QStringLiteral("Pesagem Manual"));
    QSizePolicy sp = lblPM->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    lblPM->setSizePolicy(sp);
    lblPM->hide();
    h->addWidget(lblPM);
    h->addStretch(1);
    return picFix1;
}

QWidget* frmPrincipal::construirDetalhes()
{
    picQ = criar<QWidget>(centralWidget(), QStringLiteral("picQ"));
    auto* g = new QGridLayout(picQ);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(3);
    const QString legendas[] = {
        QStringLiteral("Cliente/Fornecedor"), QStringLiteral("Transportador"),     QStringLiteral("Produto"),
        QStringLiteral("Local de carga"),     QStringLiteral("Local de descarga"), QStringLiteral("Observações")};
    for (int linha = 0; linha < 5; ++linha) {
        auto* l = rotulo(legendas[linha], picQ);
        l->setObjectName(nome("lblQ", linha));
        g->addWidget(l, linha, 0);
        CampoEntrada* codigo = m_txt[std::size_t(2 + 2 * linha)];
        CampoEntrada* designacao = m_txt[std::size_t(3 + 2 * linha)];
        codigo->setParent(picQ);
        designacao->setParent(picQ);
        codigo->setMaximumWidth(100);
        g->addWidget(codigo, linha, 1);
        g->addWidget(designacao, linha, 2);
    }
    auto* l = rotulo(legendas[5], picQ);
    l->setObjectName(QStringLiteral("lblQ5"));
    g->addWidget(l, 5, 0);
    m_txt[Observacoes]->setParent(picQ);
    g->addWidget(m_txt[Observacoes], 5, 1, 1, 2);
    g->setColumnStretch(2, 1);
    g->setRowStretch(6, 1);
    QSizePolicy sp = picQ->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    picQ->setSizePolicy(sp);
    picQ->hide();
    return picQ;
}

QWidget* frmPrincipal::construirPesagem()
{
    fraP = criar<QGroupBox>(centralWidget(), QStringLiteral("fraP"));
    auto* v = new QVBoxLayout(fraP);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(3);

    picP = criar<QWidget>(fraP, QStringLiteral("picP"));
    auto* vp = new QVBoxLayout(picP);
    vp->setContentsMargins(0, 0, 0, 0);
    vp->setSpacing(3);
    auto linhaPesagem = [&](QWidget* pai, int peso, QLabel*& origem, const char* nomeOrigem) {
        auto* h = new QHBoxLayout;
        for (int i = peso; i < peso + 3; ++i)
            m_txt[std::size_t(i)]->setParent(pai);
        m_txt[std::size_t(peso)]->setMaximumWidth(90);
        m_txt[std::size_t(peso + 1)]->setMaximumWidth(110);
        m_txt[std::size_t(peso + 2)]->setMaximumWidth(70);
        origem = criar<QLabel>(pai, QString::fromLatin1(nomeOrigem));
        origem->setMinimumWidth(24);
        h->addWidget(m_txt[std::size_t(peso)]);
        h->addWidget(origem);
        h->addWidget(m_txt[std::size_t(peso + 1)]);
        h->addWidget(m_txt[std::size_t(peso + 2)]);
        h->addStretch(1);
        return h;
    };
    vp->addLayout(linhaPesagem(picP, PesoPrimeira, lblB1, "lblB1"));

    picPSegunda = criar<QWidget>(picP, QStringLiteral("picPSegunda"));
    auto* vs = new QVBoxLayout(picPSegunda);
    vs->setContentsMargins(0, 0, 0, 0);
    vs->setSpacing(3);
    vs->addLayout(linhaPesagem(picPSegunda, PesoSegunda, lblB2, "lblB2"));
    auto* h = new QHBoxLayout;
    lblLiq = criar<QLabel>(picPSegunda, QStringLiteral("lblLiq"));
    lblLiq->setToolTip(QStringLiteral("Peso líquido"));
    lblLiq->setMinimumWidth(90);
    lblLiq->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblLiq->setText(QStringLiteral("0"));
    QFont fl = lblLiq->font();
    fl.setBold(true);
    lblLiq->setFont(fl);
    h->addWidget(lblLiq);
    h->addSpacing(24);
    grupoOpt = new QButtonGroup(this);
    const QString legendas[3] = {QStringLiteral("&Entrada"), QStringLiteral("&Guia"), QStringLiteral("&Talão")};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* o = criar<QRadioButton>(picPSegunda, nome("opt", i));
        o->setText(legendas[i]);
        o->setToolTip(TextosControlo::DicaOpcao[i]);
        o->setAutoFillBackground(true);
        grupoOpt->addButton(o, i);
        opt[std::size_t(i)] = o;
        h->addWidget(o);
    }
    h->addStretch(1);
    vs->addLayout(h);
    vp->addWidget(picPSegunda);
    QSizePolicy sp = picP->sizePolicy();
    sp.setRetainSizeWhenHidden(true);
    picP->setSizePolicy(sp);
    picPSegunda->setSizePolicy(sp);
    picP->hide();
    v->addWidget(picP);

    auto* basculas = new QHBoxLayout;
    basculas->addWidget(construirBascula(0));
    basculas->addWidget(construirBascula(1));
    v->addLayout(basculas);
    return fraP;
}

QWidget* frmPrincipal::construirBascula(int i)
{
    auto* w = criar<QGroupBox>(fraP, nome("fraB", i));
    auto* g = new QGridLayout(w);
    g->setContentsMargins(4, 4, 4, 4);
    g->setVerticalSpacing(2);
    WidgetsBascula& wb = m_widgetsDispositivos.bascula[std::size_t(i)];

    auto* b = criar<QPushButton>(w, nome("cmdB", i));
    b->setText(TextosControlo::LegendaBascula[i]);
    b->setToolTip(TextosControlo::DicaBascula[i]);
    b->setAutoDefault(true);  // Enter on the focused button asks for the weight
    b->setEnabled(false);
    cmdB[std::size_t(i)] = b;
    auto* z = criar<QPushButton>(w, nome("cmdZ", i));
    z->setEnabled(false);
    z->setToolTip(QStringLiteral("Comando de zero em báscula ") + QString::number(i + 1));
    z->setIcon(DesenharZero());
    z->setMinimumWidth(80);
    g->addWidget(b, 0, 0, 1, 2);
    g->addWidget(z, 0, 2, 1, 2);

    auto rotuloBascula = [&](const char* controlo) { return criar<QLabel>(w, nome(controlo, i)); };
    QLabel* lblM = rotuloBascula("lblM");
    QLabel* lblP = rotuloBascula("lblP");
    QLabel* lblU = rotuloBascula("lblU");
    QLabel* lblS = rotuloBascula("lblS");
    QLabel* lblI = rotuloBascula("lblI");
    lblP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblP->setMinimumWidth(60);
    QPalette pi = lblI->palette();
    pi.setColor(QPalette::WindowText, Qt::red);
    lblI->setPalette(pi);
    g->addWidget(lblM, 1, 0);
    g->addWidget(lblP, 1, 1);
    g->addWidget(lblU, 1, 2);
    g->addWidget(lblS, 1, 3);
    g->addWidget(lblI, 2, 0, 1, 4);

    auto* img1 = criar<QLabel>(w, nome("img1", i));
    auto* img2 = criar<QLabel>(w, nome("img2", i));
    img1->setPixmap(DesenharCamiao(true, 48, 24));
    img2->setPixmap(DesenharCamiao(false, 48, 24));
    img1->hide();
    img2->hide();
    QLabel* lblCP = rotuloBascula("lblCP");
    QLabel* lblCS = rotuloBascula("lblCS");
    g->addWidget(img1, 3, 0);
    g->addWidget(img2, 3, 1);
    g->addWidget(lblCP, 3, 2);
    g->addWidget(lblCS, 3, 3);

    const QString numero = QString::number(i + 1);
    auto caixa = [&](const char* controlo, const QString& texto, const QString& dica) {
        auto* c = criar<QCheckBox>(w, nome(controlo, i));
        c->setText(texto);
        c->setToolTip(dica);
        c->setAutoFillBackground(true);
        c->hide();
        return c;
    };
    QCheckBox* chkP =
        caixa("chkP", QStringLiteral("Principal"), QStringLiteral("Semáforo principal da báscula ") + numero);
    QCheckBox* chkPE = caixa("chkPE", {}, QStringLiteral("Vermelho"));
    QCheckBox* chkPV = caixa("chkPV", {}, QStringLiteral("Verde"));
    QCheckBox* chkS =
        caixa("chkS", QStringLiteral("Secundário"), QStringLiteral("Semáforo secundário da báscula ") + numero);
    QCheckBox* chkSE = caixa("chkSE", {}, QStringLiteral("Vermelho"));
    QCheckBox* chkSV = caixa("chkSV", {}, QStringLiteral("Verde"));
    g->addWidget(chkP, 4, 0, 1, 2);
    g->addWidget(chkPE, 4, 2);
    g->addWidget(chkPV, 4, 3);
    g->addWidget(chkS, 5, 0, 1, 2);
    g->addWidget(chkSE, 5, 2);
    g->addWidget(chkSV, 5, 3);
    g->setRowStretch(6, 1);

    wb.cmdZ = z;
    wb.lblP = lblP;
    wb.lblU = lblU;
    wb.lblM = lblM;
    wb.lblS = lblS;
    wb.lblI = lblI;
    wb.cmdB = b;
    wb.img1 = img1;
    wb.img2 = img2;
    wb.lblCP = lblCP;
    wb.lblCS = lblCS;
    wb.chkP = chkP;
    wb.chkPE = chkPE;
    wb.chkPV = chkPV;
    wb.chkS = chkS;
    wb.chkSE = chkSE;
    wb.chkSV = chkSV;
    return w;
}

QWidget* frmPrincipal::construirGrelha()
{
    auto* w = criar<QWidget>(centralWidget(), QStringLiteral("picGrelha"));
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* h = new QHBoxLayout;
    const QString legendas[6] = {QStringLiteral("Guias"),        QStringLiteral("Entradas"), QStringLiteral("Talões"),
                                 QStringLiteral("1as.Pesagens"), QStringLiteral("Anuladas"), QStringLiteral("Tudo")};
    auto* grupo = new QButtonGroup(w);
    for (int i = 0; i < 6; ++i) {
        QRadioButton* o = criar<QRadioButton>(w, nome("optTP", i));
        o->setText(legendas[i]);
        grupo->addButton(o, i);
        optTP[std::size_t(i)] = o;
        h->addWidget(o);
    }
    optTP[0]->setChecked(true);
    h->addStretch(1);
    v->addLayout(h);
    dbg = criar<QTableView>(w, QStringLiteral("dbg"));
    dbg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbg->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbg->setSelectionMode(QAbstractItemView::SingleSelection);
    dbg->verticalHeader()->setDefaultSectionSize(20);
    dbg->horizontalHeader()->setSectionsClickable(true);
    dbg->setMinimumHeight(120);
    v->addWidget(dbg, 1);
    return w;
}

void frmPrincipal::construirEstado()
{
    statusBar()->setObjectName(QStringLiteral("stb"));
    for (int i = 0; i < 3; ++i) {
        auto* l = criar<QLabel>(statusBar(), nome("stb", i + 1));
        stb[std::size_t(i)] = l;
        if (i < 2)
            statusBar()->addWidget(l, 2);
        else
            statusBar()->addPermanentWidget(l);
    }
    stb[2]->setMinimumWidth(120);
}
