#include "screen/MontagemPrincipal.h"

#include "devices/CargaDispositivos.h"
#include "platform/Ligacoes.h"
#include "screen/EcraPesagem.h"

MontagemPrincipal::MontagemPrincipal(Estacao& estacao, EcraPesagem& ecra, LigacoesDispositivos& io)
    : m_ecra(ecra),
      m_basculas(estacao, io, ecra),
      m_grelha(estacao, ecra),
      m_gravacao(estacao, ecra, m_grelha)
{
    PartesEcra p;
    p.CarregarDispositivos = [&estacao, &io, this] { ::CarregarDispositivos(estacao, io, m_basculas); };
    p.tmr_Timer = [this](int Index) { m_basculas.tmr_Timer(Index); };
    p.FecharPortas = [&io] { io.fecharPortas(); };
    p.Estado = [this](int Index) -> EstadoBascula& { return m_basculas.estado(Index); };
    p.GravarPrimeiraPesagem = [this] { m_gravacao.GravarPrimeiraPesagem(); };
    p.GravarSegundaPesagem = [this] { m_gravacao.GravarSegundaPesagem(); };
    p.RefrescarLista = [this] { m_grelha.RefrescarLista(); };
    m_ecra.ligarPartes(p);
}

MontagemPrincipal::~MontagemPrincipal()
{
    m_ecra.ligarPartes({});
}
