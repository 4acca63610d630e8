#pragma once

#include "platform/Erro.h"

#include <QList>
#include <array>

class Estacao;
class LigacoesDispositivos;
class LigacaoBasculas;
class QTimer;

// The devices' part of the main window's load: for B1 then B2, the
// indicator's port set up, the principal and secondary readers' ports set up
// and opened when in use, then the indicator's port opened when the bridge is
// in use and not on TCP (handshaking is not applied); each bridge's weight
// starts at its capacity and the card-code labels empty. Every failing step
// shows "Erro número: " with its number and description (style 16, title
// "Zumarel") and the load goes on; the failures are returned in order.
QList<Erro> CarregarDispositivos(Estacao& estacao, LigacoesDispositivos& io, LigacaoBasculas& ligacao);

// Each bridge's timer ticks its cycle every `IndTemporizacao` ms; an interval
// of 0 or less leaves it stopped (a zero-interval timer would spin).
void LigarTemporizadores(const std::array<QTimer*, 2>& tmr, Estacao& estacao, LigacaoBasculas& ligacao);
