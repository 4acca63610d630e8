#include "tables/JanelaGrelha.h"

#include "platform/gui/Dialogo.h"
#include "tables/GrelhaTabela.h"
#include "tables/VistaGrelha.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

JanelaGrelha::JanelaGrelha(QWidget* pai) : QDialog(pai)
{
    setModal(true);
}

void JanelaGrelha::montar(GrelhaTabela& grelha, ServicoMensagens& mensagens, const QList<Botao>& botoes)
{
    m_grelha = &grelha;
    m_stb1 = new QLabel(this);
    m_stb2 = new QLabel(this);
    m_dbg = new VistaGrelha(grelha, mensagens, this);
    auto* stb = new QStatusBar(this);
    auto* pic = new QWidget(this);
    pic->setObjectName(QStringLiteral("pic"));
    auto* fila = new QHBoxLayout(pic);
    fila->setContentsMargins(2, 2, 2, 2);
    fila->setSpacing(2);
    for (int i = 0; i < botoes.size(); ++i) {
        auto* b = new QPushButton(style()->standardIcon(botoes[i].imagem), botoes[i].texto, pic);
        b->setObjectName(QStringLiteral("cmd") + QString::number(i));
        b->setToolTip(botoes[i].dica);
        b->setIconSize(QSize(16, 16));
        fila->addWidget(b, 1);
        connect(b, &QPushButton::clicked, this, [this, i] {
            m_dbg->commitarEditor();
            clicar(i);
        });
        m_cmd << b;
    }
    m_stb1->setObjectName(QStringLiteral("stb1"));
    m_stb2->setObjectName(QStringLiteral("stb2"));
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    stb->addWidget(m_stb1, 1);
    stb->addPermanentWidget(m_stb2);

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(0);
    coluna->addWidget(m_dbg, 1);
    coluna->addWidget(pic);
    coluna->addWidget(stb);
    setTabOrder(m_dbg, m_cmd.value(0));
    for (int i = 1; i < m_cmd.size(); ++i)
        setTabOrder(m_cmd[i - 1], m_cmd[i]);

    m_foco.seguir(m_dbg, true);
    for (QPushButton* b : std::as_const(m_cmd))
        m_foco.seguir(b, true);
    m_foco.aoMudar = [this](QWidget* saiu, QWidget* entrou) {
        if (qobject_cast<QPushButton*>(saiu))
            m_stb1->clear();
        if (qobject_cast<QPushButton*>(entrou))
            m_stb1->setText(entrou->toolTip());
    };
    // Esc outside a cell editor and Enter on a button do nothing.
    Dialogo::aplicar(this, {.escFecha = false, .enterNoBotao = false});

    connect(&grelha, &GrelhaTabela::actualMudou, this, &JanelaGrelha::actualizar);
    connect(&grelha, &QAbstractItemModel::modelReset, this, &JanelaGrelha::actualizar);
    connect(&grelha, &QAbstractItemModel::rowsInserted, this, &JanelaGrelha::actualizar);
    connect(&grelha, &QAbstractItemModel::rowsRemoved, this, &JanelaGrelha::actualizar);
}

void JanelaGrelha::actualizar()
{
    m_stb2->setText(m_grelha->textoPosicao());
    m_stb1->setText(m_grelha->headerData(m_grelha->colunaActual(), Qt::Horizontal).toString());
    // Button 2 shows the direction the next sort takes.
    QPushButton* ordem = m_cmd.value(2);
    if (ordem && ordem->text() != m_grelha->textoOrdem()) {
        ordem->setText(m_grelha->textoOrdem());
        ordem->setIcon(style()->standardIcon(m_grelha->descendente() ? QStyle::SP_ArrowDown : QStyle::SP_ArrowUp));
    }
}

void JanelaGrelha::focarGrelha()
{
    m_foco.darFoco(m_dbg);
}

void JanelaGrelha::corSemFoco(const QColor& cor)
{
    QPalette p = m_dbg->palette();
    p.setColor(QPalette::Base, cor);
    m_dbg->setPalette(p);
    m_foco.seguir(m_dbg, true);  // taken again as its colours without the focus
}

bool JanelaGrelha::podeFechar()
{
    m_dbg->commitarEditor();
    return m_grelha->resolverPendente();
}

// Esc, Sair and the close box all come here.
void JanelaGrelha::reject()
{
    if (podeFechar())
        QDialog::reject();
}
