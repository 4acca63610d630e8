// Clearing and laying out the weighing screen, the bridge buttons and the
// document-kind options.

#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "screen/EcraPesagem.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "screen/ServicosEcra.h"
#include "shared/ModoPesagem.h"
#include "data/Estacao.h"
#include "data/Passo.h"

using namespace CamposEntrada;

void EcraPesagem::LimparEcra()
{
    ModoPesagem.clear();
    TipoDocAutomatico = true;
    Bascula(0).CapturarPeso = false;
    Bascula(1).CapturarPeso = false;

    for (int i = 2; i < Numero; ++i)
        m_e.txt[std::size_t(i)].cor = ePainelPesagem(i) ? Cor::FaceBotao : Cor::Janela;
    for (int i = 2; i <= Observacoes; ++i)
        escreverCampo(i, QString(), false);
    m_e.fraP.clear();

    const QDateTime agora = m_estacao.relogio.agora();
    const QString hoje = agora.toString(QStringLiteral("dd-MM-yyyy"));
    const QString hora = agora.toString(QStringLiteral("HH:mm"));
    escreverCampo(PesoPrimeira, QStringLiteral("0"), false);
    m_e.lblB1.clear();
    escreverCampo(DataPrimeira, hoje, false);
    escreverCampo(HoraPrimeira, hora, false);
    escreverCampo(PesoSegunda, QStringLiteral("0"), false);
    m_e.lblB2.clear();
    escreverCampo(DataSegunda, hoje, false);
    escreverCampo(HoraSegunda, hora, false);
    m_e.lblLiq = QStringLiteral("0");

    for (int i = PesoPrimeira; i <= HoraSegunda; ++i)
        m_e.txt[std::size_t(i)].activo = false;
    m_e.opt = -1;
    m_e.picQVisivel = false;
    m_e.lstVisivel = false;
    m_e.picPCompleto = true;
    m_e.picPVisivel = false;
    for (std::size_t i = 0; i < 2; ++i) {
        m_e.cmdB[i].cor = Cor::FaceBotao;
        m_e.cmdB[i].legenda = TextosControlo::LegendaBascula[i];
    }
}

void EcraPesagem::MostrarPesagem()
{
    const std::optional<RegrasEcra::Disposicao> d = RegrasEcra::disposicao(ModoPesagem);
    if (!d) {
        DarFocoTxt(Matricula);
        return;
    }
    if (d->activaApagarPrimeira)
        m_e.menus[QStringLiteral("mnuOpc6")] = true;
    if (RegrasCampos::emBranco(txt(Matricula))) {
        DarFocoTxt(Matricula);
        return;
    }
    m_e.picQVisivel = true;
    m_e.lstVisivel = false;
    m_e.fraP = d->titulo;
    m_e.picPVisivel = true;
    m_e.picPCompleto = d->todasLinhas;
    if (d->primeiroCampoAberto >= 0)
        for (int i = d->primeiroCampoAberto; i <= d->ultimoCampoAberto; ++i)
            m_e.txt[std::size_t(i)].activo = true;
    DarFocoTxt(2);
}

void EcraPesagem::RecomecarEcra()
{
    m_e.menus[QStringLiteral("mnuOpc6")] = false;
    escreverCampo(CodigoViatura, QString(), false);
    escreverCampo(Matricula, QString(), false);
    LimparEcra();
}

void EcraPesagem::RefrescarLista()
{
    if (m_registos)
        m_registos->RefrescarLista();
    else
        RecomecarEcra();
}

// ----- Bridge buttons

void EcraPesagem::cmdB_Click(int Index)
{
    EstadoBascula& b = Bascula(Index);
    if (b.ErroIndicador) {
        MsgBox(b.MensagemIndicador, Estilo::Critico, QStringLiteral("Atenção"));
        DarFocoTxt(Observacoes);
        return;
    }
    b.CapturarPeso = true;
}

void EcraPesagem::cmdB_GotFocus(int Index)
{
    BotaoBascula& botao = m_e.cmdB.at(std::size_t(Index));
    botao.legenda = QStringLiteral("Pesagem");
    botao.cor = Cor::Amarelo;
    const QString origem = Index == 0 ? QStringLiteral("B1") : QStringLiteral("B2");
    if (ModoPesagem == Modo::PP)
        m_e.lblB1 = origem;
    else if (ModoPesagem == Modo::SP)
        m_e.lblB2 = origem;
    m_e.stb[0] = TextosControlo::DicaBascula[Index];
    m_e.stb[1].clear();
}

void EcraPesagem::cmdB_KeyDown(int /*Index*/, int KeyCode, int /*Shift*/)
{
    if (KeyCode == Tecla::PgDn || KeyCode == Tecla::End) {
        DarFocoTxt(Observacoes);
    } else if (KeyCode == Tecla::Home) {
        PassoSilencioso([&] { RefrescarLista(); });
        DarFocoTxt(CodigoViatura);
    }
}

void EcraPesagem::cmdB_LostFocus(int Index)
{
    BotaoBascula& botao = m_e.cmdB.at(std::size_t(Index));
    botao.legenda = TextosControlo::LegendaBascula[Index];
    botao.cor = Cor::FaceBotao;
    m_e.stb[0].clear();
    m_e.stb[1].clear();
}

// ----- Document-kind options

void EcraPesagem::opt_GotFocus(int Index)
{
    TipoDocAutomatico = false;
    m_e.corOpt.at(std::size_t(Index)) = Cor::Amarelo;
    m_e.stb[0] = TextosControlo::DicaOpcao[Index];
    m_e.stb[1].clear();
}

void EcraPesagem::opt_KeyPress(int /*Index*/, int& KeyAscii)
{
    switch (KeyAscii) {
    case Tecla::Enter:
        KeyAscii = 0;
        if (m_e.picQVisivel)
            DarFocoTxt(Observacoes);
        break;
    case Tecla::Esc:
        TipoDocAutomatico = true;
        if (m_e.picQVisivel)
            DarFocoTxt(Observacoes);
        break;
    case 'E':
    case 'e':
        DarFoco(Controlo::opt(0));
        break;
    case 'G':
    case 'g':
        DarFoco(Controlo::opt(1));
        break;
    case 'T':
    case 't':
        DarFoco(Controlo::opt(2));
        break;
    default:
        break;
    }
}

void EcraPesagem::opt_LostFocus(int Index)
{
    m_e.corOpt.at(std::size_t(Index)) = Cor::FaceBotao;
    m_e.stb[0].clear();
    m_e.stb[1].clear();
}
