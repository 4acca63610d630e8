#include "platform/ficheiros/GravacaoFicheiro.h"

#include "platform/Erro.h"
#include "platform/ficheiros/AtributosFicheiro.h"
#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroNovo.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "platform/ficheiros/ResolucaoCopias.h"
#include "platform/ficheiros/SitioFicheiro.h"
#include "platform/ficheiros/TextoFicheiro.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using GravacaoFicheiro::Leitura;
using GravacaoFicheiro::Passo;
using GravacaoFicheiro::passo;
using Lugar = CopiaAntiga::Lugar;
using ResolucaoCopias::Resolucao;
using namespace Descritores;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// Not an errno: other users' entries hold every provisional name of a new file (see porNovoFicheiro).
constexpr int NomesTomados = -2;

// The first provisional name of a new file for the file of `s`.
QByteArray provisorioDe(const SitioFicheiro& s)
{
    return '.' + s.nome + ".novo";
}

// Why a text of `tamanho` bytes is more than a settings file may hold.
QString demasiadoGrande(const QByteArray& caminho, qint64 tamanho)
{
    return QStringLiteral("O novo texto de %1 teria %2 bytes, mais do que um ficheiro de definições pode ter (%3 MiB)")
        .arg(QFile::decodeName(caminho))
        .arg(tamanho)
        .arg(GravacaoFicheiro::TamanhoMaximo / (1024 * 1024));
}

// Where a copy could not be kept or removed, and why, for the operator's box.
QString naPasta(const CopiaAntiga& copia, int e)
{
    const QByteArray pasta = copia.pasta();
    if (pasta.isEmpty())
        return QStringLiteral("numa pasta de estado do utilizador (não há HOME nem XDG_STATE_HOME)");
    const QString porque = e == EEXIST ? QStringLiteral("uma cópia de uma gravação anterior tem o seu nome")
                           : e == CopiaAntiga::NomesProvisoriosTomados
                               ? QStringLiteral("outros utilizadores têm os nomes provisórios da cópia")
                               : Erros::razaoSistema(e);
    return QStringLiteral("na pasta ") + QFile::decodeName(pasta) + QStringLiteral(" (") + porque + u')';
}

// The new file `novo` (mode 0: open to nobody) made what the old one is to
// its users, never open to anyone the old one bars: owner and group; then
// who may use it (the access control list, which sets the mode's permission
// bits, else those bits) and the other attributes; the mode last (a change
// of owner clears the set-id bits).
bool comoOAntigo(const SitioFicheiro& s, int novo)
{
    struct stat st
    {
    };
    if (::fstat(novo, &st) != 0)
        return false;
    const bool outroDono = st.st_uid != s.actual.st_uid || st.st_gid != s.actual.st_gid;
    if (outroDono && ::fchown(novo, s.actual.st_uid, s.actual.st_gid) != 0)
        return false;
    passo(Passo::ComoOAntigo);
    if (AtributosFicheiro::copiar(s.ficheiro.fd, novo, s.actual.st_mode) != 0)
        return false;
    passo(Passo::ComoOAntigo);
    return ::fchmod(novo, s.actual.st_mode & 07777) == 0;
}

// The usual road: a new file in the folder, made as the old one (owner,
// group, mode, extended attributes), synced and renamed over it.
// NoProprioFicheiro when the old file exists and this road cannot keep it
// as the site set it up, or other users hold every provisional name
// (NomesTomados where there is no old file).
int porNovoFicheiro(const SitioFicheiro& s, const QByteArray& bytes, struct stat& escrito)
{
    const auto semEstaEstrada = [&](int e) {
        if (e == EEXIST)
            return s.existe ? NoProprioFicheiro : NomesTomados;
        return s.existe && (e == EACCES || e == EPERM || e == EROFS) ? NoProprioFicheiro : e;
    };
    FicheiroNovo novo;
    // Nobody may open it until it is made as the old file.
    if (const int e = novo.criar(s.pasta.fd, provisorioDe(s), s.existe ? 0 : 0666))
        return semEstaEstrada(e);
    // A folder without nameless files may keep copies' provisional files of saves in place cut short.
    if (!novo.provisorio().isEmpty())
        CopiaAntiga::tirarRestos(s.pasta.fd, novo.provisorio());
    passo(Passo::NovoFicheiro);
    if (s.existe && !comoOAntigo(s, novo.fd()))
        return NoProprioFicheiro;
    if (const int e = escreverTudo(novo.fd(), bytes))
        return e;
    // A full disk may show only here, when the written blocks get their place.
    if (semInterrupcao([&] { return ::fsync(novo.fd()); }) != 0)
        return errno;
    if (const int e = novo.darNomeProvisorio())
        return semEstaEstrada(e);
    passo(Passo::Substituicao);
    if (const int e = novo.substituir(s.nome)) {
        // EBUSY: the file is mounted there on its own.
        return s.existe && e == EBUSY ? NoProprioFicheiro : e;
    }
    if (::fstat(novo.fd(), &escrito) != 0)
        escrito = {};
    // The rename itself on the disk; a folder that cannot be synced changes nothing.
    sincronizarPasta(s.pasta.fd);
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
// unchanged. `r` says what still holds the copy's name beside the file.
int noProprioFicheiro(const SitioFicheiro& s, const Resolucao& r, const QByteArray& antigo, const QByteArray& bytes,
                      struct stat& escrito, QString& razao)
{
    const int fd = s.ficheiro.fd;
    std::optional<CopiaAntiga> copia;
    QStringList falhas;
    int erro = 0;
    for (const Lugar lugar : CopiaAntiga::Lugares) {
        copia.emplace(lugar, s.pasta.fd, fd, s.caminho, s.actual);
        if ((erro = copia->guardar(antigo, bytes)) == 0)
            break;
        if (lugar == Lugar::JuntoAoFicheiro && erro == EEXIST && !r.copiaPresa) {
            // Another entry holds the name every station looks for: said, not gone round.
            razao = r.ocupado.isEmpty() ? copia->ocupante() : r.ocupado;
            return erro;
        }
        falhas << naPasta(*copia, erro);
        copia.reset();
    }
    if (!copia) {
        razao = QStringLiteral("A cópia do texto antigo não pôde ser guardada ") + falhas.join(QStringLiteral(" nem "));
        return erro == CopiaAntiga::NomesProvisoriosTomados ? EEXIST : erro;
    }
    // Marked before any byte changes, where the file system keeps marks.
    const int semMarca = copia->marca().por(fd);
    if (semMarca != 0 && semMarca != ENOTSUP) {
        copia->apagar();
        razao = QStringLiteral("O ficheiro não pôde ser marcado para a gravação (") + Erros::razaoSistema(semMarca)
                + u')';
        return semMarca;
    }
    const auto acabar = [&] {
        // A mark that cannot be taken off tells by its checksums that the file is whole.
        if (semMarca == 0)
            MarcaGravacao::tirar(fd);
    };
    const auto repor = [&](int e) {
        if (TextoFicheiro::escrever(fd, antigo, false) == 0 && copia->apagar() == 0)
            acabar();
        return e;
    };
    if (const int e = reservar(fd, off_t(bytes.size())))
        return repor(e);
    // One sync for both: the mark and the room are on the disk before the first byte of the text.
    if (semInterrupcao([&] { return ::fsync(fd); }) != 0)
        return repor(errno);
    if (const int e = TextoFicheiro::escrever(fd, bytes))
        return repor(e);
    passo(Passo::Confirmacao);
    if (const int e = copia->apagar()) {
        razao = QStringLiteral("A cópia do texto antigo não pôde ser tirada ") + naPasta(*copia, e);
        return repor(e);
    }
    acabar();
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
        return {e, std::nullopt, s.razao};
    if (s.existe && s.ficheiro.fd < 0)
        return {naoETexto(s), std::nullopt, s.razao};
    const Resolucao r = ResolucaoCopias::resolver(s, true);
    if (r.erro != 0)
        return {r.erro, std::nullopt, r.razao};
    // The file as the writer before left it; a file that cannot be read is not written over.
    const Leitura actual = s.existe ? TextoFicheiro::ler(s.ficheiro.fd, s.caminho) : Leitura{};
    if (actual.erro != 0)
        return {actual.erro, std::nullopt, actual.razao};
    if (actual.estado)
        s.actual = *actual.estado;
    const QByteArray bytes = compor(actual);
    // A text no reading would accept is never written: the file would be lost to every station.
    if (bytes.size() > TamanhoMaximo)
        return {EFBIG, std::nullopt, demasiadoGrande(s.caminho, bytes.size())};
    struct stat escrito
    {
    };
    QString razao;
    // A file of more than one name stays one file: no new file for one of its names.
    int e = s.existe && s.actual.st_nlink > 1 ? NoProprioFicheiro : porNovoFicheiro(s, bytes, escrito);
    if (e == NoProprioFicheiro)
        e = noProprioFicheiro(s, r, actual.bytes, bytes, escrito, razao);
    if (e == NomesTomados) {
        e = EEXIST;
        razao = QStringLiteral("Outros utilizadores têm na pasta %1 todos os nomes provisórios de %2 (%3 e os que dele "
                               "se fazem)")
                    .arg(QFile::decodeName(SitioFicheiro::pastaDe(s.caminho)), QFile::decodeName(s.nome),
                         QFile::decodeName(provisorioDe(s)));
    }
    if (e != 0)
        return {e, std::nullopt, razao};
    // None when it could not be told: the next reading reads the file again.
    return {0, escrito.st_ino != 0 ? std::optional<struct stat>(escrito) : std::nullopt, {}};
}

Leitura ler(const QString& caminho, std::chrono::milliseconds esperaMaxima)
{
    const QDeadlineTimer prazo(esperaMaxima);
    // Shared among readers; a mark or a copy left by a save cut short is
    // judged with the writers' turn, the file then looked at again.
    for (const int tipo : {LOCK_SH, LOCK_EX}) {
        SitioFicheiro s;
        s.prazo = prazo;
        if (const int e = s.abrir(caminho, tipo, false)) {
            if (s.caminho.isEmpty() || !s.razao.isEmpty())
                return {e, false, {}, std::nullopt, s.razao};
            return ResolucaoCopias::lerSemVez(s.caminho);
        }
        if (!s.existe)
            return {};
        if (s.ficheiro.fd < 0)
            return {naoETexto(s), false, {}, std::nullopt, s.razao};
        if (!ResolucaoCopias::temCopia(s)) {
            passo(Passo::Leitura);
            return TextoFicheiro::ler(s.ficheiro.fd, s.caminho);
        }
        if (tipo == LOCK_SH)
            continue;
        const Resolucao r = ResolucaoCopias::resolver(s, false);
        if (r.erro != 0)
            return ResolucaoCopias::lerSemVez(s.caminho);  // a save under way through a lock this turn does not cover
        if (r.texto)
            return {0, true, *r.texto, s.actual, {}};
        Leitura l = TextoFicheiro::ler(s.ficheiro.fd, s.caminho);
        if (l.razao.isEmpty())
            l.razao = r.razao;
        return l;
    }
    return {};
}

}  // namespace GravacaoFicheiro
