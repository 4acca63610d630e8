#pragma once

#include <QAbstractTableModel>

class ListaEscolha;

// The look-up list's rows as a table model, read straight from the list's
// logic in the order it shows them; the view never holds rows of its own, so
// a large table opens fast.
class ModeloListaEscolha : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ModeloListaEscolha(const ListaEscolha& lista, QObject* pai = nullptr);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int seccao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

    // The same rows now come in another order.
    void reordenada();

private:
    const ListaEscolha& m_lista;
};
