#pragma once

#include <QByteArray>
#include <sys/types.h>

struct Descritor;

// The ways a new PDF file is made in its folder and takes its final name
// without ever replacing anything there, one function each, so that a file
// system without links or nameless files (FAT, some network shares) still
// gets its PDFs. Each gives 0 or the errno of the call that failed.
namespace NomesPdf {

// The provisional name of a file to be named `final`:
// ".<final>.novo-<13 random letters and digits>".
QByteArray nomeProvisorio(const QByteArray& final);

// Makes a new file of mode `modo` (less the process's mask) in the folder
// `pasta`: with no name where the file system allows it, so a run killed
// leaves nothing; elsewhere under a provisional name made from `final`
// (kept in `provisorio`). With `guardado`, the provisional file stays
// locked while `ficheiro` is open, so no later run takes it for a
// leftover, and the leftovers of killed runs go first (tirarAbandonados).
int criar(int pasta, const QByteArray& final, mode_t modo, bool guardado, Descritor& ficheiro, QByteArray& provisorio);

// Names the file open as `ficheiro` `nome` by a hard link.
int ligar(int ficheiro, int pasta, const QByteArray& provisorio, const QByteArray& nome);
// Names it by renaming its provisional name, a rename that never replaces;
// ENOENT when that name no longer leads to the file (someone put another
// there), which is then never renamed.
int renomear(int ficheiro, int pasta, const QByteArray& provisorio, const QByteArray& nome);
// Makes `nome` exclusively, of mode `modo`, and writes the whole of the
// file into it, synced; a copy that fails is removed.
int copiarExclusivo(int ficheiro, int pasta, const QByteArray& nome, mode_t modo);
// Each of them gives EEXIST when `nome` is taken, and an errno for which
// naoSuportado holds when the file system has no such way.
bool naoSuportado(int erro);

// Removes the provisional name of the file open as `ficheiro`, while it still leads to it.
void tirarProvisorio(int ficheiro, int pasta, const QByteArray& provisorio);

// Removes from `pasta` the provisional PDFs that runs of this user killed
// before they were named left: regular files of one link, whose names only
// criar makes, that no live run holds. Nothing of another user's, no link
// and no folder is touched.
void tirarAbandonados(int pasta);

}  // namespace NomesPdf
