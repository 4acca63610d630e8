#pragma once

class Estacao;
class EcraGravacao;
struct EstadoBascula;

// A card read at bridge `Index` (0 = B1, 1 = B2), called by the bridge's
// reading cycle with the bridge's own device state.
//
// With an operator of level 2 or more and no weighing on the screen, the code
// goes into the vehicle-code field followed by Enter, as if typed; the card is
// remembered in UltimoCartao so one stay of a vehicle gives one weighing.
// Otherwise the weighing is recorded at once under "Automático" with the
// origin "A1"/"A2": the code's oldest pending row completed as 'T'; or, for a
// vehicle on file, a 'P' row (two weighings) or a 'T' row against its stored
// tare (one weighing); or a bare 'P' row for a code not on file. Its document
// is printed and remembered as the last one. Nothing goes to the backup, the
// counters or the vehicle file. A failed database step stops it with nothing
// written or printed; no box is ever shown.
void PesagemAutomatica(Estacao& estacao, EcraGravacao& ecra, EstadoBascula& bascula, int Index);
