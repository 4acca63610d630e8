#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QVariantList>
#include <QVector>

// The rows of the recent-weighings grid: the 27 fields of Pesagens in their
// stored order, read-only, under the captions of the schema. A load reads the
// row numbers of the whole result at once (so no statement stays open on the
// file) and the rows' contents are read a page at a time as the grid shows
// them, which keeps a grid of a million rows quick.
class ModeloGrelhaPesagens : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModeloGrelhaPesagens(QObject* pai = nullptr);

    // Runs "SELECT Pesagem FROM Pesagens WHERE <condicao> ORDER BY <ordem>"
    // with the bound values and shows its rows; throws Erro and keeps the
    // previous rows when the query fails.
    void carregar(const QSqlDatabase& db, const QString& condicao, const QVariantList& valores, const QString& ordem);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int seccao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

    // The stored value of a field of row `linha` (Null as an invalid QVariant);
    // throws Erro when it cannot be read.
    QVariant valor(int linha, int coluna) const;
    QVariant valor(int linha, const QString& campo) const;
    qint64 pesagem(int linha) const { return m_pesagens.value(linha); }

    // The field of a column (its stored name).
    static QString nomeCampo(int coluna);

private:
    static constexpr int TamanhoPagina = 64;
    const QVector<QVariant>& linha(int linha) const;  // throws Erro
    void lerPagina(int linha) const;

    QSqlDatabase m_db;
    QVector<qint64> m_pesagens;                      // the result's rows, in its order
    mutable QHash<qint64, QVector<QVariant>> m_cache;  // contents read so far, by row number
};
