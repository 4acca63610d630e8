#include "screen/EcraPesagem.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "records/PesagemAutomatica.h"
#include "screen/RegrasEcra.h"

#include <algorithm>

using namespace CamposEntrada;

EcraPesagem::EcraPesagem(Estacao& estacao, QObject* parent) : QObject(parent), m_estacao(estacao)
{
    for (int i = 0; i < Numero; ++i) {
        CampoTexto& c = m_e.txt[std::size_t(i)];
        if (ePainelPesagem(i)) {
            c.activo = false;
            c.cor = Cor::FaceBotao;
        }
    }
    m_e.menus[QStringLiteral("mnuOpc6")] = false;  // only while a second weighing is on the screen
    for (int i = 0; i < 2; ++i)
        m_e.cmdB[std::size_t(i)].legenda = TextosControlo::LegendaBascula[i];
}

EcraPesagem::~EcraPesagem() = default;

EstadoBascula& EcraPesagem::Bascula(int Index)
{
    return m_partes.Estado ? m_partes.Estado(Index) : m_bascula.at(std::size_t(Index));
}

void EcraPesagem::setTxt(int Index, const QString& texto)
{
    CampoTexto& c = m_e.txt.at(std::size_t(Index));
    if (c.texto == texto)
        return;
    c.texto = texto;
    c.selInicio = std::min(c.selInicio, int(texto.size()));
    c.selComprimento = std::min(c.selComprimento, int(texto.size()) - c.selInicio);
    m_campos.txt_Change(Index);
    Q_EMIT alterado();
}

bool EcraPesagem::cmdBComFoco(int Index) const
{
    return m_e.cmdB.at(std::size_t(Index)).legenda == QStringLiteral("Pesagem");
}

void EcraPesagem::PesagemAutomatica(int Index)
{
    ::PesagemAutomatica(m_estacao, *this, Bascula(Index), Index);
}

bool EcraPesagem::mnuOpcMarcado(int Index) const
{
    return Index == MnuOpc::PesagemManual && m_e.mnuOpc4Marcado;
}

void EcraPesagem::setMnuOpcMarcado(int Index, bool marcado)
{
    if (Index == MnuOpc::PesagemManual)
        m_e.mnuOpc4Marcado = marcado;
}

void EcraPesagem::setMnuOpcActivo(int Index, bool activo)
{
    m_e.menus[QStringLiteral("mnuOpc") + QString::number(Index)] = activo;
}

void EcraPesagem::definirPesagemManual(bool ligada)
{
    m_pesagemManual = ligada;
    m_e.mnuOpc4Marcado = ligada;
    m_e.lblPMVisivel = ligada;
}

bool EcraPesagem::menuUtilizavel(const QString& item) const
{
    const QString menu = RegrasEcra::menuDe(item);
    return menuActivo(item) && (menu.isEmpty() || menuActivo(menu));
}

// ----- Focus

bool EcraPesagem::podeTerFoco(Controlo c) const
{
    switch (c.tipo) {
    case Controlo::Nenhum: return false;
    case Controlo::Txt: {
        if (!eValido(c.indice) || !m_e.txt[std::size_t(c.indice)].activo)
            return false;
        if (ePainelDetalhes(c.indice))
            return m_e.picQVisivel;
        if (ePainelPesagem(c.indice))
            return m_e.picPVisivel && (c.indice < PesoSegunda || m_e.picPCompleto);
        return true;
    }
    case Controlo::CmdB: return m_e.cmdB.at(std::size_t(c.indice)).activo;
    case Controlo::Opt: return m_e.picPVisivel && m_e.picPCompleto;
    default: return true;
    }
}

void EcraPesagem::DarFoco(Controlo c)
{
    if (c == m_e.foco || !podeTerFoco(c))
        return;
    const Controlo antigo = m_e.foco;
    m_e.foco = c;
    switch (antigo.tipo) {
    case Controlo::Txt: m_campos.txt_LostFocus(antigo.indice); break;
    case Controlo::CmdB: m_disposicao.cmdB_LostFocus(antigo.indice); break;
    case Controlo::Opt: m_disposicao.opt_LostFocus(antigo.indice); break;
    default: break;
    }
    switch (c.tipo) {
    case Controlo::Txt: m_campos.txt_GotFocus(c.indice); break;
    case Controlo::CmdB: m_disposicao.cmdB_GotFocus(c.indice); break;
    case Controlo::Opt:
        m_e.opt = c.indice;  // an option that takes the focus is selected
        m_disposicao.opt_GotFocus(c.indice);
        break;
    default: break;
    }
}

// ----- Boxes, steps, saves

int EcraPesagem::MsgBox(const QString& texto, int estilo, const QString& titulo)
{
    Ocupacao o(*this);
    Q_EMIT antesDeCaixa();
    return m_estacao.mensagens.MsgBox(texto, estilo, titulo);
}

bool EcraPesagem::passo(const QString& cabecalho, const std::function<void()>& f)
{
    Erro falha;
    if (PassoSilencioso(f, &falha))
        return true;
    Ocupacao o(*this);
    Q_EMIT antesDeCaixa();
    MostrarErroBd(m_estacao.mensagens, cabecalho, falha);
    return false;
}

void EcraPesagem::RefrescarLista()
{
    if (m_partes.RefrescarLista)
        m_partes.RefrescarLista();
    else
        m_disposicao.RecomecarEcra();
}

void EcraPesagem::GravarPrimeiraPesagem()
{
    Ocupacao o(*this);
    if (m_partes.GravarPrimeiraPesagem)
        passo(QStringLiteral("Erro no acesso à tabela de primeiras pesagens"), m_partes.GravarPrimeiraPesagem);
    prontoParaSeguinte();
}

void EcraPesagem::GravarSegundaPesagem()
{
    Ocupacao o(*this);
    if (m_partes.GravarSegundaPesagem)
        passo(QStringLiteral("Erro no acesso à tabela de pesagens"), m_partes.GravarSegundaPesagem);
    prontoParaSeguinte();
}

// A save that started the screen over leaves the keyboard on the vehicle code
// for the next truck (the bridge button's lost focus empties the status bar);
// a refused one leaves the weighing where it was.
void EcraPesagem::prontoParaSeguinte()
{
    if (m_modoPesagem.isEmpty())
        focarTxt(CodigoViatura);
}
