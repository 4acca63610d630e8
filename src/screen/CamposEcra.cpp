#include "screen/CamposEcra.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/RegrasCampos.h"
#include "screen/RegrasEcra.h"
#include "shared/ModoPesagem.h"
#include "tables/ListaRapidaViaturas.h"
#include "tables/TitulosMenu.h"

#include <algorithm>

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

void CamposEcra::txt_GotFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    CampoTexto& c = e.txt.at(std::size_t(Index));
    m_corAnterior = c.cor;
    m_campoActual = Index;
    c.cor = Cor::Amarelo;
    seleccionarTudo(Index);
    e.stb[0] = definicao(Index).dica;
    if (Index == CodigoViatura || Index == Matricula)
        m_ecra.LimparEcra();
    e.stb[1] = definicao(Index).teclas;
    m_textoAnterior = m_ecra.txt(Index);
}

void CamposEcra::txt_LostFocus(int Index)
{
    EstadoEcra& e = m_ecra.m_e;
    e.txt.at(std::size_t(Index)).cor = m_corAnterior;
    std::optional<QString> normalizado;
    switch (definicao(Index).genero) {
    case Genero::Peso: normalizado = RegrasCampos::arredondarPeso(m_ecra.txt(Index)); break;
    case Genero::Data: normalizado = RegrasCampos::normalizarData(m_ecra.txt(Index)); break;
    case Genero::Hora: normalizado = RegrasCampos::normalizarHora(m_ecra.txt(Index)); break;
    default: break;
    }
    if (normalizado)
        m_ecra.setTxt(Index, *normalizado);
    e.stb[0].clear();
    e.stb[1].clear();
}

void CamposEcra::txt_KeyPress(int Index, int& KeyAscii)
{
    if (m_ecra.m_estacao.Acesso.NivelAcesso < 2) {
        KeyAscii = 0;
        return;
    }
    const CampoTexto& c = m_ecra.m_e.txt.at(std::size_t(Index));
    if (KeyAscii == Tecla::Retrocesso) {
        if (Index == Matricula && m_ecra.m_e.chkVtN) {
            if (const auto novo = RegrasCampos::retrocessoMatricula(c.texto, c.selInicio)) {
                KeyAscii = 0;
                escreverDoOperador(Index, *novo);
                pedirSeleccao(Index, int(novo->size()), 0);
            }
        }
        return;
    }
    if (KeyAscii == Tecla::Enter) {
        KeyAscii = 0;
        ReferenciasEcra& r = m_ecra.m_referencias;
        switch (Index) {
        case CodigoViatura:
        case Matricula: m_ecra.m_identificacao.IdentificarStatusPesagem(); break;
        case 2: r.ConsultarEntidade(); break;
        case 3: r.GravarEntidade(); break;
        case 4: r.ConsultarTransportador(); break;
        case 5: r.GravarTransportador(); break;
        case 6: r.ConsultarProduto(); break;
        case 7: r.GravarProduto(); break;
        case 8: r.ConsultarLocalCarga(); break;
        case 9: r.GravarLocalCarga(); break;
        case 10: r.ConsultarLocalDescarga(); break;
        case 11: r.GravarLocalDescarga(); break;
        case Observacoes: passoPesar(); break;
        case HoraPrimeira:
            if (m_ecra.ModoPesagem() == Modo::PM)
                m_ecra.GravarPrimeiraPesagem();
            else
                m_ecra.focarTxt(PesoSegunda);
            break;
        case HoraSegunda: m_ecra.GravarSegundaPesagem(); break;
        default:  // 13, 14, 16, 17: on to the next field
            m_ecra.focarTxt(Index + 1);
            break;
        }
        return;
    }
    if (KeyAscii == Tecla::Esc) {
        KeyAscii = 0;
        m_ecra.setTxt(Index, m_textoAnterior);
        seleccionarTudo(Index);
        return;
    }
    if (KeyAscii < 32 || KeyAscii > 0xFFFF)
        return;
    const RegrasCampos::Caracter r =
        RegrasCampos::filtrarCaracter(Index, QChar(char16_t(KeyAscii)), m_ecra.m_e.chkVtN, c.texto, c.selInicio);
    switch (r.accao) {
    case RegrasCampos::Caracter::Aceitar: KeyAscii = r.c.unicode(); break;
    case RegrasCampos::Caracter::Largar: KeyAscii = 0; break;
    case RegrasCampos::Caracter::Recusar:
        KeyAscii = 0;
        m_ecra.m_estacao.mensagens.Beep();
        break;
    case RegrasCampos::Caracter::RecusarNoFim:
        KeyAscii = 0;
        m_ecra.m_estacao.mensagens.Beep();
        pedirSeleccao(Index, 8, 0);
        break;
    }
}

// Enter in the remarks: on to the bridge buttons, or to the typed weights.
void CamposEcra::passoPesar()
{
    const QString modo = m_ecra.ModoPesagem();
    const Definicoes& def = m_ecra.m_estacao.Def;
    if (modo == Modo::PP || modo == Modo::SP) {
        std::array<bool, 2> usavel{}, carregada{};
        for (std::size_t i = 0; i < 2; ++i) {
            const EstadoBascula& b = m_ecra.Bascula(int(i));
            usavel[i] = def.IndLigado[i] && !b.ErroIndicador;
            carregada[i] = usavel[i] && b.PesoActual > def.PesagemMinima[i];
        }
        for (std::size_t i = 0; i < 2; ++i)
            if (usavel[i])
                m_ecra.setCmdBActivo(int(i), true);
        const int b = RegrasEcra::basculaParaPesar(modo, usavel, carregada);
        if (b < 0) {
            m_ecra.MsgBox(QStringLiteral("O sistema não permite efectuar a pesagem"), Estilo::Critico,
                          QStringLiteral("Zumarel"));
            return;
        }
        m_ecra.focarCmdB(b);
    } else if (Modo::eManual(modo)) {
        const int ultimo = modo == Modo::PM ? HoraPrimeira : HoraSegunda;
        for (int i = PesoPrimeira; i <= ultimo; ++i)
            m_ecra.m_e.txt[std::size_t(i)].activo = true;
        m_ecra.focarTxt(PesoPrimeira);
    } else {
        m_ecra.focarTxt(CodigoViatura);
    }
}

void CamposEcra::txt_KeyDown(int Index, int KeyCode, int /*Shift*/)
{
    m_ecra.m_estacao.Acesso.TituloMenu.clear();
    const QString titulo = TitulosMenu::tituloTecla(Index, KeyCode, m_ecra.txt(Index));
    if (!titulo.isEmpty()) {
        abrirConsulta(titulo);
        return;
    }

    const CampoTexto& c = m_ecra.m_e.txt.at(std::size_t(Index));
    switch (KeyCode) {
    case Tecla::Cima:
        if (Index >= 1)
            m_ecra.DarFoco(anterior(Index));
        break;
    case Tecla::Esquerda:
        if (c.selInicio == 0 && (Index == 15 || Index == 18 || (Index <= 11 && Index % 2 == 1)))
            m_ecra.DarFoco(anterior(Index));
        break;
    case Tecla::Direita:
        if (c.selInicio == definicao(Index).comprimento
            && (Index == 14 || Index == 17 || (Index <= 10 && Index % 2 == 0)))
            m_ecra.DarFoco(seguinte(Index));
        break;
    case Tecla::PgDn:
    case Tecla::End:
        if (Index >= 2 && Index <= 11)
            m_ecra.focarTxt(Observacoes);
        break;
    case Tecla::PgUp:
        if (Index >= 3)
            m_ecra.focarTxt(2);
        break;
    case Tecla::Home:
        PassoSilencioso([&] { m_ecra.RefrescarLista(); });
        m_ecra.focarTxt(CodigoViatura);
        break;
    default: break;
    }
}

void CamposEcra::txt_Change(int Index)
{
    if (Index == Matricula && m_ecra.m_e.chkVtN && m_edicaoOperador) {
        // The dash only while the operator types: a plate written by the
        // program is shown as stored.
        if (const auto comHifen = RegrasCampos::hifenMatricula(m_ecra.txt(Index))) {
            escreverDoOperador(Index, *comHifen);
            pedirSeleccao(Index, int(comHifen->size()), 0);
        }
    }
    if (Index == PesoPrimeira || Index == PesoSegunda) {
        const qint32 limite = RegrasCampos::limitePeso(m_ecra.m_estacao.Def.CapacidadeMaxima);
        if (const auto limitado = RegrasCampos::limitarPeso(m_ecra.txt(Index), limite)) {
            m_ecra.m_estacao.mensagens.Beep();
            m_ecra.setTxt(Index, *limitado);
        }
    }
    if (Index == CodigoViatura)
        reconstruirListaRapida();
}

void CamposEcra::txt_DblClick(int Index)
{
    m_ecra.m_estacao.Acesso.TituloMenu.clear();
    const QString titulo = TitulosMenu::tituloDuploClique(Index);
    if (!titulo.isEmpty())
        abrirConsulta(titulo);
}

void CamposEcra::abrirConsulta(const QString& titulo)
{
    Estacao& estacao = m_ecra.m_estacao;
    EcraPesagem::Ocupacao o(m_ecra);
    estacao.Acesso.TituloMenu = titulo;
    estacao.mensagens.CursorOcupado(true);
    Q_EMIT m_ecra.antesDeCaixa();
    if (m_ecra.m_janelas)
        PassoSilencioso([&] { m_ecra.m_janelas->frmMenu(); });
    else
        estacao.mensagens.CursorOcupado(false);
    m_ecra.m_comandos.Form_Activate();
}

// The plates that begin with the vehicle code typed: those waiting for their
// second weighing first, then those of the vehicle file.
void CamposEcra::reconstruirListaRapida()
{
    EstadoEcra& e = m_ecra.m_e;
    e.lst.clear();
    if (m_ecra.m_estacao.Bd)
        e.lst = ListaRapidaViaturas::linhas(m_ecra.m_estacao.bd(), m_ecra.txt(CodigoViatura));
    e.lstVisivel = !e.lst.isEmpty();
}

void CamposEcra::lst_Click(const QString& matricula)
{
    m_ecra.setTxt(Matricula, matricula);
    m_ecra.setTxt(CodigoViatura, QString());
    m_ecra.focarTxt(Matricula);
    int enter = Tecla::Enter;
    txt_KeyPress(Matricula, enter);
}

// ----- Selection and typing

void CamposEcra::definirSeleccao(int Index, int inicio, int comprimento)
{
    CampoTexto& c = m_ecra.m_e.txt.at(std::size_t(Index));
    c.selInicio = std::clamp(inicio, 0, int(c.texto.size()));
    c.selComprimento = std::clamp(comprimento, 0, int(c.texto.size()) - c.selInicio);
}

void CamposEcra::pedirSeleccao(int Index, int inicio, int comprimento)
{
    definirSeleccao(Index, inicio, comprimento);
    m_seleccaoPedida[std::size_t(Index)] = true;
}

void CamposEcra::seleccionarTudo(int Index)
{
    pedirSeleccao(Index, 0, int(m_ecra.txt(Index).size()));
}

std::optional<std::pair<int, int>> CamposEcra::tomarPedidoSeleccao(int Index)
{
    if (!m_seleccaoPedida.at(std::size_t(Index)))
        return std::nullopt;
    m_seleccaoPedida[std::size_t(Index)] = false;
    const CampoTexto& c = m_ecra.m_e.txt[std::size_t(Index)];
    return std::make_pair(c.selInicio, c.selComprimento);
}

void CamposEcra::Teclar(int Index, int KeyAscii)
{
    int tecla = KeyAscii;
    txt_KeyPress(Index, tecla);
    if (tecla == 0 || tecla == Tecla::Enter || tecla == Tecla::Esc)
        return;
    const CampoTexto& c = m_ecra.m_e.txt[std::size_t(Index)];
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

void CamposEcra::escreverDoOperador(int Index, const QString& texto)
{
    const bool antes = m_edicaoOperador;
    m_edicaoOperador = true;
    m_ecra.setTxt(Index, texto);
    m_edicaoOperador = antes;
}

void CamposEcra::editar(int Index, const QString& texto, int caret)
{
    m_seleccaoPedida[std::size_t(Index)] = false;
    escreverDoOperador(Index, texto);
    if (!m_seleccaoPedida[std::size_t(Index)])
        pedirSeleccao(Index, caret, 0);
}

void CamposEcra::Colar(int Index, const QString& texto)
{
    for (QChar c : texto) {
        if (c.unicode() < 32)
            continue;  // a pasted line break never runs Enter
        Teclar(Index, c.unicode());
    }
}

void CamposEcra::TextoEditado(int Index, const QString& texto, int cursor)
{
    if (m_ecra.m_estacao.Acesso.NivelAcesso < 2)
        return;  // the window puts the text back
    editar(Index, texto, cursor);
}
