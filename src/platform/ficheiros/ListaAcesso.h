#pragma once

#include <QList>
#include <QtGlobal>
#include <sys/stat.h>
#include <sys/types.h>

// A file's access control list, as the system keeps it: entries of a tag,
// the permissions (read 4, write 2, run 1) and the user or group they name.
namespace ListaAcesso {

// The system's own tags.
enum Tag : quint16
{
    Dono = 0x01,
    Utilizador = 0x02,
    GrupoDono = 0x04,
    Grupo = 0x08,
    Mascara = 0x10,
    Outros = 0x20,
};
constexpr quint16 Leitura = 4, Escrita = 2, Execucao = 1;

struct Entrada
{
    quint16 tag;
    quint16 permissoes;
    quint32 id = quint32(-1);  // the user or group of a named entry
};

// The whole list of the file open as `fd`, whatever its size, in
// `entradas`: the three entries of its mode where it has no list of its
// own, none where its file system keeps none (its mode says it all). 0, or
// the errno of why it could not be read.
int ler(int fd, QList<Entrada>& entradas);

// The list a mode alone stands for.
QList<Entrada> doModo(mode_t modo);

// Gives the file open as `fd` the list `entradas`: 0, or the errno of the
// refusal (ENOTSUP: the file system keeps none).
int escrever(int fd, const QList<Entrada>& entradas);

// What the list's mask lets its named entries and groups have: all when it has none.
quint16 mascara(const QList<Entrada>& lista);

// The permissions that the list gives the user `uid`, a member of `grupos`,
// on a file owned by `dono` and `grupoDono`, as the system decides them.
quint16 permissoesDe(const QList<Entrada>& lista, uid_t uid, const QList<gid_t>& grupos, uid_t dono,
                     gid_t grupoDono);

}  // namespace ListaAcesso
