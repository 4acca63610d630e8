#include "screen/EcraPesagem.h"

#include "platform/Mensagens.h"
#include "screen/EcraPesagemOcupacao.h"
#include "screen/RegrasEcra.h"
#include "screen/ServicosEcra.h"
#include "data/Estacao.h"
#include "data/Passo.h"

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
    for (int i = 0; i < 2; ++i) {
        m_e.cmdB[std::size_t(i)].legenda = TextosControlo::LegendaBascula[i];
        m_tmr[std::size_t(i)].setInterval(250);
        m_tmr[std::size_t(i)].callOnTimeout(this, [this, i] { tmr_Timer(i); });
    }
}

EcraPesagem::~EcraPesagem() = default;

EstadoBascula& EcraPesagem::Bascula(int Index)
{
    return m_dispositivos ? m_dispositivos->Estado(Index) : m_bascula.at(std::size_t(Index));
}

// ----- State written by the neighbours

void EcraPesagem::definirTexto(int Index, const QString& texto)
{
    escreverCampo(Index, texto, false);
    Q_EMIT alterado();
}

void EcraPesagem::escreverCampo(int Index, const QString& texto, bool doOperador)
{
    CampoTexto& c = m_e.txt.at(std::size_t(Index));
    if (c.texto == texto)
        return;
    c.texto = texto;
    c.selInicio = std::min(c.selInicio, int(texto.size()));
    c.selComprimento = std::min(c.selComprimento, int(texto.size()) - c.selInicio);
    const bool antes = m_edicaoOperador;
    m_edicaoOperador = doOperador;
    txt_Change(Index);
    m_edicaoOperador = antes;
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

bool EcraPesagem::cmdBComFoco(int Index) const
{
    return m_e.cmdB.at(std::size_t(Index)).legenda == QStringLiteral("Pesagem");
}

// ----- Focus

bool EcraPesagem::podeTerFoco(Controlo c) const
{
    switch (c.tipo) {
    case Controlo::Nenhum:
        return false;
    case Controlo::Txt: {
        if (!eValido(c.indice) || !m_e.txt[std::size_t(c.indice)].activo)
            return false;
        if (ePainelDetalhes(c.indice))
            return m_e.picQVisivel;
        if (ePainelPesagem(c.indice))
            return m_e.picPVisivel && (c.indice < PesoSegunda || m_e.picPCompleto);
        return true;
    }
    case Controlo::CmdB:
        return m_e.cmdB.at(std::size_t(c.indice)).activo;
    case Controlo::Opt:
        return m_e.picPVisivel && m_e.picPCompleto;
    default:
        return true;
    }
}

void EcraPesagem::DarFoco(Controlo c)
{
    if (c == m_e.foco || !podeTerFoco(c))
        return;
    const Controlo antigo = m_e.foco;
    m_e.foco = c;
    perderFoco(antigo);
    ganharFoco(c);
}

void EcraPesagem::perderFoco(Controlo c)
{
    switch (c.tipo) {
    case Controlo::Txt:
        txt_LostFocus(c.indice);
        break;
    case Controlo::CmdB:
        cmdB_LostFocus(c.indice);
        break;
    case Controlo::Opt:
        opt_LostFocus(c.indice);
        break;
    default:
        break;
    }
}

void EcraPesagem::ganharFoco(Controlo c)
{
    switch (c.tipo) {
    case Controlo::Txt:
        txt_GotFocus(c.indice);
        break;
    case Controlo::CmdB:
        cmdB_GotFocus(c.indice);
        break;
    case Controlo::Opt:
        m_e.opt = c.indice;  // an option that takes the focus is selected
        opt_GotFocus(c.indice);
        break;
    default:
        break;
    }
}

// ----- Selection and typing

void EcraPesagem::definirSeleccao(int Index, int inicio, int comprimento)
{
    CampoTexto& c = m_e.txt.at(std::size_t(Index));
    c.selInicio = std::clamp(inicio, 0, int(c.texto.size()));
    c.selComprimento = std::clamp(comprimento, 0, int(c.texto.size()) - c.selInicio);
}

void EcraPesagem::pedirSeleccao(int Index, int inicio, int comprimento)
{
    definirSeleccao(Index, inicio, comprimento);
    m_seleccaoPedida[std::size_t(Index)] = true;
}

void EcraPesagem::seleccionarTudo(int Index)
{
    pedirSeleccao(Index, 0, int(txt(Index).size()));
}

std::optional<std::pair<int, int>> EcraPesagem::tomarPedidoSeleccao(int Index)
{
    if (!m_seleccaoPedida.at(std::size_t(Index)))
        return std::nullopt;
    m_seleccaoPedida[std::size_t(Index)] = false;
    const CampoTexto& c = m_e.txt[std::size_t(Index)];
    return std::make_pair(c.selInicio, c.selComprimento);
}

void EcraPesagem::Teclar(int Index, int KeyAscii)
{
    int tecla = KeyAscii;
    txt_KeyPress(Index, tecla);
    if (tecla == 0 || tecla == Tecla::Enter || tecla == Tecla::Esc)
        return;
    const CampoTexto& c = m_e.txt[std::size_t(Index)];
    const QString& t = c.texto;
    if (tecla == Tecla::Retrocesso) {
        // Backspace as a text box does it: the selection, else the character before the caret.
        if (c.selComprimento > 0)
            editar(Index, t.left(c.selInicio) + t.mid(c.selInicio + c.selComprimento), c.selInicio);
        else if (c.selInicio > 0)
            editar(Index, t.left(c.selInicio - 1) + t.mid(c.selInicio), c.selInicio - 1);
        return;
    }
    if (tecla < 32 || tecla > 0xFFFF)
        return;
    const QString novo = t.left(c.selInicio) + QChar(char16_t(tecla)) + t.mid(c.selInicio + c.selComprimento);
    const int maximo = definicao(Index).comprimento;
    if (maximo > 0 && novo.size() > maximo)
        return;
    editar(Index, novo, c.selInicio + 1);
}

// An edit of the operator's: the new text, with the caret where the edit left
// it unless the change handling moved it.
void EcraPesagem::editar(int Index, const QString& texto, int caret)
{
    m_seleccaoPedida[std::size_t(Index)] = false;
    escreverCampo(Index, texto, true);
    if (!m_seleccaoPedida[std::size_t(Index)])
        pedirSeleccao(Index, caret, 0);
}

void EcraPesagem::Colar(int Index, const QString& texto)
{
    for (QChar c : texto) {
        if (c.unicode() < 32)
            continue;  // a pasted line break never runs Enter
        Teclar(Index, c.unicode());
    }
}

void EcraPesagem::TextoEditado(int Index, const QString& texto, int cursor)
{
    if (m_estacao.Acesso.NivelAcesso < 2)
        return;  // the window puts the text back
    editar(Index, texto, cursor);
}

// ----- Boxes, busy state, ticks, saves

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

void EcraPesagem::tmr_Timer(int Index)
{
    if (m_dispositivos)
        PassoSilencioso([&] { m_dispositivos->tmr_Timer(Index); });
    Q_EMIT alterado();
}

bool EcraPesagem::temporizadorActivo(int Index) const
{
    return m_tmr.at(std::size_t(Index)).isActive();
}

int EcraPesagem::intervaloTemporizador(int Index) const
{
    return m_tmr.at(std::size_t(Index)).interval();
}

void EcraPesagem::GravarPrimeiraPesagem()
{
    Ocupacao o(*this);
    if (m_registos)
        passo(QStringLiteral("Erro no acesso à tabela de primeiras pesagens"),
              [&] { m_registos->GravarPrimeiraPesagem(); });
    prontoParaSeguinte();
}

void EcraPesagem::GravarSegundaPesagem()
{
    Ocupacao o(*this);
    if (m_registos)
        passo(QStringLiteral("Erro no acesso à tabela de pesagens"), [&] { m_registos->GravarSegundaPesagem(); });
    prontoParaSeguinte();
}

// A save that started the screen over leaves the keyboard on the vehicle code
// for the next truck (the bridge button's lost focus empties the status bar);
// a refused one leaves the weighing where it was.
void EcraPesagem::prontoParaSeguinte()
{
    if (ModoPesagem.isEmpty())
        DarFocoTxt(CodigoViatura);
}
