#include "platform/ficheiros/ResolucaoCopias.h"

#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "platform/ficheiros/SitioFicheiro.h"
#include "platform/ficheiros/TextoFicheiro.h"

#include <QFile>
#include <fcntl.h>

namespace {

using GravacaoFicheiro::Leitura;
using GravacaoFicheiro::Passo;
using Lugar = CopiaAntiga::Lugar;
using Veredicto = CopiaAntiga::Veredicto;
using EstadoMarca = MarcaGravacao::Estado;
using ResolucaoCopias::Resolucao;
using namespace Descritores;

// How many times a reader without the turn reads a file that changes under it.
constexpr int LeiturasSemVez = 10;

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

// The mark and every copy of the file open in `s`, judged under the
// exclusive turn (see ResolucaoCopias::resolver).
class Resolvedor
{
public:
    Resolvedor(const SitioFicheiro& s, bool escritor) : m_s(s), m_escritor(escritor), m_ficheiro(s.ficheiro.fd) {}

    Resolucao resolver()
    {
        const int fd = m_s.ficheiro.fd;
        if (fd < 0)
            return m_r;
        if ((m_r.erro = MarcaGravacao::ler(fd, m_estado, m_marca)) != 0)
            return m_r;
        // A marked file that holds one of that save's whole texts needs no copy.
        m_pendente = m_estado == EstadoMarca::Posta && porAcabar(m_marca, m_ficheiro.texto());
        for (const Lugar lugar : CopiaAntiga::Lugares) {
            if (!resolverCopia(lugar))
                return m_r;
        }
        if (m_pendente) {
            m_r.razao = interrompida(m_marca, m_alcance);
            if (m_escritor)
                m_r.erro = ResolucaoCopias::GravacaoInterrompida;
            return m_r;
        }
        // Mended, told whole, or a newer file: the mark goes.
        if (m_estado == EstadoMarca::Posta && abertoParaEscrita(fd)) {
            if (const int e = MarcaGravacao::tirar(fd); e != 0 && m_escritor)
                m_r.erro = e;
        }
        return m_r;
    }

private:
    // The copy at `lugar`, if any: taken, judged, and removed, set aside or
    // put back. False where that ends the judgement (a save under way holds
    // it; a reader takes its old text; the old text could not go back).
    bool resolverCopia(Lugar lugar)
    {
        const int fd = m_s.ficheiro.fd;
        CopiaAntiga copia(lugar, m_s.pasta.fd, fd, m_s.caminho, m_s.actual);
        if (!copia.existe())
            return true;
        const int e = copia.tomar(m_s.prazo);
        if (e == ENOENT)
            return true;
        if (e == EWOULDBLOCK) {
            m_r.erro = e;
            // A save refused names who keeps the copy locked; a reading goes on without the turn.
            if (m_escritor)
                m_r.razao = copia.quemTemAVez();
            return false;
        }
        const auto ocupar = [&](const QString& porque) {
            if (lugar == Lugar::JuntoAoFicheiro)
                m_r.ocupado = porque;
        };
        if (e != 0) {
            // No copy this station can read: left as it is.
            const QString naoLida = copia.naoLida(e);
            ocupar(naoLida);
            if (m_pendente)
                m_alcance = naoLida;
            return true;
        }
        const std::optional<CopiaAntiga::Conteudo> c = copia.ler();
        if (!c) {
            if (copia.porDeLado("it is not a whole copy") != 0)
                ocupar(copia.ocupante());
            return true;
        }
        // Harmless once the file holds a whole text unmarked; a save in place then keeps its own elsewhere.
        const auto prender = [&](int falha) {
            if (falha != 0 && lugar == Lugar::JuntoAoFicheiro)
                m_r.copiaPresa = true;
        };
        const auto porDeLado = [&](const char* porque) { prender(copia.porDeLado(porque)); };
        const Julgamento j = julgar(copia, *c, m_estado, m_marca, m_pendente, m_ficheiro.texto());
        switch (j.juizo) {
        case Juizo::Novo:
            porDeLado(j.daGravacao ? "the file is not what its save could have left: a newer file"
                                   : "the file carries no mark of its save: a newer file");
            break;
        case Juizo::SemDireito:
            porDeLado("whoever made it may not write the file");
            return true;
        case Juizo::Repor:
            if (!abertoParaEscrita(fd)) {
                m_r.texto = c->antigo;
                return false;
            }
            GravacaoFicheiro::passo(Passo::Reposicao);
            if (const int falha = TextoFicheiro::escrever(fd, c->antigo, false)) {
                if (m_escritor)
                    m_r.erro = falha;
                else
                    m_r.texto = c->antigo;
                return false;
            }
            prender(copia.apagar());
            break;
        case Juizo::Apagar:
            prender(copia.apagar());
            break;
        }
        if (j.daGravacao)
            m_pendente = false;
        return true;
    }

    const SitioFicheiro& m_s;
    const bool m_escritor;
    EstadoMarca m_estado = EstadoMarca::Nenhuma;
    MarcaGravacao m_marca;
    FicheiroEncontrado m_ficheiro;
    bool m_pendente = false;  // the marked save was cut short, and no copy has told or mended the file yet
    QString m_alcance;        // why the marked save's copy could not serve
    Resolucao m_r;
};

}  // namespace

namespace ResolucaoCopias {

Resolucao resolver(const SitioFicheiro& s, bool escritor)
{
    return Resolvedor(s, escritor).resolver();
}

bool temCopia(const SitioFicheiro& s)
{
    EstadoMarca estado = EstadoMarca::Nenhuma;
    MarcaGravacao marca;
    if (MarcaGravacao::ler(s.ficheiro.fd, estado, marca) != 0 || estado == EstadoMarca::Posta)
        return true;
    for (const Lugar lugar : CopiaAntiga::Lugares) {
        if (CopiaAntiga(lugar, s.pasta.fd, s.ficheiro.fd, s.caminho, s.actual).existe())
            return true;
    }
    return false;
}

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
        Leitura l = TextoFicheiro::ler(d.fd, caminho);
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
        for (const Lugar lugar : CopiaAntiga::Lugares) {
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


}  // namespace ResolucaoCopias
