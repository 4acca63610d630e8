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

// What this user's runs cut short left at the provisional names of `provisorio`.
void tirarRestos(int pasta, const QByteArray& provisorio)
{
    for (const QByteArray& nome : Descritores::nomesProvisorios(provisorio))
        Descritores::tirarResto(pasta, nome);
}

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

int criarSemNome(int pasta, const QByteArray& provisorio, mode_t modo, Descritor& d, QByteArray& nome)
{
    nome.clear();
    if (ficheirosSemNome) {
        d.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, modo); });
        if (d.fd >= 0)
            return 0;
    }
    tirarRestos(pasta, provisorio);
    for (const QByteArray& candidato : nomesProvisorios(provisorio)) {
        // Made here and now: never a file or link that another user put at the name first.
        d.fd = semInterrupcao([&] {
            return ::openat(pasta, candidato.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        });
        if (d.fd >= 0) {
            nome = candidato;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int nomearProvisorio(int fd, int pasta, const QByteArray& provisorio, QByteArray& nome)
{
    tirarRestos(pasta, provisorio);
    for (const QByteArray& candidato : nomesProvisorios(provisorio)) {
        const int e = nomear(fd, pasta, candidato);
        if (e == 0)
            nome = candidato;
        if (e != EEXIST)
            return e;
    }
    return EEXIST;
}

int nomear(int fd, int pasta, const QByteArray& nome)
{
    const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, proprio.constData(), pasta, nome.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno == EEXIST)
        return errno;
    // Without /proc, the call that needs no name (some systems allow it only to administrators).
    return ::linkat(fd, "", pasta, nome.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

}  // namespace Descritores
