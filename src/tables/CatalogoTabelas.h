#pragma once

#include "platform/Relatorio.h"
#include "tables/ColunasGrelha.h"

#include <QList>
#include <QString>

// The tables the table editor shows, each known by its title (TituloTabela):
// the table, the pending first weighings' fixed selection, the position
// prefix, the listing and the layout of its columns.
struct EntradaTabela
{
    QString titulo;
    QString tabela;
    bool soPendentes = false;  // only the rows of kind 'P'
    QString prefixo;           // "Viatura " ...
    QString listagem;          // the listing's report definition, in the program's folder
    int colunaNovo = 0;        // the column Novo lands in
    int colunaInicial = 0;     // the current column at opening
    QList<ColunaGrelha> colunas;
};

namespace CatalogoTabelas {

const QList<EntradaTabela>& entradas();

// The entry of that title, compared exactly; nullptr for any other title.
const EntradaTabela* entrada(const QString& titulo);

// The listing of a table for the preview (Visualizar) or the printer (Imprimir).
PedidoRelatorio pedidoListagem(const EntradaTabela& e, const QString& pastaPrograma, int destino);

}  // namespace CatalogoTabelas
