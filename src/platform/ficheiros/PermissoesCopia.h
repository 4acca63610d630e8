#pragma once

#include <sys/stat.h>

// Who may use a rollback copy beside the file: whoever may read the file
// reads it, and nobody else (see GravacaoFicheiro.h).
namespace PermissoesCopia {

// Gives the copy open as `copia` the group and access control list by which
// whoever may read or write the file open as `ficheiro` (`estado`, its
// status) may read or write the copy, and nobody else: 0, or the errno of
// why it cannot be given so (the copy is then not to be made).
int dar(int copia, int ficheiro, const struct stat& estado);

}  // namespace PermissoesCopia
