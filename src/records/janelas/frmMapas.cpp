#include "records/janelas/frmMapas.h"

#include "data/Estacao.h"
#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"
#include "shared/Tecla.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const Dica = "dica";

template <typename W> W* nomear(W* w, const QString& nome, const QString& dica = {})
{
    w->setObjectName(nome);
    if (!dica.isEmpty()) {
        w->setToolTip(dica);
        w->setProperty(Dica, dica);
    }
    return w;
}

}  // namespace

frmMapas::frmMapas(Estacao& estacao, QWidget* pai) : QDialog(pai), m_logica(estacao), m_estacao(estacao)
{
    setObjectName(QStringLiteral("frmMapas"));
    setModal(true);
    construir();
    m_logica.Form_Load();
    setWindowTitle(m_logica.Caption);
    for (int i = 0; i < 6; ++i)
        m_txt[i]->setText(m_logica.txt[i]);
    mostrar();

    // The boxes, check boxes and buttons turn yellow with the focus; the options do not.
    for (QWidget* w : m_txt)
        m_foco.seguir(w, true);
    m_foco.seguir(m_identificacao, true);
    for (QWidget* w : m_chk)
        m_foco.seguir(w, true);
    for (QWidget* w : m_cmd)
        m_foco.seguir(w, true);
    m_foco.seguirOsOutros(this);
    m_foco.aoMudar = [this](QWidget* saiu, QWidget* entrou) {
        if (saiu)
            perderFoco(saiu);
        ganharFoco(entrou);
    };
    // Neither Esc nor Enter does anything of the dialog's own; a focused button takes Enter.
    Dialogo::aplicar(this, {.escFecha = false, .enterNoBotao = true});
}

void frmMapas::construir()
{
    auto* fra = nomear(new QGroupBox(QStringLiteral("Tipo de pesagens"), this), QStringLiteral("fra"));
    auto* caixaTipos = new QHBoxLayout(fra);
    m_opcoes = new QButtonGroup(this);
    const QStringList tipos = {QStringLiteral("Entradas"), QStringLiteral("Guias"), QStringLiteral("Talões"),
                               QStringLiteral("Tudo")};
    for (int i = 0; i < 4; ++i) {
        m_opt[i] = nomear(new QRadioButton(tipos[i], fra), QStringLiteral("opt%1").arg(i));
        m_opcoes->addButton(m_opt[i], i);
        caixaTipos->addWidget(m_opt[i]);
    }

    const QStringList dicas = {QStringLiteral("Dia de inicio"), QStringLiteral("Més de inicio"),
                               QStringLiteral("Ano de inicio"), QStringLiteral("Dia de fim"),
                               QStringLiteral("Més de fim"),    QStringLiteral("Ano de fim")};
    const QStringList rotulos = {QStringLiteral("Dia:"), QStringLiteral("Més:"), QStringLiteral("Ano:")};
    auto* datas = new QHBoxLayout;
    for (int f = 0; f < 2; ++f) {
        auto* moldura = nomear(new QGroupBox(f == 0 ? QStringLiteral("&Inicio") : QStringLiteral("&Fim"), this),
                               QStringLiteral("fraAux%1").arg(f));
        auto* grelha = new QGridLayout(moldura);
        for (int k = 0; k < 3; ++k) {
            const int i = f * 3 + k;
            grelha->addWidget(nomear(new QLabel(rotulos[k], moldura), QStringLiteral("lbl%1").arg(i)), 0, k);
            m_txt[i] = nomear(new QLineEdit(moldura), QStringLiteral("txt%1").arg(i), dicas[i]);
            m_txt[i]->setMaxLength(k == 2 ? 4 : 2);
            m_txt[i]->installEventFilter(this);
            grelha->addWidget(m_txt[i], 1, k);
        }
        datas->addWidget(moldura);
    }

    m_lblIdent = nomear(new QLabel(QStringLiteral("Identificação:"), this), QStringLiteral("lblIdent"));
    m_identificacao = nomear(new QComboBox(this), QStringLiteral("Identificação"), QStringLiteral("Identificação"));
    m_identificacao->setEditable(true);
    m_identificacao->setInsertPolicy(QComboBox::NoInsert);
    m_identificacao->setCompleter(nullptr);
    m_identificacao->installEventFilter(this);
    m_identificacao->lineEdit()->installEventFilter(this);

    const QStringList chks = {QStringLiteral("Só totais"), QStringLiteral("Com gráfico")};
    const QStringList dicasChk = {QStringLiteral("Mapa só com totais"),
                                  QStringLiteral("Mapa de acompanhado de gráfico")};
    for (int i = 0; i < 2; ++i) {
        m_chk[i] = nomear(new QCheckBox(chks[i], this), QStringLiteral("chk%1").arg(i), dicasChk[i]);
        m_chk[i]->installEventFilter(this);
        connect(m_chk[i], &QCheckBox::clicked, this, [this, i] {
            lerControlos();
            m_logica.chk_Click(i);
            mostrar();
        });
    }

    const QStringList cmds = {QStringLiteral("&Visualizar"), QStringLiteral("&Imprimir"), QStringLiteral("&Sair")};
    const QStringList dicasCmd = {QStringLiteral("Visualizar"), QStringLiteral("Imprimir"), QStringLiteral("Sair")};
    auto* botoes = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_cmd[i] = nomear(new QPushButton(cmds[i], this), QStringLiteral("cmd%1").arg(i), dicasCmd[i]);
        botoes->addWidget(m_cmd[i]);
        connect(m_cmd[i], &QPushButton::clicked, this, [this, i] {
            if (i == 2) {
                close();
                return;
            }
            lerControlos();
            m_logica.cmd_Click(i);
        });
    }

    m_stb = nomear(new QStatusBar(this), QStringLiteral("stb"));
    m_stb->setSizeGripEnabled(false);

    auto* identificacao = new QHBoxLayout;
    identificacao->addWidget(m_lblIdent);
    identificacao->addWidget(m_identificacao);
    identificacao->addStretch();
    auto* marcas = new QHBoxLayout;
    marcas->addWidget(m_chk[0]);
    marcas->addWidget(m_chk[1]);
    marcas->addStretch();
    auto* tudo = new QVBoxLayout(this);
    tudo->addWidget(fra);
    tudo->addLayout(datas);
    tudo->addLayout(identificacao);
    tudo->addLayout(marcas);
    tudo->addLayout(botoes);
    tudo->addWidget(m_stb);

    // Enter and the arrows follow this order.
    QList<QWidget*> ordem(m_opt.begin(), m_opt.end());
    ordem << QList<QWidget*>(m_txt.begin(), m_txt.end()) << m_identificacao << m_chk[0] << m_chk[1] << m_cmd[0]
          << m_cmd[1] << m_cmd[2];
    for (qsizetype i = 1; i < ordem.size(); ++i)
        setTabOrder(ordem[i - 1], ordem[i]);
}

void frmMapas::lerControlos()
{
    for (int i = 0; i < 6; ++i)
        m_logica.txt[i] = m_txt[i]->text();
    m_logica.opcao = m_opcoes->checkedId();
    m_logica.identificacao = m_identificacao->currentText();
    for (int i = 0; i < 2; ++i)
        m_logica.chk[i] = m_chk[i]->isChecked();
}

void frmMapas::mostrar()
{
    for (int i = 0; i < 4; ++i)
        m_opt[i]->setVisible(m_logica.optVisivel[i]);
    m_lblIdent->setVisible(m_logica.identificacaoVisivel);
    m_identificacao->setVisible(m_logica.identificacaoVisivel);
    m_identificacao->setFixedWidth(qRound(m_logica.larguraTwips * logicalDpiX() / 1440.0));
    for (int i = 0; i < 2; ++i) {
        m_chk[i]->setVisible(m_logica.chkVisivel);
        m_chk[i]->setChecked(m_logica.chk[i]);
        m_cmd[i]->setVisible(m_logica.cmdVisivel);
    }
}

void frmMapas::preencherLista()
{
    m_identificacao->clear();
    m_identificacao->addItems(m_logica.lista);
    m_identificacao->setEditText(m_logica.identificacao);
}

void frmMapas::aplicarFoco()
{
    switch (m_logica.foco) {
    case LogicaMapas::Foco::Identificacao: m_foco.darFoco(m_identificacao); break;
    case LogicaMapas::Foco::Visualizar: m_foco.darFoco(m_cmd[0]); break;
    case LogicaMapas::Foco::Sair: m_foco.darFoco(m_cmd[2]); break;
    case LogicaMapas::Foco::Nenhum: break;
    }
}

void frmMapas::seguinte(bool esperado, bool paraTras)
{
    if (esperado) {
        focusNextPrevChild(!paraTras);
        return;
    }
    // Moves once this key has been handled.
    QMetaObject::invokeMethod(
        this, [this, paraTras] { focusNextPrevChild(!paraTras); }, Qt::QueuedConnection);
}

bool frmMapas::teclaData(int i, QKeyEvent* e)
{
    switch (Teclas::codigo(e)) {
    case Tecla::PgUp: m_foco.darFoco(m_txt[0]); return true;
    case Tecla::PgDn: m_foco.darFoco(m_txt[5]); return true;
    case Tecla::Cima: seguinte(false, true); return true;
    case Tecla::Baixo: seguinte(false); return true;
    default: break;
    }
    const int caracter = Teclas::caracter(e);
    if (caracter == Tecla::Esc) {
        close();
        return true;
    }
    if (caracter != Tecla::Enter)
        return Teclas::soAcesso(e);
    lerControlos();
    if (m_logica.txt_Enter(i)) {
        if (i == 5) {
            const bool encheu = m_logica.foco != LogicaMapas::Foco::Nenhum;
            mostrar();
            if (encheu) {
                if (m_logica.identificacaoVisivel)
                    preencherLista();
                aplicarFoco();
            }
        } else {
            seguinte(true);
        }
    }
    return true;
}

bool frmMapas::teclaIdentificacao(QKeyEvent* e)
{
    const int caracter = Teclas::caracter(e);
    if (caracter == Tecla::Enter) {
        lerControlos();
        if (m_logica.Identificacao_Enter())
            seguinte(true);
        return true;
    }
    if (caracter == 0)
        return Teclas::soAcesso(e);
    if (caracter < u' ')  // Backspace, Esc and the control keys are the box's own
        return false;
    const QString texto{QChar(char16_t(caracter))};
    const QString inserir = m_logica.Identificacao_Caracter(texto);
    if (inserir == texto)
        return false;
    m_identificacao->lineEdit()->insert(inserir);
    return true;
}

void frmMapas::ganharFoco(QWidget* w)
{
    if (auto* l = qobject_cast<QLineEdit*>(w))
        QMetaObject::invokeMethod(l, &QLineEdit::selectAll, Qt::QueuedConnection);
    else if (w == m_identificacao)
        m_identificacao->lineEdit()->selectAll();
    m_stb->showMessage(w->property(Dica).toString());
}

void frmMapas::perderFoco(QWidget* w)
{
    const auto data = std::find(m_txt.cbegin(), m_txt.cend(), w);
    if (data != m_txt.cend()) {
        const int i = int(data - m_txt.cbegin());
        m_logica.txt[i] = m_txt[i]->text();
        m_logica.txt_LostFocus(i);
        if (m_txt[i]->text() != m_logica.txt[i])
            m_txt[i]->setText(m_logica.txt[i]);
    }
    m_stb->clearMessage();
}

bool frmMapas::eventFilter(QObject* objecto, QEvent* evento)
{
    QWidget* w = qobject_cast<QWidget*>(objecto);
    if (w == m_identificacao->lineEdit())
        w = m_identificacao;
    if (!w || evento->type() != QEvent::KeyPress)
        return false;
    auto* e = static_cast<QKeyEvent*>(evento);
    const auto data = std::find(m_txt.cbegin(), m_txt.cend(), w);
    if (data != m_txt.cend())
        return teclaData(int(data - m_txt.cbegin()), e);
    if (w == m_identificacao)
        return teclaIdentificacao(e);
    if (Teclas::eEnter(e)) {  // a check box: on to the next control
        seguinte(true);
        return true;
    }
    return false;
}
