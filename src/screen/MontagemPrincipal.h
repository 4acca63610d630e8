#pragma once

#include "devices/LigacaoBasculas.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"
#include "screen/ServicosEcra.h"
#include "screen/VizinhosEcra.h"

class EcraPesagem;
class Estacao;
class LigacoesDispositivos;

// The main window's working parts around its weighing screen: both bridges'
// device link over the given ports, the saves and the grid of recent
// weighings, each seeing the screen through its own interface. Made once the
// screen's logic exists, it plugs itself into it.
class MontagemPrincipal : public DispositivosEcra, public RegistosEcra
{
public:
    MontagemPrincipal(Estacao& estacao, EcraPesagem& ecra, LigacoesDispositivos& io);
    ~MontagemPrincipal() override;
    MontagemPrincipal(const MontagemPrincipal&) = delete;
    MontagemPrincipal& operator=(const MontagemPrincipal&) = delete;

    VizinhosEcra& vizinhos() { return m_vizinhos; }
    LigacaoBasculas& basculas() { return m_basculas; }
    GrelhaPesagens& grelha() { return m_grelha; }
    GravacaoPesagens& gravacao() { return m_gravacao; }

    // DispositivosEcra
    void CarregarDispositivos() override;
    void tmr_Timer(int Index) override;
    void FecharPortas() override;
    EstadoBascula& Estado(int Index) override;

    // RegistosEcra
    void GravarPrimeiraPesagem() override;
    void GravarSegundaPesagem() override;
    void RefrescarLista() override;

private:
    Estacao& m_estacao;
    EcraPesagem& m_ecra;
    LigacoesDispositivos& m_io;
    VizinhosEcra m_vizinhos;
    LigacaoBasculas m_basculas;
    GrelhaPesagens m_grelha;
    GravacaoPesagens m_gravacao;
};
