// The link and parse steps of a bridge's tick, and the zero command.
#include "devices/CicloBascula.h"

#include "data/Estacao.h"
#include "devices/ContextoDispositivos.h"
#include "devices/EcraBascula.h"
#include "devices/ProtocoloIndicador.h"

namespace {
const QString BasculaDesligada = QStringLiteral("Báscula desligada");
const QString IndicadorDesligado = QStringLiteral("Indicador de peso desligado");
const QString EmLigacao = QStringLiteral("Em ligação ao indicador de peso");
const QString AguardaResposta = QStringLiteral("Aguarda por resposta do indicador de peso");
}  // namespace

CicloBascula::CicloBascula(int indice, ContextoDispositivos& contexto) : m_i(indice), m_c(contexto) {}

EstadoBascula& CicloBascula::e()
{
    return m_c.estados[m_i];
}
VistaBascula& CicloBascula::v()
{
    return m_c.vista.bascula[m_i];
}

void CicloBascula::PassoLigacao()
{
    Definicoes& d = m_c.def();
    EstadoBascula& s = e();
    if (!d.IndLigado[m_i]) {
        s.ErroIndicador = true;
        s.MensagemIndicador = BasculaDesligada;
        // The readers of a bridge that is off are off for the run (not in the file).
        d.LPLigado[m_i] = false;
        d.LSLigado[m_i] = false;
        v().controlosVisiveis = false;
        return;
    }
    v().controlosVisiveis = true;

    if (d.ComunicacaoIP[m_i]) {
        if (m_c.io.estadoTcp(m_i) == EstadoTcp::Ligado) {
            if (s.BufferIndicador.isEmpty()) {
                if (s.CiclosIndicador < CiclosSilencio) {
                    ++s.CiclosIndicador;
                } else {
                    s.CiclosIndicador = 0;
                    s.ErroIndicador = true;
                    s.MensagemIndicador = IndicadorDesligado;
                    // A connection that stays silent may be half-open (the
                    // indicator restarted): drop it so it is made anew.
                    m_c.io.fecharTcp(m_i);
                }
            }
        } else {
            if (s.CiclosIndicador < d.Ciclos) {
                ++s.CiclosIndicador;
                s.MensagemIndicador = EmLigacao;
            } else {
                m_c.io.religarTcp(m_i, d.EnderecoIP[m_i], m_c.portaTcp[m_i]);
                s.CiclosIndicador = 0;
                s.MensagemIndicador = IndicadorDesligado;
            }
            s.BufferIndicador.clear();
            s.ErroIndicador = true;
        }
    } else if (m_c.io.bytesEmEspera(m_i, Canal::Indicador) > 0) {
        // Only a frame read resets the counter: bytes that never form one
        // must end in "Erro de protocolo", not keep a stale reading alive.
        s.BufferIndicador.append(m_c.io.lerTudo(m_i, Canal::Indicador));
        if (s.BufferIndicador.size() > LimiteBufferIndicador)
            s.BufferIndicador = s.BufferIndicador.right(LimiteBufferIndicador);
    } else if (s.CiclosIndicador < CiclosSilencio) {
        // A port that is not open counts as silent.
        ++s.CiclosIndicador;
        s.ErroIndicador = true;
        s.MensagemIndicador = AguardaResposta;
    } else {
        s.CiclosIndicador = 0;
        s.BufferIndicador.clear();
        s.ErroIndicador = true;
        s.MensagemIndicador = IndicadorDesligado;
    }
    PassoLeitura();
}

void CicloBascula::PassoLeitura()
{
    const ProtocoloIndicador::Modelo m = ProtocoloIndicador::modelo(m_c.def().IndModelo[m_i]);
    if (!e().BufferIndicador.isEmpty()) {
        if (m.layout == ProtocoloIndicador::Layout::A)
            LerTramaAvery();
        else if (m.layout == ProtocoloIndicador::Layout::U)
            LerTramaUtilcel();
    } else if (!m.poll.isEmpty()) {
        EnviarIndicador(m.poll);
    }
}

void CicloBascula::LerTramaAvery()
{
    ProtocoloIndicador::LerTrama(ProtocoloIndicador::Layout::A, e(), m_c.def().Ciclos, m_c.def().PesagemMinima[m_i],
                                 m_c.separador);
}

void CicloBascula::LerTramaUtilcel()
{
    // The next poll goes out as soon as a frame is taken, good or bad.
    const int ciclos = m_c.def().Ciclos;
    const bool noLimite = e().CiclosIndicador >= ciclos;  // this read shows "Erro de protocolo"
    if (ProtocoloIndicador::LerTrama(ProtocoloIndicador::Layout::U, e(), ciclos, m_c.def().PesagemMinima[m_i],
                                     m_c.separador)) {
        EnviarIndicador(ProtocoloIndicador::modelo(m_c.def().IndModelo[m_i]).poll);
    } else if (noLimite) {
        // Bytes that never became a frame would keep the buffer from ever
        // being empty, and so the indicator from ever being polled again (on
        // TCP nothing else empties it): drop them once the error shows.
        e().BufferIndicador.clear();
    }
}

void CicloBascula::EnviarIndicador(const QByteArray& texto)
{
    if (m_c.def().ComunicacaoIP[m_i])
        m_c.io.enviarTcp(m_i, texto);
    else
        m_c.io.escrever(m_i, Canal::Indicador, texto);
}

void CicloBascula::sck_DataArrival(const QByteArray& dados)
{
    e().BufferIndicador = dados;
}

void CicloBascula::cmdZ_Click(bool peloOperador)
{
    if (!peloOperador || m_c.nivelAcesso() > 1) {
        const QByteArray zero = ProtocoloIndicador::modelo(m_c.def().IndModelo[m_i]).zero;
        if (!zero.isEmpty())
            EnviarIndicador(zero);
    }
    m_c.ecra.focarCampoActual();
}

void CicloBascula::PassoZero()
{
    const Definicoes& d = m_c.def();
    EstadoBascula& s = e();
    const bool precisaZero =
        d.IndLigado[m_i] && !s.ErroIndicador && s.PesoActual != 0 && s.PesoActual < d.PesagemMinima[m_i];
    if (precisaZero && m_c.nivelAcesso() > 1) {
        v().cmdZActivo = true;
        v().cmdZ = QStringLiteral("<< zero >>");
    } else if (precisaZero) {
        // Nobody who may zero is logged in: zero once the residue has held.
        if (!d.ZeroAutomatico[m_i])
            return;
        if (s.PesoActual == s.PesoReferenciaZero) {
            ++s.ContadorZero;
            if (s.ContadorZero > d.CiclosZero[m_i]) {
                s.ContadorZero = 0;
                cmdZ_Click(false);
            }
        } else {
            s.ContadorZero = 0;
            s.PesoReferenciaZero = s.PesoActual;
        }
    } else {
        v().cmdZActivo = false;
        v().cmdZ.clear();
    }
}
