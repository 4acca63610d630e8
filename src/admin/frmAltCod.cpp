#include "admin/frmAltCod.h"

#include "admin/frmCodigos.h"
#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

using Controlo = LogicaAltCod::Controlo;
using Desfecho = LogicaAltCod::Desfecho;

namespace {
const std::array<Controlo, 6> Controlos = {Controlo::txt0, Controlo::txt1, Controlo::txt2,
                                           Controlo::cmd0, Controlo::cmd1, Controlo::cmd2};
}  // namespace

frmAltCod::frmAltCod(Estacao& estacao, QWidget* parent) : QDialog(parent), m_estacao(estacao), m_logica(estacao)
{
    setWindowTitle(LogicaAltCod::TituloJanela);

    auto* grelha = new QGridLayout(this);
    grelha->addWidget(new QLabel(QStringLiteral("Operador:"), this), 0, 0);
    m_lblOperador = new QLabel(this);
    m_lblOperador->setObjectName(QStringLiteral("lblOperador"));
    grelha->addWidget(m_lblOperador, 0, 1);

    const std::array<QString, 3> rotulos = {QStringLiteral("Código actual:"), QStringLiteral("Novo código:"),
                                            QStringLiteral("Confirmar:")};
    const std::array<QString, 3> legendas = {QStringLiteral("&Cancelar"), QStringLiteral("&Tabela"),
                                             QStringLiteral("&Gravar")};
    auto* botoes = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        const auto n = std::size_t(i);
        m_lbl[n] = new QLabel(rotulos[n], this);
        m_lbl[n]->setObjectName(QStringLiteral("lbl%1").arg(i + 1));
        m_txt[n] = new QLineEdit(this);
        m_txt[n]->setObjectName(QStringLiteral("txt%1").arg(i));
        m_txt[n]->setEchoMode(QLineEdit::Password);
        m_txt[n]->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // '*'
        m_txt[n]->setMaxLength(LogicaAltCod::MaximoCodigo);
        m_txt[n]->setToolTip(LogicaAltCod::dica(Controlos[n]));
        m_txt[n]->installEventFilter(this);
        // Room kept for a hidden box, so the window keeps its size.
        auto politica = m_txt[n]->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        m_txt[n]->setSizePolicy(politica);
        m_lbl[n]->setSizePolicy(politica);
        grelha->addWidget(m_lbl[n], i + 1, 0);
        grelha->addWidget(m_txt[n], i + 1, 1);
        connect(m_txt[n], &QLineEdit::textChanged, this, [this, i](const QString& t) { m_logica.txt_Change(i, t); });

        m_cmd[n] = new QPushButton(legendas[n], this);
        m_cmd[n]->setObjectName(QStringLiteral("cmd%1").arg(i));
        m_cmd[n]->setToolTip(LogicaAltCod::dica(Controlos[n + 3]));
        m_cmd[n]->setSizePolicy(politica);
        botoes->addWidget(m_cmd[n]);
        connect(m_cmd[n], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });

        for (QWidget* w : {static_cast<QWidget*>(m_txt[n]), static_cast<QWidget*>(m_cmd[n])}) {
            m_realce.registar(w);
            m_vigia.vigiar(w);
        }
    }
    m_vigia.aoMover = [this](QWidget* w) {
        m_logica.mudarFoco(controloDe(w));
        mostrarEstado();
    };
    grelha->addLayout(botoes, 4, 0, 1, 2);
    m_painel = Dialogo::criarBarraEstado(this);
    grelha->addWidget(m_painel->parentWidget(), 5, 0, 1, 2);
    grelha->setSizeConstraint(QLayout::SetFixedSize);

    QWidget::setTabOrder(m_txt[0], m_txt[1]);
    QWidget::setTabOrder(m_txt[1], m_txt[2]);
    QWidget::setTabOrder(m_txt[2], m_cmd[0]);
    QWidget::setTabOrder(m_cmd[0], m_cmd[1]);
    QWidget::setTabOrder(m_cmd[1], m_cmd[2]);

    // Esc closes the dialog as "&Cancelar" does; a focused button takes Enter as a press.
    Dialogo::aplicar(this, {.escFecha = true, .enterNoBotao = true});

    m_logica.Form_Load();
    mostrarEstado();
}

void frmAltCod::cmd_Click(int i)
{
    switch (m_logica.cmd_Click(i)) {
    case Desfecho::Fecha:
        mostrarEstado();
        accept();
        return;
    case Desfecho::Tabela:
        mostrarEstado();
        frmCodigos::Abrir(m_estacao, this);
        break;
    case Desfecho::Fica: break;
    }
    mostrarEstado();
}

Controlo frmAltCod::controloDe(const QObject* objecto) const
{
    for (std::size_t n = 0; n < 3; ++n) {
        if (objecto == m_txt[n])
            return Controlos[n];
        if (objecto == m_cmd[n])
            return Controlos[n + 3];
    }
    return Controlo::Nenhum;
}

QWidget* frmAltCod::widgetDe(Controlo c) const
{
    for (std::size_t n = 0; n < 3; ++n) {
        if (c == Controlos[n])
            return m_txt[n];
        if (c == Controlos[n + 3])
            return m_cmd[n];
    }
    return nullptr;
}

bool frmAltCod::eventFilter(QObject* objecto, QEvent* evento)
{
    const Controlo c = controloDe(objecto);
    if (c == Controlo::Nenhum)
        return QDialog::eventFilter(objecto, evento);
    if (evento->type() == QEvent::KeyPress && Teclas::eEnter(static_cast<QKeyEvent*>(evento))) {
        const auto n = std::size_t(std::find(Controlos.begin(), Controlos.end(), c) - Controlos.begin());
        if (n >= 3)
            return false;  // a button: pressed by the dialog's rules
        m_logica.txt_Enter(int(n));
        mostrarEstado();
        return true;
    }
    return QDialog::eventFilter(objecto, evento);
}

void frmAltCod::mostrarEstado()
{
    if (m_lblOperador->text() != m_logica.operador())
        m_lblOperador->setText(m_logica.operador());
    // Shown first and hidden last: Qt moves the focus off a control that
    // hides while it has it, and that move is not the operator's.
    auto mostrar = [this](bool visivel) {
        for (int i = 0; i < 3; ++i) {
            const auto n = std::size_t(i);
            if (m_logica.txtVisivel(i) == visivel && m_txt[n]->isHidden() == visivel) {
                m_txt[n]->setVisible(visivel);
                m_lbl[n]->setVisible(visivel);
            }
            if (m_logica.cmdVisivel(i) == visivel && m_cmd[n]->isHidden() == visivel)
                m_cmd[n]->setVisible(visivel);
        }
    };
    for (int i = 0; i < 3; ++i) {
        const auto n = std::size_t(i);
        if (m_txt[n]->text() != m_logica.txt(i)) {
            const QSignalBlocker b(m_txt[n]);
            m_txt[n]->setText(m_logica.txt(i));
        }
    }
    mostrar(true);
    QWidget* foco = widgetDe(m_logica.foco());
    RealceFoco::mostrar(m_realce, foco, m_painel, m_logica.painel(), foco);
    if (m_logica.tomarSeleccionar())
        if (auto* caixa = qobject_cast<QLineEdit*>(foco))
            caixa->selectAll();
    mostrar(false);
}
