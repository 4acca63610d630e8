#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/stat.h>

// Puts a new text in place of a file, keeping what the site set up around it,
// and reads a file's text as its last save left it.
//
// Every symbolic link on the way is followed: the real file is written and
// the links stay. The writers of its folder take turns (a lock on the folder,
// waited for a bounded time), and the text is composed once the turn is this
// writer's, so it can start from the file as the writer before left it.
// Readers take the same lock shared, with the same bounded wait, so no
// reader sees a text half written.
//
// The usual road writes a new file in the same folder, gives it the old one's
// owner, group, mode and extended attributes (access control lists among
// them), syncs it and renames it over the file: the file is replaced whole or
// not at all, even by a writer killed part-way. Where that would change who
// may use the file or what names lead to it (an owner, group or attribute the
// writer may not give, more than one hard link, a folder in which no file
// can be made, a file mounted in its folder), the text goes into the file
// itself instead, as whole as a rename: the old text is first kept in a copy
// in the user's state folder ($XDG_STATE_HOME/zumarel, else
// ~/.local/state/zumarel), written whole and synced, then room for the new
// length is reserved (a full disk is known before any byte changes), the
// file written, cut to length and synced, and the copy removed. A failure
// after the file changed puts the old text back; a copy left by a writer
// killed or a power cut is put back by the next reader or writer of the file
// (a reader that may not write the file reads the copy's text instead).
namespace GravacaoFicheiro {

struct Resultado
{
    int erro = 0;                       // 0, or the errno of the step that failed (EWOULDBLOCK: the wait ran out)
    std::optional<struct stat> estado;  // the file as written, when it could be told
};

// A file's text as it was found.
struct Leitura
{
    int erro = 0;         // 0, or the errno of a file there that could not be read
    bool existe = false;  // a file is there and its text could be read
    QByteArray bytes;
    std::optional<struct stat> estado;  // the file as found, when it is there
};

// `compor` gets the file as this writer's turn found it and gives the new text.
Resultado gravar(const QString& caminho, const std::function<QByteArray(const Leitura&)>& compor,
                 std::chrono::milliseconds esperaMaxima);

// The whole text of the file: never part of one save's text. When the turn is
// not given within the wait (a writer stuck), the text a save in place kept,
// or else the file's own while no save is seen changing it.
Leitura ler(const QString& caminho, std::chrono::milliseconds esperaMaxima);

// The steps of a save into the file itself. Tests only: aoPasso, when set,
// is called before each (to stop or kill the process there).
enum class Passo { Copia, Escrita, Truncagem, Sincronizacao, Confirmacao };
extern void (*aoPasso)(Passo);

}  // namespace GravacaoFicheiro
