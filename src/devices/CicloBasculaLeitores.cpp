// The card readers of a bridge: polls, frames, and the hand-over of a new
// card to the automatic weighing.
#include "devices/CicloBascula.h"

#include "data/Passo.h"
#include "devices/ContextoDispositivos.h"
#include "devices/EcraBascula.h"
#include "devices/ProtocoloLeitor.h"

#include <QScopeGuard>

void CicloBascula::PassoLeitores()
{
    EstadoBascula& s = e();
    const qint16 minimo = m_c.def().PesagemMinima[m_i];
    // A card that came while the screen was busy goes now, if it still applies.
    if (m_cartaoPendente && !m_c.ocupado()) {
        m_cartaoPendente = false;
        entregarCartao();
    }
    lerLeitor(Canal::LeitorP);
    lerLeitor(Canal::LeitorS);
    if (s.PesoActual < minimo)
        s.UltimoCartao.clear();
    // A waiting card belongs to the vehicle on the bridge; once it is gone, so is the card.
    if (s.PesoActual <= minimo)
        m_cartaoPendente = false;
}

void CicloBascula::lerLeitor(Canal::Tipo canal)
{
    const Definicoes& d = m_c.def();
    EstadoBascula& s = e();
    const bool principal = canal == Canal::LeitorP;
    const bool ligado = principal ? d.LPLigado[m_i] : d.LSLigado[m_i];
    const int limite = principal ? d.LPTemporizacao[m_i] : d.LSTemporizacao[m_i];
    QByteArray& buffer = principal ? s.BufferLeitorP : s.BufferLeitorS;
    int& ciclos = principal ? s.CiclosLeitorP : s.CiclosLeitorS;
    QString& etiqueta = principal ? v().lblCP : v().lblCS;

    if (!ligado || !m_c.io.aberta(m_i, canal)) {
        etiqueta.clear();
        return;
    }
    if (m_c.io.bytesEmEspera(m_i, canal) > 0) {
        buffer.append(m_c.io.lerTudo(m_i, canal));
        const ProtocoloLeitor::Exame exame = ProtocoloLeitor::examinar(buffer);
        if (exame.codigo) {
            s.CodigoCartao = *exame.codigo;
            etiqueta = s.CodigoCartao;
            ciclos = 0;
            buffer.clear();
            entregarCartao();
        } else if (exame.descartar) {
            buffer.clear();
        }
    } else if (ciclos < limite) {
        ++ciclos;
    } else {
        ciclos = 0;
        m_c.io.escrever(m_i, canal, ProtocoloLeitor::Poll);
        etiqueta.clear();
    }
}

void CicloBascula::entregarCartao()
{
    // Only a card other than the last one acted on, at a loaded bridge.
    const EstadoBascula& s = e();
    if (s.CodigoCartao == s.UltimoCartao || s.PesoActual <= m_c.def().PesagemMinima[m_i])
        return;
    // The automatic weighing waits while a save, a save question or another
    // automatic weighing is under way: it would record or fill the screen
    // behind the operator's back.
    if (m_c.ocupado()) {
        m_cartaoPendente = true;
        return;
    }
    m_c.emCurso = true;
    const auto fim = qScopeGuard([this] { m_c.emCurso = false; });
    PassoSilencioso([&] { m_c.ecra.PesagemAutomatica(m_i); });
}
