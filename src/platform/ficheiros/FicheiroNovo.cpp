#include "platform/ficheiros/FicheiroNovo.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Descritores;

namespace {

// The file system makes no hard links (FAT, some network shares).
bool semLigacoes(int e)
{
    return e == EPERM || e == EOPNOTSUPP || e == ENOSYS;
}

// A link of the open file itself, never of whatever its provisional name
// leads to now; EEXIST when `nome` is taken.
int ligar(int fd, int pasta, const QByteArray& nome)
{
    const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, proprio.constData(), pasta, nome.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT)
        return errno;
    // Without /proc, the call that needs no name (some systems allow it only to administrators).
    return ::linkat(fd, "", pasta, nome.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// What this user's runs cut short left at the provisional names of `provisorio`.
void tirarRestos(int pasta, const QByteArray& provisorio)
{
    for (const QByteArray& nome : nomesProvisorios(provisorio))
        tirarResto(pasta, nome);
}

}  // namespace

FicheiroNovo::~FicheiroNovo()
{
    desistir();
}

int FicheiroNovo::criar(int pasta, const QByteArray& provisorio, mode_t modo)
{
    desistir();
    m_ficheiro.fechar();
    m_pasta = pasta;
    m_provisorioBase = provisorio;
    if (ficheirosSemNome) {
        m_ficheiro.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, modo); });
        if (m_ficheiro.fd >= 0)
            return 0;
    }
    tirarRestos(pasta, provisorio);
    for (const QByteArray& candidato : nomesProvisorios(provisorio)) {
        // Made here and now: never a file or link that another user put at the name first.
        m_ficheiro.fd = semInterrupcao([&] {
            return ::openat(pasta, candidato.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modo);
        });
        if (m_ficheiro.fd >= 0) {
            m_provisorio = candidato;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int FicheiroNovo::nomear(const QByteArray& nome)
{
    const int e = ligar(m_ficheiro.fd, m_pasta, nome);
    if (e == 0) {
        desistir();
        return 0;
    }
    if (!semLigacoes(e) || m_provisorio.isEmpty())
        return semLigacoes(e) ? EOPNOTSUPP : e;
    // Renamed only while the provisional name is still this file's.
    if (!mesmoFicheiro(m_pasta, m_provisorio, m_ficheiro.fd))
        return ENOENT;
    if (::renameat2(m_pasta, m_provisorio.constData(), m_pasta, nome.constData(), RENAME_NOREPLACE) == 0) {
        m_provisorio.clear();
        return 0;
    }
    // EINVAL: the file system has no rename that never replaces.
    return errno == EINVAL || errno == ENOSYS ? EOPNOTSUPP : errno;
}

int FicheiroNovo::darNomeProvisorio()
{
    if (!m_provisorio.isEmpty())
        return 0;
    tirarRestos(m_pasta, m_provisorioBase);
    for (const QByteArray& candidato : nomesProvisorios(m_provisorioBase)) {
        const int e = ligar(m_ficheiro.fd, m_pasta, candidato);
        if (e == 0)
            m_provisorio = candidato;
        if (e != EEXIST)
            return e;
    }
    return EEXIST;
}

int FicheiroNovo::substituir(const QByteArray& nome)
{
    if (const int e = darNomeProvisorio())
        return e;
    if (::renameat(m_pasta, m_provisorio.constData(), m_pasta, nome.constData()) != 0)
        return errno;
    m_provisorio.clear();
    return 0;
}

void FicheiroNovo::desistir()
{
    // Another's entry put at the name meanwhile stays.
    if (!m_provisorio.isEmpty() && mesmoFicheiro(m_pasta, m_provisorio, m_ficheiro.fd))
        ::unlinkat(m_pasta, m_provisorio.constData(), 0);
    m_provisorio.clear();
}
