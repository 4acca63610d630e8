#include "platform/impressao/NomesPdf.h"

#include "platform/ficheiros/Descritor.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace NomesPdf {

namespace {

// Provisional names tried before the folder is given up.
constexpr int Tentativas = 100;
constexpr qsizetype BlocoCopia = 256 * 1024;

// Whether the name `nome` of `pasta` still leads to the file open as `fd`.
bool mesmoFicheiro(int pasta, const QByteArray& nome, int fd)
{
    struct stat noNome{}, aberto{};
    return ::fstatat(pasta, nome.constData(), &noNome, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &aberto) == 0
           && noNome.st_dev == aberto.st_dev && noNome.st_ino == aberto.st_ino;
}

// A name nomeProvisorio makes for a PDF.
bool eProvisorio(const char* nome)
{
    static const QRegularExpression padrao(QStringLiteral("^\\..+\\.pdf\\.novo-[0-9a-z]{13}$"));
    return padrao.match(QString::fromUtf8(nome)).hasMatch();
}

}  // namespace

QByteArray nomeProvisorio(const QByteArray& final)
{
    return '.' + final + ".novo-"
           + QByteArray::number(QRandomGenerator::system()->generate64(), 36).rightJustified(13, '0');
}

int criar(int pasta, const QByteArray& final, mode_t modo, bool guardado, Descritor& ficheiro, QByteArray& provisorio)
{
    provisorio.clear();
    if (Descritores::ficheirosSemNome) {
        ficheiro.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, modo); });
        if (ficheiro.fd >= 0)
            return 0;
    }
    if (guardado)
        tirarAbandonados(pasta);
    for (int n = 0; n < Tentativas; ++n) {
        const QByteArray nome = nomeProvisorio(final);
        // Made here and now: never a file or link that someone else put at the name first.
        ficheiro.fd = semInterrupcao([&] {
            return ::openat(pasta, nome.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        });
        if (ficheiro.fd < 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        // Held from now on. A run clearing leftovers that took it in the
        // moment before removes it: another is made.
        if (guardado && ((::flock(ficheiro.fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
                         || !mesmoFicheiro(pasta, nome, ficheiro.fd))) {
            ficheiro.fechar();
            continue;
        }
        provisorio = nome;
        return 0;
    }
    return EEXIST;
}

int ligar(int ficheiro, int pasta, const QByteArray& provisorio, const QByteArray& nome)
{
    const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(ficheiro);
    if (::linkat(AT_FDCWD, proprio.constData(), pasta, nome.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // Without /proc, by the provisional name where there is one.
    if (errno != ENOENT || provisorio.isEmpty() || !mesmoFicheiro(pasta, provisorio, ficheiro))
        return errno;
    return ::linkat(pasta, provisorio.constData(), pasta, nome.constData(), 0) == 0 ? 0 : errno;
}

int renomear(int ficheiro, int pasta, const QByteArray& provisorio, const QByteArray& nome)
{
    if (provisorio.isEmpty())
        return EOPNOTSUPP;
    if (!mesmoFicheiro(pasta, provisorio, ficheiro))
        return ENOENT;
    return ::renameat2(pasta, provisorio.constData(), pasta, nome.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int copiarExclusivo(int ficheiro, int pasta, const QByteArray& nome, mode_t modo)
{
    Descritor copia;
    copia.fd = semInterrupcao([&] {
        return ::openat(pasta, nome.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
    });
    if (copia.fd < 0)
        return errno;
    int e = 0;
    QByteArray bloco(BlocoCopia, Qt::Uninitialized);
    for (off_t lidos = 0; e == 0;) {
        const ssize_t n = semInterrupcao([&] { return ::pread(ficheiro, bloco.data(), size_t(bloco.size()), lidos); });
        if (n <= 0) {
            e = n < 0 ? errno : 0;
            break;
        }
        for (ssize_t feito = 0; feito < n && e == 0;) {
            const ssize_t escrito = semInterrupcao(
                [&] { return ::pwrite(copia.fd, bloco.constData() + feito, size_t(n - feito), lidos + feito); });
            if (escrito <= 0)
                e = escrito < 0 ? errno : EIO;
            else
                feito += escrito;
        }
        lidos += n;
    }
    if (e == 0 && semInterrupcao([&] { return ::fdatasync(copia.fd); }) != 0)
        e = errno;
    if (e != 0 && mesmoFicheiro(pasta, nome, copia.fd))
        ::unlinkat(pasta, nome.constData(), 0);
    return e;
}

void tirarProvisorio(int ficheiro, int pasta, const QByteArray& provisorio)
{
    if (!provisorio.isEmpty() && mesmoFicheiro(pasta, provisorio, ficheiro))
        ::unlinkat(pasta, provisorio.constData(), 0);
}

bool naoSuportado(int erro)
{
    // A link refused by FAT (EPERM), a rename without its flags (EINVAL), or no such call at all.
    return erro == EPERM || erro == EOPNOTSUPP || erro == ENOSYS || erro == EINVAL;
}

void tirarAbandonados(int pasta)
{
    const int copia = ::fcntl(pasta, F_DUPFD_CLOEXEC, 0);
    DIR* lista = copia >= 0 ? ::fdopendir(copia) : nullptr;
    if (!lista) {
        if (copia >= 0)
            ::close(copia);
        return;
    }
    ::rewinddir(lista);
    while (const dirent* entrada = ::readdir(lista)) {
        if (!eProvisorio(entrada->d_name))
            continue;
        const QByteArray nome(entrada->d_name);
        struct stat st{};
        if (::fstatat(pasta, nome.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)
            || st.st_uid != ::geteuid() || st.st_nlink != 1)
            continue;
        Descritor f;
        f.fd = ::openat(pasta, nome.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        // Held by a run that lives: its own.
        if (f.fd < 0 || !mesmoFicheiro(pasta, nome, f.fd) || ::flock(f.fd, LOCK_EX | LOCK_NB) != 0)
            continue;
        if (mesmoFicheiro(pasta, nome, f.fd))
            ::unlinkat(pasta, nome.constData(), 0);
    }
    ::closedir(lista);
}

}  // namespace NomesPdf
