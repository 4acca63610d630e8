#pragma once

#include "devices/LigacaoBasculas.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"

class EcraPesagem;
class Estacao;
class LigacoesDispositivos;

// The main window's working parts around its weighing screen: both bridges'
// device link over the given ports, the saves and the grid of recent
// weighings, each talking to the screen through its own interface. Made once
// the screen's logic exists, it plugs them into it, and unplugs them when it
// goes.
class MontagemPrincipal
{
public:
    MontagemPrincipal(Estacao& estacao, EcraPesagem& ecra, LigacoesDispositivos& io);
    ~MontagemPrincipal();
    MontagemPrincipal(const MontagemPrincipal&) = delete;
    MontagemPrincipal& operator=(const MontagemPrincipal&) = delete;

    LigacaoBasculas& basculas() { return m_basculas; }
    GrelhaPesagens& grelha() { return m_grelha; }
    GravacaoPesagens& gravacao() { return m_gravacao; }

private:
    EcraPesagem& m_ecra;
    LigacaoBasculas m_basculas;
    GrelhaPesagens m_grelha;
    GravacaoPesagens m_gravacao;
};
