#include "platform/ficheiros/AtributosFicheiro.h"

#include "platform/ficheiros/MarcaGravacao.h"

#include <QByteArray>
#include <QList>
#include <cerrno>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

// The attribute in which the system keeps a file's access control list.
constexpr const char* ListaAcessoSistema = "system.posix_acl_access";

// The names of the file's extended attributes; none where the file system keeps none.
int nomesAtributos(int fd, QList<QByteArray>& nomes)
{
    QByteArray lista;
    for (;;) {
        const ssize_t tamanho = ::flistxattr(fd, nullptr, 0);
        if (tamanho < 0)
            return errno == ENOTSUP ? 0 : errno;
        lista.resize(tamanho);
        const ssize_t n = ::flistxattr(fd, lista.data(), size_t(lista.size()));
        if (n >= 0) {
            lista.truncate(n);
            break;
        }
        if (errno != ERANGE)  // grown meanwhile
            return errno;
    }
    nomes = lista.split('\0');
    nomes.removeAll(QByteArray());
    // A save's mark belongs to the file it was put on, not to a new one made from it.
    nomes.removeAll(QByteArray(MarcaGravacao::Atributo));
    return 0;
}

int valorAtributo(int fd, const QByteArray& nome, QByteArray& valor)
{
    for (;;) {
        const ssize_t tamanho = ::fgetxattr(fd, nome.constData(), nullptr, 0);
        if (tamanho < 0)
            return errno;
        valor.resize(tamanho);
        const ssize_t n = ::fgetxattr(fd, nome.constData(), valor.data(), size_t(valor.size()));
        if (n >= 0) {
            valor.truncate(n);
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
}

}  // namespace

namespace AtributosFicheiro {

int copiar(int de, int para, mode_t modo)
{
    QList<QByteArray> antigos, novos;
    if (const int e = nomesAtributos(de, antigos))
        return e;
    if (const int e = nomesAtributos(para, novos))
        return e;
    // A list the new file took from its folder goes before any bit of its mode opens it.
    for (const QByteArray& nome : novos) {
        if (!antigos.contains(nome) && ::fremovexattr(para, nome.constData()) != 0)
            return errno;
    }
    const auto dar = [&](const QByteArray& nome) {
        QByteArray valor;
        if (const int e = valorAtributo(de, nome, valor))
            return e;
        return ::fsetxattr(para, nome.constData(), valor.constData(), size_t(valor.size()), 0) == 0 ? 0 : errno;
    };
    const QByteArray lista(ListaAcessoSistema);
    if (antigos.removeAll(lista) > 0) {
        if (const int e = dar(lista))
            return e;
    } else if (::fchmod(para, modo & 0777) != 0) {
        return errno;
    }
    for (const QByteArray& nome : antigos) {
        if (const int e = dar(nome))
            return e;
    }
    return 0;
}

}  // namespace AtributosFicheiro
