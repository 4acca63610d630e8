// The entry fields: focus, keys, change handling, and the look-up lists and
// quick list of plates opened from them.

#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/EcraPesagemOcupacao.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "screen/ServicosEcra.h"
#include "shared/ModoPesagem.h"
#include "tables/ListaRapidaViaturas.h"
#include "tables/TitulosMenu.h"
#include "data/Estacao.h"
#include "data/Passo.h"

using namespace CamposEntrada;

namespace {
// The previous and the next control of the tab order: the vehicle fields, the
// plate-format check box, then the details. The weight, date and time fields
// are no tab stops; their arrows move between them directly.
Controlo anterior(int campo)
{
    if (campo == 2)
        return Controlo::chkVtN();
    return Controlo::txt(campo - 1);
}

Controlo seguinte(int campo)
{
    return Controlo::txt(campo + 1);
}

}  // namespace

void EcraPesagem::txt_GotFocus(int Index)
{
    CampoTexto& c = m_e.txt.at(std::size_t(Index));
    CorAnterior = c.cor;
    CampoActual = Index;
    c.cor = Cor::Amarelo;
    seleccionarTudo(Index);
    m_e.stb[0] = definicao(Index).dica;
    if (Index == CodigoViatura || Index == Matricula)
        LimparEcra();
    m_e.stb[1] = definicao(Index).teclas;
    TextoAnterior = txt(Index);
}

void EcraPesagem::txt_LostFocus(int Index)
{
    m_e.txt.at(std::size_t(Index)).cor = CorAnterior;
    std::optional<QString> normalizado;
    switch (definicao(Index).genero) {
    case Genero::Peso:
        normalizado = RegrasCampos::arredondarPeso(txt(Index));
        break;
    case Genero::Data:
        normalizado = RegrasCampos::normalizarData(txt(Index));
        break;
    case Genero::Hora:
        normalizado = RegrasCampos::normalizarHora(txt(Index));
        break;
    default:
        break;
    }
    if (normalizado)
        escreverCampo(Index, *normalizado, false);
    m_e.stb[0].clear();
    m_e.stb[1].clear();
}

void EcraPesagem::txt_KeyPress(int Index, int& KeyAscii)
{
    if (m_estacao.Acesso.NivelAcesso < 2) {
        KeyAscii = 0;
        return;
    }
    const CampoTexto& c = m_e.txt.at(std::size_t(Index));
    if (KeyAscii == Tecla::Retrocesso) {
        if (Index == Matricula && m_e.chkVtN) {
            if (const auto novo = RegrasCampos::retrocessoMatricula(c.texto, c.selInicio)) {
                KeyAscii = 0;
                escreverCampo(Index, *novo, true);
                pedirSeleccao(Index, int(novo->size()), 0);
            }
        }
        return;
    }
    if (KeyAscii == Tecla::Enter) {
        KeyAscii = 0;
        switch (Index) {
        case CodigoViatura:
        case Matricula:
            IdentificarStatusPesagem();
            break;
        case 2: ConsultarEntidade(); break;
        case 3: GravarEntidade(); break;
        case 4: ConsultarTransportador(); break;
        case 5: GravarTransportador(); break;
        case 6: ConsultarProduto(); break;
        case 7: GravarProduto(); break;
        case 8: ConsultarLocalCarga(); break;
        case 9: GravarLocalCarga(); break;
        case 10: ConsultarLocalDescarga(); break;
        case 11: GravarLocalDescarga(); break;
        case Observacoes: passoPesar(); break;
        case HoraPrimeira:
            if (ModoPesagem == Modo::PM)
                GravarPrimeiraPesagem();
            else
                DarFocoTxt(PesoSegunda);
            break;
        case HoraSegunda:
            GravarSegundaPesagem();
            break;
        default:  // 13, 14, 16, 17: on to the next field
            DarFocoTxt(Index + 1);
            break;
        }
        return;
    }
    if (KeyAscii == Tecla::Esc) {
        KeyAscii = 0;
        escreverCampo(Index, TextoAnterior, false);
        seleccionarTudo(Index);
        return;
    }
    if (KeyAscii < 32 || KeyAscii > 0xFFFF)
        return;
    const RegrasCampos::Caracter r =
        RegrasCampos::filtrarCaracter(Index, QChar(char16_t(KeyAscii)), m_e.chkVtN, c.texto, c.selInicio);
    switch (r.accao) {
    case RegrasCampos::Caracter::Aceitar:
        KeyAscii = r.c.unicode();
        break;
    case RegrasCampos::Caracter::Largar:
        KeyAscii = 0;
        break;
    case RegrasCampos::Caracter::Recusar:
        KeyAscii = 0;
        m_estacao.mensagens.Beep();
        break;
    case RegrasCampos::Caracter::RecusarNoFim:
        KeyAscii = 0;
        m_estacao.mensagens.Beep();
        pedirSeleccao(Index, 8, 0);
        break;
    }
}

// Enter in the remarks: on to the bridge buttons, or to the typed weights.
void EcraPesagem::passoPesar()
{
    if (ModoPesagem == Modo::PP || ModoPesagem == Modo::SP) {
        std::array<bool, 2> usavel{}, carregada{};
        for (std::size_t i = 0; i < 2; ++i) {
            const EstadoBascula& b = Bascula(int(i));
            usavel[i] = m_estacao.Def.IndLigado[i] && !b.ErroIndicador;
            carregada[i] = usavel[i] && b.PesoActual > m_estacao.Def.PesagemMinima[i];
        }
        for (std::size_t i = 0; i < 2; ++i)
            if (usavel[i])
                m_e.cmdB[i].activo = true;
        const int b = RegrasEcra::basculaParaPesar(ModoPesagem, usavel, carregada);
        if (b < 0) {
            MsgBox(QStringLiteral("O sistema não permite efectuar a pesagem"), Estilo::Critico,
                   QStringLiteral("Zumarel"));
            return;
        }
        DarFoco(Controlo::cmdB(b));
    } else if (Modo::eManual(ModoPesagem)) {
        const int ultimo = ModoPesagem == Modo::PM ? HoraPrimeira : HoraSegunda;
        for (int i = PesoPrimeira; i <= ultimo; ++i)
            m_e.txt[std::size_t(i)].activo = true;
        DarFocoTxt(PesoPrimeira);
    } else {
        DarFocoTxt(CodigoViatura);
    }
}

void EcraPesagem::txt_KeyDown(int Index, int KeyCode, int /*Shift*/)
{
    m_estacao.Acesso.TituloMenu.clear();
    const QString titulo = TitulosMenu::tituloTecla(Index, KeyCode, txt(Index));
    if (!titulo.isEmpty()) {
        abrirConsulta(titulo);
        return;
    }

    const CampoTexto& c = m_e.txt.at(std::size_t(Index));
    switch (KeyCode) {
    case Tecla::Cima:
        if (Index >= 1)
            DarFoco(anterior(Index));
        break;
    case Tecla::Esquerda:
        if (c.selInicio == 0 && (Index == 15 || Index == 18 || (Index <= 11 && Index % 2 == 1)))
            DarFoco(anterior(Index));
        break;
    case Tecla::Direita:
        if (c.selInicio == definicao(Index).comprimento &&
            (Index == 14 || Index == 17 || (Index <= 10 && Index % 2 == 0)))
            DarFoco(seguinte(Index));
        break;
    case Tecla::PgDn:
    case Tecla::End:
        if (Index >= 2 && Index <= 11)
            DarFocoTxt(Observacoes);
        break;
    case Tecla::PgUp:
        if (Index >= 3)
            DarFocoTxt(2);
        break;
    case Tecla::Home:
        PassoSilencioso([&] { RefrescarLista(); });
        DarFocoTxt(CodigoViatura);
        break;
    default:
        break;
    }
}

void EcraPesagem::txt_Change(int Index)
{
    if (Index == Matricula && m_e.chkVtN && m_edicaoOperador) {
        // The dash only while the operator types: a plate written by the
        // program is shown as stored.
        if (const auto comHifen = RegrasCampos::hifenMatricula(txt(Index))) {
            escreverCampo(Index, *comHifen, true);
            pedirSeleccao(Index, int(comHifen->size()), 0);
        }
    }
    if (Index == PesoPrimeira || Index == PesoSegunda) {
        const qint32 limite = RegrasCampos::limitePeso(m_estacao.Def.CapacidadeMaxima);
        if (const auto limitado = RegrasCampos::limitarPeso(txt(Index), limite)) {
            m_estacao.mensagens.Beep();
            escreverCampo(Index, *limitado, false);
        }
    }
    if (Index == CodigoViatura)
        reconstruirListaRapida();
}

void EcraPesagem::txt_DblClick(int Index)
{
    m_estacao.Acesso.TituloMenu.clear();
    const QString titulo = TitulosMenu::tituloDuploClique(Index);
    if (!titulo.isEmpty())
        abrirConsulta(titulo);
}

void EcraPesagem::abrirConsulta(const QString& titulo)
{
    Ocupacao o(*this);
    m_estacao.Acesso.TituloMenu = titulo;
    m_estacao.mensagens.CursorOcupado(true);
    Q_EMIT antesDeCaixa();
    if (m_janelas)
        PassoSilencioso([&] { m_janelas->frmMenu(); });
    else
        m_estacao.mensagens.CursorOcupado(false);
    Form_Activate();
}

// The plates that begin with the vehicle code typed: those waiting for their
// second weighing first, then those of the vehicle file.
void EcraPesagem::reconstruirListaRapida()
{
    m_e.lst.clear();
    if (m_estacao.Bd)
        m_e.lst = ListaRapidaViaturas::linhas(m_estacao.bd(), txt(CodigoViatura));
    m_e.lstVisivel = !m_e.lst.isEmpty();
}

void EcraPesagem::lst_Click(const QString& matricula)
{
    escreverCampo(Matricula, matricula, false);
    escreverCampo(CodigoViatura, QString(), false);
    DarFocoTxt(Matricula);
    int enter = Tecla::Enter;
    txt_KeyPress(Matricula, enter);
}
