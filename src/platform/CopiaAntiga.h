#pragma once

#include "platform/Descritor.h"

#include <QByteArray>
#include <optional>
#include <sys/stat.h>

// The copy of a file's old text that a save into the file itself keeps
// until the file holds the new text whole, in the user's state folder
// ($XDG_STATE_HOME/zumarel, else ~/.local/state/zumarel). It is named after
// the file's device and inode, so that whoever reads or writes the file
// next, by any of its names, finds it; it holds the file's path (to tell a
// copy of an older file that had the same inode), the old text's length and
// checksum (to tell a copy cut short), and the old text. Its save keeps it
// locked while it lives, so that a copy found locked is one still in use (a
// save through a name in another folder, whose turn is another). Each call
// gives 0 or an errno.
class CopiaAntiga
{
public:
    // The copy of the file at `caminho` (its real path), as `ficheiro` is now.
    CopiaAntiga(const QByteArray& caminho, const struct stat& ficheiro);

    bool existe() const;

    // The copy that a save no longer alive left: 0 once it is open and
    // locked; ENOENT when there is none, EWOULDBLOCK while its save lives.
    int tomar();

    // The old text, when a whole copy of this file is there.
    std::optional<QByteArray> texto() const;

    // The copy written whole and synced, and its name in the folder, before the file changes.
    int guardar(const QByteArray& antigo);

    // The end of a save: the file holds a whole text, and the copy goes.
    // A folder that cannot be synced leaves at worst the copy, and then
    // the old text, after a power cut.
    int apagar();

private:
    QByteArray caminhoCopia() const;
    int abrirPasta();
    QByteArray formar(const QByteArray& antigo) const;
    std::optional<QByteArray> interpretar(const QByteArray& copia) const;
    bool doFicheiro(const QByteArray& caminho) const;

    QByteArray m_caminho;
    struct stat m_ficheiro;
    QByteArray m_nome;
    Descritor m_pasta;
    Descritor m_copia;
};
