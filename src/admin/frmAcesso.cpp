#include "admin/frmAcesso.h"

#include "admin/JanelaPrincipal.h"
#include "data/Estacao.h"
#include "platform/Sistema.h"
#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

using Controlo = LogicaAcesso::Controlo;

frmAcesso::frmAcesso(Estacao& estacao, QWidget* parent) : QDialog(parent), m_estacao(estacao), m_logica(estacao)
{
    setWindowTitle(LogicaAcesso::TituloJanela);

    m_cmb = new QComboBox(this);
    m_cmb->setObjectName(QStringLiteral("cmb"));
    m_cmb->setEditable(true);
    m_cmb->setInsertPolicy(QComboBox::NoInsert);
    m_cmb->setCompleter(nullptr);  // a typed name stays as typed
    m_cmb->setToolTip(LogicaAcesso::dica(Controlo::cmb));
    m_cmb->setMinimumContentsLength(12);

    m_txt = new QLineEdit(this);
    m_txt->setObjectName(QStringLiteral("txt"));
    m_txt->setEchoMode(QLineEdit::Password);
    m_txt->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // '*'
    m_txt->setMaxLength(LogicaAcesso::MaximoCodigo);
    m_txt->setToolTip(LogicaAcesso::dica(Controlo::txt));

    m_cmd = new QPushButton(QStringLiteral("Verificar acesso"), this);
    m_cmd->setObjectName(QStringLiteral("cmd"));
    m_cmd->setToolTip(LogicaAcesso::dica(Controlo::cmd));
    m_cmd->hide();

    auto* rotuloOperador = new QLabel(QStringLiteral("&Operador:"), this);
    rotuloOperador->setBuddy(m_cmb);
    auto* rotuloCodigo = new QLabel(QStringLiteral("&Codigo de acesso:"), this);
    rotuloCodigo->setBuddy(m_txt);

    m_painel = Dialogo::criarBarraEstado(this);

    auto* grelha = new QGridLayout(this);
    grelha->addWidget(rotuloOperador, 0, 0);
    grelha->addWidget(m_cmb, 0, 1);
    grelha->addWidget(rotuloCodigo, 1, 0);
    grelha->addWidget(m_txt, 1, 1);
    grelha->addWidget(m_cmd, 2, 1, Qt::AlignRight);
    grelha->addWidget(m_painel->parentWidget(), 3, 0, 1, 2);
    grelha->setSizeConstraint(QLayout::SetFixedSize);
    // Room for the button, so the window keeps its size when it appears.
    grelha->setRowMinimumHeight(2, m_cmd->sizeHint().height());

    setTabOrder(m_cmb, m_txt);
    setTabOrder(m_txt, m_cmd);

    for (QWidget* w : {static_cast<QWidget*>(m_cmb), static_cast<QWidget*>(m_txt), static_cast<QWidget*>(m_cmd)})
        m_realce.registar(w);
    // The window has no cancel button: Esc does nothing.
    Dialogo::aplicar(this, {.escFecha = false, .enterNoBotao = true});

    for (QObject* o :
         {static_cast<QObject*>(m_cmb), static_cast<QObject*>(m_cmb->lineEdit()), static_cast<QObject*>(m_txt)})
        o->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(m_cmb), static_cast<QWidget*>(m_txt), static_cast<QWidget*>(m_cmd)})
        m_vigia.vigiar(w);
    m_vigia.aoMover = [this](QWidget* w) {
        m_logica.mudarFoco(controloDe(w));
        mostrarEstado();
    };

    connect(m_cmb, &QComboBox::activated, this, [this](int i) {
        m_logica.cmb_Click(m_cmb->itemText(i));
        mostrarEstado();
    });
    connect(m_cmb, &QComboBox::editTextChanged, this, [this](const QString& t) { m_logica.cmb_Change(t); });
    connect(m_txt, &QLineEdit::textChanged, this, [this](const QString& t) { m_logica.txt_Change(t); });
    connect(m_cmd, &QPushButton::clicked, this, [this] { cmd_Click(); });
}

void frmAcesso::MostrarAcesso(bool modal)
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (!m_logica.Form_Load())
        return;  // no operators: the program is ending
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    mostrarEstado();
    show();
    activateWindow();
}

void frmAcesso::cmd_Click()
{
    const LogicaAcesso::Desfecho desfecho = m_logica.cmd_Click();
    if (desfecho == LogicaAcesso::Desfecho::Fica) {
        mostrarEstado();
        return;
    }
    hide();  // not close(): the close box is the operator's way out
    // Handed over from the event loop, so the main window's activation, which
    // may ask for a login again, never runs inside this handler.
    const bool modal = desfecho == LogicaAcesso::Desfecho::PrincipalModal;
    QTimer::singleShot(0, this, [this, modal] {
        if (!m_principal) {
            qWarning("Zumarel: acesso aceite sem janela principal");
            return;
        }
        m_principal->Mostrar(modal);
        m_principal->Form_Activate();
    });
}

Controlo frmAcesso::controloDe(QObject* objecto) const
{
    if (objecto == m_cmb || objecto == m_cmb->lineEdit())
        return Controlo::cmb;
    if (objecto == m_txt)
        return Controlo::txt;
    if (objecto == m_cmd)
        return Controlo::cmd;
    return Controlo::Nenhum;
}

QWidget* frmAcesso::widgetDe(Controlo c) const
{
    switch (c) {
    case Controlo::cmb: return m_cmb;
    case Controlo::txt: return m_txt;
    case Controlo::cmd: return m_cmd;
    case Controlo::Nenhum: break;
    }
    return nullptr;
}

bool frmAcesso::eventFilter(QObject* objecto, QEvent* evento)
{
    const Controlo c = controloDe(objecto);
    if (c == Controlo::Nenhum)
        return QDialog::eventFilter(objecto, evento);

    if (evento->type() == QEvent::KeyPress && Teclas::eEnter(static_cast<QKeyEvent*>(evento))) {
        // Enter moves the operator on and is never typed, nor taken by the
        // combo box (which would add the name to its list).
        if (c == Controlo::cmb)
            m_logica.cmb_Enter();
        else
            m_logica.txt_Enter();
        mostrarEstado();
        return true;
    }
    return QDialog::eventFilter(objecto, evento);
}

void frmAcesso::closeEvent(QCloseEvent* evento)
{
    // The close box while the main window is hidden: nobody can log in any
    // more, and a station without a window must not keep running (and holding
    // the ports), so the program ends.
    if (!m_principal || !m_principal->Visivel())
        m_estacao.sistema.TerminarPrograma(0);
    QDialog::closeEvent(evento);
}

void frmAcesso::mostrarEstado()
{
    {
        const QSignalBlocker b1(m_cmb);
        const QSignalBlocker b2(m_txt);
        QStringList itens;
        for (int i = 0; i < m_cmb->count(); ++i)
            itens << m_cmb->itemText(i);
        if (itens != m_logica.operadores()) {
            m_cmb->clear();
            m_cmb->addItems(m_logica.operadores());
        }
        if (m_cmb->currentText() != m_logica.operador())
            m_cmb->setEditText(m_logica.operador());
        if (m_txt->text() != m_logica.codigo())
            m_txt->setText(m_logica.codigo());
    }
    if (m_cmd->isHidden() == m_logica.botaoVisivel())
        m_cmd->setVisible(m_logica.botaoVisivel());

    RealceFoco::mostrar(m_realce, widgetDe(m_logica.realce()), m_painel, m_logica.painel(), widgetDe(m_logica.foco()));
    if (m_logica.tomarSeleccionarCodigo())
        m_txt->selectAll();
}
