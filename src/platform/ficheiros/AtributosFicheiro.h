#pragma once

// A file's extended attributes, its access control list among them.
namespace AtributosFicheiro {

// Gives the file open as `para` exactly the extended attributes of the one
// open as `de` (but a save's mark, see MarcaGravacao), none it took from its
// folder: 0, or the errno of the call that failed (a file system that keeps
// none gives none).
int copiar(int de, int para);

}  // namespace AtributosFicheiro
