#pragma once

#include <QString>
#include <functional>

class FicheiroPerfil;

// Writes many keys of a settings file as one change: the keys are written
// through the settings-file layer into a copy of the file in a temporary
// folder, and the copy then replaces the file in one atomic step. A write
// that fails anywhere leaves the file exactly as it was; the file is never
// left with some keys new and others old.
//
// `escrever` writes into the copy and returns false when a write was refused.
// Returns false with the reason when the file could not be replaced.
bool GravarDeUmaVez(const FicheiroPerfil& ini, const std::function<bool(FicheiroPerfil& copia)>& escrever,
                    QString* erro);
