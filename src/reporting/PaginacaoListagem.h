#pragma once

#include <QList>
#include <functional>

// Where everything of a listing falls on its pages, worked out from the
// heights alone before anything is drawn, so the pages can be counted
// ("Página n de m") and any page made on its own. All sizes in points.
namespace PaginacaoListagem {

struct Medidas
{
    double corpo = 0;         // the height a page's bands may fill
    double cabecalho = 0;     // the heading of the first page
    double colunas = 0;       // the columns' headings, at the top of every page of the table
    double linha = 0;         // one line of text in a row
    double margemLinha = 0;   // what a row adds to its lines (padding, rule)
    double grupo = 0;         // a group's name above its rows
    double totalGrupo = 0;    // the line under a group's rows
    double totalGeral = 0;    // the grand total
    double semRegistos = 0;   // the line of a listing with no row
    double antesGrafico = 0;  // the space between the table and the chart
    double barra = 0;         // one bar of the chart
};

// What a listing holds, in print order.
struct Conteudo
{
    enum class Forma {
        Registos,     // rows, not grouped
        Grupos,       // rows group by group, each with its name and total line
        TotaisGrupos  // one row a group
    };
    Forma forma = Forma::Registos;
    qint64 registos = 0;           // rows (Registos, Grupos) or groups (TotaisGrupos)
    QList<qint64> tamanhosGrupos;  // rows of each group (Grupos)
    bool totalGeral = false;
    bool grafico = false;                      // a bar a group after the table (TotaisGrupos)
    bool semRegistos = false;                  // a listing with no row says so, without the columns
    std::function<int(qint64)> linhasRegisto;  // lines of a row; one each when not given
};

// One band of a page: its kind, which rows or group it holds, where it starts.
struct Faixa
{
    enum class Tipo { Cabecalho, Colunas, Grupo, Registos, TotalGrupo, TotalGeral, SemRegistos, Barras };
    Tipo tipo = Tipo::Registos;
    qint64 de = 0;  // Registos: rows [de, ate) in print order; Barras: groups [de, ate)
    qint64 ate = 0;
    int grupo = -1;  // Grupo and TotalGrupo: which group
    double y = 0;    // its top, from the top of the page's body
    double altura = 0;
};

struct Pagina
{
    QList<Faixa> faixas;
};

// The pages, at least one.
QList<Pagina> paginar(const Conteudo& conteudo, const Medidas& medidas);

}  // namespace PaginacaoListagem
