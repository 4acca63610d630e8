#pragma once

#include "platform/ficheiros/ComumFicheiros.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/stat.h>

// Puts a new text in place of a file, keeping what the site set up around it,
// and reads a file's text as its last save left it. This is the one
// description of how the settings file is saved; the rest of its layer
// points here.
//
// Turns. Every symbolic link on the way (the file's own name, each folder of
// its path, and every name of the paths the links lead to) is followed only
// where this program's user, the administrator or the owner of the folder it
// sits in made it (a link of another user's is refused, as in a folder where
// anyone makes files it could lead a save into any file; see Percurso): the
// real file is written and the links stay. A writer takes its turn on the
// file's folder (a lock on the folder, which also covers a file not made yet)
// and on the file itself (a lock on the file, which all its names share), then
// on a copy left by another save, all within one bounded wait; readers take
// the same turn shared. The text is composed once the turn is the writer's,
// from the file as the writer before left it. A turn not given in time fails
// the save; a reading then reads the whole text without the turn (the old text
// a stuck save keeps in its copy, else the file while no save changes it). No
// file is read past TamanhoMaximo: a larger one is a file that cannot be read,
// so a save whose new text would pass it is refused before any byte changes.
//
// By a new file. The usual road writes a new file in the same folder (see
// FicheiroNovo: with no name until it is complete, where the file system
// allows it, else under a provisional name made exclusively for it alone),
// makes it what the old one is to its users without ever letting in anyone
// the old one bars (made open to nobody, it takes the old one's owner and
// group, then its access control list, or where it has none its permission
// bits, and its other extended attributes, its mode last), syncs it and
// renames it over the file: the file is replaced whole or not at all, even
// by a writer killed part-way. Nothing at a copy's name stops it: the file
// it makes is not the one any copy was taken from. A new file's provisional
// names, and a copy's, are the same few at every save of a user's
// (Descritores::nomesProvisorios): another user's entry at one is never
// opened, written or removed, the next one is taken, and where other users
// hold them all the text goes into the file itself (a file not made yet is
// refused), a copy into the state folder. What this user's saves cut short
// left at them (a regular file of this user's with one link) is found by
// looking those names up, and removed; where the folder (the file's, or the
// state folder) has no nameless files, so are the copies' provisional files
// of inodes the file had before, found by reading the folder. Nothing else is removed, and where nameless
// files exist the folder is never read: a save costs the same whatever
// others put in it.
//
// In the file itself. Where a new file would change who may use the file or
// what names lead to it (an owner, group or attribute the writer may not
// give, more than one hard link, a folder in which no file can be made, a
// file mounted in its folder), the text goes into the file itself, as whole
// as a rename:
//  1. a rollback copy of the old text and of the new one is written and
//     synced, and named only once it is whole and locked: beside the file
//     (".zumarel-antigo-<inode>", read by exactly whoever may read the file
//     and written by no one who may not write it, see PermissoesCopia) where
//     the file's folder takes new files and such a copy can be made there (a
//     list or a mode says it), so that every station that shares the file, as
//     any user, finds it; else in the user's state folder
//     ($XDG_STATE_HOME/zumarel, else ~/.local/state/zumarel,
//     "copia-<device>-<inode>"). Where neither takes it the save is refused,
//     naming both folders and why; where something that is no copy holds its
//     name beside the file, naming that (a copy of an earlier save that cannot
//     be removed sends it to the state folder);
//  2. the file is marked (MarcaGravacao: whose save, where its copy is, the
//     length and checksum of both texts);
//  3. room for the new length is reserved, so that a full disk stops the save
//     before any byte changes, and the file synced: mark and room are on the
//     disk before any byte changes;
//  4. the new text is written over the old one from the start, the file cut
//     to length and synced;
//  5. the copy is removed: that is the moment the save is done; then the
//     mark, with no sync (a mark a power cut brings back tells the file
//     whole by its checksums). A failure before it writes the old text back.
// After a kill or a power cut, the next reader or writer of the file finds
// the mark, takes the turn exclusive and judges the file as found against
// the copy whose texts the mark names:
//  - a whole text of that save, old or new, stays, and the copy and the mark
//    go (the mark's checksums tell it even without the copy);
//  - what that save could have left part-way (every byte the old text's, the
//    new text's or a zero of the reserved room, at a length between the
//    two) gets the old text back, if whoever made the copy may write the
//    file; a reader that may not write it reads the old text instead;
//  - anything else is a newer file (a text written since): it stays, the
//    copy is set aside under a name that says so, with a line in the log.
// A station that cannot reach the copy of a marked file, nor tell it whole,
// never saves over it: its save is refused naming whose save was cut short,
// and its readings read the file as it is. A copy found with no mark on the
// file is of no save cut short: a newer file's, or one whose save ended, set
// aside or removed. On a file system that keeps no such mark, the copy found
// is judged by the file's text alone, as above, its birth time (where kept)
// telling a newer file that got the same inode number.
namespace GravacaoFicheiro {

struct Resultado
{
    int erro = 0;                       // 0, or the errno of the step that failed (EWOULDBLOCK: the wait ran out)
    std::optional<struct stat> estado;  // the file as written, when it could be told
    QString razao;  // why, in words, where the errno alone does not say where (a copy's folder)
};

// A file's text as it was found.
struct Leitura
{
    int erro = 0;         // 0, or the errno of a file there that could not be read
    bool existe = false;  // a file is there and its text could be read
    QByteArray bytes;
    std::optional<struct stat> estado;  // the file as found, when it is there
    QString razao;  // why it could not be read, where the errno alone does not say
};

// `compor` gets the file as this writer's turn found it and gives the new text.
Resultado gravar(const QString& caminho, const std::function<QByteArray(const Leitura&)>& compor,
                 std::chrono::milliseconds esperaMaxima);

// The whole text of the file: never part of one save's text.
Leitura ler(const QString& caminho, std::chrono::milliseconds esperaMaxima);

}  // namespace GravacaoFicheiro
