#include "tables/ModeloListaEscolha.h"

#include "tables/ListaEscolha.h"

ModeloListaEscolha::ModeloListaEscolha(const ListaEscolha& lista, QObject* pai)
    : QAbstractTableModel(pai),
      m_lista(lista)
{}

int ModeloListaEscolha::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : m_lista.NumeroLinhas();
}

int ModeloListaEscolha::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_lista.colunas().size());
}

QVariant ModeloListaEscolha::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid())
        return {};
    switch (papel) {
    case Qt::DisplayRole: return m_lista.texto(indice.row(), indice.column());
    case Qt::TextAlignmentRole: return (m_lista.colunas().at(indice.column()).alinhamento | Qt::AlignVCenter).toInt();
    default: return {};
    }
}

QVariant ModeloListaEscolha::headerData(int seccao, Qt::Orientation orientacao, int papel) const
{
    if (orientacao != Qt::Horizontal || seccao < 0 || seccao >= m_lista.colunas().size())
        return {};
    switch (papel) {
    case Qt::DisplayRole: return m_lista.colunas().at(seccao).legenda;
    case Qt::TextAlignmentRole: return (m_lista.colunas().at(seccao).alinhamento | Qt::AlignVCenter).toInt();
    default: return {};
    }
}

void ModeloListaEscolha::reordenada()
{
    // The selection and the current row are put back by the window from the list's own state.
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
