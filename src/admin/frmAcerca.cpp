#include "admin/frmAcerca.h"

#include "platform/Mensagens.h"
#include "platform/gui/Dialogo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

frmAcerca::frmAcerca(Estacao& estacao, QWidget* parent) : QDialog(parent), m_logica(estacao)
{
    setWindowTitle(LogicaAcerca::TituloJanela);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    auto* lblTitle = new QLabel(tituloAplicacao(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont grande = lblTitle->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.5);
    grande.setBold(true);
    lblTitle->setFont(grande);
    auto* lblVersion = new QLabel(LogicaAcerca::versaoPrograma(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto* sair = new QPushButton(QStringLiteral("&Sair"), this);
    sair->setObjectName(QStringLiteral("cmd0"));
    auto* sistema = new QPushButton(QStringLiteral("Sis&tema"), this);
    sistema->setObjectName(QStringLiteral("cmd1"));
    connect(sair, &QPushButton::clicked, this, &QDialog::accept);
    connect(sistema, &QPushButton::clicked, this, [this] { m_logica.StartSysInfo(); });

    auto* grelha = new QGridLayout(this);
    grelha->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    grelha->addWidget(lblTitle, 0, 1);
    grelha->addWidget(lblVersion, 1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(sair);
    botoes->addWidget(sistema);
    grelha->addLayout(botoes, 2, 0, 1, 2);
    grelha->setSizeConstraint(QLayout::SetFixedSize);
    Dialogo::aplicar(this, {.escFecha = true, .enterNoBotao = false});
}
