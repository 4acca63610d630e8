#include "platform/Descritor.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace Descritores {

int escreverTudo(int fd, const QByteArray& bytes)
{
    for (qsizetype feito = 0; feito < bytes.size();) {
        const ssize_t n = semInterrupcao(
            [&] { return ::pwrite(fd, bytes.constData() + feito, size_t(bytes.size() - feito), off_t(feito)); });
        if (n <= 0)
            return n < 0 ? errno : EIO;
        feito += n;
    }
    return 0;
}

int lerTudo(int fd, off_t tamanho, QByteArray& bytes)
{
    bytes.resize(qsizetype(tamanho));
    for (qsizetype feito = 0; feito < bytes.size();) {
        const ssize_t n = semInterrupcao(
            [&] { return ::pread(fd, bytes.data() + feito, size_t(bytes.size() - feito), off_t(feito)); });
        if (n < 0)
            return errno;
        if (n == 0) {
            bytes.truncate(feito);
            break;
        }
        feito += n;
    }
    return 0;
}

int sincronizarPasta(int pasta)
{
    return semInterrupcao([&] { return ::fsync(pasta); }) == 0 ? 0 : errno;
}

int criarPastas(const QByteArray& caminho)
{
    for (qsizetype barra = 0; barra >= 0;) {
        barra = caminho.indexOf('/', barra + 1);
        const QByteArray parte = barra < 0 ? caminho : caminho.left(barra);
        if (::mkdir(parte.constData(), 0700) != 0) {
            if (errno != EEXIST)
                return errno;
            continue;
        }
        Descritor acima;
        acima.fd = ::open(parte.left(parte.lastIndexOf('/') + 1).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (acima.fd < 0)
            return errno;
        if (const int e = sincronizarPasta(acima.fd))
            return e;
    }
    return 0;
}

}  // namespace Descritores
