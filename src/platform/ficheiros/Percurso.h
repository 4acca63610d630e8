#pragma once

#include "platform/ficheiros/Descritor.h"

#include <QByteArray>
#include <QString>

// A path walked as the system walks it, one opened folder to the next, but
// with every symbolic link on the way judged by its owner: a link is
// followed only where this program's user, the administrator or the owner
// of the folder it sits in made it. In a folder where others make files,
// another user's link (the last name's or a folder's on the way) would lead
// a save into any file this user may write; the system's own guard for such
// links does not see links this program follows itself. No link is ever
// followed by the system: each one is read from the entry that was judged.
struct Percurso
{
    Descritor pasta;     // the real folder of the last name, open for reading
    QByteArray nome;     // the last name, in that folder (it may not exist yet)
    QByteArray caminho;  // the real path to it (no link in it), for messages and names
    QString razao;       // why the walk stopped, where the errno alone does not say

    // Walks `caminho` (relative: from the working folder). 0, or the errno
    // of the step that failed (EPERM: a link not followed; ELOOP: more than
    // 40 links).
    int percorrer(const QByteArray& caminho);
};
