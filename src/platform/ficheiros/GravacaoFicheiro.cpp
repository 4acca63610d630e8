#include "platform/ficheiros/GravacaoFicheiro.h"

#include "platform/ficheiros/AtributosFicheiro.h"
#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroNovo.h"
#include "platform/Erro.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "platform/ficheiros/SitioFicheiro.h"

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
using Veredicto = CopiaAntiga::Veredicto;
using EstadoMarca = MarcaGravacao::Estado;
using namespace Descritores;

// Not an errno: the file must be written in place (see noProprioFicheiro).
constexpr int NoProprioFicheiro = -1;

// Not an errno: other users' entries hold every provisional name of a new file (see porNovoFicheiro).
constexpr int NomesTomados = -2;

// A save into the file was cut short, and this station can neither mend the file nor tell it whole.
constexpr int GravacaoInterrompida = EUCLEAN;

// How many times a reader without the turn reads a file that changes under it.
constexpr int LeiturasSemVez = 10;

// Where a copy is looked for, and kept: beside the file first.
constexpr Lugar Lugares[] = {Lugar::JuntoAoFicheiro, Lugar::PastaEstado};

// The open file's text (`caminho` its path, for the words of a refusal), and
// what the file was when the reading began. A file larger than any settings
// file can be is not read at all.
Leitura lerDescritor(int fd, const QByteArray& caminho)
{
    Leitura l;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0) {
        l.erro = errno;
        return l;
    }
    l.estado = st;
    if (st.st_size > GravacaoFicheiro::TamanhoMaximo) {
        l.erro = EFBIG;
        l.razao = QStringLiteral("O ficheiro %1 tem %2 bytes, mais do que um ficheiro de definições pode ter (%3 MiB)")
                      .arg(QFile::decodeName(caminho))
                      .arg(qint64(st.st_size))
                      .arg(GravacaoFicheiro::TamanhoMaximo / (1024 * 1024));
        return l;
    }
    l.erro = lerTudo(fd, st.st_size, l.bytes);
    l.existe = l.erro == 0;
    if (!l.existe)
        l.bytes.clear();
    return l;
}

// Why a text of `tamanho` bytes is more than a settings file may hold.
QString demasiadoGrande(const QByteArray& caminho, qint64 tamanho)
{
    return QStringLiteral("O novo texto de %1 teria %2 bytes, mais do que um ficheiro de definições pode ter (%3 MiB)")
        .arg(QFile::decodeName(caminho))
        .arg(tamanho)
        .arg(GravacaoFicheiro::TamanhoMaximo / (1024 * 1024));
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

// Writes `texto` over the file's own text, cuts the file to its length and
// syncs it; a save's own text tells the tests each step.
int porTexto(int fd, const QByteArray& texto, bool comPassos = true)
{
    const auto anunciar = [&](Passo p) {
        if (comPassos)
            passo(p);
    };
    anunciar(Passo::Escrita);
    if (const int e = escreverTudo(fd, texto))
        return e;
    anunciar(Passo::Truncagem);
    if (semInterrupcao([&] { return ::ftruncate(fd, off_t(texto.size())); }) != 0)
        return errno;
    anunciar(Passo::Sincronizacao);
    return semInterrupcao([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
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

// Whose save into the file was cut short, and why this station cannot mend
// it. The mark's fields are any text a user who may write the file put
// there: shown on one line, each within its bound.
QString interrompida(const MarcaGravacao& marca, QString alcance)
{
    const auto mostrar = &DescricaoEntrada::paraMostrar;
    if (alcance.isEmpty()) {
        alcance = QStringLiteral("a cópia do texto antigo");
        // A short mark says only which of the two places, and names the copy.
        const QString nome = mostrar(QFile::decodeName(marca.nome), DescricaoEntrada::CaminhoMaximo);
        if (!marca.pasta.isEmpty())
            alcance += QStringLiteral(", ") + nome + QStringLiteral(" na pasta ")
                       + mostrar(QFile::decodeName(marca.pasta), DescricaoEntrada::CaminhoMaximo) + u',';
        else if (marca.naPastaEstado())
            alcance += QStringLiteral(", ") + nome + QStringLiteral(" na pasta de estado de ")
                       + mostrar(marca.utilizador, DescricaoEntrada::NomeMaximo) + u',';
        else if (!marca.nome.isEmpty())
            alcance += QStringLiteral(", ") + nome + QStringLiteral(" na pasta de um dos nomes do ficheiro,");
        alcance += QStringLiteral(" não está ao alcance deste posto");
    }
    alcance[0] = alcance[0].toLower();
    const QString quem = marca.utilizador.isEmpty() ? QStringLiteral("um utilizador desconhecido")
                                                    : mostrar(marca.utilizador, DescricaoEntrada::NomeMaximo);
    const QString onde = marca.computador.isEmpty()
                             ? QStringLiteral("num computador desconhecido")
                             : QStringLiteral("no computador ") + mostrar(marca.computador, DescricaoEntrada::NomeMaximo);
    return QStringLiteral("Uma gravação de ") + quem + u' ' + onde
           + QStringLiteral(" foi interrompida a meio e o ficheiro pode estar incompleto: ") + alcance;
}

// What the mark and the copies a save into the file itself left came to.
struct Resolucao
{
    int erro = 0;  // the file could not be made whole (EWOULDBLOCK: a save still under way keeps its copy)
    QString razao;  // why; for a reader, why the text it reads may be cut short
    std::optional<QByteArray> texto;  // the old text, for a reader that may not put it back
    QString ocupado;  // what holds the copy's name beside the file and is no copy, for a save that needs it
    bool copiaPresa = false;  // a whole copy of no save cut short holds it, and cannot be taken away
};

// The file as found, read once for the judgement of every copy; EFBIG: longer than any save's text.
struct FicheiroEncontrado
{
    explicit FicheiroEncontrado(int descritor) : fd(descritor) {}

    int fd;
    bool lido = false;
    int erro = 0;
    QByteArray bytes;

    // None when it could not be read.
    const QByteArray* texto()
    {
        if (!lido)
            erro = lerFicheiro(fd, GravacaoFicheiro::TamanhoMaximo, bytes);
        lido = true;
        return erro == 0 ? &bytes : nullptr;
    }
};

// A marked file (`texto` as found, none when it could not be read) holds
// none of its save's whole texts: that save was cut short.
bool porAcabar(const MarcaGravacao& marca, const QByteArray* texto)
{
    return !texto || !marca.inteiro(*texto);
}

// What a copy is to the file as found.
enum class Juizo
{
    Apagar,      // the file is a whole text of the copy's save, or of one that ended: the copy goes
    Repor,       // the file is what the marked save left part-way: the old text is the file's
    SemDireito,  // that, on a file system without marks, but whoever made the copy may not write the file
    Novo,        // a newer file: the copy is set aside
};

struct Julgamento
{
    Juizo juizo;
    bool daGravacao;  // the copy is of the save the mark names (on a file system without marks, any)
};

// The one judgement of a copy `c` against the file as found (`texto`, none
// when it could not be read) and its mark (`estado`, `marca`; `pendente`
// when the marked save was cut short), for the writer and for the readers
// with and without the turn: what each does with it is its own.
Julgamento julgar(const CopiaAntiga& copia, const CopiaAntiga::Conteudo& c, EstadoMarca estado,
                  const MarcaGravacao& marca, bool pendente, const QByteArray* texto)
{
    const bool daGravacao = estado == EstadoMarca::SemSuporte || (pendente && marca.daCopia(c.antigo, c.novo));
    if (!texto)
        return {Juizo::Novo, daGravacao};
    // A copy of no save cut short is of use only to tell the file whole.
    const Veredicto v = daGravacao ? copia.julgar(c, *texto)
                        : *texto == c.antigo || *texto == c.novo ? Veredicto::Inteiro
                                                                  : Veredicto::OutroFicheiro;
    if (v == Veredicto::Inteiro)
        return {Juizo::Apagar, daGravacao};
    if (v == Veredicto::OutroFicheiro)
        return {Juizo::Novo, daGravacao};
    // A mark is put only by a user who may write the file; without marks, the copy's maker must be one.
    if (estado == EstadoMarca::SemSuporte && !copia.donoPodeEscrever(c))
        return {Juizo::SemDireito, daGravacao};
    return {Juizo::Repor, daGravacao};
}

// Under the exclusive turn: the mark a save into the file itself left, and
// each copy found beside the file and in the state folder, judged against the
// file as found (see the header). A station that cannot mend a marked file
// says so: a writer is refused, a reader reads it as it is. Nothing else at a
// copy's name stops anything here: a save in place that needs the name says
// what holds it.
Resolucao resolverCopias(const SitioFicheiro& s, bool escritor)
{
    Resolucao r;
    const int fd = s.ficheiro.fd;
    if (fd < 0)
        return r;
    EstadoMarca estado = EstadoMarca::Nenhuma;
    MarcaGravacao marca;
    if ((r.erro = MarcaGravacao::ler(fd, estado, marca)) != 0)
        return r;
    FicheiroEncontrado ficheiro(fd);
    // A marked file that holds one of that save's whole texts needs no copy.
    bool pendente = estado == EstadoMarca::Posta && porAcabar(marca, ficheiro.texto());
    QString alcance;  // why the marked save's copy could not serve
    for (const Lugar lugar : Lugares) {
        CopiaAntiga copia(lugar, s.pasta.fd, fd, s.caminho, s.actual);
        if (!copia.existe())
            continue;
        const int e = copia.tomar(s.prazo);
        if (e == ENOENT)
            continue;
        if (e == EWOULDBLOCK) {
            r.erro = e;
            return r;
        }
        const auto ocupar = [&](const QString& porque) {
            if (lugar == Lugar::JuntoAoFicheiro)
                r.ocupado = porque;
        };
        if (e != 0) {
            // No copy this station can read: left as it is.
            const QString naoLida = copia.naoLida(e);
            ocupar(naoLida);
            if (pendente)
                alcance = naoLida;
            continue;
        }
        const std::optional<CopiaAntiga::Conteudo> c = copia.ler();
        if (!c) {
            if (copia.porDeLado("it is not a whole copy") != 0)
                ocupar(copia.ocupante());
            continue;
        }
        // Harmless once the file holds a whole text unmarked; a save in place then keeps its own elsewhere.
        const auto prender = [&](int falha) {
            if (falha != 0 && lugar == Lugar::JuntoAoFicheiro)
                r.copiaPresa = true;
        };
        const auto porDeLado = [&](const char* porque) { prender(copia.porDeLado(porque)); };
        const Julgamento j = julgar(copia, *c, estado, marca, pendente, ficheiro.texto());
        switch (j.juizo) {
        case Juizo::Novo:
            porDeLado(j.daGravacao ? "the file is not what its save could have left: a newer file"
                                   : "the file carries no mark of its save: a newer file");
            break;
        case Juizo::SemDireito:
            porDeLado("whoever made it may not write the file");
            continue;
        case Juizo::Repor:
            if (!abertoParaEscrita(fd)) {
                r.texto = c->antigo;
                return r;
            }
            passo(Passo::Reposicao);
            if (const int falha = porTexto(fd, c->antigo, false)) {
                if (escritor)
                    r.erro = falha;
                else
                    r.texto = c->antigo;
                return r;
            }
            prender(copia.apagar());
            break;
        case Juizo::Apagar:
            prender(copia.apagar());
            break;
        }
        if (j.daGravacao)
            pendente = false;
    }
    if (pendente) {
        r.razao = interrompida(marca, alcance);
        if (escritor)
            r.erro = GravacaoInterrompida;
        return r;
    }
    // Mended, told whole, or a newer file: the mark goes.
    if (estado == EstadoMarca::Posta && abertoParaEscrita(fd)) {
        if (const int e = MarcaGravacao::tirar(fd); e != 0 && escritor)
            r.erro = e;
    }
    return r;
}

// Whether a save into the file itself left its mark or a copy.
bool temCopia(const SitioFicheiro& s)
{
    EstadoMarca estado = EstadoMarca::Nenhuma;
    MarcaGravacao marca;
    if (MarcaGravacao::ler(s.ficheiro.fd, estado, marca) != 0 || estado == EstadoMarca::Posta)
        return true;
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
        d.fd = semInterrupcao(
            [&] { return ::open(caminho.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC); });
        if (d.fd < 0)
            return errno == ENOENT ? Leitura{} : Leitura{errno, false, {}, std::nullopt, {}};
        Leitura l = lerDescritor(d.fd, caminho);
        struct stat depois
        {
        };
        if (!l.existe || ::fstat(d.fd, &depois) != 0)
            return l;
        EstadoMarca estado = EstadoMarca::Nenhuma;
        MarcaGravacao marca;
        MarcaGravacao::ler(d.fd, estado, marca);
        const bool pendente = estado == EstadoMarca::Posta && porAcabar(marca, &l.bytes);
        // Only the old text of a copy changes what is read: no copy is taken, set aside or removed here.
        for (const Lugar lugar : Lugares) {
            if (!pendente && estado != EstadoMarca::SemSuporte)
                break;
            CopiaAntiga copia(lugar, pasta.fd, d.fd, caminho, depois);
            const auto c = copia.existe() ? copia.ler() : std::nullopt;
            if (c && julgar(copia, *c, estado, marca, pendente, &l.bytes).juizo == Juizo::Repor)
                return {0, true, c->antigo, depois, {}};
        }
        if (pendente)
            l.razao = interrompida(marca, {});
        if (mesmoEstado(*l.estado, depois))
            return l;
    }
    return {EWOULDBLOCK, false, {}, std::nullopt, {}};
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
    if (const int e = novo.criar(s.pasta.fd, '.' + s.nome + ".novo", s.existe ? 0 : 0666))
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
    for (const Lugar lugar : Lugares) {
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
        if (porTexto(fd, antigo, false) == 0 && copia->apagar() == 0)
            acabar();
        return e;
    };
    if (const int e = reservar(fd, off_t(bytes.size())))
        return repor(e);
    // One sync for both: the mark and the room are on the disk before the first byte of the text.
    if (semInterrupcao([&] { return ::fsync(fd); }) != 0)
        return repor(errno);
    if (const int e = porTexto(fd, bytes))
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
    const Resolucao r = resolverCopias(s, true);
    if (r.erro != 0)
        return {r.erro, std::nullopt, r.razao};
    // The file as the writer before left it; a file that cannot be read is not written over.
    const Leitura actual = s.existe ? lerDescritor(s.ficheiro.fd, s.caminho) : Leitura{};
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
        razao = QStringLiteral("Outros utilizadores têm na pasta ") + QFile::decodeName(SitioFicheiro::pastaDe(s.caminho))
                + QStringLiteral(" todos os nomes provisórios de ") + QFile::decodeName(s.nome)
                + QStringLiteral(" (.") + QFile::decodeName(s.nome) + QStringLiteral(".novo e os que dele se fazem)");
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
            return lerSemVez(s.caminho);
        }
        if (!s.existe)
            return {};
        if (s.ficheiro.fd < 0)
            return {naoETexto(s), false, {}, std::nullopt, s.razao};
        if (!temCopia(s)) {
            passo(Passo::Leitura);
            return lerDescritor(s.ficheiro.fd, s.caminho);
        }
        if (tipo == LOCK_SH)
            continue;
        const Resolucao r = resolverCopias(s, false);
        if (r.erro != 0)
            return lerSemVez(s.caminho);  // a save under way through a lock this turn does not cover
        if (r.texto)
            return {0, true, *r.texto, s.actual, {}};
        Leitura l = lerDescritor(s.ficheiro.fd, s.caminho);
        if (l.razao.isEmpty())
            l.razao = r.razao;
        return l;
    }
    return {};
}

}  // namespace GravacaoFicheiro
