#include "platform/ficheiros/FicheiroNovo.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Descritores;

namespace {

// The file system makes no hard links (FAT, some network shares).
bool semLigacoes(int e)
{
    return e == EPERM || e == EOPNOTSUPP || e == ENOSYS;
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
    return criarSemNome(pasta, provisorio, modo, m_ficheiro, m_provisorio);
}

int FicheiroNovo::nomear(const QByteArray& nome)
{
    if (m_provisorio.isEmpty())
        return Descritores::nomear(m_ficheiro.fd, m_pasta, nome);
    if (::linkat(m_pasta, m_provisorio.constData(), m_pasta, nome.constData(), 0) == 0) {
        desistir();
        return 0;
    }
    if (!semLigacoes(errno))
        return errno;
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
    return nomearProvisorio(m_ficheiro.fd, m_pasta, m_provisorioBase, m_provisorio);
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
    if (!m_provisorio.isEmpty())
        ::unlinkat(m_pasta, m_provisorio.constData(), 0);
    m_provisorio.clear();
}
