#pragma once

#include "platform/ficheiros/GravacaoFicheiro.h"

#include <QByteArray>
#include <QString>
#include <cerrno>
#include <optional>

struct SitioFicheiro;

// What a save into the file itself left (its mark, its copies beside the
// file and in the state folder), judged against the file as found: one
// judgement for the writer and for the readers with and without the turn
// (see GravacaoFicheiro.h).
namespace ResolucaoCopias {

// A save into the file was cut short, and this station can neither mend the file nor tell it whole.
constexpr int GravacaoInterrompida = EUCLEAN;

// What the mark and the copies came to.
struct Resolucao
{
    int erro = 0;   // the file could not be made whole (EWOULDBLOCK: a save still under way keeps its copy)
    QString razao;  // why; for a reader, why the text it reads may be cut short
    std::optional<QByteArray> texto;  // the old text, for a reader that may not put it back
    QString ocupado;          // what holds the copy's name beside the file and is no copy, for a save that needs it
    bool copiaPresa = false;  // a whole copy of no save cut short holds it, and cannot be taken away
};

// Under the exclusive turn on `s`: the mark and each copy, judged. A
// station that cannot mend a marked file says so: a writer (`escritor`) is
// refused, a reader reads it as it is. Nothing else at a copy's name stops
// anything here: a save in place that needs the name says what holds it.
Resolucao resolver(const SitioFicheiro& s, bool escritor);

// Whether a save into the file itself left its mark or a copy.
bool temCopia(const SitioFicheiro& s);

// A reading without the turn (a writer stuck past the wait, or a lock the
// system cannot give): the old text when a save into the file itself keeps
// its copy and the file is as that save leaves it part-way, else the file's
// own text, provided no save changed it while it was read (one under way
// would keep its copy, one ended changed the file's times).
GravacaoFicheiro::Leitura lerSemVez(const QByteArray& caminho);

}  // namespace ResolucaoCopias
