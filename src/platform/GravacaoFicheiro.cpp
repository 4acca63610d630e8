#include "platform/GravacaoFicheiro.h"

#include <QCryptographicHash>
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

namespace GravacaoFicheiro {
void (*aoPasso)(Passo) = nullptr;
}

namespace {

using namespace std::chrono_literals;
using GravacaoFicheiro::Leitura;
using GravacaoFicheiro::Passo;

// The system's own bound on a chain of symbolic links.
constexpr int LigacoesMaximas = 40;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// How many times a reader without the turn reads a file that changes under it.
constexpr int LeiturasSemVez = 10;

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

// Syncs a folder, so that names made or removed in it outlast a power cut.
int sincronizarPasta(int pasta)
{
    return semInterrupcao([&] { return ::fsync(pasta); }) == 0 ? 0 : errno;
}

// The user's state folder, where the copies of old texts are kept: none when
// the user has no home.
QByteArray pastaEstado()
{
    const QByteArray xdg = qgetenv("XDG_STATE_HOME");
    if (xdg.startsWith('/'))
        return xdg + "/zumarel";
    const QByteArray casa = qgetenv("HOME");
    return casa.startsWith('/') ? casa + "/.local/state/zumarel" : QByteArray();
}

// Makes each missing folder of `caminho`, for its user only, its name synced
// in the folder above it.
int criarPastas(const QByteArray& caminho)
{
    for (qsizetype barra = 0; barra >= 0;) {
        barra = caminho.indexOf('/', barra + 1);
        const QByteArray parte = barra < 0 ? caminho : caminho.left(barra);
        if (::mkdir(parte.constData(), 0700) != 0) {
            if (errno != EEXIST)
                return errno;
            continue;
        }
        Descritor acima;
        acima.fd = ::open(parte.left(parte.lastIndexOf('/') + 1).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (acima.fd < 0)
            return errno;
        if (const int e = sincronizarPasta(acima.fd))
            return e;
    }
    return 0;
}

// The copy of a file's old text that a save into the file itself keeps
// until the file holds the new text whole, in the user's state folder. It is
// named after the file's device and inode, so that whoever reads or writes
// the file next, by any of its names, finds it; it holds the file's path (to
// tell a copy of an older file that had the same inode), the old text's
// length and checksum (to tell a copy cut short), and the old text. Its save
// keeps it locked while it lives, so that a copy found locked is one still
// in use (a save through a name in another folder, whose turn is another).
class CopiaAntiga
{
public:
    CopiaAntiga(const QByteArray& caminho, const struct stat& ficheiro)
        : m_caminho(caminho),
          m_ficheiro(ficheiro),
          m_nome("copia-" + QByteArray::number(quint64(ficheiro.st_dev)) + '-'
                 + QByteArray::number(quint64(ficheiro.st_ino)))
    {}

    bool existe() const { return ::access(caminhoCopia().constData(), F_OK) == 0; }

    // The copy that a save no longer alive left: 0 once it is open and
    // locked; ENOENT when there is none, EWOULDBLOCK while its save lives.
    int tomar()
    {
        m_copia.fd =
            semInterrupcao([&] { return ::open(caminhoCopia().constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
        struct stat st
        {
        };
        if (m_copia.fd < 0 || semInterrupcao([&] { return ::flock(m_copia.fd, LOCK_EX | LOCK_NB); }) != 0
            || ::fstat(m_copia.fd, &st) != 0)
            return errno;
        return st.st_nlink == 0 ? ENOENT : 0;  // its save ended meanwhile
    }

    // The old text, when a whole copy of this file is there.
    std::optional<QByteArray> texto() const
    {
        Descritor porNome;
        if (m_copia.fd < 0)
            porNome.fd =
                semInterrupcao([&] { return ::open(caminhoCopia().constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
        const int fd = m_copia.fd >= 0 ? m_copia.fd : porNome.fd;
        if (fd < 0)
            return std::nullopt;
        const Leitura l = lerDescritor(fd);
        return l.existe ? interpretar(l.bytes) : std::nullopt;
    }

    // The copy written whole and synced, and its name in the folder, before the file changes.
    int guardar(const QByteArray& antigo)
    {
        if (const int e = abrirPasta())
            return e;
        m_copia.fd = semInterrupcao(
            [&] { return ::openat(m_pasta.fd, m_nome.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600); });
        if (m_copia.fd < 0 || semInterrupcao([&] { return ::flock(m_copia.fd, LOCK_EX | LOCK_NB); }) != 0)
            return errno;
        passo(Passo::Copia);
        if (semInterrupcao([&] { return ::ftruncate(m_copia.fd, 0); }) != 0)
            return errno;
        if (const int e = escreverTudo(m_copia.fd, formar(antigo)))
            return apagar(), e;
        if (semInterrupcao([&] { return ::fsync(m_copia.fd); }) != 0)
            return apagar(), errno;
        return sincronizarPasta(m_pasta.fd);
    }

    // The end of a save: the file holds a whole text, and the copy goes.
    // A folder that cannot be synced leaves at worst the copy, and then
    // the old text, after a power cut.
    int apagar()
    {
        if (const int e = abrirPasta())
            return e;
        if (::unlinkat(m_pasta.fd, m_nome.constData(), 0) != 0 && errno != ENOENT)
            return errno;
        sincronizarPasta(m_pasta.fd);
        return 0;
    }

private:
    QByteArray caminhoCopia() const
    {
        const QByteArray pasta = pastaEstado();
        return pasta.isEmpty() ? QByteArray() : pasta + '/' + m_nome;
    }

    int abrirPasta()
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

    static QByteArray soma(const QByteArray& texto)
    {
        return QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
    }

    QByteArray formar(const QByteArray& antigo) const
    {
        return Assinatura.toByteArray() + m_caminho.toPercentEncoding("/") + '\n' + QByteArray::number(antigo.size())
               + ' ' + soma(antigo) + '\n' + antigo;
    }

    std::optional<QByteArray> interpretar(const QByteArray& copia) const
    {
        const qsizetype fimCaminho = copia.indexOf('\n', Assinatura.size());
        const qsizetype fimSoma = fimCaminho < 0 ? -1 : copia.indexOf('\n', fimCaminho + 1);
        if (!copia.startsWith(Assinatura) || fimSoma < 0)
            return std::nullopt;
        const QByteArray caminho =
            QByteArray::fromPercentEncoding(copia.mid(Assinatura.size(), fimCaminho - Assinatura.size()));
        const QList<QByteArray> verificacao = copia.mid(fimCaminho + 1, fimSoma - fimCaminho - 1).split(' ');
        QByteArray antigo = copia.mid(fimSoma + 1);
        if (verificacao.size() != 2 || verificacao[0] != QByteArray::number(antigo.size())
            || verificacao[1] != soma(antigo) || !doFicheiro(caminho))
            return std::nullopt;
        return antigo;
    }

    // The copy's path is this file's, or still leads to it (another of its names).
    bool doFicheiro(const QByteArray& caminho) const
    {
        struct stat st
        {
        };
        return caminho == m_caminho
               || (::stat(caminho.constData(), &st) == 0 && st.st_dev == m_ficheiro.st_dev
                   && st.st_ino == m_ficheiro.st_ino);
    }

    static constexpr QByteArrayView Assinatura = "Zumarel: texto antigo de um ficheiro\n";
    QByteArray m_caminho;
    struct stat m_ficheiro;
    QByteArray m_nome;
    Descritor m_pasta;
    Descritor m_copia;
};

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
    antigo.fd =
        semInterrupcao([&] { return ::openat(s.pasta.fd, s.nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); });
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
