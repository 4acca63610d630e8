#pragma once

#include <QString>

// One request to the report printer: the report definition file, the rows it
// selects, where it goes and how many copies.
struct PedidoRelatorio
{
    QString FicheiroRelatorio;  // full path: the program's folder and the file's name
    QString FormulaSeleccao;    // the selection formula; the empty text selects every row
    int Destino = 0;            // 0 = a preview window, 1 = the printer
    qint16 Copias = 1;          // copies for the printer; below 1 nothing is printed
    QString TituloJanela;       // the preview window's title
    int Esquerda = 0;           // the preview window's position
    int Topo = 0;
    int EstadoJanela = 0;       // 2 = maximised
};

// The station's one report printer: every document, listing and report goes
// through it, one request at a time.
class ImpressoraRelatorios
{
public:
    virtual ~ImpressoraRelatorios() = default;

    // Runs a request and returns its status: 0 when it was carried out.
    virtual int ExecutarRelatorio(const PedidoRelatorio& pedido) = 0;
};
