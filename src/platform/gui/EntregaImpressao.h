#pragma once

#include <QString>

// The hand-over of a whole print to the print system (CUPS, through its
// library), which answers with the job's number or the reason it did not
// take it. Its calls may run in any thread: the server is always named.

// A queue of a print server.
struct FilaImpressao
{
    QString servidor;  // as the print system names it: a host, or the path of a local socket
    QString nome;      // the queue; empty when there is none
    int espera = 30000;  // milliseconds the server may keep silent before a call on it fails
    bool existe() const { return !nome.isEmpty(); }
};

// The print system's default queue on `servidor` (its own default server
// when empty): none when the server has none or cannot be reached.
FilaImpressao filaPorDefeito(const QString& servidor = {});

// What became of a print handed over.
struct EntregaImpressao
{
    enum class Resultado {
        Aceite,        // taken; it prints
        Retido,        // taken, but held by the queue (stopped, or the job held)
        Recusado,      // not taken: `razao` is the print system's
        FicheiroFalhou // the print's own file could not be read: `razao` is the system's
    };
    Resultado resultado = Resultado::Recusado;
    int trabalho = 0;  // the job's number, once the print system gave one
    QString razao;
};

// Hands the PDF open as `fd`, read whole from its start, to the queue
// `fila` as one job of one copy called `titulo`. A job whose document fails
// half-way is cancelled, so nothing cut short is printed.
EntregaImpressao entregarImpressao(const FilaImpressao& fila, int fd, const QString& titulo);
