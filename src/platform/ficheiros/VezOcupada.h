#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// Who holds the turn a save waited for in vain, as the system tells it
// (/proc/locks): any user who may read the program folder or the file can
// hold it, so the box names the process, its program and its user, and a
// technician knows whom to ask.
namespace VezOcupada {

// "O ficheiro está a ser usado por outro programa: o processo 4711 (python3,
// do utilizador nobody) tem a vez em /srv/posto/Lorvane.ini", for each
// process the system names as holding a lock on the entry `estado` (a folder
// or a file, `caminho` its path); the plain words where it names none.
QString razao(const struct stat& estado, const QByteArray& caminho);

}  // namespace VezOcupada
