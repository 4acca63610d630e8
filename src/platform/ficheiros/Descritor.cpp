#include "platform/ficheiros/Descritor.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {

// How many names made from a provisional name follow it (see nomesProvisorios).
constexpr int OutrosProvisorios = 3;

}  // namespace

namespace Descritores {

bool ficheirosSemNome = true;

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

int lerFicheiro(int fd, qint64 maximo, QByteArray& bytes)
{
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return errno;
    if (st.st_size > maximo)
        return EFBIG;
    return lerTudo(fd, st.st_size, bytes);
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

int abrirNaPasta(int pasta, const QByteArray& nome, Escrita escrita)
{
    const auto abrir = [&](int modo) {
        return semInterrupcao(
            [&] { return ::openat(pasta, nome.constData(), modo | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); });
    };
    const int fd = abrir(escrita == Escrita::Nao ? O_RDONLY : O_RDWR);
    if (fd >= 0 || escrita != Escrita::Talvez || (errno != EACCES && errno != EPERM && errno != EROFS))
        return fd;
    return abrir(O_RDONLY);
}

int bloquear(int fd, int tipo, const QDeadlineTimer& prazo)
{
    using namespace std::chrono_literals;
    // Short looks first: a turn is usually given within a few milliseconds.
    std::chrono::nanoseconds pausa = 1ms;
    while (::flock(fd, tipo | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EINTR)
            continue;
        if (e != EWOULDBLOCK || prazo.hasExpired())
            return e;
        std::this_thread::sleep_for(std::min(pausa, prazo.remainingTimeAsDuration()));
        pausa = std::min<std::chrono::nanoseconds>(pausa * 2, 10ms);
    }
    return 0;
}

QList<QByteArray> nomesProvisorios(const QByteArray& provisorio)
{
    QList<QByteArray> nomes{provisorio};
    const QByteArray meu = provisorio + '-' + QByteArray::number(quint64(::geteuid())) + '-';
    for (int n = 1; n <= OutrosProvisorios; ++n)
        nomes << meu + QByteArray::number(n);
    return nomes;
}

bool tirarResto(int pasta, const QByteArray& nome)
{
    struct stat st
    {
    };
    return ::fstatat(pasta, nome.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
           && st.st_uid == ::geteuid() && st.st_nlink == 1 && ::unlinkat(pasta, nome.constData(), 0) == 0;
}

bool mesmoFicheiro(int pasta, const QByteArray& nome, int fd)
{
    struct stat noNome
    {
    }, aberto{};
    return ::fstatat(pasta, nome.constData(), &noNome, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &aberto) == 0
           && noNome.st_dev == aberto.st_dev && noNome.st_ino == aberto.st_ino;
}

}  // namespace Descritores
