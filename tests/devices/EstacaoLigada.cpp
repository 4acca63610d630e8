#include "EstacaoLigada.h"

#include "startup/ModGlobalIni.h"

EstacaoLigada::EstacaoLigada(const QByteArray& ini)
{
    estacao.escreverIni(ini);
    ModGlobal::LerDefinicoes(estacao.estacao->Ini(), estacao.pasta(), estacao.estacao->Def);
    io = std::make_unique<LigacoesQt>(estacao.estacao->Ini());
    ligacao = std::make_unique<LigacaoBasculas>(*estacao.estacao, *io, ecra);
}
