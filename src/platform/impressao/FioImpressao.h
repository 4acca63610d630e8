#pragma once

#include "platform/impressao/EntregaImpressao.h"
#include "platform/impressao/PrazoImpressao.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The station's prints on their way to the print system: a thread of their
// own hands them over one at a time, in the order they were asked, so that
// no call to the print system runs on the thread that asks (the window's
// thread, whose bridges, lights and keys never wait for a print). Each
// print is answered once, at the latest when its wait (DestinoImpressao's
// espera) runs out, whatever the print system's library does meanwhile; a
// print answered so, or cancelled, is never handed over after, and a job
// already made for it is cancelled at the server. Made and ended in one
// thread (the station's); ending it cancels every print not yet answered.
class FioImpressao : public QObject
{
public:
    using Resposta = std::function<void(const EntregaImpressao&)>;

    explicit FioImpressao(QObject* pai = nullptr);
    ~FioImpressao() override;
    FioImpressao(const FioImpressao&) = delete;
    FioImpressao& operator=(const FioImpressao&) = delete;

    // Hands the PDF open as `fd` (a descriptor of its own is kept; read
    // whole from its start) to `destino` as `titulo`, after the prints
    // asked before it, and returns at once. `resposta` is called with the
    // answer in this object's thread, never once this object is gone. Called
    // in this object's thread.
    void entregarDepois(const DestinoImpressao& destino, int fd, const QString& titulo, Resposta resposta);

    // The same from another thread, which waits for the answer. Once
    // `cancelado` is set, the wait ends within a tenth of a second: the
    // answer is Cancelado, and the print is given up.
    EntregaImpressao entregar(const DestinoImpressao& destino, int fd, const QString& titulo,
                              const std::atomic<bool>& cancelado);

private:
    struct Trabalho;

    std::shared_ptr<Trabalho> pedir(const DestinoImpressao& destino, int fd, const QString& titulo, Resposta resposta);
    // Gives the print its answer, unless it has one: false then.
    bool responder(const std::shared_ptr<Trabalho>& trabalho, EntregaImpressao entrega);
    // Answers, and gives up, a print whose wait ran out; else looks again when it may.
    void vigiar(const std::shared_ptr<Trabalho>& trabalho);
    void correr();

    const PrazoImpressao::Sinal m_sinal;
    std::mutex m_fecho;
    std::condition_variable m_haTrabalho;
    std::deque<std::shared_ptr<Trabalho>> m_pedidos;
    std::shared_ptr<Trabalho> m_actual;
    bool m_parar = false;
    std::thread m_fio;
};
