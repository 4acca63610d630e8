#include "platform/impressao/NomesPdf.h"

#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroNovo.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

using Descritores::mesmoFicheiro;

namespace NomesPdf {

namespace {

// Provisional names tried before the folder is given up.
constexpr int Tentativas = 100;
constexpr qsizetype BlocoCopia = 256 * 1024;

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

int criar(FicheiroNovo& novo, int pasta, const QByteArray& final, mode_t modo)
{
    for (int n = 0; n < Tentativas; ++n) {
        if (const int e = novo.criar(pasta, nomeProvisorio(final), modo))
            return e;
        if (novo.provisorio().isEmpty())
            return 0;
        // Held from now on. A run clearing leftovers that took it in the
        // moment before removes it: another is made.
        if ((::flock(novo.fd(), LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK)
            && mesmoFicheiro(pasta, novo.provisorio(), novo.fd())) {
            tirarAbandonados(pasta);
            return 0;
        }
    }
    return EEXIST;
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
