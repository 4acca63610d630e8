#include "platform/impressao/EntregaImpressao.h"

#include "platform/Erro.h"
#include "platform/impressao/LigacaoCups.h"
#include "platform/impressao/PrazoImpressao.h"
#include "platform/impressao/SemSinalPipe.h"

#include <QByteArray>
#include <cerrno>
#include <cups/cups.h>
#include <unistd.h>

namespace {

using Resultado = EntregaImpressao::Resultado;

constexpr qsizetype Bloco = 256 * 1024;
// A job cancelled waits this long at most for a server that may have gone silent.
constexpr std::chrono::milliseconds EsperaCancelamento{2000};

// A request about the queue `fila` (and, when given, its job `trabalho`), made by this user.
ipp_t* pedidoFila(ipp_op_t operacao, const LigacaoCups& ligacao, const QString& fila, int trabalho = 0)
{
    ipp_t* pedido = ippNewRequest(operacao);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, ligacao.uriFila(fila).constData());
    if (trabalho > 0)
        ippAddInteger(pedido, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", trabalho);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return pedido;
}

// A refusal of a request about the queue `fila`, in words.
QString recusa(const RespostaIpp& resposta, const QString& fila)
{
    return resposta.estado() == IPP_STATUS_ERROR_NOT_FOUND ? QStringLiteral("a fila %1 não existe").arg(fila)
                                                           : resposta.razao();
}

// The queue the print goes to: the one named for this user, else the
// server's default. Empty, with `razao`, when there is none.
QString procurarFila(const DestinoImpressao& destino, PrazoImpressao& prazo, QString& razao)
{
    if (QString fila = destino.lugares.filaNomeada(); !fila.isEmpty())
        return fila;
    LigacaoCups ligacao(destino.servidor, prazo);
    ipp_t* pedido = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    const RespostaIpp resposta = ligacao.pedir(pedido, "/");
    if (!resposta) {
        razao = ligacao.razao();
        return {};
    }
    const QString fila = resposta.aceite() ? resposta.texto("printer-name") : QString();
    if (fila.isEmpty())
        razao = resposta.aceite() || resposta.estado() == IPP_STATUS_ERROR_NOT_FOUND
                    ? QStringLiteral("o servidor de impressão %1 não tem fila por defeito").arg(destino.servidor.nome())
                    : resposta.razao();
    return fila;
}

// Why a job taken waits in its queue; empty when it does not (or the server does not say).
QString porqueRetido(const ServidorCups& servidor, PrazoImpressao& prazo, const QString& fila, int trabalho)
{
    LigacaoCups ligacaoTrabalho(servidor, prazo);
    ipp_t* pedido = pedidoFila(IPP_OP_GET_JOB_ATTRIBUTES, ligacaoTrabalho, fila, trabalho);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
    const int estado = ligacaoTrabalho.pedir(pedido, "/jobs/").inteiro("job-state");
    if (estado == IPP_JSTATE_HELD)
        return QStringLiteral("the job is held");
    if (estado != IPP_JSTATE_PENDING)
        return {};
    LigacaoCups ligacaoFila(servidor, prazo);
    pedido = pedidoFila(IPP_OP_GET_PRINTER_ATTRIBUTES, ligacaoFila, fila);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-state");
    return ligacaoFila.pedir(pedido, LigacaoCups::recursoFila(fila)).inteiro("printer-state") == IPP_PSTATE_STOPPED
               ? QStringLiteral("the queue is stopped")
               : QString();
}

}  // namespace

EntregaImpressao entregarImpressao(const DestinoImpressao& destino, int fd, const QString& titulo, PrazoImpressao& prazo,
                                   const std::function<void(const QString&)>& filaConhecida)
{
    const SemSinalPipe semSinal;
    EntregaImpressao entrega;
    // Given up, it ends so whatever it met; a job made is cancelled.
    const auto fim = [&](Resultado resultado, const QString& razao) {
        entrega.resultado = prazo.desistido() ? Resultado::Cancelado : resultado;
        entrega.razao = razao;
        if (entrega.trabalho > 0 && entrega.resultado != Resultado::Aceite && entrega.resultado != Resultado::Retido)
            cancelarTrabalho(destino.servidor, entrega.fila, entrega.trabalho);
        return entrega;
    };

    QString razao;
    entrega.fila = procurarFila(destino, prazo, razao);
    if (entrega.fila.isEmpty())
        return fim(Resultado::Recusado, razao);
    if (filaConhecida)
        filaConhecida(entrega.fila);
    const QByteArray recurso = LigacaoCups::recursoFila(entrega.fila);
    const QByteArray documento = titulo.toUtf8();
    {
        LigacaoCups ligacao(destino.servidor, prazo);
        ipp_t* pedido = pedidoFila(IPP_OP_CREATE_JOB, ligacao, entrega.fila);
        ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, documento.constData());
        const RespostaIpp resposta = ligacao.pedir(pedido, recurso);
        if (!resposta.aceite())
            return fim(Resultado::Recusado, resposta ? recusa(resposta, entrega.fila) : ligacao.razao());
        entrega.trabalho = resposta.inteiro("job-id");
    }
    int erroLeitura = 0;
    bool tomado = false;
    QString recusado;
    {
        LigacaoCups ligacao(destino.servidor, prazo);
        ipp_t* pedido = pedidoFila(IPP_OP_SEND_DOCUMENT, ligacao, entrega.fila, entrega.trabalho);
        ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "document-name", nullptr, documento.constData());
        ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
        ippAddBoolean(pedido, IPP_TAG_OPERATION, "last-document", 1);
        QByteArray bloco(Bloco, Qt::Uninitialized);
        const RespostaIpp resposta = ligacao.pedir(pedido, recurso, [&](http_t* http) {
            for (off_t lidos = 0;;) {
                const ssize_t n = ::pread(fd, bloco.data(), size_t(bloco.size()), lidos);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    erroLeitura = n < 0 ? errno : 0;
                    return n == 0;
                }
                if (cupsWriteRequestData(http, bloco.constData(), size_t(n)) != HTTP_STATUS_CONTINUE)
                    return false;
                // Taken: a long document does not run out of time while it goes.
                prazo.sinal();
                lidos += n;
            }
        });
        tomado = resposta.aceite();
        if (!tomado)
            recusado = resposta ? recusa(resposta, entrega.fila) : ligacao.razao();
    }
    // The document cut short is given up on its own connection before its job is cancelled.
    if (erroLeitura)
        return fim(Resultado::FicheiroFalhou, Erros::razaoSistema(erroLeitura));
    if (!tomado)
        return fim(Resultado::Recusado, recusado);
    entrega.razao = porqueRetido(destino.servidor, prazo, entrega.fila, entrega.trabalho);
    entrega.resultado = entrega.razao.isEmpty() ? Resultado::Aceite : Resultado::Retido;
    return entrega;
}

bool cancelarTrabalho(const ServidorCups& servidor, const QString& fila, int trabalho)
{
    const SemSinalPipe semSinal;
    PrazoImpressao prazo(EsperaCancelamento, nullptr);
    LigacaoCups ligacao(servidor, prazo);
    return ligacao.pedir(pedidoFila(IPP_OP_CANCEL_JOB, ligacao, fila, trabalho), "/jobs/").aceite();
}
