// What a bridge's tick shows and writes into the weighing being entered: the
// reading, the live weight, date and time, and the save question.
#include "devices/CicloBascula.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "devices/ContextoDispositivos.h"
#include "devices/EcraBascula.h"
#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "shared/ModoPesagem.h"

#include <QScopeGuard>
#include <algorithm>
#include <cmath>

namespace {

// What lblB1 / lblB2 read when the weight is typed.
const QString OrigemManual = QStringLiteral("PM");

// The caption is a number, and that number.
bool leNumero(const QString& texto, qint64 numero)
{
    bool ok = false;
    const double valor = texto.trimmed().toDouble(&ok);
    return ok && valor == double(numero);
}

}  // namespace

void CicloBascula::PassoVisualizacao()
{
    EstadoBascula& s = e();
    if (s.ErroIndicador) {
        s.TextoPeso.clear();
        s.TextoUnidade.clear();
        s.TextoModo.clear();
        s.TextoEstabilidade.clear();
        s.PesoValido = false;
        s.PesoActual = 0;
    } else {
        s.PesoValido = s.MensagemIndicador.isEmpty() && s.PesoActual >= m_c.def().PesagemMinima[m_i];
    }
    VistaBascula& vb = v();
    vb.lblP = s.TextoPeso;
    if (m_i == 0)
        m_c.vista.lblPeso = s.TextoPeso + QStringLiteral(" kg");
    vb.lblU = s.TextoUnidade;
    vb.lblM = s.TextoModo;
    vb.lblS = s.TextoEstabilidade;
    vb.lblI = s.MensagemIndicador;
}

qint32 CicloBascula::pesoParaCampo()
{
    // Capped at the larger bridge's capacity: the average would cut a real
    // weight on the larger bridge when the two differ.
    const Definicoes& d = m_c.def();
    const qint32 capacidade = std::max(d.CapacidadeMaxima[0], d.CapacidadeMaxima[1]);
    const qint32 peso = e().PesoActual;
    return capacidade > 0 && peso > capacidade ? capacidade : peso;
}

void CicloBascula::escreverPeso(int campo)
{
    const qint32 peso = pesoParaCampo();
    // A field whose leading number is the weight already ("0012" for 12) is left alone.
    if (Conversoes::Val(m_c.ecra.txt(campo)) == double(peso))
        return;
    if (peso != e().PesoActual)
        m_c.estacao.mensagens.Beep();
    m_c.ecra.setTxt(campo, QString::number(peso));
}

void CicloBascula::escreverDataHora(int campoData, int campoHora)
{
    const QDateTime agora = m_c.estacao.relogio.agora();
    const QString data = agora.toString(QStringLiteral("dd-MM-yyyy"));
    const QString hora = agora.toString(QStringLiteral("HH:mm"));
    if (m_c.ecra.txt(campoData) != data)
        m_c.ecra.setTxt(campoData, data);
    if (m_c.ecra.txt(campoHora) != hora)
        m_c.ecra.setTxt(campoHora, hora);
}

void CicloBascula::mostrarLiquido()
{
    const double diferenca = std::fabs(Conversoes::Val(m_c.ecra.txt(13)) - Conversoes::Val(m_c.ecra.txt(16)));
    const qint64 liquido = qint64(std::nearbyint(diferenca));
    if (!leNumero(m_c.ecra.lblLiq(), liquido))
        m_c.ecra.setLblLiq(QString::number(liquido));
}

void CicloBascula::proporTipoDocumento()
{
    if (!m_c.ecra.TipoDocAutomatico())
        return;
    // Lighter on the way out is a delivery ("&Entrada"); otherwise "&Guia".
    const int opcao = Conversoes::Val(m_c.ecra.txt(16)) < Conversoes::Val(m_c.ecra.txt(13)) ? 0 : 1;
    if (m_c.ecra.optSeleccionada() != opcao)
        m_c.ecra.seleccionarOpt(opcao);
}

void CicloBascula::PassoPreenchimento()
{
    const Definicoes& d = m_c.def();
    const QString modo = m_c.ecra.ModoPesagem();
    // With two bridges the fields follow the one whose button has the focus.
    const bool segue = d.IndLigado[0] && d.IndLigado[1] ? m_c.ecra.cmdBComFoco(m_i) : bool(d.IndLigado[m_i]);
    if (modo == Modo::PP) {
        if (segue)
            escreverPeso(13);
        escreverDataHora(14, 15);
    } else if (modo == Modo::SP) {
        if (segue)
            escreverPeso(16);
        escreverDataHora(17, 18);
        mostrarLiquido();
        proporTipoDocumento();
    } else if (modo == Modo::PM) {
        if (m_c.ecra.lblB1() != OrigemManual)
            m_c.ecra.setLblB1(OrigemManual);
    } else if (modo == Modo::SM) {
        if (m_c.ecra.lblB2() != OrigemManual)
            m_c.ecra.setLblB2(OrigemManual);
        mostrarLiquido();
        proporTipoDocumento();
    } else if (m_c.ecra.cmdBActivo(m_i)) {
        m_c.ecra.setCmdBActivo(m_i, false);
    }
}

void CicloBascula::perguntarGravar(bool segunda)
{
    EstadoBascula& s = e();
    s.PesoCapturado = true;
    const int campoPeso = segunda ? 16 : 13;
    const qint32 peso = pesoParaCampo();
    if (!leNumero(m_c.ecra.txt(campoPeso), peso))
        m_c.ecra.setTxt(campoPeso, QString::number(peso));
    escreverDataHora(campoPeso + 1, campoPeso + 2);
    if (segunda)
        mostrarLiquido();

    // One question at a time across both bridges; this bridge's ticks wait
    // while it is open, and the other bridge's requests wait for its end.
    m_c.emCurso = true;
    const auto fim = qScopeGuard([this] { m_c.emCurso = false; });
    const int resposta = m_c.estacao.mensagens.MsgBox(segunda ? QStringLiteral("Gravar 2a.Pesagem")
                                                              : QStringLiteral("Gravar 1a.Pesagem"),
                                                      Estilo::SimNao | Estilo::Pergunta, tituloAplicacao());
    if (resposta == Resposta::Sim) {
        PassoSilencioso([&] {
            if (segunda)
                m_c.ecra.GravarSegundaPesagem();
            else
                m_c.ecra.GravarPrimeiraPesagem();
        });
    } else {
        // No: nothing was weighed, so the light must not let the vehicle go.
        s.CapturarPeso = false;
        s.PesoCapturado = false;
        m_c.ecra.focarCmdB(m_i);
    }
}

void CicloBascula::PassoPergunta()
{
    EstadoBascula& s = e();
    const QString modo = m_c.ecra.ModoPesagem();
    if (s.CapturarPeso) {
        if (modo == Modo::PP || modo == Modo::SP) {
            if (s.PesoValido && !m_c.ocupado())
                perguntarGravar(modo == Modo::SP);
        } else {
            m_c.ecra.focarTxt(0);
        }
        for (VistaBascula& vb : m_c.vista.bascula)
            vb.img1Visivel = vb.img2Visivel = false;
        return;
    }
    VistaBascula& vb = v();
    if (modo == Modo::PP || modo == Modo::SP) {
        const bool carregada = s.PesoActual > m_c.def().PesagemMinima[m_i];
        vb.img1Visivel = carregada && modo == Modo::PP;
        vb.img2Visivel = carregada && modo == Modo::SP;
    } else {
        for (VistaBascula& outra : m_c.vista.bascula)
            outra.img1Visivel = outra.img2Visivel = false;
    }
}
