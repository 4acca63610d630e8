#pragma once

class Estacao;
class EcraGravacao;

// Prints the document of the row stored last (UltimaPesagem) by its kind,
// with the copies the settings give that kind; remembers it as the last
// document printed ([NrCopias] UltimoDocPesagem) and enables "Último
// &Documento". With no such row it says so; a failing step is skipped quietly.
void ImprimirDocumento(Estacao& estacao, EcraGravacao& ecra);
