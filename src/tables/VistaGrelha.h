#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

class GrelhaTabela;
class QLineEdit;
class ServicoMensagens;

// The cell editor of a grid column: its length limit and key rule while
// typed, Enter swallowed, pasted text held to the same rule.
class DelegadoGrelha : public QStyledItemDelegate
{
    Q_OBJECT

public:
    DelegadoGrelha(GrelhaTabela& grelha, ServicoMensagens& mensagens, QObject* pai = nullptr);

    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;
    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

Q_SIGNALS:
    // The drop-down button of a cell with a legend was pressed.
    void botaoCelula(const QModelIndex& indice) const;

protected:
    bool eventFilter(QObject* objecto, QEvent* evento) override;

private:
    GrelhaTabela& m_grelha;
    ServicoMensagens& m_mensagens;
};

// The grid on screen: its current cell follows the grid's, a changed row is
// settled when the operator leaves it, and the Delete key asks "Apagar ?".
// Its window paints it yellow while it has the focus.
class VistaGrelha : public QTableView
{
    Q_OBJECT

public:
    VistaGrelha(GrelhaTabela& grelha, ServicoMensagens& mensagens, QWidget* pai = nullptr);

    // Hides, captions and sizes the columns for a window W twips wide.
    void FormatarColunas(double larguraTwips);

    DelegadoGrelha& delegado() { return *m_delegado; }

    // An open cell editor's text goes into the grid and the editor closes.
    void commitarEditor();

protected:
    void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void seguirGrelha();

    GrelhaTabela& m_grelha;
    DelegadoGrelha* m_delegado;
    bool m_aSeguir = false;
};
