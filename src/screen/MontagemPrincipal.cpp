#include "screen/MontagemPrincipal.h"

#include "devices/CargaDispositivos.h"
#include "platform/Ligacoes.h"
#include "screen/EcraPesagem.h"

MontagemPrincipal::MontagemPrincipal(Estacao& estacao, EcraPesagem& ecra, LigacoesDispositivos& io)
    : m_estacao(estacao),
      m_ecra(ecra),
      m_io(io),
      m_vizinhos(ecra),
      m_basculas(estacao, io, m_vizinhos),
      m_grelha(estacao, m_vizinhos),
      m_gravacao(estacao, m_vizinhos, m_grelha)
{
    m_ecra.ligarDispositivos(this);
    m_ecra.ligarRegistos(this);
}

MontagemPrincipal::~MontagemPrincipal()
{
    m_ecra.ligarDispositivos(nullptr);
    m_ecra.ligarRegistos(nullptr);
}

void MontagemPrincipal::CarregarDispositivos()
{
    ::CarregarDispositivos(m_estacao, m_io, m_basculas);
}

void MontagemPrincipal::tmr_Timer(int Index) { m_basculas.tmr_Timer(Index); }
void MontagemPrincipal::FecharPortas() { m_io.fecharPortas(); }
EstadoBascula& MontagemPrincipal::Estado(int Index) { return m_basculas.estado(Index); }

void MontagemPrincipal::GravarPrimeiraPesagem() { m_gravacao.GravarPrimeiraPesagem(); }
void MontagemPrincipal::GravarSegundaPesagem() { m_gravacao.GravarSegundaPesagem(); }
void MontagemPrincipal::RefrescarLista() { m_grelha.RefrescarLista(); }
