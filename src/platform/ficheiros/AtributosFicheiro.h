#pragma once

#include <sys/types.h>

// A file's extended attributes, its access control list among them.
namespace AtributosFicheiro {

// Gives the file open as `para` exactly the extended attributes of the one
// open as `de` (but a save's mark, see MarcaGravacao), none it took from its
// folder: 0, or the errno of the call that failed (a file system that keeps
// none gives none). Who may use it comes first: the access control list of
// `de` (which gives the mode's permission bits too), or where `de` has none,
// the permission bits of `modo` (its mode); then every other attribute.
// The set-id bits are the caller's, to give last.
int copiar(int de, int para, mode_t modo);

}  // namespace AtributosFicheiro
