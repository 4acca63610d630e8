#include "records/janelas/JanelaEscolhaDocumento.h"

#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using Controlo = EscolhaDocumento::Controlo;

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

    stbPainel = Dialogo::criarBarraEstado(this);
    principal->addWidget(stbPainel->parentWidget());
}

QPushButton* JanelaEscolhaDocumento::botao(const QString& nome, const QString& legenda, const QString& dica, int coluna,
                                           Controlo controlo, QStyle::StandardPixmap imagem)
{
    auto* b = new QPushButton(style()->standardIcon(imagem), legenda, this);
    b->setObjectName(nome);
    b->setToolTip(dica);
    QSizePolicy p = b->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    b->setSizePolicy(p);
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
    m_realce.registar(cmb);
    for (QPushButton* b : std::as_const(m_accoes))
        m_realce.registar(b);
    m_realce.registar(cmdSair);
    for (auto i = m_controlos.cbegin(); i != m_controlos.cend(); ++i) {
        if (i.key() != cmb->lineEdit())
            m_vigia.vigiar(static_cast<QWidget*>(i.key()));
    }
    m_vigia.aoMover = [this](QWidget* w) {
        m_logica->Foco(m_controlos.value(w));
        if (!m_aSincronizar)
            sincronizar();
    };
    // Esc closes nothing here; Enter presses only the button it is on.
    Dialogo::aplicar(this, {.escFecha = false, .enterNoBotao = true});
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
    QWidget* foco = widgetDe(l.foco());
    RealceFoco::mostrar(m_realce, l.amarelo(l.foco()) ? foco : nullptr, stbPainel, l.painel(), foco);
    // The number box that takes the focus, by the operator's move or the window's, has its text selected.
    if (l.foco() != m_focoMostrado && l.foco() == Controlo::Cmb)
        cmb->lineEdit()->selectAll();
    m_focoMostrado = l.foco();
    m_aSincronizar = false;
}

bool JanelaEscolhaDocumento::eventFilter(QObject* objecto, QEvent* evento)
{
    const auto controlo = m_controlos.constFind(objecto);
    if (controlo == m_controlos.cend())
        return QDialog::eventFilter(objecto, evento);
    const Controlo c = controlo.value();

    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objecto, evento);

    auto* tecla = static_cast<QKeyEvent*>(evento);
    int KeyAscii = Teclas::caracter(tecla);
    if (KeyAscii == 0)
        return Teclas::soAcesso(tecla);
    if (c == Controlo::Cmb)
        m_logica->cmb_KeyPress(KeyAscii);
    else
        m_logica->opt_KeyPress(KeyAscii);
    aplicar();
    return KeyAscii == 0;
}
