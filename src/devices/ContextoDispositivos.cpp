#include "devices/ContextoDispositivos.h"

#include "data/Estacao.h"
#include "devices/EcraBascula.h"
#include "devices/ProtocoloIndicador.h"

ContextoDispositivos::ContextoDispositivos(Estacao& estacao_, LigacoesDispositivos& io_, EcraBascula& ecra_)
    : estacao(estacao_),
      io(io_),
      ecra(ecra_),
      separador(ProtocoloIndicador::separadorMilhares())
{}

bool ContextoDispositivos::ocupado() const
{
    return emCurso || ecra.ocupado();
}

const Definicoes& ContextoDispositivos::def() const
{
    return estacao.Def;
}
Definicoes& ContextoDispositivos::def()
{
    return estacao.Def;
}
int ContextoDispositivos::nivelAcesso() const
{
    return estacao.Acesso.NivelAcesso;
}
