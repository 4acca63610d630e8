#pragma once

#include "devices/VistaDispositivos.h"
#include "shared/EstadoBascula.h"
#include "startup/Definicoes.h"

#include <QChar>
#include <array>

class Estacao;
class EcraBascula;
class LigacoesDispositivos;

// What the two bridges' cycles and the light decision share: the station, the
// links, the screen, both bridges' state, what is shown, and who is waiting
// on the operator.
struct ContextoDispositivos
{
    ContextoDispositivos(Estacao& estacao_, LigacoesDispositivos& io_, EcraBascula& ecra_);

    Estacao& estacao;
    LigacoesDispositivos& io;
    EcraBascula& ecra;

    std::array<EstadoBascula, 2> estados;
    VistaDispositivos vista;

    PorBascula<quint16> portaTcp = {3002, 3002};  // the indicators' remote port
    QChar separador;                               // thousands separator of the weights shown

    // A save question is open (or the save it started runs) for this bridge; -1: none.
    int perguntaAberta = -1;
    // Automatic weighings running (each may wait on a box of its own).
    int pesagensAutomaticas = 0;

    // A question, a save or an automatic weighing is under way, here or on the screen.
    bool ocupado() const;

    const Definicoes& def() const;
    Definicoes& def();
    int nivelAcesso() const;
};
