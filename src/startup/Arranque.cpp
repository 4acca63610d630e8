#include "startup/Arranque.h"

#include "data/BaseDadosEstacao.h"
#include "data/Estacao.h"
#include "startup/EscritaPorTodos.h"
#include "startup/ModGlobalIni.h"

ResultadoArranque ArrancarDados(Estacao& estacao)
{
    ResultadoArranque r;
    Definicoes& d = estacao.Def;
    AvisarEscritaPorTodos(estacao.PastaPrograma(), estacao.Ini().caminho());
    r.valoresFalhados = ModGlobal::LerDefinicoes(estacao.Ini(), estacao.PastaPrograma(), d);

    try {
        estacao.Bd = BaseDadosEstacao::abrir(d.BaseDados);
    } catch (const Erro&) {
        d.BaseDados = estacao.naPastaPrograma(NomeBaseDados);
        d.BaseDadosBackup = d.BaseDados;
        r.caminhoPorDefeito = true;
        try {
            estacao.Bd = BaseDadosEstacao::abrir(d.BaseDados);
        } catch (const Erro& e) {
            r.erroBaseDados = e;
            return r;
        }
    }
    r.baseDadosAberta = true;

    if (!mesmoFicheiro(d.BaseDadosBackup, d.BaseDados)) {
        try {
            estacao.BdBackup = BaseDadosEstacao::abrir(d.BaseDadosBackup);
        } catch (const Erro&) {
            estacao.BdBackup.reset();
        }
    }

    estacao.Acesso.TentativasAcesso = 0;
    return r;
}
