#include "platform/CopiaAntiga.h"

#include "platform/GravacaoFicheiro.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <QList>
#include <fcntl.h>
#include <sys/file.h>

using namespace Descritores;

namespace {

constexpr QByteArrayView Assinatura = "Zumarel: texto antigo de um ficheiro\n";

// The user's state folder: none when the user has no home.
QByteArray pastaEstado()
{
    const QByteArray xdg = qgetenv("XDG_STATE_HOME");
    if (xdg.startsWith('/'))
        return xdg + "/zumarel";
    const QByteArray casa = qgetenv("HOME");
    return casa.startsWith('/') ? casa + "/.local/state/zumarel" : QByteArray();
}

QByteArray soma(const QByteArray& texto)
{
    return QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
}

int abrirCopia(const QByteArray& caminho)
{
    return semInterrupcao([&] { return ::open(caminho.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
}

}  // namespace

CopiaAntiga::CopiaAntiga(const QByteArray& caminho, const struct stat& ficheiro)
    : m_caminho(caminho),
      m_ficheiro(ficheiro),
      m_nome("copia-" + QByteArray::number(quint64(ficheiro.st_dev)) + '-'
             + QByteArray::number(quint64(ficheiro.st_ino)))
{}

bool CopiaAntiga::existe() const
{
    return ::access(caminhoCopia().constData(), F_OK) == 0;
}

int CopiaAntiga::tomar()
{
    m_copia.fd = abrirCopia(caminhoCopia());
    struct stat st
    {
    };
    if (m_copia.fd < 0 || semInterrupcao([&] { return ::flock(m_copia.fd, LOCK_EX | LOCK_NB); }) != 0
        || ::fstat(m_copia.fd, &st) != 0)
        return errno;
    return st.st_nlink == 0 ? ENOENT : 0;  // its save ended meanwhile
}

std::optional<QByteArray> CopiaAntiga::texto() const
{
    Descritor porNome;
    if (m_copia.fd < 0)
        porNome.fd = abrirCopia(caminhoCopia());
    const int fd = m_copia.fd >= 0 ? m_copia.fd : porNome.fd;
    struct stat st
    {
    };
    QByteArray copia;
    if (fd < 0 || ::fstat(fd, &st) != 0 || lerTudo(fd, st.st_size, copia) != 0)
        return std::nullopt;
    return interpretar(copia);
}

int CopiaAntiga::guardar(const QByteArray& antigo)
{
    if (const int e = abrirPasta())
        return e;
    m_copia.fd = semInterrupcao(
        [&] { return ::openat(m_pasta.fd, m_nome.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); });
    if (m_copia.fd < 0 || semInterrupcao([&] { return ::flock(m_copia.fd, LOCK_EX | LOCK_NB); }) != 0)
        return errno;
    if (GravacaoFicheiro::aoPasso)
        GravacaoFicheiro::aoPasso(GravacaoFicheiro::Passo::Copia);
    if (semInterrupcao([&] { return ::ftruncate(m_copia.fd, 0); }) != 0)
        return errno;
    if (const int e = escreverTudo(m_copia.fd, formar(antigo)))
        return apagar(), e;
    if (semInterrupcao([&] { return ::fsync(m_copia.fd); }) != 0)
        return apagar(), errno;
    return sincronizarPasta(m_pasta.fd);
}

int CopiaAntiga::apagar()
{
    if (const int e = abrirPasta())
        return e;
    if (::unlinkat(m_pasta.fd, m_nome.constData(), 0) != 0 && errno != ENOENT)
        return errno;
    sincronizarPasta(m_pasta.fd);
    return 0;
}

QByteArray CopiaAntiga::caminhoCopia() const
{
    const QByteArray pasta = pastaEstado();
    return pasta.isEmpty() ? QByteArray() : pasta + '/' + m_nome;
}

int CopiaAntiga::abrirPasta()
{
    if (m_pasta.fd >= 0)
        return 0;
    const QByteArray pasta = pastaEstado();
    if (pasta.isEmpty())
        return ENOENT;
    if (const int e = criarPastas(pasta))
        return e;
    m_pasta.fd = semInterrupcao([&] { return ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    return m_pasta.fd < 0 ? errno : 0;
}

QByteArray CopiaAntiga::formar(const QByteArray& antigo) const
{
    return Assinatura.toByteArray() + m_caminho.toPercentEncoding("/") + '\n' + QByteArray::number(antigo.size()) + ' '
           + soma(antigo) + '\n' + antigo;
}

std::optional<QByteArray> CopiaAntiga::interpretar(const QByteArray& copia) const
{
    const qsizetype fimCaminho = copia.indexOf('\n', Assinatura.size());
    const qsizetype fimSoma = fimCaminho < 0 ? -1 : copia.indexOf('\n', fimCaminho + 1);
    if (!copia.startsWith(Assinatura) || fimSoma < 0)
        return std::nullopt;
    const QByteArray caminho =
        QByteArray::fromPercentEncoding(copia.mid(Assinatura.size(), fimCaminho - Assinatura.size()));
    const QList<QByteArray> verificacao = copia.mid(fimCaminho + 1, fimSoma - fimCaminho - 1).split(' ');
    QByteArray antigo = copia.mid(fimSoma + 1);
    if (verificacao.size() != 2 || verificacao[0] != QByteArray::number(antigo.size()) || verificacao[1] != soma(antigo)
        || !doFicheiro(caminho))
        return std::nullopt;
    return antigo;
}

// The copy's path is this file's, or still leads to it (another of its names).
bool CopiaAntiga::doFicheiro(const QByteArray& caminho) const
{
    struct stat st
    {
    };
    return caminho == m_caminho
           || (::stat(caminho.constData(), &st) == 0 && st.st_dev == m_ficheiro.st_dev
               && st.st_ino == m_ficheiro.st_ino);
}
