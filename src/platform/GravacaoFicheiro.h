#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/stat.h>

// Puts a new text in place of a file, keeping what the site set up around it.
//
// Every symbolic link on the way is followed: the real file is written and
// the links stay. The writers of its folder take turns (a lock on the folder,
// waited for a bounded time), and the text is composed once the turn is this
// writer's, so it can start from the file as the writer before left it.
//
// The usual road writes a new file in the same folder, gives it the old one's
// owner, group, mode and extended attributes (access control lists among
// them), syncs it and renames it over the file: the file is replaced whole
// or not at all, even by a writer killed part-way. Where that would change
// who may use the file or what names lead to it (an owner, group or
// attribute the writer may not give, more than one hard link, a folder in
// which no file can be made, a file mounted in its folder), the text goes
// into the file itself instead: room for the new length is reserved first,
// so that a full disk is known before any byte changes, and a failure after
// that puts the old text back.
namespace GravacaoFicheiro {

struct Resultado
{
    int erro = 0;                       // 0, or the errno of the step that failed (EWOULDBLOCK: the wait ran out)
    std::optional<struct stat> estado;  // the file as written, when it could be told
};

Resultado gravar(const QString& caminho, const std::function<QByteArray()>& compor,
                 std::chrono::milliseconds esperaMaxima);

}  // namespace GravacaoFicheiro
