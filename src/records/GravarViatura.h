#pragma once

class Estacao;
class EcraGravacao;

// Keeps the vehicle file in step after an attended save (operators above
// level 2 only): offers to add a vehicle not on file, offers to rewrite the
// plate and usual parties when the screen shows others, and always stores the
// weights of this weighing (tare the lighter, gross the heavier; after a first
// weighing the tare is its weight) with the moment and the operator. Main
// database only; a failing field or store is reported and the next step runs.
void GravarViatura(Estacao& estacao, const EcraGravacao& ecra);
