#include "platform/ficheiros/ConteudoCopia.h"

#include "platform/ficheiros/ComumFicheiros.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/MarcaGravacao.h"

#include <QByteArrayView>
#include <QList>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Descritores;

namespace {

constexpr QByteArrayView Assinatura = "Zumarel: texto antigo e novo de uma gravação no próprio ficheiro\n";

// A copy's four lines before its texts are far shorter than this, its path included.
constexpr qint64 CabecalhoMaximo = 64 * 1024;

// The length a copy's line gives a text; -1 when it gives none a save could have written.
qint64 tamanhoDe(const QByteArray& linha)
{
    bool ok = false;
    const qint64 n = linha.left(linha.indexOf(' ')).toLongLong(&ok);
    return ok && n >= 0 && n <= GravacaoFicheiro::TamanhoMaximo ? n : -1;
}

}  // namespace

namespace ConteudoCopia {

QByteArray nascimento(int fd)
{
    struct statx st
    {
    };
    if (fd < 0 || ::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &st) != 0 || !(st.stx_mask & STATX_BTIME))
        return {};
    return QByteArray::number(qint64(st.stx_btime.tv_sec)) + '.' + QByteArray::number(st.stx_btime.tv_nsec);
}

QByteArray formar(const QByteArray& caminho, const QByteArray& nascimentoFicheiro, const QByteArray& antigo,
                  const QByteArray& novo)
{
    return Assinatura.toByteArray() + caminho.toPercentEncoding("/") + '\n'
           + (nascimentoFicheiro.isEmpty() ? QByteArray("-") : nascimentoFicheiro) + '\n'
           + MarcaGravacao::verificacao(antigo) + '\n' + MarcaGravacao::verificacao(novo) + '\n' + antigo + novo;
}

std::optional<Conteudo> ler(int fd)
{
    struct stat st
    {
    };
    QByteArray copia;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || lerTudo(fd, qMin<off_t>(st.st_size, CabecalhoMaximo), copia) != 0 || !copia.startsWith(Assinatura))
        return std::nullopt;
    QList<QByteArray> linhas;
    qsizetype inicio = Assinatura.size();
    for (int n = 0; n < 4; ++n) {
        const qsizetype fim = copia.indexOf('\n', inicio);
        if (fim < 0)
            return std::nullopt;
        linhas << copia.mid(inicio, fim - inicio);
        inicio = fim + 1;
    }
    // Its texts are read only when the copy is as long as its lines say: never more than two texts can hold.
    const qint64 tamanhoAntigo = tamanhoDe(linhas[2]), tamanhoNovo = tamanhoDe(linhas[3]);
    if (tamanhoAntigo < 0 || tamanhoNovo < 0 || st.st_size != inicio + tamanhoAntigo + tamanhoNovo
        || lerTudo(fd, st.st_size, copia) != 0)
        return std::nullopt;
    Conteudo c{st.st_uid, linhas[1] == "-" ? QByteArray() : linhas[1], copia.mid(inicio, tamanhoAntigo),
               copia.mid(inicio + tamanhoAntigo, tamanhoNovo)};
    if (MarcaGravacao::verificacao(c.antigo) != linhas[2] || MarcaGravacao::verificacao(c.novo) != linhas[3])
        return std::nullopt;
    return c;
}

Veredicto julgar(const Conteudo& copia, const QByteArray& nascimentoFicheiro, const QByteArray& ficheiro)
{
    if (!copia.nascimento.isEmpty() && !nascimentoFicheiro.isEmpty() && copia.nascimento != nascimentoFicheiro)
        return Veredicto::OutroFicheiro;
    if (ficheiro == copia.novo || ficheiro == copia.antigo)
        return Veredicto::Inteiro;
    // The save wrote the new text over the old one from the start, in room
    // reserved past the old end (zeros), and cut it to length: each byte is
    // one of those, at a length between the two texts'.
    const QByteArray &antigo = copia.antigo, &novo = copia.novo;
    if (ficheiro.size() < qMin(antigo.size(), novo.size()) || ficheiro.size() > qMax(antigo.size(), novo.size()))
        return Veredicto::OutroFicheiro;
    for (qsizetype i = 0; i < ficheiro.size(); ++i) {
        const char b = ficheiro[i];
        if (!((i < antigo.size() && b == antigo[i]) || (i < novo.size() && b == novo[i])
              || (i >= antigo.size() && b == '\0')))
            return Veredicto::OutroFicheiro;
    }
    return Veredicto::Repor;
}

}  // namespace ConteudoCopia
