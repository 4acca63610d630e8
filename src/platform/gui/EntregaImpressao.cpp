#include "platform/gui/EntregaImpressao.h"

#include "platform/Erro.h"
#include "platform/gui/SemSinalPipe.h"

#include <QByteArray>
#include <cerrno>
#include <optional>
#include <cups/cups.h>
#include <unistd.h>

namespace {

constexpr qsizetype Bloco = 256 * 1024;

// A connection to a print server, closed when it goes.
class Ligacao
{
public:
    explicit Ligacao(const FilaImpressao& fila)
    {
        const QByteArray servidor = fila.servidor.toUtf8();
        m_http = httpConnect2(servidor.constData(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, fila.espera,
                              nullptr);
        // Without an answer in time the call fails, rather than waiting for ever.
        if (m_http)
            httpSetTimeout(m_http, fila.espera / 1000.0, [](http_t*, void*) { return 0; }, nullptr);
    }
    ~Ligacao()
    {
        if (m_http)
            httpClose(m_http);
    }
    Ligacao(const Ligacao&) = delete;
    Ligacao& operator=(const Ligacao&) = delete;

    http_t* http() const { return m_http; }
    // Why it could not be made, in the print system's words.
    static QString razao(const FilaImpressao& fila)
    {
        return QStringLiteral("não foi possível ligar ao servidor de impressão %1 (%2)")
            .arg(fila.servidor, QString::fromUtf8(cupsLastErrorString()));
    }

private:
    http_t* m_http = nullptr;
};

// The print system's reason for the last call that failed on `http`: the
// connection's own failure (the server silent or gone), else the server's answer.
QString razaoCups(http_t* http)
{
    if (const int e = httpError(http))
        return e == ETIMEDOUT ? QStringLiteral("o servidor de impressão não respondeu") : Erros::razaoSistema(e);
    return QString::fromUtf8(cupsLastErrorString());
}

// Why a job taken waits in its queue; empty when it does not.
QString porqueRetido(http_t* http, const QByteArray& fila, int trabalho)
{
    cups_job_t* trabalhos = nullptr;
    const int n = cupsGetJobs2(http, &trabalhos, fila.constData(), 1, CUPS_WHICHJOBS_ACTIVE);
    ipp_jstate_t estado = IPP_JSTATE_COMPLETED;
    for (int i = 0; i < n; ++i) {
        if (trabalhos[i].id == trabalho)
            estado = trabalhos[i].state;
    }
    cupsFreeJobs(n, trabalhos);
    if (estado == IPP_JSTATE_HELD)
        return QStringLiteral("the job is held");
    if (estado != IPP_JSTATE_PENDING)
        return {};
    cups_dest_t* destino = cupsGetNamedDest(http, fila.constData(), nullptr);
    if (!destino)
        return {};
    const QByteArray estadoFila = cupsGetOption("printer-state", destino->num_options, destino->options);
    cupsFreeDests(1, destino);
    return estadoFila == QByteArray::number(IPP_PSTATE_STOPPED) ? QStringLiteral("the queue is stopped") : QString();
}

}  // namespace

FilaImpressao filaPorDefeito(const QString& servidor)
{
    FilaImpressao fila{servidor.isEmpty() ? QString::fromUtf8(cupsServer()) : servidor, {}};
    const Ligacao ligacao(fila);
    if (!ligacao.http())
        return fila;
    if (cups_dest_t* destino = cupsGetNamedDest(ligacao.http(), nullptr, nullptr)) {
        fila.nome = QString::fromUtf8(destino->name);
        cupsFreeDests(1, destino);
    }
    return fila;
}

EntregaImpressao entregarImpressao(const FilaImpressao& fila, int fd, const QString& titulo)
{
    using Resultado = EntregaImpressao::Resultado;
    const SemSinalPipe semSinal;
    EntregaImpressao entrega;
    const QByteArray nome = fila.nome.toUtf8(), documento = titulo.toUtf8();
    std::optional<Ligacao> ligacao;
    ligacao.emplace(fila);
    http_t* http = ligacao->http();
    if (!http) {
        entrega.razao = Ligacao::razao(fila);
        return entrega;
    }
    entrega.trabalho = cupsCreateJob(http, nome.constData(), documento.constData(), 0, nullptr);
    if (entrega.trabalho == 0) {
        entrega.razao = razaoCups(http);
        return entrega;
    }
    // A job whose document did not go whole is cancelled, on a connection of
    // its own: the first may be in the middle of a request.
    const auto cancelar = [&](Resultado resultado, const QString& razao) {
        entrega.resultado = resultado;
        entrega.razao = razao;
        ligacao.reset();
        const Ligacao outra(fila);
        if (outra.http())
            cupsCancelJob2(outra.http(), nome.constData(), entrega.trabalho, 0);
        return entrega;
    };
    if (cupsStartDocument(http, nome.constData(), entrega.trabalho, documento.constData(), CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return cancelar(Resultado::Recusado, razaoCups(http));
    QByteArray bloco(Bloco, Qt::Uninitialized);
    for (off_t lidos = 0;;) {
        const ssize_t n = ::pread(fd, bloco.data(), size_t(bloco.size()), lidos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return cancelar(Resultado::FicheiroFalhou, Erros::razaoSistema(errno));
        if (n == 0)
            break;
        if (cupsWriteRequestData(http, bloco.constData(), size_t(n)) != HTTP_STATUS_CONTINUE)
            return cancelar(Resultado::Recusado, razaoCups(http));
        lidos += n;
    }
    if (cupsFinishDocument(http, nome.constData()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return cancelar(Resultado::Recusado, razaoCups(http));
    entrega.razao = porqueRetido(http, nome, entrega.trabalho);
    entrega.resultado = entrega.razao.isEmpty() ? Resultado::Aceite : Resultado::Retido;
    return entrega;
}
