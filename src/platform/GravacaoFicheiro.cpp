#include "platform/GravacaoFicheiro.h"

#include "platform/AtributosFicheiro.h"
#include "platform/CopiaAntiga.h"
#include "platform/Descritor.h"
#include "platform/Erro.h"
#include "platform/SitioFicheiro.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace GravacaoFicheiro {
void (*aoPasso)(Passo) = nullptr;
}

namespace {

using GravacaoFicheiro::Leitura;
using GravacaoFicheiro::Passo;
using Lugar = CopiaAntiga::Lugar;
using Veredicto = CopiaAntiga::Veredicto;
using namespace Descritores;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// How many times a reader without the turn reads a file that changes under it.
constexpr int LeiturasSemVez = 10;

// Where a copy is looked for, and kept: beside the file first.
constexpr Lugar Lugares[] = {Lugar::JuntoAoFicheiro, Lugar::PastaEstado};

void passo(Passo p)
{
    if (GravacaoFicheiro::aoPasso)
        GravacaoFicheiro::aoPasso(p);
}

// The open file's text, and what the file was when the reading began.
Leitura lerDescritor(int fd)
{
    Leitura l;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        l.erro = errno;
    else
        l.erro = lerTudo(fd, st.st_size, l.bytes);
    l.existe = l.erro == 0;
    if (l.existe)
        l.estado = st;
    else
        l.bytes.clear();
    return l;
}

// Same file, same length, same change times.
bool mesmoEstado(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
           && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool abertoParaEscrita(int fd)
{
    const int modo = ::fcntl(fd, F_GETFL);
    return modo >= 0 && (modo & O_ACCMODE) == O_RDWR;
}

// Writes `texto` over the file's own text, cuts the file to its length and syncs it.
int porTexto(int fd, const QByteArray& texto)
{
    passo(Passo::Escrita);
    if (const int e = escreverTudo(fd, texto))
        return e;
    passo(Passo::Truncagem);
    if (semInterrupcao([&] { return ::ftruncate(fd, off_t(texto.size())); }) != 0)
        return errno;
    passo(Passo::Sincronizacao);
    return semInterrupcao([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
}

// Where a copy could not be kept or removed, and why, for the operator's box.
QString naPasta(const CopiaAntiga& copia, int e)
{
    const QByteArray pasta = copia.pasta();
    if (pasta.isEmpty())
        return QStringLiteral("numa pasta de estado do utilizador (não há HOME nem XDG_STATE_HOME)");
    return QStringLiteral("na pasta ") + QFile::decodeName(pasta) + QStringLiteral(" (") + Erros::razaoSistema(e)
           + u')';
}

// What the copies a save into the file itself left came to.
struct Resolucao
{
    int erro = 0;  // the file could not be made whole (EWOULDBLOCK: a save still under way keeps its copy)
    QString razao;
    std::optional<QByteArray> texto;  // the old text, for a reader that may not put it back
};

// Under the exclusive turn: each copy a save into the file itself left, beside
// the file and in the state folder, judged against the file as found (see
// the header). A writer needs every copy gone, else a copy left could later
// be put over its own text; a reader reads as best it can.
Resolucao resolverCopias(const SitioFicheiro& s, bool escritor)
{
    Resolucao r;
    if (s.ficheiro.fd < 0)
        return r;
    for (const Lugar lugar : Lugares) {
        CopiaAntiga copia(lugar, s.pasta.fd, s.ficheiro.fd, s.caminho, s.actual);
        if (!copia.existe())
            continue;
        if (const int e = copia.tomar(s.prazo)) {
            if (e == ENOENT)
                continue;
            r.erro = e;
            if (e != EWOULDBLOCK)
                r.razao = QStringLiteral("A cópia do texto antigo não pôde ser aberta ") + naPasta(copia, e);
            return r;
        }
        QByteArray ficheiro;
        if ((r.erro = lerFicheiro(s.ficheiro.fd, ficheiro)) != 0)
            return r;
        const std::optional<CopiaAntiga::Conteudo> c = copia.ler();
        int e = 0;
        if (!c) {
            e = copia.porDeLado("it is not a whole copy");
        } else if (const Veredicto v = copia.julgar(*c, ficheiro); v == Veredicto::OutroFicheiro) {
            e = copia.porDeLado("the file is not what its save could have left: a newer file");
        } else if (v == Veredicto::Repor && !copia.donoPodeEscrever(*c)) {
            e = copia.porDeLado("whoever made it may not write the file");
        } else if (v == Veredicto::Repor) {
            const int escrita = abertoParaEscrita(s.ficheiro.fd) ? porTexto(s.ficheiro.fd, c->antigo) : EACCES;
            if (escrita != 0 && !escritor) {
                r.texto = c->antigo;
                return r;
            }
            if ((r.erro = escrita) != 0)
                return r;
            e = copia.apagar();
        } else {
            e = copia.apagar();
        }
        if (e != 0 && escritor) {
            r.erro = e;
            r.razao = QStringLiteral("A cópia do texto antigo não pôde ser tirada ") + naPasta(copia, e);
            return r;
        }
    }
    return r;
}

bool temCopia(const SitioFicheiro& s)
{
    for (const Lugar lugar : Lugares) {
        if (CopiaAntiga(lugar, s.pasta.fd, s.ficheiro.fd, s.caminho, s.actual).existe())
            return true;
    }
    return false;
}

// A reading without the turn (a writer stuck past the wait, or a lock the
// system cannot give): the old text when a save into the file itself keeps
// its copy and the file is as that save leaves it part-way, else the file's
// own text, provided no save changed it while it was read (one under way
// would keep its copy, one ended changed the file's times).
Leitura lerSemVez(const QByteArray& caminho)
{
    Descritor pasta;
    pasta.fd = semInterrupcao(
        [&] { return ::open(SitioFicheiro::pastaDe(caminho).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    for (int n = 0; n < LeiturasSemVez; ++n) {
        Descritor d;
        d.fd = semInterrupcao([&] { return ::open(caminho.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
        if (d.fd < 0)
            return errno == ENOENT ? Leitura{} : Leitura{errno, false, {}, std::nullopt};
        const Leitura l = lerDescritor(d.fd);
        struct stat depois
        {
        };
        if (!l.existe || ::fstat(d.fd, &depois) != 0)
            return l;
        for (const Lugar lugar : Lugares) {
            CopiaAntiga copia(lugar, pasta.fd, d.fd, caminho, depois);
            const auto c = copia.existe() ? copia.ler() : std::nullopt;
            if (c && copia.julgar(*c, l.bytes) == Veredicto::Repor && copia.donoPodeEscrever(*c))
                return {0, true, c->antigo, depois};
        }
        if (mesmoEstado(*l.estado, depois))
            return l;
    }
    return {EWOULDBLOCK, false, {}, std::nullopt};
}

// The new file `novo` made what the old one is to its users: owner and group,
// then the mode (a change of owner clears the set-id bits), then the extended
// attributes (an access control list sets the mode's group bits).
bool comoOAntigo(const SitioFicheiro& s, int novo)
{
    struct stat st
    {
    };
    if (::fstat(novo, &st) != 0)
        return false;
    const bool outroDono = st.st_uid != s.actual.st_uid || st.st_gid != s.actual.st_gid;
    if ((outroDono && ::fchown(novo, s.actual.st_uid, s.actual.st_gid) != 0)
        || ::fchmod(novo, s.actual.st_mode & 07777) != 0)
        return false;
    return AtributosFicheiro::copiar(s.ficheiro.fd, novo) == 0;
}

// The usual road: a new file in the folder, made as the old one (owner,
// group, mode, extended attributes), synced and renamed over it.
// NoProprioFicheiro when the old file exists and this road cannot keep it
// as the site set it up.
int porNovoFicheiro(const SitioFicheiro& s, const QByteArray& bytes, struct stat& escrito)
{
    const int pasta = s.pasta.fd;
    const QByteArray nomeTemporario = '.' + s.nome + ".novo";
    Descritor d;
    bool comNome = false;
    if (const int e = criarSemNome(pasta, nomeTemporario, 0666, d, comNome))
        return s.existe && (e == EACCES || e == EPERM || e == EROFS) ? NoProprioFicheiro : e;
    bool nomeado = comNome;
    const auto falhar = [&](int e) {
        if (nomeado)
            ::unlinkat(pasta, nomeTemporario.constData(), 0);
        return e;
    };
    if (s.existe && !comoOAntigo(s, d.fd))
        return falhar(NoProprioFicheiro);
    if (const int e = escreverTudo(d.fd, bytes))
        return falhar(e);
    // A full disk may show only here, when the written blocks get their place.
    if (semInterrupcao([&] { return ::fsync(d.fd); }) != 0)
        return falhar(errno);
    if (!nomeado) {
        // In place of any such file a write cut short left.
        ::unlinkat(pasta, nomeTemporario.constData(), 0);
        if (const int e = nomear(d.fd, pasta, nomeTemporario))
            return e;
        nomeado = true;
    }
    passo(Passo::Substituicao);
    if (::renameat(pasta, nomeTemporario.constData(), pasta, s.nome.constData()) != 0) {
        // EBUSY: the file is mounted there on its own.
        const int e = errno;
        return falhar(s.existe && e == EBUSY ? NoProprioFicheiro : e);
    }
    if (::fstat(d.fd, &escrito) != 0)
        escrito = {};
    // The rename itself on the disk; a folder that cannot be synced changes nothing.
    sincronizarPasta(pasta);
    return 0;
}

// Room on the disk for the file's first `tamanho` bytes, its length kept
// where the file system allows it; elsewhere the file grows to `tamanho` at
// once, zeros past its old end.
int reservar(int fd, off_t tamanho)
{
    if (tamanho == 0)
        return 0;
    if (semInterrupcao([&] { return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, tamanho); }) == 0)
        return 0;
    if (errno != EOPNOTSUPP)
        return errno;
    int e = 0;
    do
        e = ::posix_fallocate(fd, 0, tamanho);
    while (e == EINTR);
    return e;
}

// The road in place (the steps are in the header): the file itself takes
// the text, its inode, owner, group, mode, attributes and every name of it
// unchanged.
int noProprioFicheiro(const SitioFicheiro& s, const QByteArray& antigo, const QByteArray& bytes, struct stat& escrito,
                      QString& razao)
{
    const int fd = s.ficheiro.fd;
    std::optional<CopiaAntiga> copia;
    QStringList falhas;
    int erro = 0;
    for (const Lugar lugar : Lugares) {
        copia.emplace(lugar, s.pasta.fd, fd, s.caminho, s.actual);
        if ((erro = copia->guardar(antigo, bytes)) == 0)
            break;
        falhas << naPasta(*copia, erro);
        copia.reset();
    }
    if (!copia) {
        razao = QStringLiteral("A cópia do texto antigo não pôde ser guardada ") + falhas.join(QStringLiteral(" nem "));
        return erro;
    }
    const auto repor = [&](int e) {
        if (porTexto(fd, antigo) == 0)
            copia->apagar();
        return e;
    };
    if (const int e = reservar(fd, off_t(bytes.size())))
        return repor(e);
    if (const int e = porTexto(fd, bytes))
        return repor(e);
    passo(Passo::Confirmacao);
    if (const int e = copia->apagar()) {
        razao = QStringLiteral("A cópia do texto antigo não pôde ser tirada ") + naPasta(*copia, e);
        return repor(e);
    }
    if (::fstat(fd, &escrito) != 0)
        escrito = {};
    return 0;
}

// What is at the path when it is not a file of text.
int naoETexto(const SitioFicheiro& s)
{
    return S_ISDIR(s.actual.st_mode) ? EISDIR : EINVAL;
}

}  // namespace

namespace GravacaoFicheiro {

Resultado gravar(const QString& caminho, const std::function<QByteArray(const Leitura&)>& compor,
                 std::chrono::milliseconds esperaMaxima)
{
    SitioFicheiro s;
    s.prazo = QDeadlineTimer(esperaMaxima);
    if (const int e = s.abrir(caminho, LOCK_EX, true))
        return {e, std::nullopt, {}};
    if (s.existe && s.ficheiro.fd < 0)
        return {naoETexto(s), std::nullopt, {}};
    if (const Resolucao r = resolverCopias(s, true); r.erro != 0)
        return {r.erro, std::nullopt, r.razao};
    // The file as the writer before left it; a file that cannot be read is not written over.
    const Leitura actual = s.existe ? lerDescritor(s.ficheiro.fd) : Leitura{};
    if (actual.erro != 0)
        return {actual.erro, std::nullopt, {}};
    if (actual.estado)
        s.actual = *actual.estado;
    const QByteArray bytes = compor(actual);
    struct stat escrito
    {
    };
    QString razao;
    // A file of more than one name stays one file: no new file for one of its names.
    int e = s.existe && s.actual.st_nlink > 1 ? NoProprioFicheiro : porNovoFicheiro(s, bytes, escrito);
    if (e == NoProprioFicheiro)
        e = noProprioFicheiro(s, actual.bytes, bytes, escrito, razao);
    if (e != 0)
        return {e, std::nullopt, razao};
    // None when it could not be told: the next reading reads the file again.
    return {0, escrito.st_ino != 0 ? std::optional<struct stat>(escrito) : std::nullopt, {}};
}

Leitura ler(const QString& caminho, std::chrono::milliseconds esperaMaxima)
{
    const QDeadlineTimer prazo(esperaMaxima);
    // Shared among readers; a copy left by a save cut short is judged with
    // the writers' turn, the file then looked at again.
    for (const int tipo : {LOCK_SH, LOCK_EX}) {
        SitioFicheiro s;
        s.prazo = prazo;
        if (const int e = s.abrir(caminho, tipo, false))
            return s.caminho.isEmpty() ? Leitura{e, false, {}, std::nullopt} : lerSemVez(s.caminho);
        if (!s.existe)
            return {};
        if (s.ficheiro.fd < 0)
            return {naoETexto(s), false, {}, std::nullopt};
        if (!temCopia(s))
            return lerDescritor(s.ficheiro.fd);
        if (tipo == LOCK_SH)
            continue;
        const Resolucao r = resolverCopias(s, false);
        if (r.erro != 0)
            return lerSemVez(s.caminho);  // a save under way through a lock this turn does not cover
        if (r.texto)
            return {0, true, *r.texto, s.actual};
        return lerDescritor(s.ficheiro.fd);
    }
    return {};
}

}  // namespace GravacaoFicheiro
