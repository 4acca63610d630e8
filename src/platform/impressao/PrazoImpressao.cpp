#include "platform/impressao/PrazoImpressao.h"

#include <algorithm>
#include <cmath>

using namespace std::chrono;

PrazoImpressao::PrazoImpressao(milliseconds espera, Sinal sinal)
    : m_espera(espera),
      m_pedido(Relogio::now()),
      m_sinal(sinal ? std::move(sinal) : std::make_shared<std::atomic<Relogio::rep>>(0))
{}

milliseconds PrazoImpressao::restante() const
{
    if (desistido())
        return milliseconds(0);
    const Relogio::time_point desde = std::max(m_pedido, Relogio::time_point(Relogio::duration(m_sinal->load())));
    return std::max(milliseconds(0), duration_cast<milliseconds>(desde + m_espera - Relogio::now()));
}

void PrazoImpressao::sinal()
{
    const Relogio::rep agora = Relogio::now().time_since_epoch().count();
    Relogio::rep antes = m_sinal->load();
    while (antes < agora && !m_sinal->compare_exchange_weak(antes, agora)) {
    }
}

QString PrazoImpressao::semResposta(const QString& servidor) const
{
    const double segundos = m_espera.count() / 1000.0;
    return QStringLiteral("o servidor de impressão %1 não respondeu em %2 s")
        .arg(servidor, std::floor(segundos) == segundos ? QString::number(qint64(segundos)) : QString::number(segundos, 'f', 1));
}
