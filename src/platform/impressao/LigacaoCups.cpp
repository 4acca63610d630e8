#include "platform/impressao/LigacaoCups.h"

#include "platform/Erro.h"
#include "platform/impressao/PrazoImpressao.h"

#include <QFile>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// How often a wait on the server stops to see whether the print may go on waiting.
constexpr double Vigilia = 0.25;

// A request that must go again, once the library has said who the user is.
constexpr int Tentativas = 3;

// Why a server could not be reached. The library keeps no reason of its
// own ("Host is down" whatever happened): a local socket is asked again.
QString porqueNaoLiga(const ServidorCups& servidor)
{
    const QByteArray caminho = QFile::encodeName(servidor.anfitriao);
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    if (servidor.local() && size_t(caminho.size()) < sizeof(endereco.sun_path)) {
        std::memcpy(endereco.sun_path, caminho.constData(), size_t(caminho.size()));
        const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const int e = s >= 0 && ::connect(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof(endereco)) != 0 ? errno : 0;
        if (s >= 0)
            ::close(s);
        if (e != 0 && e != EAGAIN && e != EINPROGRESS)
            return Erros::razaoSistema(e);
    }
    return QString::fromUtf8(cupsLastErrorString());
}

}  // namespace

RespostaIpp::~RespostaIpp()
{
    ippDelete(m_ipp);
}

int RespostaIpp::estado() const
{
    return m_ipp ? ippGetStatusCode(m_ipp) : IPP_STATUS_ERROR_INTERNAL;
}

bool RespostaIpp::aceite() const
{
    return m_ipp && estado() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

QString RespostaIpp::razao() const
{
    const QString mensagem = texto("status-message");
    return mensagem.isEmpty() ? QString::fromUtf8(ippErrorString(ipp_status_t(estado()))) : mensagem;
}

QString RespostaIpp::texto(const char* atributo) const
{
    ipp_attribute_t* a = m_ipp ? ippFindAttribute(m_ipp, atributo, IPP_TAG_ZERO) : nullptr;
    const char* valor = a ? ippGetString(a, 0, nullptr) : nullptr;
    return valor ? QString::fromUtf8(valor) : QString();
}

int RespostaIpp::inteiro(const char* atributo) const
{
    ipp_attribute_t* a = m_ipp ? ippFindAttribute(m_ipp, atributo, IPP_TAG_ZERO) : nullptr;
    return a ? ippGetInteger(a, 0) : 0;
}

LigacaoCups::LigacaoCups(const ServidorCups& servidor, PrazoImpressao& prazo)
    : m_servidor(servidor),
      m_prazo(prazo)
{
    if (m_prazo.esgotado()) {
        falhou();
        return;
    }
    const QByteArray anfitriao = m_servidor.anfitriao.toUtf8();
    m_http = httpConnect2(anfitriao.constData(), m_servidor.porta, nullptr, AF_UNSPEC, http_encryption_t(m_servidor.cifra),
                          1, int(m_prazo.restante().count()), m_prazo.marcaDesistencia());
    if (!m_http) {
        if (m_prazo.esgotado())
            falhou();
        else
            m_razao = QStringLiteral("não foi possível ligar ao servidor de impressão %1 (%2)")
                          .arg(m_servidor.nome(), porqueNaoLiga(m_servidor));
        return;
    }
    // Every wait comes back here in short turns, and goes on only while the print may wait.
    httpSetTimeout(
        m_http, Vigilia, [](http_t*, void* prazo) { return static_cast<PrazoImpressao*>(prazo)->esgotado() ? 0 : 1; },
        &m_prazo);
}

LigacaoCups::~LigacaoCups()
{
    if (m_http)
        httpClose(m_http);
}

void LigacaoCups::falhou()
{
    if (m_prazo.desistido())
        m_razao = QStringLiteral("cancelada");
    else if (m_prazo.esgotado())
        m_razao = m_prazo.semResposta(m_servidor.nome());
    else if (const int e = m_http ? httpError(m_http) : 0)
        m_razao = Erros::razaoSistema(e);
    else
        m_razao = QString::fromUtf8(cupsLastErrorString());
}

RespostaIpp LigacaoCups::pedir(ipp_t* pedido, const QByteArray& recurso, const std::function<bool(http_t*)>& dados)
{
    RespostaIpp resposta;
    if (!m_http) {
        ippDelete(pedido);
        return resposta;
    }
    for (int tentativa = 0; tentativa < Tentativas && !resposta; ++tentativa) {
        http_status_t estado =
            cupsSendRequest(m_http, pedido, recurso.constData(), dados ? CUPS_LENGTH_VARIABLE : ippLength(pedido));
        if (estado == HTTP_STATUS_CONTINUE && dados && !dados(m_http))
            break;
        if (estado == HTTP_STATUS_CONTINUE || estado == HTTP_STATUS_OK) {
            resposta = RespostaIpp(cupsGetResponse(m_http, recurso.constData()));
            estado = httpGetStatus(m_http);
        }
        // Asked who the user is, the library answered for it (never by asking anyone): once more.
        if (!resposta && estado != HTTP_STATUS_UNAUTHORIZED && estado != HTTP_STATUS_UPGRADE_REQUIRED)
            break;
    }
    ippDelete(pedido);
    if (!resposta)
        falhou();
    return resposta;
}

QByteArray LigacaoCups::uriFila(const QString& fila) const
{
    char uri[HTTP_MAX_URI];
    const QByteArray anfitriao = m_servidor.local() ? QByteArray("localhost") : m_servidor.anfitriao.toUtf8();
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, anfitriao.constData(),
                     m_servidor.local() ? 631 : m_servidor.porta, "/printers/%s", fila.toUtf8().constData());
    return uri;
}

QByteArray LigacaoCups::recursoFila(const QString& fila)
{
    return "/printers/" + QUrl::toPercentEncoding(fila);
}
