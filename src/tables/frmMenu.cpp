#include "tables/frmMenu.h"

#include "platform/gui/Dialogo.h"
#include "platform/gui/Teclas.h"
#include "tables/ListaEscolha.h"
#include "tables/ModeloListaEscolha.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>

frmMenu::frmMenu(Estacao& estacao, DestinoEscolha& destino, QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                       | Qt::WindowCloseButtonHint),
      m_logica(std::make_unique<ListaEscolha>(estacao, destino))
{
    setModal(true);
    m_logica->Form_Load();
    construir();
    construirColunas();
    ligar();
    sincronizar();
    // The buttons turn yellow with the focus; the list and the options do not.
    for (QPushButton* b : cmd)
        m_foco.seguir(b, true);
    m_foco.seguirOsOutros(this);
    // Esc anywhere cancels (reject()); Enter on a button presses nothing.
    Dialogo::aplicar(this, {.escFecha = true, .enterNoBotao = false});
    // The list is first in the tab order; with no rows, Cancelar takes the focus.
    m_foco.darFoco(m_logica->listaVisivel() ? static_cast<QWidget*>(lst) : cmd[0]);
}

frmMenu::~frmMenu() = default;

int frmMenu::twips(int valor) const
{
    return qRound(valor * logicalDpiX() / 1440.0);
}

void frmMenu::construir()
{
    setFixedSize(twips(7470), twips(4530));

    // Lies under the list: seen only when the list is hidden.
    auto* lblVazia = new QLabel(QStringLiteral("Tabela vazia"), this);
    lblVazia->setObjectName(QStringLiteral("lblVazia"));
    lblVazia->setGeometry(twips(120), twips(1680), twips(7215), twips(555));
    lblVazia->setAlignment(Qt::AlignCenter);
    QFont letra = lblVazia->font();
    letra.setPointSize(24);
    lblVazia->setFont(letra);
    QPalette cinzento = lblVazia->palette();
    cinzento.setColor(QPalette::WindowText, cinzento.color(QPalette::Disabled, QPalette::WindowText));
    lblVazia->setPalette(cinzento);

    m_modelo = new ModeloListaEscolha(*m_logica, this);
    lst = new QTreeView(this);
    lst->setObjectName(QStringLiteral("lst"));
    lst->setGeometry(0, twips(60), twips(7455), twips(3435));
    lst->setModel(m_modelo);
    lst->setRootIsDecorated(false);
    lst->setItemsExpandable(false);
    lst->setUniformRowHeights(true);  // keeps a list of many rows fast
    lst->setAllColumnsShowFocus(true);
    lst->setSelectionBehavior(QAbstractItemView::SelectRows);
    lst->setSelectionMode(QAbstractItemView::SingleSelection);
    lst->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lst->setSortingEnabled(false);  // the list's own single direction, not the header's per column
    lst->header()->setSectionsClickable(true);
    lst->header()->setSectionsMovable(false);
    lst->header()->setStretchLastSection(false);
    lst->installEventFilter(this);

    stb = new QStatusBar(this);
    stb->setObjectName(QStringLiteral("stb"));
    stb->setSizeGripEnabled(false);
    stb->setGeometry(0, twips(3495), twips(7470), twips(375));
    for (int i = 0; i < 2; ++i) {
        stbPainel[i] = new QLabel(stb);
        stbPainel[i]->setObjectName(QStringLiteral("stbPainel%1").arg(i + 1));
        stb->addWidget(stbPainel[i], i == 0 ? 1 : 3);
    }

    pic[0] = new QWidget(this);
    pic[0]->setObjectName(QStringLiteral("pic0"));
    pic[0]->setGeometry(0, twips(3885), twips(7470), twips(645));
    pic[1] = new QWidget(pic[0]);
    pic[1]->setObjectName(QStringLiteral("pic1"));
    pic[1]->setGeometry(twips(60), twips(60), twips(5295), twips(555));

    cmd[2] = new QPushButton(QStringLiteral("&Procurar"), pic[1]);
    cmd[2]->setGeometry(twips(60), twips(60), twips(915), twips(375));
    cmd[0] = new QPushButton(QStringLiteral("C&ancelar"), pic[0]);
    cmd[0]->setGeometry(twips(5400), twips(60), twips(975), twips(555));
    cmd[1] = new QPushButton(QStringLiteral("&Copiar"), pic[0]);
    cmd[1]->setGeometry(twips(6420), twips(60), twips(975), twips(555));
    for (int i = 0; i < 3; ++i) {
        cmd[i]->setObjectName(QStringLiteral("cmd%1").arg(i));
        cmd[i]->setFocusPolicy(Qt::ClickFocus);
        cmd[i]->installEventFilter(this);
    }

    // "Qualquer" runs to the group's edge: this platform's letters are wider.
    const int esquerdaOpt[3] = {1080, 2400, 4140};
    const int larguraOpt[3] = {1275, 1755, 5295 - 4140};
    grupoOpt = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        opt[i] = new QRadioButton(pic[1]);
        opt[i]->setObjectName(QStringLiteral("opt%1").arg(i));
        opt[i]->setGeometry(twips(esquerdaOpt[i]), twips(120), twips(larguraOpt[i]), twips(255));
        grupoOpt->addButton(opt[i], i);
    }
}

void frmMenu::construirColunas()
{
    const QList<ColunaLista>& colunas = m_logica->colunas();
    for (int i = 0; i < colunas.size(); ++i)
        lst->header()->resizeSection(i, twips(colunas.at(i).larguraTwips));
}

void frmMenu::ligar()
{
    connect(lst->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_aSincronizar)
            return;
        // A row cannot be unselected (Ctrl+click): the list keeps showing
        // the row that Copiar would take.
        const QModelIndexList linhas = lst->selectionModel()->selectedRows();
        if (!linhas.isEmpty())
            m_logica->lst_ItemClick(linhas.first().row());
        aplicar();
    });
    connect(lst->header(), &QHeaderView::sectionClicked, this, [this](int coluna) {
        // Only the order changes: the operator stays where he scrolled to, with the widths he had.
        m_logica->lst_ColumnClick(coluna);
        m_aSincronizar = true;
        m_modelo->reordenada();
        m_aSincronizar = false;
        aplicar();
    });
    connect(lst, &QAbstractItemView::doubleClicked, this, [this] {
        m_logica->lst_DblClick(linhaActual());
        aplicar();
    });
    for (int i = 0; i < 3; ++i) {
        connect(cmd[i], &QPushButton::clicked, this, [this, i] {
            m_logica->cmd_Click(i);
            if (i == 2)
                m_foco.darFoco(lst);  // the search hands the focus back to the list
            aplicar();
        });
    }
    connect(grupoOpt, &QButtonGroup::idClicked, this, [this](int i) { m_logica->opt_Click(i); });
}

int frmMenu::linhaActual() const
{
    const QModelIndex actual = lst->currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

bool frmMenu::eventFilter(QObject* objecto, QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objecto, evento);
    const int caracter = Teclas::caracter(static_cast<QKeyEvent*>(evento));
    if (objecto == lst && (caracter == ListaEscolha::Enter || caracter == ListaEscolha::Esc)) {
        m_logica->lst_KeyPress(caracter, linhaActual());
        aplicar();
        return true;  // never on to the dialog
    }
    if (objecto != lst && caracter == ListaEscolha::Esc) {  // on a button
        m_logica->cmd_KeyPress(caracter);
        aplicar();
        return true;
    }
    return QDialog::eventFilter(objecto, evento);
}

void frmMenu::reject()
{
    m_logica->Cancelar();
    aplicar();
}

void frmMenu::aplicar()
{
    if (m_concluida)
        return;
    if (m_logica->fim() != ListaEscolha::Fim::Aberta)
        m_concluida = true;
    switch (m_logica->fim()) {
    case ListaEscolha::Fim::Aberta: sincronizar(); break;
    case ListaEscolha::Fim::Escolhida: done(QDialog::Accepted); break;
    case ListaEscolha::Fim::Cancelada: done(QDialog::Rejected); break;
    }
}

void frmMenu::sincronizar()
{
    m_aSincronizar = true;
    const ListaEscolha& l = *m_logica;
    setWindowTitle(l.caption());
    lst->setVisible(l.listaVisivel());
    pic[1]->setVisible(l.procuraVisivel());
    cmd[1]->setVisible(l.copiarVisivel());
    stb->setVisible(l.stbVisivel());
    cmd[0]->setFocusPolicy(l.cancelarTabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    for (int i = 0; i < 2; ++i)
        stbPainel[i]->setText(l.painel(i));
    for (int i = 0; i < 3; ++i)
        opt[i]->setText(l.legendaOpt(i));
    opt[l.optSeleccionada()]->setChecked(true);

    const int posicao = l.posicaoSeleccionada();
    if (posicao >= 0) {
        // Brings the selected row into view, without scrolling sideways.
        const int horizontal = lst->horizontalScrollBar()->value();
        const QModelIndex indice = m_modelo->index(posicao, 0);
        if (lst->currentIndex().row() != posicao || !lst->selectionModel()->isRowSelected(posicao, {}))
            lst->selectionModel()->setCurrentIndex(indice,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        lst->scrollTo(indice);
        lst->horizontalScrollBar()->setValue(horizontal);
    } else if (lst->selectionModel()->hasSelection()) {
        lst->selectionModel()->clearSelection();
    }
    m_aSincronizar = false;
}
