#pragma once

#include "platform/impressao/LugaresImpressao.h"

#include <QString>
#include <chrono>
#include <functional>

class PrazoImpressao;

// Where a print goes: the print system's server, where the queue is named,
// and the longest the print may wait for that server.
struct DestinoImpressao
{
    ServidorCups servidor;
    LugaresImpressao lugares;
    std::chrono::milliseconds espera{30000};
};

// What became of a print handed over.
struct EntregaImpressao
{
    enum class Resultado {
        Aceite,          // taken; it prints
        Retido,          // taken, but held by the queue (stopped, or the job held): `razao` says which
        Recusado,        // not taken: `razao` says why, in the print system's words or ours
        FicheiroFalhou,  // the print's own file could not be read: `razao` is the system's
        Cancelado        // given up before an answer came; a job made for it is cancelled at the server
    };
    Resultado resultado = Resultado::Recusado;
    QString fila;      // the queue, once known
    int trabalho = 0;  // the job's number, once the server gave one
    QString razao;
};

// Hands the PDF open as `fd`, read whole from its start, to the default
// queue of `destino` (looked up here, on the print's own connections) as one
// job of one copy called `titulo`. Every call names the server and waits no
// longer than `prazo` allows; once the print is given up, or its wait runs
// out, it ends within a fraction of a second. A job whose document did not
// go whole is cancelled at the server, on a connection of its own, briefly,
// so nothing cut short is printed. `filaConhecida` is told the queue as soon
// as it is known.
EntregaImpressao entregarImpressao(const DestinoImpressao& destino, int fd, const QString& titulo, PrazoImpressao& prazo,
                                   const std::function<void(const QString& fila)>& filaConhecida = {});

// Cancels the job `trabalho` of the queue `fila` at `servidor`, waiting a
// little for the server (it may have gone silent); false when it could not.
bool cancelarTrabalho(const ServidorCups& servidor, const QString& fila, int trabalho);
