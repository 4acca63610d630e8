#include "platform/ficheiros/CopiaAntiga.h"

#include "platform/Erro.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/ListaAcesso.h"
#include "platform/ficheiros/PermissaoEscrita.h"
#include "platform/ficheiros/SitioFicheiro.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QMap>
#include <QSysInfo>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>

using namespace Descritores;

namespace {

constexpr QByteArrayView Assinatura = "Zumarel: texto antigo e novo de uma gravação no próprio ficheiro\n";

// The user's state folder: none when the user has no home.
QByteArray pastaEstado()
{
    const QByteArray xdg = qgetenv("XDG_STATE_HOME");
    if (xdg.startsWith('/'))
        return xdg + "/zumarel";
    const QByteArray casa = qgetenv("HOME");
    return casa.startsWith('/') ? casa + "/.local/state/zumarel" : QByteArray();
}

// When the file open as `fd` was made, as "seconds.nanoseconds"; empty where the file system does not keep it.
QByteArray nascimento(int fd)
{
    struct statx st
    {
    };
    if (fd < 0 || ::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &st) != 0 || !(st.stx_mask & STATX_BTIME))
        return {};
    return QByteArray::number(qint64(st.stx_btime.tv_sec)) + '.' + QByteArray::number(st.stx_btime.tv_nsec);
}

// A copy's four lines before its texts are far shorter than this, its path included.
constexpr qint64 CabecalhoMaximo = 64 * 1024;

// The length a copy's line gives a text; -1 when it gives none a save could have written.
qint64 tamanhoDe(const QByteArray& linha)
{
    bool ok = false;
    const qint64 n = linha.left(linha.indexOf(' ')).toLongLong(&ok);
    return ok && n >= 0 && n <= GravacaoFicheiro::TamanhoMaximo ? n : -1;
}

// The access control list of a copy beside the file: whoever may read or
// write the file, by any entry of its list or mode, gets the same on the
// copy, the file's owner (a named user of the copy's, as its maker owns it)
// and group included; its maker reads and writes it; nobody else gets
// anything. No one may run it.
QList<ListaAcesso::Entrada> listaDaCopia(int ficheiro, const struct stat& estado, uid_t criador, gid_t grupoCopia)
{
    using namespace ListaAcesso;
    QList<Entrada> doFicheiro = ler(ficheiro);
    if (doFicheiro.isEmpty())
        doFicheiro = doModo(estado.st_mode);
    quint16 mascara = 7;
    for (const Entrada& e : doFicheiro) {
        if (e.tag == Mascara)
            mascara = e.permissoes;
    }
    const auto semExecucao = [](quint16 p) { return quint16(p & (ListaAcesso::Leitura | ListaAcesso::Escrita)); };
    QMap<quint32, quint16> utilizadores, grupos;
    quint16 dono = 0, outros = 0;
    for (const Entrada& e : doFicheiro) {
        const quint16 p = semExecucao(e.permissoes & mascara);
        switch (e.tag) {
        case Dono: dono = semExecucao(e.permissoes); break;
        case Utilizador: utilizadores[e.id] |= p; break;
        case GrupoDono: grupos[estado.st_gid] |= p; break;
        case Grupo: grupos[e.id] |= p; break;
        case Outros: outros = semExecucao(e.permissoes); break;
        default: break;
        }
    }
    utilizadores[estado.st_uid] = dono;
    utilizadores.remove(criador);
    const quint16 grupoDono = grupos.take(grupoCopia);
    QList<Entrada> lista{{Dono, quint16(ListaAcesso::Leitura | ListaAcesso::Escrita)}, {GrupoDono, grupoDono}, {Outros, outros}};
    quint16 classeGrupo = grupoDono;
    for (auto u = utilizadores.cbegin(); u != utilizadores.cend(); ++u) {
        lista.append({Utilizador, u.value(), u.key()});
        classeGrupo |= u.value();
    }
    for (auto g = grupos.cbegin(); g != grupos.cend(); ++g) {
        lista.append({Grupo, g.value(), g.key()});
        classeGrupo |= g.value();
    }
    if (lista.size() > 3)
        lista.append({Mascara, classeGrupo});
    return lista;
}

}  // namespace


CopiaAntiga::CopiaAntiga(Lugar lugar, int pasta, int ficheiro, const QByteArray& caminho, const struct stat& estado)
    : m_lugar(lugar),
      m_pastaFicheiro(pasta),
      m_ficheiro(ficheiro),
      m_caminho(caminho),
      m_estado(estado),
      m_nascimento(nascimento(ficheiro)),
      m_nome(lugar == Lugar::JuntoAoFicheiro
                 ? QByteArray(".zumarel-antigo-" + QByteArray::number(quint64(estado.st_ino)))
                 : QByteArray("copia-" + QByteArray::number(quint64(estado.st_dev)) + '-'
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
    const int fd = m_copia.fd >= 0 ? m_copia.fd : porNome.fd;
    struct stat st
    {
    };
    QByteArray copia;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || lerTudo(fd, qMin<off_t>(st.st_size, CabecalhoMaximo), copia) != 0 || !copia.startsWith(Assinatura))
        return std::nullopt;
    // Four lines: the file's path (for a technician who opens the copy), its
    // birth, the old and the new text's length and checksum; then both texts.
    QList<QByteArray> linhas;
    qsizetype inicio = Assinatura.size();
    for (int n = 0; n < 4; ++n) {
        const qsizetype fim = copia.indexOf('\n', inicio);
        if (fim < 0)
            return std::nullopt;
        linhas << copia.mid(inicio, fim - inicio);
        inicio = fim + 1;
    }
    // Its texts are read only when the copy is as long as its lines say: never more than two texts can hold.
    const qint64 tamanhoAntigo = tamanhoDe(linhas[2]), tamanhoNovo = tamanhoDe(linhas[3]);
    if (tamanhoAntigo < 0 || tamanhoNovo < 0 || st.st_size != inicio + tamanhoAntigo + tamanhoNovo
        || lerTudo(fd, st.st_size, copia) != 0)
        return std::nullopt;
    Conteudo c{st.st_uid, linhas[1] == "-" ? QByteArray() : linhas[1], copia.mid(inicio, tamanhoAntigo),
               copia.mid(inicio + tamanhoAntigo)};
    if (MarcaGravacao::verificacao(c.antigo) != linhas[2] || MarcaGravacao::verificacao(c.novo) != linhas[3])
        return std::nullopt;
    return c;
}

CopiaAntiga::Veredicto CopiaAntiga::julgar(const Conteudo& copia, const QByteArray& ficheiro) const
{
    if (!copia.nascimento.isEmpty() && !m_nascimento.isEmpty() && copia.nascimento != m_nascimento)
        return Veredicto::OutroFicheiro;
    if (ficheiro == copia.novo || ficheiro == copia.antigo)
        return Veredicto::Inteiro;
    // The save wrote the new text over the old one from the start, in room
    // reserved past the old end (zeros), and cut it to length: each byte is
    // one of those, at a length between the two texts'.
    const QByteArray &antigo = copia.antigo, &novo = copia.novo;
    if (ficheiro.size() < qMin(antigo.size(), novo.size()) || ficheiro.size() > qMax(antigo.size(), novo.size()))
        return Veredicto::OutroFicheiro;
    for (qsizetype i = 0; i < ficheiro.size(); ++i) {
        const char b = ficheiro[i];
        if (!((i < antigo.size() && b == antigo[i]) || (i < novo.size() && b == novo[i])
              || (i >= antigo.size() && b == '\0')))
            return Veredicto::OutroFicheiro;
    }
    return Veredicto::Repor;
}

bool CopiaAntiga::donoPodeEscrever(const Conteudo& copia) const
{
    return utilizadorPodeEscrever(copia.dono, m_ficheiro, m_estado);
}

bool CopiaAntiga::daMarca(const Conteudo& copia, const MarcaGravacao& marca)
{
    return MarcaGravacao::verificacao(copia.antigo) == marca.antigo
           && MarcaGravacao::verificacao(copia.novo) == marca.novo;
}

int CopiaAntiga::guardar(const QByteArray& antigo, const QByteArray& novo)
{
    if (const int e = abrirPasta(true))
        return e;
    const int pasta = descritorPasta();
    Descritor d;
    QByteArray provisorio;
    if (const int e = criarSemNome(pasta, m_nome + ".novo", 0600, d, provisorio))
        return e;
    const auto falhar = [&](int e) {
        if (!provisorio.isEmpty())
            ::unlinkat(pasta, provisorio.constData(), 0);
        return e;
    };
    if (semInterrupcao([&] { return ::flock(d.fd, LOCK_EX | LOCK_NB); }) != 0)
        return falhar(errno);
    GravacaoFicheiro::passo(GravacaoFicheiro::Passo::Copia);
    if (m_lugar == Lugar::JuntoAoFicheiro) {
        if (const int e = darPermissoes(d.fd))
            return falhar(e);
    }
    m_verificacaoAntigo = MarcaGravacao::verificacao(antigo);
    m_verificacaoNovo = MarcaGravacao::verificacao(novo);
    if (const int e = escreverTudo(d.fd, formar(antigo, novo)))
        return falhar(e);
    if (semInterrupcao([&] { return ::fsync(d.fd); }) != 0)
        return falhar(errno);
    // Named only now: whoever finds it finds it whole, and locked while this save lives.
    if (!provisorio.isEmpty()) {
        const int e = ::linkat(pasta, provisorio.constData(), pasta, m_nome.constData(), 0) == 0 ? 0 : errno;
        falhar(0);
        if (e != 0)
            return e;
    } else if (const int e = nomear(d.fd, pasta, m_nome)) {
        return e;
    }
    std::swap(m_copia.fd, d.fd);
    // The name on the disk; a folder that cannot be synced changes nothing
    // (the mark, synced with the file, tells a copy lost to a power cut).
    sincronizarPasta(pasta);
    return 0;
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
    struct stat st
    {
    };
    if (::fstatat(descritorPasta(), m_nome.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return QStringLiteral("Há na pasta ") + QFile::decodeName(pasta()) + QStringLiteral(" uma entrada ")
           + QFile::decodeName(m_nome) + QStringLiteral(" (") + DescricaoEntrada::tipoEDono(st) + QStringLiteral(") que não é uma cópia desta estação");
}

QString CopiaAntiga::naoLida(int e) const
{
    const QString razao = e == EACCES || e == EPERM
                              ? QStringLiteral("Sem permissão para ler [") + QString::fromLocal8Bit(strerror(e)) + u']'
                              : Erros::razaoSistema(e);
    return QStringLiteral("A cópia do texto antigo ") + QFile::decodeName(m_nome) + QStringLiteral(" na pasta ")
           + QFile::decodeName(pasta()) + QStringLiteral(" não pode ser lida (") + razao + u')';
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

// Its lines and texts, the checksums already taken.
QByteArray CopiaAntiga::formar(const QByteArray& antigo, const QByteArray& novo) const
{
    return Assinatura.toByteArray() + m_caminho.toPercentEncoding("/") + '\n'
           + (m_nascimento.isEmpty() ? QByteArray("-") : m_nascimento) + '\n' + m_verificacaoAntigo + '\n'
           + m_verificacaoNovo + '\n' + antigo + novo;
}

// The file's group where this user may give it, and an access control list
// by which whoever may read the file may read the copy (see listaDaCopia).
// A file system without such lists gets the file's mode, never more than
// it gives: a group this user may not give leaves the copy its own, with no
// more right than others have.
int CopiaAntiga::darPermissoes(int copia) const
{
    struct stat st
    {
    };
    if (::fstat(copia, &st) != 0)
        return errno;
    const bool grupo = st.st_gid == m_estado.st_gid || ::fchown(copia, uid_t(-1), m_estado.st_gid) == 0;
    const int e = ListaAcesso::escrever(
        copia, listaDaCopia(m_ficheiro, m_estado, st.st_uid, grupo ? m_estado.st_gid : st.st_gid));
    if (e != ENOTSUP)
        return e;
    mode_t modo = m_estado.st_mode & 0666;
    if (!grupo)
        modo = (modo & 0606) | ((modo & 06) << 3);
    return ::fchmod(copia, modo) == 0 ? 0 : errno;
}
