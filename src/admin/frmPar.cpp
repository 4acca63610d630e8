#include "admin/frmPar.h"

#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Tecla = LogicaParametros::Tecla;

const char* const PropTipo = "zumarelTipo";
const char* const PropIndice = "zumarelIndice";
enum Tipo { txtG = 1, Etxt, txtIP, cmbT };

void marcar(QObject* o, Tipo tipo, int indice)
{
    o->setProperty(PropTipo, int(tipo));
    o->setProperty(PropIndice, indice);
}

void negrito(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

QLabel* rotulo(const QString& nome, const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(nome);
    return l;
}

// Only the given characters can be typed or pasted.
void soCaracteres(QLineEdit* e, const QString& aceites)
{
    if (aceites.isEmpty())
        return;
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(u'[' + QRegularExpression::escape(aceites) + QStringLiteral("]*"),
                           QRegularExpression::CaseInsensitiveOption),
        e));
}

}  // namespace

frmPar::frmPar(Estacao& estacao, LogicaParametros::EscolherFicheiro escolher, std::function<void()> fecharPortas,
               QWidget* pai)
    : QDialog(pai),
      m_logica(estacao, std::move(escolher), std::move(fecharPortas))
{
    setWindowTitle(LogicaParametros::Titulo);
    m_logica.Form_Load();

    // The tab control: two rows of four tab buttons over the pages.
    auto* sst = new QWidget(this);
    sst->setObjectName(QStringLiteral("sst"));
    m_abas = new QButtonGroup(this);
    m_paginas = new QStackedWidget(sst);
    auto* filas = new QGridLayout;
    filas->setSpacing(0);
    const QStringList abas = {QStringLiteral("Geral"),
                              QStringLiteral("Documentos"),
                              QStringLiteral("Báscula 1"),
                              QStringLiteral("Báscula 2"),
                              QStringLiteral("&Leitor(1) báscula 1"),
                              QStringLiteral("&Leitor(1) báscula 2"),
                              QStringLiteral("&Leitor(2) báscula 1"),
                              QStringLiteral("&Leitor(2) báscula 2")};
    for (int t = 0; t < abas.size(); ++t) {
        auto* b = new QToolButton(sst);
        b->setObjectName(QStringLiteral("sst%1").arg(t));
        b->setText(abas[t]);
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_abas->addButton(b, t);
        filas->addWidget(b, t / 4, t % 4);
    }
    m_paginas->addWidget(construirGeral());
    m_paginas->addWidget(construirDocumentos());
    for (int i = 0; i < 2; ++i)
        m_paginas->addWidget(construirBascula(i));
    for (const bool principal : {true, false}) {
        for (int i = 0; i < 2; ++i)
            m_paginas->addWidget(construirLeitor(i, principal));
    }
    m_abas->button(0)->setChecked(true);
    connect(m_abas, &QButtonGroup::idClicked, this, [this](int pagina) {
        m_paginas->setCurrentIndex(pagina);
        // Qt moves the focus off a page that goes away: to the window's handlers too.
        if (QWidget* w = focusWidget(); w && w != m_foco.actual())
            m_foco.darFoco(w);
    });
    auto* caixaSst = new QVBoxLayout(sst);
    caixaSst->setContentsMargins(0, 0, 0, 0);
    caixaSst->addLayout(filas);
    caixaSst->addWidget(m_paginas);

    // The buttons, left to right.
    auto* botoes = new QHBoxLayout;
    const QStringList textos = {QStringLiteral("Cancelar"), QStringLiteral("Valores por defeito"),
                                QStringLiteral("Gravar alterações")};
    for (int k = 0; k < textos.size(); ++k) {
        auto* b = new QPushButton(textos[k], this);
        b->setObjectName(QStringLiteral("cmd%1").arg(k));
        b->setToolTip(textos[k]);
        negrito(b);
        m_realcar.push_back(b);
        botoes->addWidget(b);
        if (k < 2)
            botoes->addStretch();
    }
    connect(findChild<QPushButton*>(QStringLiteral("cmd0")), &QPushButton::clicked, this, &frmPar::reject);
    connect(findChild<QPushButton*>(QStringLiteral("cmd1")), &QPushButton::clicked, this, [this] {
        if (m_logica.ValoresPorDefeito())
            accept();
    });
    // The program ends after a save; the dialog closes so nothing waits on it.
    connect(findChild<QPushButton*>(QStringLiteral("cmd2")), &QPushButton::clicked, this, [this] {
        if (m_logica.GravarParametros())
            accept();
    });

    auto* janela = new QVBoxLayout(this);
    janela->addWidget(sst);
    janela->addLayout(botoes);

    // The boxes and buttons turn yellow with the focus; every other control is followed too.
    for (QWidget* w : m_realcar)
        m_foco.seguir(w, true);
    m_foco.seguirOsOutros(this);
    m_foco.aoMudar = [this](QWidget*, QWidget* entrou) { ganharFoco(entrou); };
    // Esc does not close the dialog: only its buttons and close box do.
    Dialogo::aplicar(this, {.escFecha = false, .enterNoBotao = true});
    mostrar();
}

int frmPar::abaActual() const
{
    return m_paginas->currentIndex();
}

QComboBox* frmPar::lista(const QString& nome, const QStringList& entradas, int& valor, const QString& dica)
{
    auto* w = new QComboBox(this);
    w->setObjectName(nome);
    w->setToolTip(dica);
    w->addItems(entradas);
    w->setCurrentIndex(-1);
    connect(w, &QComboBox::activated, this, [this, &valor](int i) {
        valor = i;
        mostrar();
    });
    m_copias.push_back([w, &valor] {
        if (w->currentIndex() != valor) {
            const QSignalBlocker b(w);
            w->setCurrentIndex(valor);
        }
    });
    return w;
}

QLineEdit* frmPar::caixa(const QString& nome, QString& valor, const QString& dica)
{
    auto* w = new QLineEdit(this);
    w->setObjectName(nome);
    w->setToolTip(dica);
    w->installEventFilter(this);
    m_realcar.push_back(w);
    connect(w, &QLineEdit::textChanged, this, [&valor](const QString& t) { valor = t; });
    m_copias.push_back([w, &valor] {
        if (w->text() != valor) {
            const QSignalBlocker b(w);
            w->setText(valor);
        }
    });
    return w;
}

void frmPar::caixaDeVisto(QAbstractButton* w, bool& valor)
{
    connect(w, &QAbstractButton::toggled, this, [this, &valor](bool v) {
        valor = v;
        mostrar();
    });
    m_copias.push_back([w, &valor] {
        if (w->isChecked() != valor) {
            const QSignalBlocker b(w);
            w->setChecked(valor);
        }
    });
}

void frmPar::visivelSe(QWidget* w, std::function<bool()> condicao)
{
    m_copias.push_back([w, condicao = std::move(condicao)] {
        if (w->isHidden() == condicao())
            w->setVisible(condicao());
    });
}

QWidget* frmPar::construirGeral()
{
    auto* pagina = new QWidget(this);
    auto* g = new QGridLayout(pagina);
    LogicaParametros::Controlos& c = m_logica.c;
    const QString rotulos[] = {QStringLiteral("Localização da base de dados"),
                               QStringLiteral("Localização da base de dados backup"),
                               QStringLiteral("Localização dos ficheiros de interface")};
    const QString dicas[] = {rotulos[0], rotulos[1], QStringLiteral("Localização do ficheiro de pesagens a exportar")};
    for (int n = 0; n < 3; ++n) {
        QLineEdit* t = caixa(QStringLiteral("txtG%1").arg(n), c.txtG[n], dicas[n]);
        marcar(t, txtG, n);
        t->setMinimumHeight(2 * t->fontMetrics().height());
        auto* b = new QPushButton(QStringLiteral("..."), pagina);
        b->setObjectName(QStringLiteral("cmdG%1").arg(n));
        connect(b, &QPushButton::clicked, this, [this, n] {
            m_logica.cmdG_Click(n);
            mostrar();
        });
        g->addWidget(rotulo(QStringLiteral("lblG%1").arg(n), rotulos[n], pagina), 2 * n, 0, 1, 2);
        g->addWidget(t, 2 * n + 1, 0);
        g->addWidget(b, 2 * n + 1, 1);
    }
    const QString caixas[] = {QStringLiteral("Formatar por defeito a viaturas nacionais"),
                              QStringLiteral("Executa primeira pesagem em viaturas registadas"),
                              QStringLiteral("Operador automático")};
    for (int n = 0; n < 3; ++n) {
        auto* k = new QCheckBox(caixas[n], pagina);
        k->setObjectName(QStringLiteral("chkG%1").arg(n));
        k->setToolTip(n == 1 ? QStringLiteral("Primeira pesagem por tabela de viaturas") : caixas[n]);
        caixaDeVisto(k, c.chkG[n]);
        g->addWidget(k, n == 0 ? 6 : 7, n == 2 ? 1 : 0, 1, n == 0 ? 2 : 1);
    }
    g->setRowStretch(8, 1);
    return pagina;
}

QWidget* frmPar::construirDocumentos()
{
    auto* pagina = new QWidget(this);
    auto* g = new QGridLayout(pagina);
    LogicaParametros::Controlos& c = m_logica.c;
    const QString dicas[] = {QStringLiteral("Linha de identificação 1"),
                             QStringLiteral("Linha de identificação 2"),
                             QStringLiteral("Linha de identificação 3"),
                             QStringLiteral("Código postal"),
                             QStringLiteral("Localidade"),
                             QStringLiteral("Contribuinte"),
                             QStringLiteral("Telefone"),
                             QStringLiteral("Fax"),
                             QStringLiteral("Linha de fundo"),
                             QStringLiteral("Número da pesagem de entrada"),
                             QStringLiteral("Número da pesagem de saída"),
                             QStringLiteral("Número do talão de pesagem a terceiros")};
    std::array<QLineEdit*, LogicaParametros::CamposEmpresa> e{};
    for (int k = 0; k < LogicaParametros::CamposEmpresa; ++k) {
        e[k] = caixa(QStringLiteral("Etxt%1").arg(k), c.Etxt[k], dicas[k]);
        e[k]->setMaxLength(LogicaParametros::TamanhosEtxt[k]);
        soCaracteres(e[k], LogicaParametros::CaracteresEtxt[k]);
        marcar(e[k], Etxt, k);
    }
    const auto lbl = [&](int n, const QString& texto) { return rotulo(QStringLiteral("lbl%1").arg(n), texto, pagina); };
    g->addWidget(lbl(0, QStringLiteral("Identificação da empresa")), 0, 0, 1, 6);
    for (int k = 0; k < 3; ++k)
        g->addWidget(e[k], 1 + k, 0, 1, 6);
    g->addWidget(e[3], 4, 0, 1, 2);
    g->addWidget(e[4], 4, 2, 1, 4);
    g->addWidget(lbl(1, QStringLiteral("Contribuinte:")), 5, 0);
    g->addWidget(e[5], 5, 1);
    g->addWidget(lbl(2, QStringLiteral("Telef:")), 5, 2);
    g->addWidget(e[6], 5, 3);
    g->addWidget(lbl(3, QStringLiteral("Fax:")), 5, 4);
    g->addWidget(e[7], 5, 5);
    g->addWidget(e[8], 6, 0, 1, 6);

    auto* fraT0 = new QGroupBox(QStringLiteral("Número do último &documento impresso"), pagina);
    fraT0->setObjectName(QStringLiteral("fraT0"));
    auto* l0 = new QHBoxLayout(fraT0);
    const QString contadores[] = {QStringLiteral("Entrada:"), QStringLiteral("Saída:"), QStringLiteral("Talão:")};
    for (int n = 0; n < 3; ++n) {
        QLabel* r = lbl(4 + n, contadores[n]);
        if (n == 1)
            r->setToolTip(QStringLiteral("Número da guia de remessa"));
        l0->addWidget(r);
        l0->addWidget(e[9 + n]);
    }
    g->addWidget(fraT0, 7, 0, 1, 6);

    auto* fraT1 = new QGroupBox(QStringLiteral("Número de &Cópias"), pagina);
    fraT1->setObjectName(QStringLiteral("fraT1"));
    auto* l1 = new QHBoxLayout(fraT1);
    // Left to right: the label's index, its caption, the list's tooltip.
    const struct
    {
        int rotulo;
        QString texto;
        QString dica;
    } copias[] = {
        {1, QStringLiteral("1a.Pesagem:"), QStringLiteral("Número de cópias do talão de primeira pesagem")},
        {0, QStringLiteral("2a.Via:"), QStringLiteral("Número de cópias do talão de segunda via")},
        {2, QStringLiteral("Entrada:"), QStringLiteral("Número de cópias do talão de entrada")},
        {3, QStringLiteral("Saída:"), QStringLiteral("Número de cópias do talão de saída")},
        {4, QStringLiteral("Talão:"), QStringLiteral("Número de cópias do talão de pesagem a terceiros")},
    };
    QWidget* anterior = e[LogicaParametros::CamposEmpresa - 1];
    for (int n = 0; n < 5; ++n) {
        QComboBox* l = lista(QStringLiteral("cmbT%1").arg(n), LogicaParametros::Copias, c.cmbT[n], copias[n].dica);
        marcar(l, cmbT, n);
        l->installEventFilter(this);
        l1->addWidget(rotulo(QStringLiteral("lblT%1").arg(copias[n].rotulo), copias[n].texto, pagina));
        l1->addWidget(l);
        setTabOrder(anterior, l);
        anterior = l;
    }
    g->addWidget(fraT1, 8, 0, 1, 6);
    for (int k = 1; k < LogicaParametros::CamposEmpresa; ++k)
        setTabOrder(e[k - 1], e[k]);
    setTabOrder(e[LogicaParametros::CamposEmpresa - 1], findChild<QComboBox*>(QStringLiteral("cmbT0")));
    g->setRowStretch(9, 1);
    return pagina;
}

void frmPar::construirSerie(QGridLayout* grelha, int coluna, const QString& sufixo, const QString& rotulos, int i,
                            LogicaParametros::Serie& s, int portas, std::vector<QWidget*>* controlos)
{
    const struct
    {
        QString nome;
        QString rotulo;
        QString dica;
        QStringList entradas;
        int* valor;
    } linhas[] = {
        {QStringLiteral("Prt"), QStringLiteral("Porta:"), QStringLiteral("Porta de comunicações"),
         m_logica.entradasPortas(portas), &s.porta},
        {QStringLiteral("Hnd"), QStringLiteral("Handshaking:"), QStringLiteral("Handshaking"), PecasSerie::Handshakings,
         &s.handshaking},
        {QStringLiteral("Bau"), QStringLiteral("Baud rate:"), QStringLiteral("Baud rate"), PecasSerie::Velocidades,
         &s.pecas.velocidade},
        {QStringLiteral("Par"), QStringLiteral("Paridade:"), QStringLiteral("Paridade"), PecasSerie::Paridades,
         &s.pecas.paridade},
        {QStringLiteral("Dat"), QStringLiteral("Data bit:"), QStringLiteral("Número de data bits"),
         PecasSerie::BitsDados, &s.pecas.dados},
        {QStringLiteral("Stp"), QStringLiteral("Stop bit:"), QStringLiteral("Número de stop bits"),
         PecasSerie::BitsParagem, &s.pecas.paragem},
    };
    for (int n = 0; n < 6; ++n) {
        // The indicator's labels are lblPrtB0...; the readers' the arrays lblLP1, lblLS2...
        const QString nomeRotulo = rotulos.isEmpty() ? QStringLiteral("lbl%1%2%3").arg(linhas[n].nome, sufixo).arg(i)
                                                     : rotulos + QString::number(n);
        QLabel* r = rotulo(nomeRotulo, linhas[n].rotulo, this);
        QComboBox* l = lista(QStringLiteral("cmb%1%2%3").arg(linhas[n].nome, sufixo).arg(i), linhas[n].entradas,
                             *linhas[n].valor, linhas[n].dica);
        grelha->addWidget(r, n, coluna);
        grelha->addWidget(l, n, coluna + 1);
        if (controlos)
            controlos->insert(controlos->end(), {r, l});
    }
}

QWidget* frmPar::construirBascula(int i)
{
    LogicaParametros::Bascula& b = m_logica.c.b[i];
    auto* pagina = new QWidget(this);
    auto* v = new QVBoxLayout(pagina);
    auto* chkB = new QCheckBox(QStringLiteral("Ligada"), pagina);
    chkB->setObjectName(QStringLiteral("chkB%1").arg(i));
    chkB->setToolTip(QStringLiteral("Ligada/Desligada"));
    caixaDeVisto(chkB, b.ligada);
    v->addWidget(chkB, 0, Qt::AlignRight);

    auto* fraB = new QGroupBox(QStringLiteral("Configurações"), pagina);
    fraB->setObjectName(QStringLiteral("fraB%1").arg(i));
    visivelSe(fraB, [&b] { return b.ligada; });
    v->addWidget(fraB);
    v->addStretch();
    auto* g = new QGridLayout(fraB);
    const QString lblB = QStringLiteral("lblB%1").arg(i + 1);
    const auto estatico = [&](int n, const QString& texto) { return rotulo(lblB + QString::number(n), texto, fraB); };

    QComboBox* cmbInd = lista(QStringLiteral("cmbInd%1").arg(i), LogicaParametros::Modelos, b.modelo,
                              QStringLiteral("Indicador de peso"));
    negrito(cmbInd);
    g->addWidget(estatico(0, QStringLiteral("Indicador de peso:")), 0, 0);
    g->addWidget(cmbInd, 0, 1, 1, 2);

    auto* cmbDiv = new QComboBox(fraB);
    cmbDiv->setObjectName(QStringLiteral("cmbDiv%1").arg(i));
    cmbDiv->setToolTip(QStringLiteral("Divisão"));
    cmbDiv->addItems(LogicaParametros::Divisoes);
    negrito(cmbDiv);
    connect(cmbDiv, &QComboBox::activated, this, [this, i, &b](int n) {
        b.divisao = n;
        m_logica.cmbDiv_Click(i);
        mostrar();
    });
    m_copias.push_back([cmbDiv, &b] {
        if (cmbDiv->currentIndex() != b.divisao) {
            const QSignalBlocker s(cmbDiv);
            cmbDiv->setCurrentIndex(b.divisao);
        }
    });
    g->addWidget(estatico(1, QStringLiteral("Divisão:")), 1, 0);
    g->addWidget(cmbDiv, 1, 1);
    g->addWidget(estatico(2, QStringLiteral("kg")), 1, 2);

    auto* lblMin = rotulo(QStringLiteral("lblMin%1").arg(i), QStringLiteral("0"), fraB);
    negrito(lblMin);
    m_copias.push_back([lblMin, &b] {
        if (lblMin->text() != b.minimo)
            lblMin->setText(b.minimo);
    });
    g->addWidget(estatico(3, QStringLiteral("Pesagem mínima:")), 2, 0);
    g->addWidget(lblMin, 2, 1);
    g->addWidget(estatico(4, QStringLiteral("kg")), 2, 2);

    auto* optIP = new QRadioButton(QStringLiteral("IP"), fraB);
    optIP->setObjectName(QStringLiteral("optIP%1").arg(i));
    auto* optRS = new QRadioButton(QStringLiteral("RS232"), fraB);
    optRS->setObjectName(QStringLiteral("optRS%1").arg(i));
    negrito(optIP);
    negrito(optRS);
    auto* grupo = new QButtonGroup(fraB);
    grupo->addButton(optIP);
    grupo->addButton(optRS);
    caixaDeVisto(optIP, b.ip);
    m_copias.push_back([optRS, &b] {
        if (optRS->isChecked() == b.ip) {
            const QSignalBlocker s(optRS);
            optRS->setChecked(!b.ip);
        }
    });
    auto* interface = new QHBoxLayout;
    interface->addWidget(optIP);
    interface->addWidget(optRS);
    g->addWidget(rotulo(QStringLiteral("lblInterface%1").arg(i), QStringLiteral("Interface:"), fraB), 3, 0);
    g->addLayout(interface, 3, 1, 1, 2);

    auto* lblIP = rotulo(QStringLiteral("lblIP%1").arg(i), QStringLiteral("IP:"), fraB);
    QLineEdit* txtIP_ = caixa(QStringLiteral("txtIP%1").arg(i), b.endereco, QString());
    txtIP_->setMaxLength(15);
    soCaracteres(txtIP_, LogicaParametros::CaracteresIP);
    marcar(txtIP_, txtIP, i);
    visivelSe(lblIP, [&b] { return b.ip; });
    visivelSe(txtIP_, [&b] { return b.ip; });
    g->addWidget(lblIP, 4, 0);
    g->addWidget(txtIP_, 4, 1, 1, 2);

    std::vector<QWidget*> serie;
    construirSerie(g, 3, QStringLiteral("B"), QString(), i, b.serie, LogicaParametros::PortasIndicador, &serie);
    for (QWidget* w : serie)
        visivelSe(w, [&b] { return !b.ip; });
    g->setColumnStretch(5, 1);
    return pagina;
}

QWidget* frmPar::construirLeitor(int i, bool principal)
{
    LogicaParametros::Leitor& l = principal ? m_logica.c.b[i].principal : m_logica.c.b[i].secundario;
    const QString sufixo = principal ? QStringLiteral("LP") : QStringLiteral("LS");
    auto* pagina = new QWidget(this);
    auto* v = new QVBoxLayout(pagina);
    auto* chk = new QCheckBox(QStringLiteral("Ligado"), pagina);
    chk->setObjectName(QStringLiteral("chk%1%2").arg(sufixo).arg(i));
    chk->setToolTip(QStringLiteral("Ligado/Desligado"));
    caixaDeVisto(chk, l.ligado);
    v->addWidget(chk, 0, Qt::AlignRight);
    auto* fra = new QGroupBox(QStringLiteral("Configurações"), pagina);
    fra->setObjectName(QStringLiteral("fra%1%2").arg(sufixo).arg(i));
    visivelSe(fra, [&l] { return l.ligado; });
    v->addWidget(fra);
    v->addStretch();
    auto* g = new QGridLayout(fra);
    construirSerie(g, 0, sufixo, QStringLiteral("lbl%1%2").arg(sufixo).arg(i + 1), i, l.serie,
                   LogicaParametros::PortasLeitor);
    g->setColumnStretch(2, 1);
    return pagina;
}

void frmPar::reject()
{
    m_logica.Cancelar();
    QDialog::reject();
}

bool frmPar::tecla(QObject* objecto, QKeyEvent* e)
{
    const int tipo = objecto->property(PropTipo).toInt();
    const int indice = objecto->property(PropIndice).toInt();
    const int KeyAscii = Teclas::caracter(e);
    if (KeyAscii == 0)
        return Teclas::soAcesso(e);  // keys that type nothing are the control's own
    Tecla t = Tecla::Passa;
    if (tipo == Etxt)
        t = m_logica.Etxt_KeyPress(indice, KeyAscii);
    else if (tipo == txtIP)
        t = m_logica.txtIP_KeyPress(indice, KeyAscii);
    else if (tipo == cmbT)
        t = LogicaParametros::cmbT_KeyPress(KeyAscii);
    switch (t) {
    case Tecla::Passa: return false;
    case Tecla::Engolida: return true;
    case Tecla::Seguinte: focusNextChild(); return true;
    case Tecla::Reposta: {
        mostrar();
        auto* caixa = static_cast<QLineEdit*>(objecto);
        if (tipo == Etxt)
            caixa->setSelection(int(caixa->text().size()), -int(caixa->text().size()));
        return true;
    }
    }
    return false;
}

bool frmPar::eventFilter(QObject* objecto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress && objecto->property(PropTipo).toInt() != 0)
        return tecla(objecto, static_cast<QKeyEvent*>(evento));
    return QDialog::eventFilter(objecto, evento);
}

// A box that takes the focus: the company lines all selected from the start
// (and their text kept for Esc), the paths and addresses with the caret at the end.
void frmPar::ganharFoco(QWidget* w)
{
    auto* caixa = qobject_cast<QLineEdit*>(w);
    const int tipo = w->property(PropTipo).toInt();
    if (!caixa || (tipo != Etxt && tipo != txtG && tipo != txtIP))
        return;
    if (tipo == Etxt) {
        m_logica.Etxt_GotFocus(w->property(PropIndice).toInt());
        caixa->setSelection(int(caixa->text().size()), -int(caixa->text().size()));
    } else {
        caixa->deselect();
        caixa->end(false);
    }
}

void frmPar::mostrar()
{
    for (const auto& copiar : m_copias)
        copiar();
    const QString foco = m_logica.tomarFocoPedido();
    if (!foco.isEmpty())
        m_foco.darFoco(findChild<QWidget*>(foco));
}
