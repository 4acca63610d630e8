#include "platform/GravacaoFicheiro.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// The system's own bound on a chain of symbolic links.
constexpr int LigacoesMaximas = 40;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// An open file descriptor, closed when it goes.
struct Descritor
{
    int fd = -1;
    Descritor() = default;
    Descritor(const Descritor&) = delete;
    Descritor& operator=(const Descritor&) = delete;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

template <typename F> auto semInterrupcao(F chamada)
{
    decltype(chamada()) r;
    do
        r = chamada();
    while (r < 0 && errno == EINTR);
    return r;
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

// Takes the folder's turn among its writers, waiting at most `espera` for the
// writer before to finish. A lock the system cannot give fails the write
// (going on without it could lose another writer's keys), as does the end of
// the wait, with EWOULDBLOCK: a writer never hangs on a stuck one.
int tomarVez(int pasta, std::chrono::milliseconds espera)
{
    const QDeadlineTimer prazo(espera);
    while (::flock(pasta, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EINTR)
            continue;
        if (e != EWOULDBLOCK || prazo.hasExpired())
            return e;
        std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(10ms, prazo.remainingTimeAsDuration()));
    }
    return 0;
}

// Where the text goes: the real file's folder, open and this writer's turn
// taken, the file's name in it and what the file is now.
struct Sitio
{
    Descritor pasta;
    QByteArray nome;
    bool existe = false;
    struct stat actual
    {
    };
};

int abrirSitio(const QString& caminho, std::chrono::milliseconds espera, Sitio& s)
{
    // A link put in the file's place while this writer waited sends it round again.
    for (int volta = 0; volta < LigacoesMaximas; ++volta) {
        QByteArray real = QFile::encodeName(QFileInfo(caminho).absoluteFilePath());
        if (const int e = ficheiroReal(real))
            return e;
        const qsizetype barra = real.lastIndexOf('/');
        s.nome = real.mid(barra + 1);
        const QByteArray pasta = barra > 0 ? real.left(barra) : QByteArrayLiteral("/");
        if (s.pasta.fd >= 0)
            ::close(s.pasta.fd);  // the turn passes on
        s.pasta.fd = semInterrupcao([&] { return ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (s.pasta.fd < 0)
            return errno;
        if (const int e = tomarVez(s.pasta.fd, espera))
            return e;
        s.existe = ::fstatat(s.pasta.fd, s.nome.constData(), &s.actual, AT_SYMLINK_NOFOLLOW) == 0;
        if (!s.existe && errno != ENOENT)
            return errno;
        if (!s.existe || !S_ISLNK(s.actual.st_mode))
            return 0;
    }
    return ELOOP;
}

// Writes all of `bytes` from the start of the file.
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
        const ssize_t n =
            semInterrupcao([&] { return ::pread(fd, bytes.data() + feito, size_t(bytes.size() - feito), off_t(feito)); });
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

// The names of the file's extended attributes; none where the file system keeps none.
int nomesAtributos(int fd, QList<QByteArray>& nomes)
{
    QByteArray lista;
    for (;;) {
        const ssize_t tamanho = ::flistxattr(fd, nullptr, 0);
        if (tamanho < 0)
            return errno == ENOTSUP ? 0 : errno;
        lista.resize(tamanho);
        const ssize_t n = ::flistxattr(fd, lista.data(), size_t(lista.size()));
        if (n >= 0) {
            lista.truncate(n);
            break;
        }
        if (errno != ERANGE)  // grown meanwhile
            return errno;
    }
    nomes = lista.split('\0');
    nomes.removeAll(QByteArray());
    return 0;
}

int valorAtributo(int fd, const QByteArray& nome, QByteArray& valor)
{
    for (;;) {
        const ssize_t tamanho = ::fgetxattr(fd, nome.constData(), nullptr, 0);
        if (tamanho < 0)
            return errno;
        valor.resize(tamanho);
        const ssize_t n = ::fgetxattr(fd, nome.constData(), valor.data(), size_t(valor.size()));
        if (n >= 0) {
            valor.truncate(n);
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
}

// Gives the new file `para` exactly the extended attributes of the old one
// `de` (access control lists among them), none it took from its folder.
int copiarAtributos(int de, int para)
{
    QList<QByteArray> antigos, novos;
    if (const int e = nomesAtributos(de, antigos))
        return e;
    if (const int e = nomesAtributos(para, novos))
        return e;
    for (const QByteArray& nome : novos) {
        if (!antigos.contains(nome) && ::fremovexattr(para, nome.constData()) != 0)
            return errno;
    }
    for (const QByteArray& nome : antigos) {
        QByteArray valor;
        if (const int e = valorAtributo(de, nome, valor))
            return e;
        if (::fsetxattr(para, nome.constData(), valor.constData(), size_t(valor.size()), 0) != 0)
            return errno;
    }
    return 0;
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
    antigo.fd = semInterrupcao(
        [&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
    return antigo.fd >= 0 && copiarAtributos(antigo.fd, novo) == 0;
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
    ::fsync(pasta);
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
// group, mode and every name of it unchanged. Room first, so a full disk
// stops the write before any byte changes; a failure after that writes the
// old text back.
int noProprioFicheiro(const Sitio& s, const QByteArray& bytes, struct stat& escrito)
{
    Descritor d;
    d.fd = semInterrupcao(
        [&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC); });
    if (d.fd < 0)
        return errno;
    struct stat antes
    {
    };
    QByteArray antigo;
    if (::fstat(d.fd, &antes) != 0)
        return errno;
    if (const int e = lerTudo(d.fd, antes.st_size, antigo))
        return e;
    bool mexido = false;  // a byte of the old text may have changed
    const auto repor = [&](int e) {
        if (mexido && escreverTudo(d.fd, antigo) == 0)
            ::fsync(d.fd);
        struct stat agora
        {
        };
        if (::fstat(d.fd, &agora) == 0 && agora.st_size != off_t(antigo.size()))
            ::ftruncate(d.fd, off_t(antigo.size()));
        return e;
    };
    if (const int e = reservar(d.fd, off_t(bytes.size())))
        return repor(e);
    mexido = true;
    if (const int e = escreverTudo(d.fd, bytes))
        return repor(e);
    if (semInterrupcao([&] { return ::ftruncate(d.fd, off_t(bytes.size())); }) != 0)
        return repor(errno);
    if (semInterrupcao([&] { return ::fsync(d.fd); }) != 0)
        return repor(errno);
    if (::fstat(d.fd, &escrito) != 0)
        escrito = {};
    return 0;
}

}  // namespace

namespace GravacaoFicheiro {

Resultado gravar(const QString& caminho, const std::function<QByteArray()>& compor,
                 std::chrono::milliseconds esperaMaxima)
{
    Sitio s;
    if (const int e = abrirSitio(caminho, esperaMaxima, s))
        return {e, std::nullopt};
    if (s.existe && S_ISDIR(s.actual.st_mode))
        return {EISDIR, std::nullopt};
    if (s.existe && ::faccessat(s.pasta.fd, s.nome.constData(), W_OK, AT_EACCESS) != 0)
        return {errno, std::nullopt};  // a file kept read-only on purpose stays so
    const QByteArray bytes = compor();
    struct stat escrito
    {
    };
    // A file of more than one name stays one file: no new file for one of its names.
    int e = s.existe && s.actual.st_nlink > 1 ? NoProprioFicheiro : porNovoFicheiro(s, bytes, escrito);
    if (e == NoProprioFicheiro)
        e = noProprioFicheiro(s, bytes, escrito);
    if (e != 0)
        return {e, std::nullopt};
    // None when it could not be told: the next reading reads the file again.
    return {0, escrito.st_ino != 0 ? std::optional<struct stat>(escrito) : std::nullopt};
}

}  // namespace GravacaoFicheiro
