#pragma once

#include <QByteArray>
#include <optional>
#include <sys/types.h>

// What a rollback copy holds, as it lies on the disk, and what the file as
// found says of the save that left it (see GravacaoFicheiro.h). A copy is a
// line that says what it is; the file's path, for a technician who opens
// it; the file's birth; the old and the new text's length and checksum;
// then both texts.
namespace ConteudoCopia {

// What a whole copy holds.
struct Conteudo
{
    uid_t dono = 0;         // who made it
    QByteArray nascimento;  // when the file was made, where the file system tells; else empty
    QByteArray antigo;
    QByteArray novo;
};

// What the file as found says of the save that left the copy.
enum class Veredicto
{
    Inteiro,       // a whole text of that save, old or new: the file stays, the copy goes
    Repor,         // what that save left part-way: the old text goes back
    OutroFicheiro  // a newer file (the same inode number given again, or a text written since)
};

// When the file open as `fd` was made, as "seconds.nanoseconds"; empty
// where the file system does not keep it.
QByteArray nascimento(int fd);

// The copy of a save of `novo` over `antigo` into the file at `caminho`, made at `nascimentoFicheiro`.
QByteArray formar(const QByteArray& caminho, const QByteArray& nascimentoFicheiro, const QByteArray& antigo,
                  const QByteArray& novo);

// What the copy open as `fd` holds, when it is whole: as long as its lines
// say, each text of the length and checksum its line gives. Nothing past
// what a whole copy can hold is read.
std::optional<Conteudo> ler(int fd);

// The file as found (`ficheiro`, made at `nascimentoFicheiro`) against the copy.
Veredicto julgar(const Conteudo& copia, const QByteArray& nascimentoFicheiro, const QByteArray& ficheiro);

}  // namespace ConteudoCopia
