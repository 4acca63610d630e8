#include "records/janelas/JanelaEscolhaDocumento.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>

using Controlo = EscolhaDocumento::Controlo;

namespace {

const QColor Amarelo(255, 255, 0);

// The character a key gives the window's key handlers, as the operator's
// keyboard made it: Enter 13, Esc 27, Backspace 8, Ctrl+letter its control
// code; -1 for keys that make no character (arrows, Delete, F-keys, Tab).
int codigoTecla(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return -1;
    default: break;
    }
    if (e->modifiers() & Qt::AltModifier)
        return -1;
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return e->key() - Qt::Key_A + 1;
    const QString texto = e->text();
    if (texto.isEmpty() || !texto.at(0).isPrint())
        return -1;
    return texto.at(0).unicode();
}

// Focus moves that are the operator's: not a window switch or a popup.
bool focoDoOperador(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

void pintar(QWidget* w, QPalette::ColorRole papel, bool amarelo)
{
    if ((w->palette().color(papel) == Amarelo) == amarelo)
        return;
    if (!amarelo) {
        w->setPalette(QPalette());
        return;
    }
    QPalette p = w->palette();
    p.setColor(papel, Amarelo);
    w->setPalette(p);
}

}  // namespace

JanelaEscolhaDocumento::JanelaEscolhaDocumento(std::unique_ptr<EscolhaDocumento> logica, const QString& titulo,
                                               QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                       | Qt::WindowCloseButtonHint),
      m_logica(std::move(logica))
{
    construir(titulo);
    ligar();
}

JanelaEscolhaDocumento::~JanelaEscolhaDocumento() = default;

void JanelaEscolhaDocumento::construir(const QString& titulo)
{
    setWindowTitle(titulo);
    auto* principal = new QVBoxLayout(this);
    principal->setSizeConstraint(QLayout::SetFixedSize);

    auto* fra = new QGroupBox(QStringLiteral("Tipo de pesagens"), this);
    fra->setObjectName(QStringLiteral("fra"));
    auto* linhaOpt = new QHBoxLayout(fra);
    grupoOpt = new QButtonGroup(this);
    const QString legendas[3] = {QStringLiteral("&Entrada"), QStringLiteral("&Guia"), QStringLiteral("&Talão")};
    for (int i = 0; i < 3; ++i) {
        opt[i] = new QRadioButton(legendas[i], fra);
        opt[i]->setObjectName(QStringLiteral("opt%1").arg(i));
        opt[i]->setToolTip(m_logica->dica(Controlo(int(Controlo::Opt0) + i)));
        opt[i]->setSizePolicy([&] {
            QSizePolicy p = opt[i]->sizePolicy();
            p.setRetainSizeWhenHidden(true);
            return p;
        }());
        grupoOpt->addButton(opt[i], i);
        linhaOpt->addWidget(opt[i]);
        m_controlos.insert(opt[i], Controlo(int(Controlo::Opt0) + i));
    }
    principal->addWidget(fra);

    auto* detalhes = new QGridLayout;
    auto rotulo = [this](const QString& nome, const QString& texto) {
        auto* l = new QLabel(texto, this);
        l->setObjectName(nome);
        return l;
    };
    cmb = new QComboBox(this);
    cmb->setObjectName(QStringLiteral("cmb"));
    cmb->setEditable(true);
    // The box never adds what is typed to its list, nor completes it.
    cmb->setInsertPolicy(QComboBox::NoInsert);
    cmb->setCompleter(nullptr);
    cmb->setMinimumWidth(120);
    cmb->setToolTip(m_logica->dica(Controlo::Cmb));
    m_controlos.insert(cmb, Controlo::Cmb);
    m_controlos.insert(cmb->lineEdit(), Controlo::Cmb);
    const QString dicasSV[3] = {QStringLiteral("Viatura"), QStringLiteral("Entidade"),
                                QStringLiteral("Data do peso bruto")};
    for (int i = 0; i < 3; ++i) {
        lblSV[i] = rotulo(QStringLiteral("lblSV%1").arg(i), {});
        lblSV[i]->setToolTip(dicasSV[i]);
        lblSV[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        lblSV[i]->setMinimumWidth(i == 2 ? 130 : 280);
    }
    detalhes->addWidget(rotulo(QStringLiteral("lbl0"), QStringLiteral("Número:")), 0, 0);
    detalhes->addWidget(cmb, 0, 1);
    detalhes->addWidget(rotulo(QStringLiteral("lblq1"), QStringLiteral("Data:")), 0, 2, Qt::AlignRight);
    detalhes->addWidget(lblSV[2], 0, 3);
    detalhes->addWidget(rotulo(QStringLiteral("lble2"), QStringLiteral("Viatura:")), 1, 0);
    detalhes->addWidget(lblSV[0], 1, 1, 1, 3);
    detalhes->addWidget(rotulo(QStringLiteral("lbl3"), QStringLiteral("Entidade:")), 2, 0);
    detalhes->addWidget(lblSV[1], 2, 1, 1, 3);
    principal->addLayout(detalhes);

    m_botoes = new QGridLayout;
    for (int i = 0; i < 3; ++i)
        m_botoes->setColumnStretch(i, 1);
    principal->addLayout(m_botoes);
    cmdSair = botao(QStringLiteral("cmdSair"), QStringLiteral("&Sair"), QStringLiteral("Sair"), 2, Controlo::CmdSair,
                    QStyle::SP_DialogCloseButton);

    stb = new QStatusBar(this);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    stbPainel = new QLabel(stb);
    stbPainel->setObjectName(QStringLiteral("stbPainel1"));
    stb->addWidget(stbPainel, 1);
    principal->addWidget(stb);
}

QPushButton* JanelaEscolhaDocumento::botao(const QString& nome, const QString& legenda, const QString& dica, int coluna,
                                           Controlo controlo, QStyle::StandardPixmap imagem)
{
    auto* b = new QPushButton(style()->standardIcon(imagem), legenda, this);
    b->setObjectName(nome);
    b->setToolTip(dica);
    // Enter never presses a button the focus is not on.
    b->setAutoDefault(false);
    QSizePolicy p = b->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    b->setSizePolicy(p);
    b->installEventFilter(this);
    m_botoes->addWidget(b, 0, coluna);
    m_controlos.insert(b, controlo);
    return b;
}

QPushButton* JanelaEscolhaDocumento::botaoAccao(const QString& nome, const QString& legenda, int coluna,
                                                Controlo controlo, QStyle::StandardPixmap imagem)
{
    QPushButton* b = botao(nome, legenda, m_logica->dica(controlo), coluna, controlo, imagem);
    m_accoes << b;
    return b;
}

void JanelaEscolhaDocumento::ligar()
{
    for (QRadioButton* o : opt)
        o->installEventFilter(this);
    cmb->installEventFilter(this);
    cmb->lineEdit()->installEventFilter(this);
    connect(grupoOpt, &QButtonGroup::idToggled, this, [this](int i, bool marcado) {
        if (!marcado || i == m_logica->opt())
            return;
        m_logica->opt_Click(i);
        aplicar();
    });
    connect(cmb, &QComboBox::activated, this, [this](int posicao) {
        m_logica->cmb_Escolher(posicao);
        aplicar();
    });
    // Typing, pasting, undoing: every change of the text but the window's own.
    connect(cmb, &QComboBox::editTextChanged, this, [this](const QString& texto) { m_logica->cmb_Editado(texto); });
    connect(cmdSair, &QPushButton::clicked, this, &QWidget::close);
}

void JanelaEscolhaDocumento::carregar()
{
    // The options come first as made; the buttons were made after "&Sair".
    QList<QWidget*> ordem{opt[2], cmb};
    for (QPushButton* b : m_accoes)
        ordem << b;
    ordem << cmdSair;
    for (qsizetype i = 1; i < ordem.size(); ++i)
        setTabOrder(ordem.at(i - 1), ordem.at(i));
    m_logica->Form_Load();
    sincronizar();
}

void JanelaEscolhaDocumento::aplicar()
{
    sincronizar();
}

QWidget* JanelaEscolhaDocumento::widgetDe(Controlo controlo) const
{
    switch (controlo) {
    case Controlo::Opt0:
    case Controlo::Opt1:
    case Controlo::Opt2: return opt[int(controlo) - int(Controlo::Opt0)];
    case Controlo::Cmb: return cmb;
    case Controlo::Cmd0:
    case Controlo::Cmd1: return m_accoes.value(int(controlo) - int(Controlo::Cmd0));
    case Controlo::CmdSair: return cmdSair;
    }
    return nullptr;
}

void JanelaEscolhaDocumento::sincronizar()
{
    m_aSincronizar = true;
    const EscolhaDocumento& l = *m_logica;
    {
        const QSignalBlocker b1(grupoOpt);
        const QSignalBlocker b2(cmb);
        for (int i = 0; i < 3; ++i)
            opt[i]->setVisible(l.optVisivel(i));
        if (!opt[l.opt()]->isChecked())
            opt[l.opt()]->setChecked(true);
        QStringList itens;
        for (int i = 0; i < cmb->count(); ++i)
            itens << cmb->itemText(i);
        if (itens != l.lista()) {
            cmb->clear();
            cmb->addItems(l.lista());
        }
        if (cmb->currentText() != l.texto())
            cmb->setEditText(l.texto());
        cmb->setEnabled(l.cmbActivo());
    }
    for (int i = 0; i < 3; ++i)
        lblSV[i]->setText(l.lblSV(i));
    for (QPushButton* b : m_accoes)
        b->setVisible(l.cmdVisivel());
    stbPainel->setText(l.painel());
    pintar(cmb, QPalette::Base, l.amarelo(Controlo::Cmb));
    for (auto i = m_controlos.cbegin(); i != m_controlos.cend(); ++i) {
        if (auto* b = qobject_cast<QPushButton*>(i.key()))
            pintar(b, QPalette::Button, l.amarelo(i.value()));
    }
    QWidget* foco = widgetDe(l.foco());
    if (foco && !foco->isHidden() && foco->isEnabled() && !foco->hasFocus())
        foco->setFocus(Qt::OtherFocusReason);
    m_aSincronizar = false;
}

bool JanelaEscolhaDocumento::eventFilter(QObject* objecto, QEvent* evento)
{
    const auto controlo = m_controlos.constFind(objecto);
    if (controlo == m_controlos.cend())
        return QDialog::eventFilter(objecto, evento);
    const Controlo c = controlo.value();

    if (evento->type() == QEvent::FocusIn && focoDoOperador(static_cast<QFocusEvent*>(evento))) {
        m_logica->Foco(c);
        if (c == Controlo::Cmb)
            cmb->lineEdit()->selectAll();
        if (!m_aSincronizar)
            sincronizar();
        return false;
    }
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objecto, evento);

    auto* tecla = static_cast<QKeyEvent*>(evento);
    if (auto* b = qobject_cast<QPushButton*>(objecto)) {
        // Enter presses the button that has the focus.
        if (codigoTecla(tecla) == 13) {
            b->click();
            return true;
        }
        return false;
    }
    int KeyAscii = codigoTecla(tecla);
    if (KeyAscii < 0)
        return false;
    if (c == Controlo::Cmb)
        m_logica->cmb_KeyPress(KeyAscii);
    else
        m_logica->opt_KeyPress(KeyAscii);
    aplicar();
    return KeyAscii == 0;
}

void JanelaEscolhaDocumento::keyPressEvent(QKeyEvent* evento)
{
    // Esc closes nothing here, and Enter presses no default button.
    const int codigo = codigoTecla(evento);
    if (codigo == 27 || codigo == 13) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}
