#include "platform/ficheiros/Percurso.h"

#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QFile>
#include <QList>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The system's own bound on the links of one path.
constexpr int LigacoesMaximas = 40;

// The names of a path, "." left out ("/a//./b" is a, b).
QList<QByteArray> nomesDe(const QByteArray& caminho)
{
    QList<QByteArray> nomes;
    for (const QByteArray& n : caminho.split('/')) {
        if (!n.isEmpty() && n != ".")
            nomes << n;
    }
    return nomes;
}

QByteArray juntar(const QList<QByteArray>& partes, const QByteArray& nome = {})
{
    QByteArray c;
    for (const QByteArray& p : partes)
        c += '/' + p;
    if (!nome.isEmpty())
        c += '/' + nome;
    return c.isEmpty() ? QByteArrayLiteral("/") : c;
}

bool ligacaoSegura(const struct stat& ligacao, const struct stat& pasta)
{
    return ligacao.st_uid == ::geteuid() || ligacao.st_uid == 0 || ligacao.st_uid == pasta.st_uid;
}

// Where a walk is: a folder opened for its names only, and its real path.
struct Onde
{
    Descritor dir;
    QList<QByteArray> partes;

    // At the root.
    int raiz()
    {
        dir.fechar();
        dir.fd = semInterrupcao([] { return ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC); });
        partes.clear();
        return dir.fd < 0 ? errno : 0;
    }
};

// The symbolic link open as `ligacao` (`st` its status), named `nome` in the
// folder the walk is at, judged by its owner and followed: its target, read
// through the descriptor that was judged, goes before the names `resto` still
// to walk, from the root where it is absolute. 0, or the errno of the step
// that failed (EPERM: another user's link, `razao` says whose).
int seguirLigacao(Onde& onde, int ligacao, const struct stat& st, const QByteArray& nome, QList<QByteArray>& resto,
                  QString& razao)
{
    struct stat p
    {
    };
    if (::fstat(onde.dir.fd, &p) != 0)
        return errno;
    if (!ligacaoSegura(st, p)) {
        razao = QStringLiteral("A ligação simbólica ") + QFile::decodeName(juntar(onde.partes, nome))
                + QStringLiteral(" é de ") + Utilizadores::nome(st.st_uid)
                + QStringLiteral(", que não é o utilizador deste posto, o administrador nem o dono da "
                                 "pasta: não é seguida");
        return EPERM;
    }
    QByteArray alvo(PATH_MAX, '\0');
    const ssize_t tamanho = ::readlinkat(ligacao, "", alvo.data(), size_t(alvo.size()));
    if (tamanho < 0)
        return errno;
    if (tamanho == 0)
        return ENOENT;
    alvo.truncate(tamanho);
    if (alvo.startsWith('/')) {
        if (const int e = onde.raiz())
            return e;
    }
    resto = nomesDe(alvo) + resto;
    return 0;
}

}  // namespace

int Percurso::percorrer(const QByteArray& pedido)
{
    Onde onde;  // where the walk is
    if (pedido.startsWith('/')) {
        if (const int e = onde.raiz())
            return e;
    } else {
        onde.dir.fd = semInterrupcao([] { return ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC); });
        char aqui[PATH_MAX];
        if (onde.dir.fd < 0 || !::getcwd(aqui, sizeof aqui))
            return errno;
        onde.partes = nomesDe(aqui);
    }
    // Where the folder the walk is in cannot be looked into, it says so, and whose it is.
    const auto recusada = [&](int e) {
        struct stat p
        {
        };
        if (e == EACCES && ::fstat(onde.dir.fd, &p) == 0)
            razao = QStringLiteral("A pasta ") + QFile::decodeName(juntar(onde.partes)) + QStringLiteral(" (")
                    + DescricaoEntrada::tipoEDono(p) + QStringLiteral(") não pode ser aberta por este utilizador (")
                    + QStringLiteral("Sem permissão de acesso [") + QString::fromLocal8Bit(std::strerror(e))
                    + QStringLiteral("])");
        return e;
    };
    QList<QByteArray> resto = nomesDe(pedido);
    int ligacoes = 0;
    nome.clear();
    while (!resto.isEmpty()) {
        const QByteArray n = resto.takeFirst();
        if (n == "..") {
            // The real folder above, as the system takes it (the root's is the root).
            Descritor acima;
            acima.fd = semInterrupcao([&] { return ::openat(onde.dir.fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC); });
            if (acima.fd < 0)
                return recusada(errno);
            onde.dir = std::move(acima);
            if (!onde.partes.isEmpty())
                onde.partes.removeLast();
            continue;
        }
        Descritor e;
        e.fd = semInterrupcao([&] { return ::openat(onde.dir.fd, n.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC); });
        if (e.fd < 0 && errno == ENOENT && resto.isEmpty()) {
            nome = n;  // a file not made yet
            break;
        }
        if (e.fd < 0)
            return recusada(errno);
        struct stat st
        {
        };
        if (::fstat(e.fd, &st) != 0)
            return errno;
        if (S_ISLNK(st.st_mode)) {
            if (++ligacoes > LigacoesMaximas)
                return ELOOP;
            if (const int falha = seguirLigacao(onde, e.fd, st, n, resto, razao))
                return falha;
            continue;
        }
        if (resto.isEmpty()) {
            nome = n;
            break;
        }
        if (!S_ISDIR(st.st_mode)) {
            razao = DescricaoEntrada::naPasta(juntar(onde.partes), n, &st) + QStringLiteral(" que não é uma pasta");
            return ENOTDIR;
        }
        onde.dir = std::move(e);
        onde.partes << n;
    }
    if (nome.isEmpty())
        return EISDIR;  // the path names a folder
    pasta.fechar();
    pasta.fd = semInterrupcao([&] { return ::openat(onde.dir.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (pasta.fd < 0)
        return recusada(errno);
    caminho = juntar(onde.partes, nome);
    return 0;
}
