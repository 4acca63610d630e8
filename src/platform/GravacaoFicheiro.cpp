#include "platform/GravacaoFicheiro.h"

#include "platform/AtributosFicheiro.h"
#include "platform/CopiaAntiga.h"
#include "platform/Descritor.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace GravacaoFicheiro {
void (*aoPasso)(Passo) = nullptr;
}

namespace {

using namespace std::chrono_literals;
using GravacaoFicheiro::Leitura;
using GravacaoFicheiro::Passo;
using namespace Descritores;

// The system's own bound on a chain of symbolic links.
constexpr int LigacoesMaximas = 40;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// How many times a reader without the turn reads a file that changes under it.
constexpr int LeiturasSemVez = 10;

void passo(Passo p)
{
    if (GravacaoFicheiro::aoPasso)
        GravacaoFicheiro::aoPasso(p);
}

// The file that `caminho` (absolute) leads to once every symbolic link is
// followed, a relative link from its own folder; a path that leads nowhere
// yet is the name of the file to make (a folder missing on the way shows
// when it is opened).
int ficheiroReal(QByteArray& caminho)
{
    for (int n = 0; n < LigacoesMaximas; ++n) {
        struct stat st
        {
        };
        if (::lstat(caminho.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        QByteArray alvo(PATH_MAX, '\0');
        const ssize_t tamanho = ::readlink(caminho.constData(), alvo.data(), size_t(alvo.size()));
        if (tamanho < 0)
            return errno;
        alvo.truncate(tamanho);
        if (!alvo.startsWith('/'))
            alvo.prepend(caminho.left(caminho.lastIndexOf('/') + 1));
        caminho = alvo;
    }
    return ELOOP;
}

// Takes the folder's turn, exclusive among its writers (`tipo` LOCK_EX) or
// shared among its readers (LOCK_SH), waiting at most `espera` for the writer
// before to finish. A lock the system cannot give fails a write (going on
// without it could lose another writer's keys), as does the end of the wait,
// with EWOULDBLOCK: nobody hangs on a stuck writer (a reading then goes on
// without the turn, see lerSemVez).
int tomarVez(int pasta, std::chrono::milliseconds espera, int tipo)
{
    const QDeadlineTimer prazo(espera);
    while (::flock(pasta, tipo | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EINTR)
            continue;
        if (e != EWOULDBLOCK || prazo.hasExpired())
            return e;
        std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(10ms, prazo.remainingTimeAsDuration()));
    }
    return 0;
}

// Where the text is: the real file's path, its folder, open and the turn
// taken, the file's name in it and what the file is now.
struct Sitio
{
    QByteArray caminho;
    Descritor pasta;
    QByteArray nome;
    bool existe = false;
    struct stat actual
    {
    };
};

int abrirSitio(const QString& caminho, std::chrono::milliseconds espera, int tipo, Sitio& s)
{
    // A link put in the file's place while this one waited sends it round again.
    for (int volta = 0; volta < LigacoesMaximas; ++volta) {
        QByteArray real = QFile::encodeName(QFileInfo(caminho).absoluteFilePath());
        if (const int e = ficheiroReal(real))
            return e;
        s.caminho = real;
        const qsizetype barra = real.lastIndexOf('/');
        s.nome = real.mid(barra + 1);
        const QByteArray pasta = barra > 0 ? real.left(barra) : QByteArrayLiteral("/");
        if (s.pasta.fd >= 0)
            ::close(s.pasta.fd);  // the turn passes on
        s.pasta.fd = semInterrupcao([&] { return ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (s.pasta.fd < 0)
            return errno;
        if (const int e = tomarVez(s.pasta.fd, espera, tipo))
            return e;
        s.existe = ::fstatat(s.pasta.fd, s.nome.constData(), &s.actual, AT_SYMLINK_NOFOLLOW) == 0;
        if (!s.existe && errno != ENOENT)
            return errno;
        if (!s.existe || !S_ISLNK(s.actual.st_mode))
            return 0;
    }
    return ELOOP;
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

Leitura lerNoSitio(const Sitio& s)
{
    if (!s.existe)
        return {};
    Descritor d;
    d.fd = semInterrupcao([&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
    if (d.fd < 0)
        return {errno, false, {}, std::nullopt};
    return lerDescritor(d.fd);
}

// Same file, same length, same change times.
bool mesmoEstado(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
           && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
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

// Under the writers' turn: puts back the old text that a save into the file
// itself left in its copy when it was cut short (killed, or a power cut); a
// copy cut short itself, or of another file, goes (the file had not changed
// yet). 0 when the file holds a whole text; else why not, with the copy's
// text in `antigo` when it is whole (EWOULDBLOCK: a save through another
// name of the file is under way).
int reporCopia(const Sitio& s, std::optional<QByteArray>& antigo)
{
    if (!s.existe || !S_ISREG(s.actual.st_mode))
        return 0;
    CopiaAntiga copia(s.caminho, s.actual);
    if (const int e = copia.tomar())
        return e == ENOENT ? 0 : e;
    const std::optional<QByteArray> texto = copia.texto();
    if (!texto) {
        copia.apagar();
        return 0;
    }
    Descritor d;
    d.fd = semInterrupcao([&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC); });
    int e = d.fd < 0 ? errno : porTexto(d.fd, *texto);
    if (e == 0)
        e = copia.apagar();
    if (e != 0)
        antigo = texto;
    return e;
}

// A reading without the turn (a writer stuck past the wait, or a lock the
// system cannot give): the old text when a save into the file itself keeps
// its copy, else the file's own text, provided no save changed it while it
// was read (one under way would still keep its copy, one ended changed the
// file's times).
Leitura lerSemVez(const QByteArray& caminho)
{
    for (int n = 0; n < LeiturasSemVez; ++n) {
        Descritor d;
        d.fd = semInterrupcao([&] { return ::open(caminho.constData(), O_RDONLY | O_CLOEXEC); });
        if (d.fd < 0)
            return errno == ENOENT ? Leitura{} : Leitura{errno, false, {}, std::nullopt};
        const Leitura l = lerDescritor(d.fd);
        struct stat depois
        {
        };
        if (!l.existe || ::fstat(d.fd, &depois) != 0)
            return l;
        if (const auto antigo = CopiaAntiga(caminho, depois).texto())
            return {0, true, *antigo, depois};
        if (mesmoEstado(*l.estado, depois))
            return l;
    }
    return {EWOULDBLOCK, false, {}, std::nullopt};
}

// Opens a file for the new text in the folder `pasta`. Where the file system
// allows it the file has no name, so a process killed while it writes leaves
// nothing behind; elsewhere it is the hidden name itself, truncated (a file
// left there by a write cut short is reused). `comNome` says which.
int abrirNovo(int pasta, const QByteArray& nomeTemporario, Descritor& d, bool& comNome)
{
    d.fd = semInterrupcao([&] { return ::openat(pasta, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); });
    comNome = d.fd < 0;
    if (comNome)
        d.fd = semInterrupcao([&] {
            return ::openat(pasta, nomeTemporario.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                            0666);
        });
    return d.fd < 0 ? errno : 0;
}

// Gives the nameless file `fd` the hidden name, in place of any such file a
// write cut short left.
int nomear(int fd, int pasta, const QByteArray& nomeTemporario)
{
    ::unlinkat(pasta, nomeTemporario.constData(), 0);
    const QByteArray proprio = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, proprio.constData(), pasta, nomeTemporario.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // Without /proc, the call that needs no name (some systems allow it only to administrators).
    return ::linkat(fd, "", pasta, nomeTemporario.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// The new file `novo` made what the old one is to its users: owner and group,
// then the mode (a change of owner clears the set-id bits), then the extended
// attributes (an access control list sets the mode's group bits).
bool comoOAntigo(const Sitio& s, int novo)
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
    Descritor antigo;
    antigo.fd =
        semInterrupcao([&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
    return antigo.fd >= 0 && AtributosFicheiro::copiar(antigo.fd, novo) == 0;
}

// The usual road: a new file in the folder, made as the old one (owner,
// group, mode, extended attributes), synced and renamed over it.
// NoProprioFicheiro when the old file exists and this road cannot keep it
// as the site set it up.
int porNovoFicheiro(const Sitio& s, const QByteArray& bytes, struct stat& escrito)
{
    const int pasta = s.pasta.fd;
    const QByteArray nomeTemporario = '.' + s.nome + ".novo";
    Descritor d;
    bool comNome = false;
    if (const int e = abrirNovo(pasta, nomeTemporario, d, comNome))
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
        if (const int e = nomear(d.fd, pasta, nomeTemporario))
            return e;
        nomeado = true;
    }
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

// The road in place: the file itself takes the text, its inode, owner,
// group, mode, attributes and every name of it unchanged. The old text
// `antigo` is kept in its copy first, then room is reserved (a full disk
// stops the save before any byte changes), the text written, cut to length
// and synced, and the copy removed: that is the moment the save is done. A
// failure before it writes the old text back; the copy goes once the file
// holds a whole text again, else stays for the next reader or writer.
int noProprioFicheiro(const Sitio& s, const QByteArray& antigo, const QByteArray& bytes, struct stat& escrito)
{
    Descritor d;
    d.fd = semInterrupcao([&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC); });
    if (d.fd < 0)
        return errno;
    CopiaAntiga copia(s.caminho, s.actual);
    if (const int e = copia.guardar(antigo))
        return e;
    const auto repor = [&](int e) {
        if (porTexto(d.fd, antigo) == 0)
            copia.apagar();
        return e;
    };
    if (const int e = reservar(d.fd, off_t(bytes.size())))
        return repor(e);
    if (const int e = porTexto(d.fd, bytes))
        return repor(e);
    passo(Passo::Confirmacao);
    if (const int e = copia.apagar())
        return repor(e);
    if (::fstat(d.fd, &escrito) != 0)
        escrito = {};
    return 0;
}

}  // namespace

namespace GravacaoFicheiro {

Resultado gravar(const QString& caminho, const std::function<QByteArray(const Leitura&)>& compor,
                 std::chrono::milliseconds esperaMaxima)
{
    Sitio s;
    if (const int e = abrirSitio(caminho, esperaMaxima, LOCK_EX, s))
        return {e, std::nullopt};
    if (s.existe && S_ISDIR(s.actual.st_mode))
        return {EISDIR, std::nullopt};
    if (s.existe && ::faccessat(s.pasta.fd, s.nome.constData(), W_OK, AT_EACCESS) != 0)
        return {errno, std::nullopt};  // a file kept read-only on purpose stays so
    std::optional<QByteArray> antigo;
    if (const int e = reporCopia(s, antigo))
        return {e, std::nullopt};
    // The file as the writer before left it; a file that cannot be read is not written over.
    const Leitura actual = lerNoSitio(s);
    if (actual.erro != 0)
        return {actual.erro, std::nullopt};
    if (actual.estado)
        s.actual = *actual.estado;
    const QByteArray bytes = compor(actual);
    struct stat escrito
    {
    };
    // A file of more than one name stays one file: no new file for one of its names.
    int e = s.existe && s.actual.st_nlink > 1 ? NoProprioFicheiro : porNovoFicheiro(s, bytes, escrito);
    if (e == NoProprioFicheiro)
        e = noProprioFicheiro(s, actual.bytes, bytes, escrito);
    if (e != 0)
        return {e, std::nullopt};
    // None when it could not be told: the next reading reads the file again.
    return {0, escrito.st_ino != 0 ? std::optional<struct stat>(escrito) : std::nullopt};
}

Leitura ler(const QString& caminho, std::chrono::milliseconds esperaMaxima)
{
    // Shared among readers; a copy left by a save cut short is put back with
    // the writers' turn, the file then looked at again.
    for (const int tipo : {LOCK_SH, LOCK_EX}) {
        Sitio s;
        if (const int e = abrirSitio(caminho, esperaMaxima, tipo, s))
            return s.caminho.isEmpty() ? Leitura{e, false, {}, std::nullopt} : lerSemVez(s.caminho);
        const bool copia = s.existe && S_ISREG(s.actual.st_mode) && CopiaAntiga(s.caminho, s.actual).existe();
        if (copia && tipo == LOCK_SH)
            continue;
        std::optional<QByteArray> antigo;
        if (!copia || reporCopia(s, antigo) == 0)
            return lerNoSitio(s);
        // A file this reader may not write keeps its copy; a copy in use is another save's, under way.
        return antigo ? Leitura{0, true, *antigo, s.actual} : lerSemVez(s.caminho);
    }
    return {};
}

}  // namespace GravacaoFicheiro
