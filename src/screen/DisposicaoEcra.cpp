#include "screen/DisposicaoEcra.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "screen/EcraPesagem.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "shared/ModoPesagem.h"

using namespace CamposEntrada;

void DisposicaoEcra::LimparEcra()
{
    EstadoEcra& e = m_ecra.m_e;
    m_ecra.m_modoPesagem.clear();
    m_ecra.m_tipoDocAutomatico = true;
    m_ecra.Bascula(0).CapturarPeso = false;
    m_ecra.Bascula(1).CapturarPeso = false;

    for (int i = 2; i < Numero; ++i)
        e.txt[std::size_t(i)].cor = ePainelPesagem(i) ? Cor::FaceBotao : Cor::Janela;
    for (int i = 2; i <= Observacoes; ++i)
        m_ecra.setTxt(i, QString());
    e.fraP.clear();

    const QDateTime agora = m_ecra.m_estacao.relogio.agora();
    const QString hoje = agora.toString(QStringLiteral("dd-MM-yyyy"));
    const QString hora = agora.toString(QStringLiteral("HH:mm"));
    m_ecra.setTxt(PesoPrimeira, QStringLiteral("0"));
    e.lblB1.clear();
    m_ecra.setTxt(DataPrimeira, hoje);
    m_ecra.setTxt(HoraPrimeira, hora);
    m_ecra.setTxt(PesoSegunda, QStringLiteral("0"));
    e.lblB2.clear();
    m_ecra.setTxt(DataSegunda, hoje);
    m_ecra.setTxt(HoraSegunda, hora);
    e.lblLiq = QStringLiteral("0");

    for (int i = PesoPrimeira; i <= HoraSegunda; ++i)
        e.txt[std::size_t(i)].activo = false;
    e.opt = -1;
    e.picQVisivel = false;
    e.lstVisivel = false;
    e.picPCompleto = true;
    e.picPVisivel = false;
    for (std::size_t i = 0; i < 2; ++i) {
        e.cmdB[i].cor = Cor::FaceBotao;
        e.cmdB[i].legenda = TextosControlo::LegendaBascula[i];
    }
}

void DisposicaoEcra::MostrarPesagem()
{
    EstadoEcra& e = m_ecra.m_e;
    const std::optional<RegrasEcra::Disposicao> d = RegrasEcra::disposicao(m_ecra.ModoPesagem());
    if (!d) {
        m_ecra.focarTxt(Matricula);
        return;
    }
    if (d->activaApagarPrimeira)
        e.menus[QStringLiteral("mnuOpc6")] = true;
    if (RegrasCampos::emBranco(m_ecra.txt(Matricula))) {
        m_ecra.focarTxt(Matricula);
        return;
    }
    e.picQVisivel = true;
    e.lstVisivel = false;
    e.fraP = d->titulo;
    e.picPVisivel = true;
    e.picPCompleto = d->todasLinhas;
    if (d->primeiroCampoAberto >= 0)
        for (int i = d->primeiroCampoAberto; i <= d->ultimoCampoAberto; ++i)
            e.txt[std::size_t(i)].activo = true;
    m_ecra.focarTxt(2);
}

void DisposicaoEcra::RecomecarEcra()
{
    EstadoEcra& e = m_ecra.m_e;
    e.menus[QStringLiteral("mnuOpc6")] = false;
    m_ecra.setTxt(CodigoViatura, QString());
    m_ecra.setTxt(Matricula, QString());
    LimparEcra();
}

// ----- Bridge buttons

void DisposicaoEcra::cmdB_Click(int Index)
{
    EstadoBascula& b = m_ecra.Bascula(Index);
    if (b.ErroIndicador) {
        m_ecra.MsgBox(b.MensagemIndicador, Estilo::Critico, QStringLiteral("Atenção"));
        m_ecra.focarTxt(Observacoes);
        return;
    }
    b.CapturarPeso = true;
}

void DisposicaoEcra::cmdB_GotFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    BotaoBascula& botao = e.cmdB.at(std::size_t(Index));
    botao.legenda = QStringLiteral("Pesagem");
    botao.cor = Cor::Amarelo;
    const QString origem = Index == 0 ? QStringLiteral("B1") : QStringLiteral("B2");
    if (m_ecra.ModoPesagem() == Modo::PP)
        e.lblB1 = origem;
    else if (m_ecra.ModoPesagem() == Modo::SP)
        e.lblB2 = origem;
    e.stb[0] = TextosControlo::DicaBascula[Index];
    e.stb[1].clear();
}

void DisposicaoEcra::cmdB_KeyDown(int /*Index*/, int KeyCode, int /*Shift*/)
{
    if (KeyCode == Tecla::PgDn || KeyCode == Tecla::End) {
        m_ecra.focarTxt(Observacoes);
    } else if (KeyCode == Tecla::Home) {
        PassoSilencioso([&] { m_ecra.RefrescarLista(); });
        m_ecra.focarTxt(CodigoViatura);
    }
}

void DisposicaoEcra::cmdB_LostFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    BotaoBascula& botao = e.cmdB.at(std::size_t(Index));
    botao.legenda = TextosControlo::LegendaBascula[Index];
    botao.cor = Cor::FaceBotao;
    e.stb[0].clear();
    e.stb[1].clear();
}

// ----- Document-kind options

void DisposicaoEcra::opt_GotFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    m_ecra.m_tipoDocAutomatico = false;
    e.corOpt.at(std::size_t(Index)) = Cor::Amarelo;
    e.stb[0] = TextosControlo::DicaOpcao[Index];
    e.stb[1].clear();
}

void DisposicaoEcra::opt_KeyPress(int /*Index*/, int& KeyAscii)
{
    EstadoEcra& e = m_ecra.m_e;
    switch (KeyAscii) {
    case Tecla::Enter:
        KeyAscii = 0;
        if (e.picQVisivel)
            m_ecra.focarTxt(Observacoes);
        break;
    case Tecla::Esc:
        m_ecra.m_tipoDocAutomatico = true;
        if (e.picQVisivel)
            m_ecra.focarTxt(Observacoes);
        break;
    case 'E':
    case 'e': m_ecra.DarFoco(Controlo::opt(0)); break;
    case 'G':
    case 'g': m_ecra.DarFoco(Controlo::opt(1)); break;
    case 'T':
    case 't': m_ecra.DarFoco(Controlo::opt(2)); break;
    default: break;
    }
}

void DisposicaoEcra::opt_LostFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    e.corOpt.at(std::size_t(Index)) = Cor::FaceBotao;
    e.stb[0].clear();
    e.stb[1].clear();
}
