#include "platform/ficheiros/PermissaoEscrita.h"

#include "platform/ficheiros/ListaAcesso.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QByteArray>
#include <fcntl.h>
#include <unistd.h>

bool utilizadorPodeEscrever(uid_t uid, int fd, const struct stat& estado)
{
    if (uid == ::geteuid()) {
        const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(fd);
        if (::faccessat(AT_FDCWD, proprio.constData(), W_OK, AT_EACCESS) == 0)
            return true;
        // A file made immutable, or a disk mounted read-only, for now: the right stays.
        if (errno == EPERM || errno == EROFS)
            return true;
        if (errno != ENOENT)  // without /proc, as for any other user
            return false;
    }
    if (uid == 0)
        return true;
    // A list that cannot be read tells nothing: no right is taken for granted.
    QList<ListaAcesso::Entrada> lista;
    if (ListaAcesso::ler(fd, lista) != 0)
        return false;
    if (lista.isEmpty())
        lista = ListaAcesso::doModo(estado.st_mode);
    return ListaAcesso::permissoesDe(lista, uid, Utilizadores::grupos(uid), estado.st_uid, estado.st_gid)
           & ListaAcesso::Escrita;
}
