#include "platform/ficheiros/AtributosFicheiro.h"

#include "platform/ficheiros/MarcaGravacao.h"

#include <QByteArray>
#include <QList>
#include <cerrno>
#include <sys/xattr.h>

namespace {

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

int copiar(int de, int para)
{
    QList<QByteArray> antigos, novos;
    if (const int e = nomesAtributos(de, antigos))
        return e;
    if (const int e = nomesAtributos(para, novos))
        return e;
    for (const QByteArray& nome : novos) {
        if (!antigos.contains(nome) && ::fremovexattr(para, nome.constData()) != 0)
            return errno;
    }
    for (const QByteArray& nome : antigos) {
        QByteArray valor;
        if (const int e = valorAtributo(de, nome, valor))
            return e;
        if (::fsetxattr(para, nome.constData(), valor.constData(), size_t(valor.size()), 0) != 0)
            return errno;
    }
    return 0;
}

}  // namespace AtributosFicheiro
