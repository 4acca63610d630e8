#pragma once

#include "devices/VistaDispositivos.h"
#include "shared/Definicoes.h"
#include "shared/EstadoBascula.h"

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
    QChar separador;                              // thousands separator of the weights shown

    // A bridge's save question is open (or the save it started runs), or a
    // card's automatic weighing runs. Neither starts while the other is under
    // way (ocupado), so one flag holds both.
    bool emCurso = false;

    // A question, a save or an automatic weighing is under way, here or on the screen.
    bool ocupado() const;

    const Definicoes& def() const;
    Definicoes& def();
    int nivelAcesso() const;
};
