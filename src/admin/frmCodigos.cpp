#include "admin/frmCodigos.h"

#include "data/Estacao.h"
#include "platform/gui/Teclas.h"
#include "tables/VistaGrelha.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>

namespace {

const QList<JanelaGrelha::Botao>& botoes()
{
    static const QList<JanelaGrelha::Botao> b = {
        {QStringLiteral("&Novo"), QStringLiteral("Novo"), QStyle::SP_FileIcon},
        {QStringLiteral("&Apagar"), QStringLiteral("Apagar"), QStyle::SP_TrashIcon},
        {QStringLiteral("Ascendente"), QStringLiteral("Ordenar"), QStyle::SP_ArrowUp},
        {QStringLiteral("&Procurar"), QStringLiteral("Procurar"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("&Sair"), QStringLiteral("Sair"), QStyle::SP_DialogCloseButton},
    };
    return b;
}

}  // namespace

frmCodigos::frmCodigos(Estacao& estacao, QWidget* pai)
    : JanelaGrelha(pai),
      m_logica(std::make_unique<LogicaCodigos>(estacao)),
      m_lst(new QListWidget(this))
{
    setObjectName(QStringLiteral("frmCódigos"));
    setWindowTitle(LogicaCodigos::titulo());
    montar(m_logica->grelha(), estacao.mensagens, botoes());
    corSemFoco(Qt::white);
    dbg()->FormatarColunas(0);
    connect(dbg()->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        dbg()->commitarEditor();
        m_logica->dbg_HeadClick(c);
    });

    // The legend: hidden but while dropped under a level cell.
    m_lst->setObjectName(QStringLiteral("lst"));
    m_lst->setWindowFlags(Qt::Popup);
    m_lst->addItems({QStringLiteral("2 - Operador"), QStringLiteral("3 - Serviços"), QStringLiteral("4 - Superior")});
    m_lst->installEventFilter(this);
    m_lst->hide();
    connect(&dbg()->delegado(), &DelegadoGrelha::botaoCelula, this, &frmCodigos::dbg_ButtonClick);
    for (QScrollBar* b : {dbg()->verticalScrollBar(), dbg()->horizontalScrollBar()})
        connect(b, &QScrollBar::valueChanged, m_lst, &QWidget::hide);

    const int dpi = logicalDpiX();
    setFixedSize(Colunas::pixeis(7470, dpi), Colunas::pixeis(4530, dpi));
}

void frmCodigos::Abrir(Estacao& estacao, QWidget* pai)
{
    frmCodigos janela(estacao, pai);
    if (!janela.m_logica->Form_Load())
        return;
    janela.focarGrelha();
    janela.exec();
}

void frmCodigos::dbg_ButtonClick(const QModelIndex& indice)
{
    const QRect celula = dbg()->visualRect(indice);
    const QPoint canto = dbg()->viewport()->mapToGlobal(celula.bottomLeft() + QPoint(0, 1));
    m_lst->setFixedWidth(dbg()->columnWidth(indice.column()));
    m_lst->setFixedHeight(m_lst->sizeHintForRow(0) * m_lst->count() + 2 * m_lst->frameWidth());
    m_lst->move(canto);
    m_lst->show();
    m_lst->raise();
    m_lst->setFocus();
}

void frmCodigos::clicar(int Index)
{
    if (m_logica->cmd_Click(Index)) {
        reject();
        return;
    }
    focarGrelha();
}

bool frmCodigos::eventFilter(QObject* objecto, QEvent* evento)
{
    if (objecto == m_lst) {
        if (evento->type() == QEvent::KeyPress) {
            if (Teclas::eEnter(static_cast<QKeyEvent*>(evento)))
                return true;
        } else if (evento->type() == QEvent::FocusOut) {
            m_lst->hide();
        }
        return false;
    }
    return JanelaGrelha::eventFilter(objecto, evento);
}
