#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <memory>

// How long a print may still wait for its print server, and whether it was
// given up (cancelled, or told as failed). The wait is counted from the
// request, or, when that is later, from the last block of a document that
// the print system took (of this print or of one before it): a server that
// keeps silent fails the print once the wait has passed; one busy taking a
// long listing does not. Read and given up from any thread.
class PrazoImpressao
{
public:
    using Relogio = std::chrono::steady_clock;
    // The moment the print system last took a block of a document, shared by
    // the prints of one station.
    using Sinal = std::shared_ptr<std::atomic<Relogio::rep>>;

    PrazoImpressao(std::chrono::milliseconds espera, Sinal sinal);

    std::chrono::milliseconds espera() const { return m_espera; }
    // What is left of the wait; none once given up.
    std::chrono::milliseconds restante() const;
    bool esgotado() const { return restante().count() <= 0; }

    void desistir() { m_desistido = 1; }
    bool desistido() const { return m_desistido != 0; }
    // The print system took a block of a document: the wait starts again.
    void sinal();

    // For the library's connect, which polls a flag of its own kind.
    int* marcaDesistencia() { return reinterpret_cast<int*>(&m_desistido); }

    // "o servidor de impressão <nome> não respondeu em <n> s"
    QString semResposta(const QString& servidor) const;

private:
    static_assert(sizeof(std::atomic<int>) == sizeof(int) && std::atomic<int>::is_always_lock_free);
    const std::chrono::milliseconds m_espera;
    const Relogio::time_point m_pedido;
    Sinal m_sinal;
    std::atomic<int> m_desistido{0};
};
