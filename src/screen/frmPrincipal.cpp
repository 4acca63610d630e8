#include "screen/frmPrincipal.h"

#include "data/Estacao.h"
#include "devices/LigacaoBasculas.h"
#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"
#include "platform/gui/Teclas.h"
#include "records/GrelhaPesagens.h"
#include "screen/CampoEntrada.h"
#include "screen/JanelasPrincipal.h"
#include "screen/MontagemPrincipal.h"
#include "tables/ListaRapidaViaturas.h"
#include "tables/TitulosMenu.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

using namespace CamposEntrada;

namespace {
QColor corDe(quint32 cor, const QPalette& estilo)
{
    switch (cor) {
    case Cor::Amarelo: return RealceFoco::Amarelo;
    case Cor::FaceBotao: return estilo.color(QPalette::Button);
    default: return estilo.color(QPalette::Base);
    }
}

template <typename W, typename V, typename Setter> void escrever(W* w, const V& actual, const V& desejado, Setter s)
{
    if (actual != desejado)
        (w->*s)(desejado);
}
}  // namespace

frmPrincipal::frmPrincipal(Estacao& estacao, LigacoesDispositivos* io, QWidget* pai)
    : QMainWindow(pai),
      m_logica(estacao)
{
    construir();
    if (io)
        m_montagem = std::make_unique<MontagemPrincipal>(estacao, m_logica, *io);
    m_janelas = std::make_unique<JanelasPrincipal>(estacao, m_logica, this);
    m_logica.ligarJanelas(m_janelas.get());

    for (CampoEntrada* c : m_txt) {
        const int i = c->indice();
        c->aoTeclar = [this, i](QKeyEvent* e) { return teclaCampo(i, e); };
        c->aoColar = [this, i](const QString& t) {
            informarSeleccao(i);
            m_logica.campos().Colar(i, t);
            sincronizar();
        };
        c->aoDuploClique = [this, i] {
            m_logica.campos().txt_DblClick(i);
            sincronizar();
        };
        connect(c, &QLineEdit::textEdited, this, [this, c](const QString& texto) {
            m_logica.campos().TextoEditado(c->indice(), texto, c->cursorPosition());
            sincronizar();
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdB[std::size_t(i)], &QPushButton::clicked, this, [this, i] {
            // The access key clicks without the focus: the button takes it first, as under the mouse.
            m_logica.DarFoco(Controlo::cmdB(i));
            m_logica.disposicao().cmdB_Click(i);
            sincronizar();
        });
        connect(cmpPM[std::size_t(i)], &QPushButton::clicked, this, [this, i] {
            m_logica.comandos().cmpPM_Click(i);
            sincronizar();
        });
        cmdB[std::size_t(i)]->installEventFilter(this);
    }
    for (QRadioButton* o : opt)
        o->installEventFilter(this);
    connect(chkVtN, &QCheckBox::clicked, this, [this](bool marcado) {
        m_logica.comandos().chkVtN_Click(marcado);
        sincronizar();
    });
    connect(lst, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // Choosing empties the list, which deletes the item: take its text, act after.
        const QString matricula = item->text();
        QTimer::singleShot(0, this, [this, matricula] {
            m_logica.campos().lst_Click(matricula);
            sincronizar();
        });
    });
    centralWidget()->installEventFilter(this);
    connect(&m_logica, &EcraPesagem::alterado, this, &frmPrincipal::agendarSincronizacao);
    connect(&m_logica, &EcraPesagem::antesDeCaixa, this, &frmPrincipal::sincronizar);
    ligarDispositivos();
    vigiarFoco();
    sincronizar();
}

frmPrincipal::~frmPrincipal()
{
    m_logica.ligarJanelas(nullptr);
}

void frmPrincipal::definirPedidoAcesso(PedidoAcesso* pedido)
{
    m_janelas->definirPedidoAcesso(pedido);
}

// The bridge panels' own controls and the grid go to the device link and the records.
void frmPrincipal::ligarDispositivos()
{
    if (!m_montagem)
        return;
    LigacaoBasculas& l = m_montagem->basculas();
    auto depois = [this](auto f) {
        return [this, f](bool marcado) {
            f(marcado);
            sincronizar();
        };
    };
    for (int i = 0; i < 2; ++i) {
        const WidgetsBascula& w = m_widgetsDispositivos.bascula[std::size_t(i)];
        connect(w.cmdZ, &QAbstractButton::clicked, this, depois([&l, i](bool) { l.cmdZ_Click(i); }));
        connect(w.chkP, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkP_Click(i, m); }));
        connect(w.chkPE, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkPE_Click(i, m); }));
        connect(w.chkPV, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkPV_Click(i, m); }));
        connect(w.chkS, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkS_Click(i, m); }));
        connect(w.chkSE, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkSE_Click(i, m); }));
        connect(w.chkSV, &QCheckBox::clicked, this, depois([&l, i](bool m) { l.chkSV_Click(i, m); }));
        for (int item : {0, 2}) {
            QAction* a = item == 0 ? w.mnuSmf0 : w.mnuSmf2;
            if (i == 0)
                connect(a, &QAction::triggered, this, depois([&l, item](bool) { l.mnuSmfB1_Click(item); }));
            else
                connect(a, &QAction::triggered, this, depois([&l, item](bool) { l.mnuSmfB2_Click(item); }));
        }
    }

    GrelhaPesagens& g = m_montagem->grelha();
    dbg->setModel(&g.modelo());
    connect(dbg->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, &g](int coluna) {
        g.dbg_HeadClick(coluna);
        sincronizar();
    });
    connect(dbg, &QTableView::doubleClicked, this, [this, &g](const QModelIndex& i) {
        g.dbg_DblClick(i.isValid() ? i.row() : -1);
        sincronizar();
    });
    for (int i = 0; i < 6; ++i)
        connect(optTP[std::size_t(i)], &QRadioButton::clicked, this, [this, &g, i] {
            g.optTP_Click(i);
            sincronizar();
        });
}

// Every control that can take the focus reports the operator's moves to the screen.
void frmPrincipal::vigiarFoco()
{
    for (QWidget* w : centralWidget()->findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

void frmPrincipal::Form_Load()
{
    m_logica.comandos().Form_Load();
    sincronizar();
}

void frmPrincipal::Mostrar(bool modal)
{
    if (!isVisible())
        setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    m_logica.definirJanelaVisivel(true);
    sincronizar();
    activateWindow();
}

void frmPrincipal::Form_Activate()
{
    m_logica.comandos().Form_Activate();
    sincronizar();
}

bool frmPrincipal::Visivel() const
{
    return isVisible();
}

// ----- Events

Controlo frmPrincipal::controloDe(QObject* objecto) const
{
    for (int i = 0; i < Numero; ++i)
        if (objecto == m_txt[std::size_t(i)])
            return Controlo::txt(i);
    for (int i = 0; i < 2; ++i) {
        if (objecto == cmdB[std::size_t(i)])
            return Controlo::cmdB(i);
        if (objecto == cmpPM[std::size_t(i)])
            return Controlo::cmpPM(i);
    }
    for (int i = 0; i < 3; ++i)
        if (objecto == opt[std::size_t(i)])
            return Controlo::opt(i);
    if (objecto == chkVtN)
        return Controlo::chkVtN();
    return Controlo::outro();
}

QWidget* frmPrincipal::widgetDe(Controlo c) const
{
    switch (c.tipo) {
    case Controlo::Txt: return m_txt.at(std::size_t(c.indice));
    case Controlo::CmdB: return cmdB.at(std::size_t(c.indice));
    case Controlo::Opt: return opt.at(std::size_t(c.indice));
    case Controlo::CmpPM: return cmpPM.at(std::size_t(c.indice));
    case Controlo::ChkVtN: return chkVtN;
    default: return nullptr;
    }
}

bool frmPrincipal::eventFilter(QObject* objecto, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn && !m_aSincronizar) {
        // Only the operator's moves: a window or menu coming back gives the
        // focus back without the screen's focus routines running again. The
        // window's first focus, when it is first shown, is a real one.
        const bool primeiro = m_logica.foco().tipo == Controlo::Nenhum;
        if (primeiro || movidoPeloOperador(static_cast<QFocusEvent*>(evento)->reason())) {
            m_logica.DarFoco(controloDe(objecto));
            sincronizar();
        }
    } else if (evento->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(evento);
        const Controlo c = controloDe(objecto);
        if (c.tipo == Controlo::CmdB) {
            if (const int codigo = Teclas::codigo(k)) {
                m_logica.disposicao().cmdB_KeyDown(c.indice, codigo, Teclas::estadoShift(k));
                sincronizar();
            }
        } else if (c.tipo == Controlo::Opt) {
            return teclaOpcao(c.indice, k);
        }
    } else if (evento->type() == QEvent::ContextMenu && objecto == centralWidget()) {
        // A right click on the window's own background pops "&Opções" up.
        auto* m = static_cast<QContextMenuEvent*>(evento);
        if (!centralWidget()->childAt(m->pos()) && m_logica.comandos().MostraOpcoesAoClicar())
            mnuOpcoes->popup(m->globalPos());
        return true;
    }
    return QMainWindow::eventFilter(objecto, evento);
}

// The caret or selection of a field, as the screen counts it: after
// selectAll() Qt's cursor sits at the end while the selection starts at 0.
void frmPrincipal::informarSeleccao(int indice)
{
    const CampoEntrada* c = m_txt[std::size_t(indice)];
    m_logica.campos().definirSeleccao(indice, c->hasSelectedText() ? c->selectionStart() : c->cursorPosition(),
                                      int(c->selectedText().size()));
}

bool frmPrincipal::teclaCampo(int indice, QKeyEvent* e)
{
    informarSeleccao(indice);
    if (e->matches(QKeySequence::Paste)) {
        m_logica.campos().Colar(indice, QGuiApplication::clipboard()->text());
        sincronizar();
        return true;
    }
    if (const int codigo = Teclas::codigo(e)) {
        m_logica.campos().txt_KeyDown(indice, codigo, Teclas::estadoShift(e));
        if (m_logica.foco() != Controlo::txt(indice)) {
            sincronizar();
            return true;  // the key stays with the field it was typed in
        }
    }
    // Ctrl with a letter (undo, cut, select all) is the field's own editing
    // key; a paste went through the screen's rules above.
    const int caracter = Teclas::controlo(e) ? 0 : Teclas::caracter(e);
    if (caracter != 0 && e->text().size() > 1) {  // several characters at once go in as a paste
        m_logica.campos().Colar(indice, e->text());
        sincronizar();
        return true;
    }
    // An Alt key that no menu took types nothing: the field would take its
    // character past the screen's rules.
    if (Teclas::soAcesso(e))
        return true;
    if (caracter == 0) {
        sincronizar();
        return false;  // caret keys, Delete, shortcuts: the field's own
    }
    m_logica.campos().Teclar(indice, caracter);
    sincronizar();
    return true;
}

bool frmPrincipal::teclaOpcao(int indice, QKeyEvent* e)
{
    int caracter = Teclas::caracter(e);
    if (caracter == 0)
        return false;
    m_logica.disposicao().opt_KeyPress(indice, caracter);
    sincronizar();
    return true;
}

void frmPrincipal::closeEvent(QCloseEvent* evento)
{
    if (m_logica.comandos().Form_Unload())
        evento->ignore();
    else
        evento->accept();
}

void frmPrincipal::resizeEvent(QResizeEvent* evento)
{
    QMainWindow::resizeEvent(evento);
    colocarListaRapida();
}

// ----- Mirroring the screen

void frmPrincipal::agendarSincronizacao()
{
    if (m_sincronizacaoAgendada)
        return;
    m_sincronizacaoAgendada = true;
    QTimer::singleShot(0, this, [this] { sincronizar(); });
}

void frmPrincipal::sincronizar()
{
    if (m_aSincronizar)
        return;
    m_aSincronizar = true;
    m_sincronizacaoAgendada = false;
    const EstadoEcra& e = m_logica.estado();

    if (e.janelaVisivel != isVisible()) {
        if (e.janelaVisivel)
            show();
        else
            hide();
    }
    sincronizarCampos();
    sincronizarPaineis();
    sincronizarMenus();
    if (m_montagem)
        AplicarVista(m_montagem->basculas().vista(), m_widgetsDispositivos);

    // Qt's focus follows the screen's.
    if (QWidget* w = widgetDe(e.foco); w && !w->hasFocus() && w->isEnabled() && w->isVisibleTo(this))
        w->setFocus(Qt::OtherFocusReason);
    m_aSincronizar = false;
}

void frmPrincipal::sincronizarCampos()
{
    const EstadoEcra& e = m_logica.estado();
    const bool soLeitura = m_logica.estacao().Acesso.NivelAcesso < 2;
    for (int i = 0; i < Numero; ++i) {
        CampoEntrada* w = m_txt[std::size_t(i)];
        const CampoTexto& c = e.txt[std::size_t(i)];
        if (w->text() != c.texto) {
            const QSignalBlocker b(w);
            w->setText(c.texto);
            w->setCursorPosition(0);  // a long name shows its beginning
        }
        if (const auto sel = m_logica.campos().tomarPedidoSeleccao(i)) {
            if (sel->second > 0)
                w->setSelection(sel->first, sel->second);
            else
                w->setCursorPosition(sel->first);
        }
        escrever(w, w->isEnabled(), c.activo, &QWidget::setEnabled);
        escrever(w, w->isReadOnly(), soLeitura, &QLineEdit::setReadOnly);
        const QColor fundo = corDe(c.cor, QApplication::palette());
        if (w->palette().color(QPalette::Base) != fundo) {
            QPalette p = w->palette();
            for (auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                p.setColor(grupo, QPalette::Base, fundo);
            w->setPalette(p);
        }
    }
}

void frmPrincipal::sincronizarPaineis()
{
    const EstadoEcra& e = m_logica.estado();
    escrever(lblB1, lblB1->text(), e.lblB1, &QLabel::setText);
    escrever(lblB2, lblB2->text(), e.lblB2, &QLabel::setText);
    escrever(lblLiq, lblLiq->text(), e.lblLiq, &QLabel::setText);
    escrever(fraP, fraP->title(), e.fraP, &QGroupBox::setTitle);
    escrever(picQ, !picQ->isHidden(), e.picQVisivel, &QWidget::setVisible);
    escrever(picP, !picP->isHidden(), e.picPVisivel, &QWidget::setVisible);
    escrever(picPSegunda, !picPSegunda->isHidden(), e.picPCompleto, &QWidget::setVisible);

    // An exclusive group keeps a checked button: it lets go only while not exclusive.
    if (grupoOpt->checkedId() != e.opt) {
        const QSignalBlocker b(grupoOpt);
        if (e.opt < 0) {
            grupoOpt->setExclusive(false);
            for (QRadioButton* o : opt)
                o->setChecked(false);
            grupoOpt->setExclusive(true);
        } else {
            opt[std::size_t(e.opt)]->setChecked(true);
        }
    }
    for (int i = 0; i < 3; ++i) {
        QRadioButton* o = opt[std::size_t(i)];
        const QColor fundo = corDe(e.corOpt[std::size_t(i)], QApplication::palette());
        if (o->palette().color(QPalette::Window) != fundo) {
            QPalette p = o->palette();
            p.setColor(QPalette::Window, fundo);
            o->setPalette(p);
        }
    }
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = cmdB[std::size_t(i)];
        const BotaoBascula& estado = e.cmdB[std::size_t(i)];
        escrever(b, b->text(), estado.legenda, &QAbstractButton::setText);
        escrever(b, b->isEnabled(), estado.activo, &QWidget::setEnabled);
        const QColor fundo = corDe(estado.cor, QApplication::palette());
        if (b->palette().color(QPalette::Button) != fundo) {
            QPalette p = b->palette();
            p.setColor(QPalette::Button, fundo);
            b->setPalette(p);
        }
    }
    for (int i = 0; i < 3; ++i)
        escrever(stb[std::size_t(i)], stb[std::size_t(i)]->text(), e.stb[std::size_t(i)], &QLabel::setText);
    escrever(lblPM, lblPM->text(), e.lblPM, &QLabel::setText);
    escrever(lblPM, !lblPM->isHidden(), e.lblPMVisivel, &QWidget::setVisible);
    escrever(chkVtN, chkVtN->isChecked(), e.chkVtN, &QAbstractButton::setChecked);
    if (m_montagem) {
        const int filtro = m_montagem->grelha().optTP();
        if (filtro >= 0 && filtro < 6 && !optTP[std::size_t(filtro)]->isChecked())
            optTP[std::size_t(filtro)]->setChecked(true);
    }

    QStringList linhas;
    for (int i = 0; i < lst->count(); ++i)
        linhas << lst->item(i)->text();
    if (linhas != e.lst) {
        lst->clear();
        lst->addItems(e.lst);
    }
    if (lst->isHidden() == e.lstVisivel) {
        lst->setVisible(e.lstVisivel);
        if (e.lstVisivel)
            lst->raise();
    }
    colocarListaRapida();
}

// The quick list drops down under the plate, as wide as it, up to 18 rows high.
void frmPrincipal::colocarListaRapida()
{
    if (!lst || lst->isHidden())
        return;
    CampoEntrada* matricula = m_txt[Matricula];
    const QPoint canto = matricula->mapTo(centralWidget(), QPoint(0, matricula->height()));
    const int linhas = std::min(lst->count(), ListaRapidaViaturas::MaximoLinhasVisiveis);
    const int alturaLinha = lst->count() > 0 ? lst->sizeHintForRow(0) : 0;
    const QRect g(canto, QSize(matricula->width(), alturaLinha * linhas + 2 * lst->frameWidth()));
    if (lst->geometry() != g)
        lst->setGeometry(g);
}
