#include "admin/frmRelogio.h"

#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

using Controlo = LogicaRelogio::Controlo;
using Tecla = LogicaRelogio::Tecla;

frmRelogio::frmRelogio(Estacao& estacao, QWidget* parent) : QDialog(parent), m_logica(estacao)
{
    setWindowTitle(LogicaRelogio::TituloJanela);

    auto* grelha = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        const auto n = std::size_t(i);
        m_fra[n] = new QGroupBox(this);
        m_fra[n]->setObjectName(QStringLiteral("fra%1").arg(i));
        m_txt[n] = new QLineEdit(m_fra[n]);
        m_txt[n]->setObjectName(QStringLiteral("txt%1").arg(i));
        m_txt[n]->setMaxLength(i == 0 ? LogicaRelogio::MaximoData : LogicaRelogio::MaximoHora);
        m_txt[n]->setToolTip(LogicaRelogio::dica(i == 0 ? Controlo::txt0 : Controlo::txt1));
        // A paste or a drop never passes the key rules: only the box's own characters get in.
        m_txt[n]->setValidator(new QRegularExpressionValidator(
            QRegularExpression(i == 0 ? QStringLiteral("[0-9-]*") : QStringLiteral("[0-9:]*")), m_txt[n]));
        m_txt[n]->setContextMenuPolicy(Qt::NoContextMenu);
        m_txt[n]->installEventFilter(this);
        (new QVBoxLayout(m_fra[n]))->addWidget(m_txt[n]);
        grelha->addWidget(m_fra[n], 0, i);

        m_cmd[n] = new QPushButton(i == 0 ? QStringLiteral("&Acertar") : QStringLiteral("&Cancelar"), this);
        m_cmd[n]->setObjectName(QStringLiteral("cmd%1").arg(i));
        m_cmd[n]->setToolTip(LogicaRelogio::dica(i == 0 ? Controlo::cmd0 : Controlo::cmd1));
        grelha->addWidget(m_cmd[n], 1, i);

        for (QWidget* w : {static_cast<QWidget*>(m_txt[n]), static_cast<QWidget*>(m_cmd[n])}) {
            m_realce.registar(w);
            m_vigia.vigiar(w);
        }
        connect(m_txt[n], &QLineEdit::textEdited, this, [this, i](const QString& t) {
            m_logica.txt_Change(i, t);
            mostrarEstado();
        });
        connect(m_cmd[n], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    }
    auto* corpo = new QVBoxLayout(this);
    corpo->addLayout(grelha);
    m_painel = Dialogo::criarBarraEstado(this);
    corpo->addWidget(m_painel->parentWidget());
    corpo->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_txt[0], m_txt[1]);
    setTabOrder(m_txt[1], m_cmd[0]);
    setTabOrder(m_cmd[0], m_cmd[1]);

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_logica.Timer1_Timer();
        mostrarEstado();
    });

    m_vigia.aoMover = [this](QWidget* w) {
        m_logica.mudarFoco(controloDe(w));
        mostrarEstado();
    };
    // Enter on the dialog itself presses nothing (a default button would set
    // the computer's clock); Esc closes it, as in a box.
    Dialogo::aplicar(this, {.escFecha = true, .enterNoBotao = true});

    m_logica.Form_Load();
    mostrarEstado();
    m_timer.start();
}

void frmRelogio::cmd_Click(int i)
{
    if (m_logica.cmd_Click(i))
        i == 0 ? accept() : reject();
    else
        mostrarEstado();
}

Controlo frmRelogio::controloDe(const QObject* objecto) const
{
    if (objecto == m_txt[0])
        return Controlo::txt0;
    if (objecto == m_txt[1])
        return Controlo::txt1;
    if (objecto == m_cmd[0])
        return Controlo::cmd0;
    if (objecto == m_cmd[1])
        return Controlo::cmd1;
    return Controlo::Nenhum;
}

QWidget* frmRelogio::widgetDe(Controlo c) const
{
    switch (c) {
    case Controlo::txt0: return m_txt[0];
    case Controlo::txt1: return m_txt[1];
    case Controlo::cmd0: return m_cmd[0];
    case Controlo::cmd1: return m_cmd[1];
    case Controlo::Nenhum: break;
    }
    return nullptr;
}

bool frmRelogio::eventFilter(QObject* objecto, QEvent* evento)
{
    const Controlo c = controloDe(objecto);
    if (c == Controlo::Nenhum)
        return QDialog::eventFilter(objecto, evento);

    if (evento->type() == QEvent::KeyPress && (c == Controlo::txt0 || c == Controlo::txt1)) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (Teclas::soAcesso(tecla))
            return true;
        switch (m_logica.txt_Tecla(c == Controlo::txt0 ? 0 : 1, Teclas::codigo(tecla), Teclas::caracter(tecla))) {
        case Tecla::Passa: return QDialog::eventFilter(objecto, evento);
        case Tecla::Recusada: return true;
        case Tecla::Anterior: focusNextPrevChild(false); return true;
        case Tecla::Seguinte: focusNextPrevChild(true); return true;
        case Tecla::Fechar: reject(); return true;
        }
    }
    return QDialog::eventFilter(objecto, evento);
}

void frmRelogio::mostrarEstado()
{
    for (int i = 0; i < 2; ++i) {
        const auto n = std::size_t(i);
        if (m_fra[n]->title() != m_logica.fra(i))
            m_fra[n]->setTitle(m_logica.fra(i));
        if (m_txt[n]->text() != m_logica.txt(i)) {
            const QSignalBlocker b(m_txt[n]);
            m_txt[n]->setText(m_logica.txt(i));  // the caret goes to the end
        }
    }
    QWidget* foco = widgetDe(m_logica.foco());
    RealceFoco::mostrar(m_realce, foco, m_painel, m_logica.painel(), foco);
    if (m_logica.tomarSeleccionar())
        if (auto* caixa = qobject_cast<QLineEdit*>(foco))
            caixa->selectAll();
}
