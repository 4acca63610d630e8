#pragma once

#include "tables/ColunasGrelha.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QVariantList>
#include <functional>

class ServicoMensagens;
struct Erro;
struct Tabela;

// An editable grid over one table, or over the rows of one table that hold a
// fixed value in one field, with no widgets: every row loaded, an empty
// new-row line after the last row (the first row of an empty table is typed
// there), the current row and column, "Gravar ?" when a changed row is left,
// deletes, sorting by a column and searching a column. The table and field
// names come from the schema; every value is bound.
//
// A row edited in the grid stays in the grid's memory until the operator
// leaves it and answers Yes; a write the database refuses is shown and the
// row keeps what was typed, so it can be corrected. A row is written or
// deleted only where the file still holds it as it was read: one deleted or
// changed meanwhile (another station, a weighing) is refused the same way.
class GrelhaTabela : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Definicao
    {
        QString tabela;
        QList<ColunaGrelha> colunas;  // one per field, in field order
        QString titulo;               // the title of its boxes
        QString prefixo;              // "Viatura ": the position's text
        QString cabecalhoErro;        // "Erro no acesso à tabela de viaturas"
        QString campoFiltro;          // only the rows whose field holds valorFiltro
        QVariant valorFiltro;
    };

    GrelhaTabela(const QSqlDatabase& db, Definicao definicao, ServicoMensagens& mensagens, QObject* pai = nullptr);

    // Checks a row before it is written; a refusal is shown as a message and
    // the row stays as typed. Gets the row's values and the values it had
    // when read (empty for a new row).
    std::function<QString(const QVariantList& valores, const QVariantList& originais)> validar;
    // Checks a row before it is deleted, the same way.
    std::function<QString(const QVariantList& valores)> validarApagar;
    // Changes a confirmed row just before it is written (a stamp).
    std::function<void(QVariantList& valores)> antesDeGravar;

    // Reads every row, in the table's order; false (and the error box) when
    // the table cannot be read.
    bool abrir();

    const Definicao& definicao() const { return m_def; }
    const Tabela& tabela() const { return *m_tabela; }
    int registos() const { return int(m_linhas.size()); }
    QVariant valor(int linha, int coluna) const;

    // The current row (registos() on the new-row line) and column.
    int linhaActual() const { return m_linha; }
    int colunaActual() const { return m_coluna; }
    // The position from 1, 0 on the new-row line or in an empty table.
    int posicao() const { return m_linha < registos() ? m_linha + 1 : 0; }
    QString textoPosicao() const;

    struct Botoes
    {
        bool novo = false, apagar = false, ordenar = false, procurar = false, listar = false;
        bool operator==(const Botoes&) const = default;
    };
    Botoes botoes() const;

    // Moves to a cell; leaving a changed row asks "Gravar ?" first. False when
    // the row could not be left (its write was refused): it stays current.
    bool irPara(int linha, int coluna);
    // Settles a changed row: "Gravar ?", then written or given up. False when
    // the write was refused.
    bool resolverPendente();
    bool pendente() const { return m_editada >= 0; }

    // Novo: onto the new-row line, in that column.
    void Novo(int coluna);
    // Apagar: the current row deleted at once; the next row, or the new last.
    void Apagar();
    // The grid's own delete: asks "Apagar ?" first.
    void ApagarComPergunta();

    // The sort direction the next sort takes, as its button shows it.
    bool descendente() const { return m_descendente; }
    QString textoOrdem() const;
    void alternarOrdem() { m_descendente = !m_descendente; }
    // The buttons every grid window has, by index: 0 Novo (the new row's
    // cursor in `colunaNovo`), 1 Apagar, 2 the order turned and the current
    // column sorted, 3 Procurar. False for any other index.
    bool comandoDaGrelha(int Index, int colunaNovo);
    // Puts the rows in the order of a column, in the direction in force; the
    // first row becomes current.
    void OrdenarColuna(int coluna);
    // Procurar: asks "Procurar em " + the current column's caption; the first
    // row whose value matches becomes current, otherwise nothing moves.
    void Procurar();
    // The row found for an answer, -1 when none: a text matches the whole
    // value, whatever its letter case; a number the answer's leading number.
    int procurarLinha(int coluna, const QString& resposta) const;

    // QAbstractTableModel
    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int seccao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int papel = Qt::EditRole) override;
    // The view's own submits write nothing: rows are written when left.
    bool submit() override { return true; }

Q_SIGNALS:
    // The current cell moved, or the rows changed under it.
    void actualMudou();
    // The rows were read again in a new order: the layout goes on again.
    void reordenado();

private:
    struct Linha
    {
        qint64 rowid = 0;  // the order rows were added in; never what a write goes by
        QVariantList valores;
    };

    static QVariant valorLido(const QVariant& v);
    bool ler(QList<Linha>& linhas, Erro& erro) const;
    // The value stored for a typed text; false (with its message) when it cannot be.
    bool converter(int coluna, const QVariant& entrada, QVariant& saida);
    // The rowid of the stored row read as `lidos`, found by its key, that
    // still holds in `colunas` what was read there; throws Erro when it was
    // deleted or one of those columns changed since it was read.
    qint64 localizarComoLida(const QVariantList& lidos, const QList<int>& colunas, const QString& nada) const;
    bool gravar();
    // The confirmed row `v` written, new or over the row read as m_originais
    // (`digitados`: the row as the operator left it); its rowid.
    qint64 inserirLinha(const QVariantList& v);
    qint64 actualizarLinha(const QVariantList& digitados, const QVariantList& v);
    void desfazer();
    void definirActual(int linha, int coluna);
    bool recusa(const QString& mensagem);

    QSqlDatabase m_db;
    Definicao m_def;
    const Tabela* m_tabela;
    ServicoMensagens& m_mensagens;
    QList<Linha> m_linhas;
    int m_linha = 0;
    int m_coluna = 0;
    int m_editada = -1;   // the changed row not yet written
    bool m_nova = false;  // it is a new row
    QVariantList m_originais;
    bool m_descendente = false;
};
