#include "platform/ficheiros/SitioFicheiro.h"

#include "platform/Erro.h"
#include "platform/ficheiros/ComumFicheiros.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Percurso.h"
#include "platform/ficheiros/VezOcupada.h"

#include <QFile>
#include <fcntl.h>
#include <utility>

namespace {

// The bound on the rounds of a turn whose file keeps changing.
constexpr int VoltasMaximas = 40;

}  // namespace

QByteArray SitioFicheiro::pastaDe(const QByteArray& caminho)
{
    const qsizetype barra = caminho.lastIndexOf('/');
    return barra > 0 ? caminho.left(barra) : QByteArrayLiteral("/");
}

int SitioFicheiro::vezRecusada(int e, int fd, const QByteArray& onde, bool escrita)
{
    // A reading goes on without the turn (GravacaoFicheiro::ler): only a save is refused in words.
    struct stat st
    {
    };
    if (e == EWOULDBLOCK && escrita && ::fstat(fd, &st) == 0)
        razao = VezOcupada::razao(st, onde);
    return e;
}

int SitioFicheiro::recusado(int e, bool escrita)
{
    if (e == EACCES || e == EPERM) {
        const QString porque =
            escrita ? Erros::razaoSistema(e)
                    : DescricaoEntrada::semPermissaoLer(e);
        razao = QStringLiteral("O ficheiro ") + QFile::decodeName(caminho) + QStringLiteral(" (")
                + DescricaoEntrada::tipoEDono(actual) + QStringLiteral(") não pode ser ")
                + (escrita ? QStringLiteral("escrito") : QStringLiteral("lido"))
                // EPERM: kept from every user (an immutable file)
                + (e == EACCES ? QStringLiteral(" por este utilizador (") : QStringLiteral(" (")) + porque + u')';
    }
    return e;
}

int SitioFicheiro::abrir(const QString& c, int tipo, bool escrita)
{
    // A link or another file put in the file's place while this one waited sends it round again.
    for (int volta = 0; volta < VoltasMaximas; ++volta) {
        Percurso percurso;
        ficheiro.fechar();
        pasta.fechar();  // the turn passes on
        if (const int e = percurso.percorrer(QFile::encodeName(c))) {
            razao = percurso.razao;
            return e;
        }
        caminho = percurso.caminho;
        nome = percurso.nome;
        pasta = std::move(percurso.pasta);
        if (const int e = Descritores::bloquear(pasta.fd, tipo, prazo))
            return vezRecusada(e, pasta.fd, pastaDe(caminho), escrita);
        existe = ::fstatat(pasta.fd, nome.constData(), &actual, AT_SYMLINK_NOFOLLOW) == 0;
        if (!existe)
            return errno == ENOENT ? 0 : errno;
        if (S_ISLNK(actual.st_mode))
            continue;
        if (!S_ISREG(actual.st_mode)) {
            // No text of its own to take turns on: the caller refuses it in these words.
            razao = DescricaoEntrada::naPasta(pastaDe(caminho), nome, &actual)
                    + QStringLiteral(" que não é um ficheiro de texto");
            return 0;
        }
        // A writer fails on a file kept read-only on purpose; a reader with the
        // exclusive turn writes where it may (to put an old text back).
        using Descritores::Escrita;
        ficheiro.fd = Descritores::abrirNaPasta(
            pasta.fd, nome, escrita ? Escrita::Sim : tipo == LOCK_EX ? Escrita::Talvez : Escrita::Nao);
        if (ficheiro.fd < 0 && errno == ELOOP)
            continue;
        if (ficheiro.fd < 0)
            return recusado(errno, escrita);
        GravacaoFicheiro::passo(GravacaoFicheiro::Passo::Vez);
        if (const int e = Descritores::bloquear(ficheiro.fd, tipo, prazo))
            return vezRecusada(e, ficheiro.fd, caminho, escrita);
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
