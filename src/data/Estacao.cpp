#include "data/Estacao.h"

#include <QDir>

Estacao::Estacao(QString pastaPrograma, ServicoMensagens& mensagens_, Relogio& relogio_, ServicoSistema& sistema_)
    : mensagens(mensagens_),
      relogio(relogio_),
      sistema(sistema_),
      m_pasta(std::move(pastaPrograma)),
      m_ini(QDir(m_pasta).filePath(NomeFicheiroDefinicoes))
{}

Estacao::~Estacao() = default;

QString Estacao::naPastaPrograma(const QString& nome) const
{
    return QDir(m_pasta).filePath(nome);
}
