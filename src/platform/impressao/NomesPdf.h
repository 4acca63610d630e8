#pragma once

#include <QByteArray>
#include <sys/types.h>

class FicheiroNovo;

// What a new PDF file needs beyond a FicheiroNovo, so that a folder shared by
// stations, or on a file system without links or nameless files (FAT, some
// network shares), still gets its PDFs and keeps no leftovers. Each gives 0
// or the errno of the call that failed.
namespace NomesPdf {

// The provisional name of a file to be named `final`:
// ".<final>.novo-<13 random letters and digits>".
QByteArray nomeProvisorio(const QByteArray& final);

// Makes the new PDF `novo` of mode `modo` (less the process's mask) in the
// folder `pasta`, to be named `final`: with no name where the file system
// allows it, so a run killed leaves nothing; elsewhere under a provisional
// name of its own that stays locked while the file is open, so that no
// later run takes it for a leftover, the leftovers of killed runs gone
// first (tirarAbandonados).
int criar(FicheiroNovo& novo, int pasta, const QByteArray& final, mode_t modo);

// Makes `nome` exclusively, of mode `modo`, and writes the whole of the
// file into it, synced; a copy that fails is removed. EEXIST when `nome`
// is taken.
int copiarExclusivo(int ficheiro, int pasta, const QByteArray& nome, mode_t modo);
// Removes from `pasta` the provisional PDFs that runs of this user killed
// before they were named left: regular files of one link, whose names only
// criar makes, that no live run holds. Nothing of another user's, no link
// and no folder is touched.
void tirarAbandonados(int pasta);

}  // namespace NomesPdf
