#include "platform/ficheiros/CopiaAntiga.h"

#include "platform/Erro.h"
#include "platform/ficheiros/ComumFicheiros.h"
#include "platform/ficheiros/ConteudoCopia.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/FicheiroNovo.h"
#include "platform/ficheiros/PermissaoEscrita.h"
#include "platform/ficheiros/PermissoesCopia.h"
#include "platform/ficheiros/SitioFicheiro.h"
#include "platform/ficheiros/Utilizadores.h"
#include "platform/ficheiros/VezOcupada.h"

#include <QDateTime>
#include <QFile>
#include <QScopeGuard>
#include <QSysInfo>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>

using namespace Descritores;

namespace {

// What names a copy beside the file, before the file's inode number.
constexpr QByteArrayView NomeJunto = ".zumarel-antigo-";

// What names a copy in the state folder, before the file's device and inode numbers.
constexpr QByteArrayView PrefixoEstado = "copia-";

// The user's state folder: none when the user has no home.
QByteArray pastaEstado()
{
    const QByteArray xdg = qgetenv("XDG_STATE_HOME");
    if (xdg.startsWith('/'))
        return xdg + "/zumarel";
    const QByteArray casa = qgetenv("HOME");
    return casa.startsWith('/') ? casa + "/.local/state/zumarel" : QByteArray();
}

}  // namespace


CopiaAntiga::CopiaAntiga(Lugar lugar, int pasta, int ficheiro, const QByteArray& caminho, const struct stat& estado)
    : m_lugar(lugar),
      m_pastaFicheiro(pasta),
      m_ficheiro(ficheiro),
      m_caminho(caminho),
      m_estado(estado),
      m_nascimento(ConteudoCopia::nascimento(ficheiro)),
      m_nome(lugar == Lugar::JuntoAoFicheiro
                 ? QByteArray(NomeJunto.toByteArray() + QByteArray::number(quint64(estado.st_ino)))
                 : QByteArray(PrefixoEstado.toByteArray() + QByteArray::number(quint64(estado.st_dev)) + '-'
                              + QByteArray::number(quint64(estado.st_ino))))
{}

bool CopiaAntiga::existe()
{
    struct stat st
    {
    };
    return abrirPasta(false) == 0
           && ::fstatat(descritorPasta(), m_nome.constData(),
                        &st, AT_SYMLINK_NOFOLLOW)
                  == 0;
}

int CopiaAntiga::tomar(const QDeadlineTimer& prazo)
{
    if (const int e = abrirPasta(false))
        return e;
    struct stat st
    {
    };
    if (::fstatat(descritorPasta(), m_nome.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return NaoEFicheiro;
    // Written where it may be (a lock some systems give only so), else read.
    m_copia.fd = abrirNaPasta(descritorPasta(), m_nome, Escrita::Talvez);
    if (m_copia.fd < 0)
        return errno == ELOOP ? NaoEFicheiro : errno;
    if (::fstat(m_copia.fd, &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return NaoEFicheiro;
    if (const int e = bloquear(m_copia.fd, LOCK_EX, prazo))
        return e;
    if (::fstat(m_copia.fd, &st) != 0)
        return errno;
    return st.st_nlink == 0 ? ENOENT : 0;  // its save ended meanwhile
}

std::optional<CopiaAntiga::Conteudo> CopiaAntiga::ler() const
{
    Descritor porNome;
    if (m_copia.fd < 0)
        porNome.fd = abrirNaPasta(descritorPasta(), m_nome, Escrita::Nao);
    return ConteudoCopia::ler(m_copia.fd >= 0 ? m_copia.fd : porNome.fd);
}

CopiaAntiga::Veredicto CopiaAntiga::julgar(const Conteudo& copia, const QByteArray& ficheiro) const
{
    return ConteudoCopia::julgar(copia, m_nascimento, ficheiro);
}

bool CopiaAntiga::donoPodeEscrever(const Conteudo& copia) const
{
    return utilizadorPodeEscrever(copia.dono, m_ficheiro, m_estado);
}

int CopiaAntiga::fazer(FicheiroNovo& copia)
{
    const int pasta = descritorPasta();
    // Saves of this user's other files make copies in the state folder under
    // turns of their own: none removes leftovers there while one makes its
    // copy, until that copy is locked.
    const bool noEstado = m_lugar == Lugar::PastaEstado;
    if (noEstado)
        semInterrupcao([&] { return ::flock(pasta, LOCK_SH); });
    const auto soltar = qScopeGuard([&] {
        if (noEstado)
            ::flock(pasta, LOCK_UN);
    });
    if (const int e = copia.criar(pasta, m_nome + ".novo", 0600))
        return e == EEXIST ? NomesProvisoriosTomados : e;
    if (semInterrupcao([&] { return ::flock(copia.fd(), LOCK_EX | LOCK_NB); }) != 0)
        return errno;
    if (!copia.provisorio().isEmpty() && (!noEstado || ::flock(pasta, LOCK_EX | LOCK_NB) == 0))
        tirarRestos(pasta, (noEstado ? PrefixoEstado : NomeJunto).toByteArray(), noEstado ? 2 : 1, copia.provisorio());
    return 0;
}

int CopiaAntiga::guardar(const QByteArray& antigo, const QByteArray& novo)
{
    if (const int e = abrirPasta(true))
        return e;
    FicheiroNovo copia;
    if (const int e = fazer(copia))
        return e;
    GravacaoFicheiro::passo(GravacaoFicheiro::Passo::Copia);
    if (m_lugar == Lugar::JuntoAoFicheiro) {
        if (const int e = PermissoesCopia::dar(copia.fd(), m_ficheiro, m_estado))
            return e;
    }
    m_verificacaoAntigo = MarcaGravacao::verificacao(antigo);
    m_verificacaoNovo = MarcaGravacao::verificacao(novo);
    if (const int e = escreverTudo(copia.fd(), ConteudoCopia::formar(m_caminho, m_nascimento, antigo, novo)))
        return e;
    if (semInterrupcao([&] { return ::fsync(copia.fd()); }) != 0)
        return errno;
    // Named only now: whoever finds it finds it whole, and locked while this save lives.
    if (const int e = copia.nomear(m_nome))
        return e;
    m_copia = copia.soltar();
    // The name on the disk; a folder that cannot be synced changes nothing
    // (the mark, synced with the file, tells a copy lost to a power cut).
    sincronizarPasta(descritorPasta());
    return 0;
}

void CopiaAntiga::tirarRestos(int pasta, const QByteArray& excepto)
{
    tirarRestos(pasta, NomeJunto.toByteArray(), 1, excepto);
}

void CopiaAntiga::tirarRestos(int pasta, const QByteArray& prefixo, qsizetype partes, const QByteArray& excepto)
{
    Descritor lista;
    lista.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    DIR* d = lista.fd >= 0 ? ::fdopendir(lista.fd) : nullptr;
    if (!d)
        return;
    lista.fd = -1;  // the folder's stream closes it
    QList<QByteArray> restos;
    while (const dirent* e = ::readdir(d)) {
        const QByteArrayView nome(e->d_name);
        const qsizetype fim = nome.indexOf(".novo");
        if (!nome.startsWith(prefixo) || fim <= prefixo.size())
            continue;
        // The numbers that name the file (its inode; in the state folder, its device and inode).
        const QList<QByteArray> numeros = nome.sliced(prefixo.size(), fim - prefixo.size()).toByteArray().split('-');
        const bool numerado = numeros.size() == partes && std::all_of(numeros.begin(), numeros.end(), [](const QByteArray& n) {
            return !n.isEmpty() && std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; });
        });
        const QByteArray provisorio = nome.first(fim + 5).toByteArray();
        if (numerado && nomesProvisorios(provisorio).contains(nome) && nome != excepto)
            restos << nome.toByteArray();
    }
    ::closedir(d);
    for (const QByteArray& nome : restos)
        tirarResto(pasta, nome);
}

MarcaGravacao CopiaAntiga::marca() const
{
    const uid_t eu = ::geteuid();
    return {eu, Utilizadores::nome(eu), QSysInfo::machineHostName(), pasta(), m_nome, m_verificacaoAntigo,
            m_verificacaoNovo};
}

int CopiaAntiga::apagar()
{
    const int pasta = descritorPasta();
    if (::unlinkat(pasta, m_nome.constData(), 0) != 0 && errno != ENOENT)
        return errno;
    return 0;
}

int CopiaAntiga::porDeLado(const char* porque)
{
    const int pasta = descritorPasta();
    const QByteArray novoNome =
        m_nome + ".posta-de-lado-" + QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd-HHmmsszzz").toLatin1();
    const int e = ::renameat(pasta, m_nome.constData(), pasta, novoNome.constData()) == 0 ? 0 : errno;
    if (e == 0) {
        sincronizarPasta(pasta);
        qCWarning(diarioFicheiros).nospace() << "the rollback copy " << m_nome << " in " << this->pasta() << " of "
                                             << m_caminho << " was set aside as " << novoNome << ": " << porque;
    } else {
        qCWarning(diarioFicheiros).nospace() << "the rollback copy " << m_nome << " in " << this->pasta() << " of "
                                             << m_caminho << " could not be set aside (" << strerror(e)
                                             << "): " << porque;
    }
    return e;
}

QString CopiaAntiga::ocupante() const
{
    const QString qual = entrada();
    return qual.isEmpty() ? QString() : qual + QStringLiteral(" que não é uma cópia desta estação");
}

QString CopiaAntiga::naoLida(int e) const
{
    if (e == NaoEFicheiro)
        return ocupante();
    const QString razao = e == EACCES || e == EPERM ? DescricaoEntrada::semPermissaoLer(e) : Erros::razaoSistema(e);
    // Unread, it is not known to be a copy of this station's: named as any entry.
    QString qual = entrada();
    if (qual.isEmpty())
        qual = DescricaoEntrada::naPasta(pasta(), m_nome, nullptr);
    return qual + QStringLiteral(" que esta estação não pode ler (") + razao + u')';
}

QString CopiaAntiga::quemTemAVez() const
{
    struct stat st
    {
    };
    if (m_copia.fd < 0 || ::fstat(m_copia.fd, &st) != 0)
        return {};
    return VezOcupada::razao(st, pasta() + '/' + m_nome);
}

// What holds the copy's name, its kind and owner: "Há na pasta /srv/posto
// uma entrada .zumarel-antigo-12 (um FIFO, de joana)"; empty when nothing does.
QString CopiaAntiga::entrada() const
{
    struct stat st
    {
    };
    if (::fstatat(descritorPasta(), m_nome.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return DescricaoEntrada::naPasta(pasta(), m_nome, &st);
}

QByteArray CopiaAntiga::pasta() const
{
    return m_lugar == Lugar::JuntoAoFicheiro ? SitioFicheiro::pastaDe(m_caminho) : pastaEstado();
}

int CopiaAntiga::descritorPasta() const
{
    return m_lugar == Lugar::JuntoAoFicheiro ? m_pastaFicheiro : m_pastaEstado.fd;
}

int CopiaAntiga::abrirPasta(bool criar)
{
    if (m_lugar == Lugar::JuntoAoFicheiro || m_pastaEstado.fd >= 0)
        return 0;
    const QByteArray pasta = pastaEstado();
    if (pasta.isEmpty())
        return ENOENT;
    if (criar) {
        if (const int e = criarPastas(pasta))
            return e;
    }
    m_pastaEstado.fd = semInterrupcao([&] { return ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    return m_pastaEstado.fd < 0 ? errno : 0;
}

