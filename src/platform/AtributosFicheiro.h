#pragma once

// A file's extended attributes, its access control list among them.
namespace AtributosFicheiro {

// Gives the file open as `para` exactly the extended attributes of the one
// open as `de`, none it took from its folder: 0, or the errno of the call
// that failed (a file system that keeps none gives none).
int copiar(int de, int para);

// Gives the file open as `para` the access control list of the one open as
// `de`, or none when it has none (not one it took from its folder): 0, or
// the errno of the call that failed.
int copiarListaAcesso(int de, int para);

// Takes from the file open as `fd` any access control list (one it took from its folder).
int semListaAcesso(int fd);

}  // namespace AtributosFicheiro
