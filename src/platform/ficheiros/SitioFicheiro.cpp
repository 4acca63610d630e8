#include "platform/ficheiros/SitioFicheiro.h"

#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <fcntl.h>

namespace {

// The system's own bound on a chain of symbolic links.
constexpr int LigacoesMaximas = 40;

// A link is followed only where this program's user, the administrator or
// the owner of the folder it sits in made it: in a folder where others make
// files, another user's link would lead a save into any file this user may
// write (the system's own guard for links in such folders does not see a
// link this program reads itself).
bool ligacaoSegura(const QByteArray& caminho, const struct stat& ligacao)
{
    if (ligacao.st_uid == ::geteuid() || ligacao.st_uid == 0)
        return true;
    struct stat pasta
    {
    };
    return ::stat(SitioFicheiro::pastaDe(caminho).constData(), &pasta) == 0 && pasta.st_uid == ligacao.st_uid;
}

// The file that `caminho` (absolute) leads to once every symbolic link is
// followed, a relative link from its own folder; a path that leads nowhere
// yet is the name of the file to make (a folder missing on the way shows
// when it is opened).
int ficheiroReal(QByteArray& caminho, QString& razao)
{
    for (int n = 0; n < LigacoesMaximas; ++n) {
        struct stat st
        {
        };
        if (::lstat(caminho.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        if (!ligacaoSegura(caminho, st)) {
            razao = QStringLiteral("A ligação simbólica ") + QFile::decodeName(caminho) + QStringLiteral(" é de ")
                    + Utilizadores::nome(st.st_uid)
                    + QStringLiteral(", que não é o utilizador deste posto, o administrador nem o dono da pasta: "
                                     "não é seguida");
            return EPERM;
        }
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

}  // namespace

QByteArray SitioFicheiro::pastaDe(const QByteArray& caminho)
{
    const qsizetype barra = caminho.lastIndexOf('/');
    return barra > 0 ? caminho.left(barra) : QByteArrayLiteral("/");
}

int SitioFicheiro::abrir(const QString& c, int tipo, bool escrita)
{
    // A link or another file put in the file's place while this one waited sends it round again.
    for (int volta = 0; volta < LigacoesMaximas; ++volta) {
        QByteArray real = QFile::encodeName(QFileInfo(c).absoluteFilePath());
        if (const int e = ficheiroReal(real, razao))
            return e;
        caminho = real;
        nome = real.mid(real.lastIndexOf('/') + 1);
        ficheiro.fechar();
        pasta.fechar();  // the turn passes on
        pasta.fd = semInterrupcao(
            [&] { return ::open(pastaDe(real).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (pasta.fd < 0)
            return errno;
        if (const int e = Descritores::bloquear(pasta.fd, tipo, prazo))
            return e;
        existe = ::fstatat(pasta.fd, nome.constData(), &actual, AT_SYMLINK_NOFOLLOW) == 0;
        if (!existe)
            return errno == ENOENT ? 0 : errno;
        if (S_ISLNK(actual.st_mode))
            continue;
        if (!S_ISREG(actual.st_mode))
            return 0;  // no text of its own to take turns on (the caller says what it is)
        // A writer fails on a file kept read-only on purpose; a reader with the
        // exclusive turn writes where it may (to put an old text back).
        using Descritores::Escrita;
        ficheiro.fd = Descritores::abrirNaPasta(
            pasta.fd, nome, escrita ? Escrita::Sim : tipo == LOCK_EX ? Escrita::Talvez : Escrita::Nao);
        if (ficheiro.fd < 0 && errno == ELOOP)
            continue;
        if (ficheiro.fd < 0)
            return errno;
        GravacaoFicheiro::passo(GravacaoFicheiro::Passo::Vez);
        if (const int e = Descritores::bloquear(ficheiro.fd, tipo, prazo))
            return e;
        struct stat porNome
        {
        };
        if (::fstat(ficheiro.fd, &actual) != 0)
            return errno;
        if (::fstatat(pasta.fd, nome.constData(), &porNome, AT_SYMLINK_NOFOLLOW) == 0
            && porNome.st_dev == actual.st_dev && porNome.st_ino == actual.st_ino)
            return 0;
    }
    return ELOOP;
}
