#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QSqlDatabase>
#include <QVariant>
#include <QVector>

// The rows of the recent-weighings grid: the 27 fields of Pesagens in their
// stored order, read-only, under the captions of the schema. A load reads the
// first page only and the view asks for the next ones as it scrolls
// (canFetchMore/fetchMore), each page found by the sort key of the last row
// shown, so a grid over a million rows costs what a screenful costs.
class ModeloGrelhaPesagens : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The rows shown: those numbered above `acimaDe`, of the kind `tipo` (every
    // row when it is null), by the field of column `coluna` (0: the row number)
    // in that direction, rows of equal value newest first.
    struct Pedido
    {
        qint64 acimaDe = 0;
        QString tipo;
        int coluna = 0;
        bool descendente = true;
    };

    explicit ModeloGrelhaPesagens(QObject* pai = nullptr);

    // Shows the first page of the rows asked for; throws Erro and keeps the
    // previous rows when the database cannot be read.
    void carregar(const QSqlDatabase& db, const Pedido& pedido);

    // Rows per page, and the largest result that is sorted in one statement
    // rather than walked value by value along the field's index.
    void definirPaginacao(int tamanhoPagina, int limiteOrdenacaoDirecta);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int seccao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& pai) const override;
    void fetchMore(const QModelIndex& pai) override;

    // The stored value of a field of row `linha` (Null as an invalid QVariant);
    // throws Erro for a row that is not there.
    QVariant valor(int linha, int coluna) const;
    QVariant valor(int linha, const QString& campo) const;
    qint64 pesagem(int linha) const;

    // The field of a column (its stored name); empty past the last one.
    static QString nomeCampo(int coluna);

private:
    using Linha = QVector<QVariant>;

    // Where the reading stands: the last row read, and while a field is walked
    // by its values, the value whose rows are being read.
    struct Posicao
    {
        bool iniciada = false;
        bool fim = false;
        qint64 ultimaPesagem = 0;
        int lidas = 0;           // rows read, for a result sorted in one statement
        bool directa = false;    // sorted in one statement, read with OFFSET
        bool grupoNulo = false;  // the rows whose field is Null
        QVariant valorGrupo;
        bool grupoIniciado = false;
    };

    QVector<Linha> lerPagina(const Pedido& pedido, Posicao& pos) const;  // throws Erro
    QVector<Linha> lerPelaChave(const Pedido& pedido, Posicao& pos, int quantas) const;
    QVector<Linha> lerDirecta(const Pedido& pedido, Posicao& pos, int quantas) const;
    QVector<Linha> lerPorValores(const Pedido& pedido, Posicao& pos, int quantas) const;
    bool proximoGrupo(const Pedido& pedido, Posicao& pos) const;
    bool resultadoPequeno(const Pedido& pedido) const;
    void garantirIndice(int coluna, bool porTipo) const;

    QSqlDatabase m_db;
    Pedido m_pedido;
    Posicao m_pos;
    QVector<Linha> m_linhas;
    int m_tamanhoPagina = 256;
    int m_limiteDirecta = 20000;
    mutable QSet<QString> m_indicesVerificados;
};
