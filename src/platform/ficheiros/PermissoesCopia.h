#pragma once

#include <sys/stat.h>

// Who may use a rollback copy beside the file: exactly whoever may read the
// file reads it, no one who may not write the file writes it, and its maker
// does both (see GravacaoFicheiro.h).
namespace PermissoesCopia {

// Gives the copy open as `copia` (made by this process, open to it alone) a
// group and an access control list by which whoever may read the file open
// as `ficheiro` (`estado`, its status) reads the copy, whoever may write it
// writes it, and nobody else gets anything: one of the file's groups where
// this process may give it (else its members get what others get on the
// file, where that is exact). On a file system without such lists, a mode
// that says the same. 0, or the errno of why it cannot be given so (the copy
// is then not to be made there): ENOTSUP where no list or mode says it.
int dar(int copia, int ficheiro, const struct stat& estado);

}  // namespace PermissoesCopia
