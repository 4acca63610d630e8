#include "platform/impressao/FioImpressao.h"

#include "platform/Erro.h"
#include "platform/ficheiros/Descritor.h"

#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cups/cups.h>
#include <fcntl.h>
#include <pthread.h>

using namespace std::chrono;

namespace {
// How often a thread waiting for a print looks at its "Cancelar".
constexpr milliseconds Olhar{100};
}  // namespace

struct FioImpressao::Trabalho
{
    Trabalho(const DestinoImpressao& d, int fd, const QString& t, const PrazoImpressao::Sinal& sinal)
        : destino(d),
          titulo(t),
          prazo(d.espera, sinal)
    {
        ficheiro.fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        erroFicheiro = ficheiro.fd < 0 ? errno : 0;
    }

    // The answer given when nobody else gave one: the wait ran out, or it was given up.
    EntregaImpressao semResposta() const
    {
        EntregaImpressao e;
        e.resultado = prazo.desistido() ? EntregaImpressao::Resultado::Cancelado : EntregaImpressao::Resultado::Recusado;
        e.razao = prazo.semResposta(destino.servidor.nome());
        return e;
    }

    const DestinoImpressao destino;
    const QString titulo;
    Descritor ficheiro;
    int erroFicheiro = 0;
    PrazoImpressao prazo;
    Resposta resposta;  // the answer's way back, when nobody waits for it

    std::mutex fecho;
    std::condition_variable respondida;
    bool respondido = false;
    EntregaImpressao entrega;
    QString fila;  // the queue, once known
};

FioImpressao::FioImpressao(QObject* pai)
    : QObject(pai),
      m_sinal(std::make_shared<std::atomic<PrazoImpressao::Relogio::rep>>(0)),
      m_fio([this] { correr(); })
{}

FioImpressao::~FioImpressao()
{
    std::deque<std::shared_ptr<Trabalho>> restantes;
    {
        const std::lock_guard fecho(m_fecho);
        m_parar = true;
        restantes.swap(m_pedidos);
        if (m_actual)
            m_actual->prazo.desistir();
    }
    m_haTrabalho.notify_all();
    m_fio.join();
    // Whoever waits for one is told; the answers on their way here go with this object.
    for (const auto& t : restantes) {
        t->prazo.desistir();
        responder(t, t->semResposta());
    }
}

std::shared_ptr<FioImpressao::Trabalho> FioImpressao::pedir(const DestinoImpressao& destino, int fd, const QString& titulo,
                                                            Resposta resposta)
{
    auto t = std::make_shared<Trabalho>(destino, fd, titulo, m_sinal);
    t->resposta = std::move(resposta);
    {
        const std::lock_guard fecho(m_fecho);
        m_pedidos.push_back(t);
    }
    m_haTrabalho.notify_one();
    return t;
}

void FioImpressao::entregarDepois(const DestinoImpressao& destino, int fd, const QString& titulo, Resposta resposta)
{
    Q_ASSERT(QThread::currentThread() == thread());
    vigiar(pedir(destino, fd, titulo, std::move(resposta)));
}

EntregaImpressao FioImpressao::entregar(const DestinoImpressao& destino, int fd, const QString& titulo,
                                        const std::atomic<bool>& cancelado)
{
    Q_ASSERT(QThread::currentThread() != thread());
    const auto t = pedir(destino, fd, titulo, {});
    std::unique_lock fecho(t->fecho);
    while (!t->respondido) {
        if (cancelado || t->prazo.esgotado()) {
            if (cancelado)
                t->prazo.desistir();
            fecho.unlock();
            responder(t, t->semResposta());
            fecho.lock();
            continue;
        }
        t->respondida.wait_for(fecho, std::min(Olhar, t->prazo.restante() + milliseconds(1)));
    }
    return t->entrega;
}

bool FioImpressao::responder(const std::shared_ptr<Trabalho>& t, EntregaImpressao entrega)
{
    {
        const std::lock_guard fecho(t->fecho);
        if (t->respondido)
            return false;
        if (entrega.fila.isEmpty())
            entrega.fila = t->fila;
        t->entrega = std::move(entrega);
        t->respondido = true;
    }
    t->respondida.notify_all();
    if (t->resposta)
        QMetaObject::invokeMethod(this, [t] { t->resposta(t->entrega); }, Qt::QueuedConnection);
    return true;
}

void FioImpressao::vigiar(const std::shared_ptr<Trabalho>& t)
{
    {
        const std::lock_guard fecho(t->fecho);
        if (t->respondido)
            return;
    }
    if (const milliseconds resta = t->prazo.restante(); resta.count() > 0) {
        // Looked at again when it may run out: a server that took part of a print gave it more.
        QTimer::singleShot(resta + milliseconds(1), this, [this, t] { vigiar(t); });
        return;
    }
    // Given up first: once told it failed, it is never printed.
    t->prazo.desistir();
    EntregaImpressao e = t->semResposta();
    e.resultado = EntregaImpressao::Resultado::Recusado;
    responder(t, e);
}

void FioImpressao::correr()
{
    pthread_setname_np(pthread_self(), "impressao");
    // Nobody is ever asked for a password here: a server that wants one refuses the print.
    cupsSetPasswordCB2([](const char*, http_t*, const char*, const char*, void*) -> const char* { return nullptr; },
                       nullptr);
    for (;;) {
        std::shared_ptr<Trabalho> t;
        {
            std::unique_lock fecho(m_fecho);
            m_haTrabalho.wait(fecho, [this] { return m_parar || !m_pedidos.empty(); });
            if (m_parar)
                return;
            t = m_actual = m_pedidos.front();
            m_pedidos.pop_front();
        }
        EntregaImpressao e;
        if (t->prazo.esgotado()) {
            e = t->semResposta();
        } else if (t->erroFicheiro) {
            e.resultado = EntregaImpressao::Resultado::FicheiroFalhou;
            e.razao = Erros::razaoSistema(t->erroFicheiro);
        } else {
            e = entregarImpressao(t->destino, t->ficheiro.fd, t->titulo, t->prazo, [&t](const QString& fila) {
                const std::lock_guard fecho(t->fecho);
                t->fila = fila;
            });
        }
        const bool tomado = e.resultado == EntregaImpressao::Resultado::Aceite || e.resultado == EntregaImpressao::Resultado::Retido;
        // Told otherwise meanwhile (its wait ran out, or it was cancelled): what was taken does not print.
        if (!responder(t, e) && tomado)
            cancelarTrabalho(t->destino.servidor, e.fila, e.trabalho);
        const std::lock_guard fecho(m_fecho);
        m_actual.reset();
    }
}
