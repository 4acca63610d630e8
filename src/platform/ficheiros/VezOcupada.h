#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// Who holds the turn a save waited for in vain, as the system shows it: any
// user who may read the program folder or the file can hold it, so the box
// names the process, its program and its user, and a technician knows whom
// to ask. A process is named only where its open files show the lock (the
// system shows them for the station's own user's processes, and for every
// process to root); the process /proc/locks gives is only the one that took
// the lock, perhaps long gone and its number another's.
namespace VezOcupada {

// "O ficheiro está a ser usado por outro programa: o processo 4711 (python3,
// do utilizador nobody) tem a vez em /srv/posto/Lorvane.ini", for the first
// few processes shown holding a flock on the entry `estado` (a folder or any
// file, `caminho` its path), the others counted ("e mais 297 processos têm a
// vez"); the plain words where none is shown.
QString razao(const struct stat& estado, const QByteArray& caminho);

}  // namespace VezOcupada
