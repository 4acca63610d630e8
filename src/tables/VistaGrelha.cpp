#include "tables/VistaGrelha.h"

#include "shared/Tecla.h"

#include "platform/Mensagens.h"
#include "platform/gui/Teclas.h"
#include "tables/GrelhaTabela.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

const char* const PropColuna = "colunaGrelha";

RegraTecla regraDe(const QObject* editor)
{
    return RegraTecla(editor->property("regra").toInt());
}

// An editor's text held to its column's rule, by Colunas::textoNaRegra.
class ValidadorColuna : public QValidator
{
public:
    ValidadorColuna(RegraTecla regra, const QString& daCelula, QObject* pai)
        : QValidator(pai),
          m_regra(regra),
          m_daCelula(daCelula)
    {}

    State validate(QString& texto, int&) const override
    {
        const std::optional<QString> fica = Colunas::textoNaRegra(m_regra, m_daCelula, texto);
        if (!fica)
            return Invalid;
        texto = *fica;
        return Acceptable;
    }

private:
    RegraTecla m_regra;
    QString m_daCelula;
};

}  // namespace

DelegadoGrelha::DelegadoGrelha(GrelhaTabela& grelha, ServicoMensagens& mensagens, QObject* pai)
    : QStyledItemDelegate(pai),
      m_grelha(grelha),
      m_mensagens(mensagens)
{}

QWidget* DelegadoGrelha::createEditor(QWidget* pai, const QStyleOptionViewItem&, const QModelIndex& indice) const
{
    const ColunaGrelha& col = m_grelha.definicao().colunas[indice.column()];
    auto* editor = new QLineEdit(pai);
    editor->setFrame(false);
    editor->setProperty("regra", int(col.regra));
    editor->setProperty(PropColuna, indice.column());
    if (col.limite > 0)
        editor->setMaxLength(col.limite);
    editor->setValidator(new ValidadorColuna(col.regra, indice.data(Qt::EditRole).toString(), editor));
    if (col.regra == RegraTecla::Nivel) {
        // The cell keeps one character, the last one typed.
        connect(editor, &QLineEdit::textChanged, editor, [editor](const QString& t) {
            if (t.size() > 1)
                editor->setText(t.right(1));
        });
        QAction* legenda =
            editor->addAction(editor->style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
        legenda->setObjectName(QStringLiteral("botaoLegenda"));
        const QPersistentModelIndex onde(indice);
        connect(legenda, &QAction::triggered, this, [this, onde] { Q_EMIT botaoCelula(onde); });
    }
    editor->installEventFilter(const_cast<DelegadoGrelha*>(this));
    return editor;
}

void DelegadoGrelha::setEditorData(QWidget* editor, const QModelIndex& indice) const
{
    static_cast<QLineEdit*>(editor)->setText(indice.data(Qt::EditRole).toString());
}

void DelegadoGrelha::setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const
{
    auto* linha = static_cast<QLineEdit*>(editor);
    if (indice.data(Qt::EditRole).toString() != linha->text())
        modelo->setData(indice, linha->text(), Qt::EditRole);
}

bool DelegadoGrelha::eventFilter(QObject* objecto, QEvent* evento)
{
    auto* editor = qobject_cast<QLineEdit*>(objecto);
    if (!editor || evento->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(objecto, evento);
    auto* tecla = static_cast<QKeyEvent*>(evento);
    // Enter never reaches the cell, nor an access key that no menu took.
    if (Teclas::eEnter(tecla) || Teclas::soAcesso(tecla))
        return true;
    const RegraTecla regra = regraDe(editor);
    const int codigo = Teclas::caracter(tecla);  // Ctrl+V a control code, 22
    if (codigo == 0 || codigo == ::Tecla::Retrocesso || codigo == ::Tecla::Esc)
        return QStyledItemDelegate::eventFilter(objecto, evento);
    if (!Colunas::Tecla(regra, QChar(char16_t(codigo)))) {
        if (regra == RegraTecla::Nivel)
            m_mensagens.Beep();
        return true;
    }
    // What it types goes through the editor's validator, which makes the capitals.
    return QStyledItemDelegate::eventFilter(objecto, evento);
}

VistaGrelha::VistaGrelha(GrelhaTabela& grelha, ServicoMensagens& mensagens, QWidget* pai)
    : QTableView(pai),
      m_grelha(grelha),
      m_delegado(new DelegadoGrelha(grelha, mensagens, this))
{
    setObjectName(QStringLiteral("dbg"));
    setModel(&grelha);
    setItemDelegate(m_delegado);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(&grelha, &GrelhaTabela::actualMudou, this, &VistaGrelha::seguirGrelha);
    connect(&grelha, &QAbstractItemModel::modelReset, this, &VistaGrelha::seguirGrelha);
}

void VistaGrelha::FormatarColunas(double larguraTwips)
{
    const QList<ColunaGrelha>& colunas = m_grelha.definicao().colunas;
    for (int c = 0; c < colunas.size(); ++c)
        setColumnHidden(c, colunas[c].oculta);
    for (int c = 0; c < colunas.size(); ++c) {
        if (!colunas[c].oculta)
            horizontalHeader()->resizeSection(c, Colunas::pixeis(colunas[c].larguraTwips(larguraTwips), logicalDpiX()));
    }
}

void VistaGrelha::commitarEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void VistaGrelha::seguirGrelha()
{
    const QModelIndex alvo = model()->index(m_grelha.linhaActual(), m_grelha.colunaActual());
    if (alvo == currentIndex())
        return;
    m_aSeguir = true;
    setCurrentIndex(alvo);
    m_aSeguir = false;
}

void VistaGrelha::currentChanged(const QModelIndex& actual, const QModelIndex& anterior)
{
    QTableView::currentChanged(actual, anterior);  // commits an open editor first
    if (m_aSeguir || !actual.isValid())
        return;
    m_grelha.irPara(actual.row(), actual.column());
    seguirGrelha();
}

void VistaGrelha::keyPressEvent(QKeyEvent* evento)
{
    if (Teclas::eEnter(evento)) {
        evento->accept();  // no character, no default button
        return;
    }
    if (evento->matches(QKeySequence::Delete) && state() != QAbstractItemView::EditingState) {
        m_grelha.ApagarComPergunta();
        evento->accept();
        return;
    }
    QTableView::keyPressEvent(evento);
}
