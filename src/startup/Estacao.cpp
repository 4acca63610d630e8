#include "startup/Estacao.h"

#include "startup/ModGlobalIni.h"

Estacao::Estacao(QString pastaPrograma, ServicoMensagens& mensagens_, Relogio& relogio_, ServicoSistema& sistema_)
    : mensagens(mensagens_),
      relogio(relogio_),
      sistema(sistema_),
      m_pasta(std::move(pastaPrograma)),
      m_ini(ModGlobal::NaPastaPrograma(m_pasta, NomeFicheiroDefinicoes))
{
}

Estacao::~Estacao() = default;

QString Estacao::naPastaPrograma(const QString& nome) const
{
    return ModGlobal::NaPastaPrograma(m_pasta, nome);
}
