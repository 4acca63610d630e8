// The main window's load, activation, close and menus.

#include "platform/Mensagens.h"
#include "platform/Relatorio.h"
#include "platform/Sistema.h"
#include "records/DocumentosPesagem.h"
#include "screen/EcraPesagem.h"
#include "screen/EcraPesagemOcupacao.h"
#include "screen/RegrasEcra.h"
#include "screen/ServicosEcra.h"
#include "shared/Esquema.h"
#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "tables/TitulosMenu.h"

using namespace CamposEntrada;

namespace {
const QString titulosTabela[] = {
    QStringLiteral("Tabela de viaturas"),
    QStringLiteral("Tabela de clientes e fornecedores"),
    QStringLiteral("Tabela de transportadores"),
    QStringLiteral("Tabela de produtos"),
    QStringLiteral("Tabela de locais de carga"),
    QStringLiteral("Tabela de locais de descarga"),
    QString(),
    QStringLiteral("Tabela de primeiras pesagens"),
};
const QString titulosMapa[] = {
    QStringLiteral("Estatísticas por viatura"),
    QStringLiteral("Estatísticas por cliente ou fornecedor"),
    QStringLiteral("Estatísticas por transportador"),
    QStringLiteral("Estatísticas por produto"),
    QStringLiteral("Estatísticas por local de carga"),
    QStringLiteral("Estatísticas por local de descarga"),
    QString(),
    QStringLiteral("Estatísticas por operador"),
    QString(),
    QStringLiteral("Pesagens"),
};
const QString Zumarel = QStringLiteral("Zumarel");

template <std::size_t N>
QString tituloDe(const QString (&titulos)[N], int indice)
{
    return indice >= 0 && indice < int(N) ? titulos[indice] : QString();
}
}  // namespace

// ----- Load and activation

// A step of the load; a failure is shown in the load's own box.
void EcraPesagem::passoCarga(const std::function<void()>& f)
{
    Erro erro;
    if (!PassoSilencioso(f, &erro))
        MsgBox(QStringLiteral("Erro número: ") + QString::number(erro.numero) + QStringLiteral("\n\n") + erro.descricao,
               Estilo::Critico, Zumarel);
}

void EcraPesagem::Form_Load()
{
    const Definicoes& def = m_estacao.Def;
    if (m_dispositivos)
        passoCarga([&] { m_dispositivos->CarregarDispositivos(); });
    definirPesagemManual(false);
    m_e.chkVtN = def.FormatViatNac;
    for (int i = 0; i < 2; ++i)
        Bascula(i).PesoActual = def.CapacidadeMaxima[std::size_t(i)];
    for (std::size_t i = 0; i < 2; ++i) {
        // An interval of 0 or less stops the bridge's cycle: a Qt timer at 0 would spin.
        QTimer& t = m_tmr[i];
        if (def.IndTemporizacao[i] > 0) {
            t.setInterval(def.IndTemporizacao[i]);
            t.start();
        } else {
            t.stop();
        }
    }
    passoCarga([&] { RefrescarLista(); });
}

void EcraPesagem::aplicarMenusDoNivel(int nivel)
{
    for (const auto& [item, estado] : RegrasEcra::menusDoNivel(nivel)) {
        if (estado == RegrasEcra::EstadoItem::Ligado)
            m_e.menus[item] = true;
        else if (estado == RegrasEcra::EstadoItem::Desligado)
            m_e.menus[item] = false;
    }
}

// The window hides itself and the login is shown; no nested event loop.
void EcraPesagem::pedirAcesso(bool modal)
{
    m_e.janelaVisivel = false;
    Q_EMIT antesDeCaixa();
    if (m_janelas)
        PassoSilencioso([&] { m_janelas->frmAcesso(modal); });
}

void EcraPesagem::Form_Activate()
{
    EstadoAcesso& acesso = m_estacao.Acesso;
    const int nivel = acesso.NivelAcesso;
    aplicarMenusDoNivel(nivel);
    if (nivel < 1 || nivel > 4)
        pedirAcesso(false);
    m_e.menus[QStringLiteral("mnuOpc0")] = m_estacao.Def.UltimoDocPesagem >= 1;
    if (nivel < 4)
        definirPesagemManual(false);
    else if (!m_estacao.Def.IndLigado[0] && !m_estacao.Def.IndLigado[1])
        definirPesagemManual(true);

    const TitulosMenu::Devolucao devolucao = TitulosMenu::devolucao(acesso.TituloMenu);
    if (devolucao.campoEnter >= 0) {
        int enter = Tecla::Enter;
        txt_KeyPress(devolucao.campoEnter, enter);
    }
    if (devolucao.campoFoco >= 0)
        DarFocoTxt(devolucao.campoFoco);
    acesso.TituloMenu.clear();
    m_e.stb[2] = acesso.NomeOperador;
}

bool EcraPesagem::Form_Unload()
{
    if (m_estacao.Acesso.NivelAcesso < 3)
        return true;
    Terminar();
    return false;
}

bool EcraPesagem::MostraOpcoesAoClicar() const
{
    return m_estacao.Acesso.NivelAcesso > 1;
}

void EcraPesagem::Terminar()
{
    for (QTimer& t : m_tmr)
        t.stop();
    if (m_dispositivos)
        PassoSilencioso([&] { m_dispositivos->FecharPortas(); });
    m_estacao.sistema.TerminarPrograma(0);
}

void EcraPesagem::abrirModal(void (JanelasEcra::*janela)())
{
    {
        Ocupacao o(*this);
        Q_EMIT antesDeCaixa();
        if (m_janelas)
            PassoSilencioso([&] { (m_janelas->*janela)(); });
    }
    Form_Activate();
}

// ----- Menus

void EcraPesagem::mnuPrg_Click(int Index)
{
    if (Index == 0) {
        pedirAcesso(true);
    } else if (Index == 2) {
        if (MsgBox(QStringLiteral("Confirma que deseja sair do Zumarel"),
                   Estilo::SimNao | Estilo::Pergunta | Estilo::SegundoBotao, Zumarel) == Resposta::Sim)
            Terminar();
    }
}

void EcraPesagem::mnuTab_Click(int Index)
{
    QString& titulo = m_estacao.Acesso.TituloTabela;
    titulo = tituloDe(titulosTabela, Index);
    if (!titulo.isEmpty())
        abrirModal(&JanelasEcra::frmTabelas);
}

void EcraPesagem::mnuEst_Click(int Index)
{
    QString& titulo = m_estacao.Acesso.TituloMapa;
    titulo = tituloDe(titulosMapa, Index);
    if (!titulo.isEmpty())
        abrirModal(&JanelasEcra::frmMapas);
}

void EcraPesagem::mnuOpc_Click(int Index)
{
    switch (Index) {
    case 0:
        imprimirUltimoDocumento();
        break;
    case 2:
        abrirModal(&JanelasEcra::frmSegVia);
        break;
    case 4:
        definirPesagemManual(!m_e.mnuOpc4Marcado);
        break;
    case 6:
        apagarPrimeiraPesagem();
        break;
    case 8:
        if (m_janelas)
            PassoSilencioso([&] { m_janelas->frmAnularPsg(); });
        break;
    default:
        break;
    }
}

void EcraPesagem::mnuSis_Click(int Index)
{
    switch (Index) {
    case 0:
        abrirModal(&JanelasEcra::frmRelogio);
        break;
    case 2:
        abrirModal(&JanelasEcra::frmAltCod);
        break;
    case 4:
        abrirModal(&JanelasEcra::frmPar);
        break;
    case 6:
        if (m_janelas)
            PassoSilencioso([&] { m_janelas->Calculadora(); });
        break;
    default:
        break;
    }
}

void EcraPesagem::mnuAjuda_Click(int Index)
{
    if (Index == 0) {
        if (m_janelas)
            PassoSilencioso([&] { m_janelas->Ajuda(); });
    } else if (Index == 2) {
        abrirModal(&JanelasEcra::frmAcerca);
    }
}

// Reprints the last printed weighing by the kind its row has now, one copy.
void EcraPesagem::imprimirUltimoDocumento()
{
    PassoSilencioso([&] {
        const qint32 numero = m_estacao.Def.UltimoDocPesagem;
        QSqlQuery q = Consulta::executar(
            m_estacao.bd(),
            QStringLiteral("SELECT %1 FROM Pesagens WHERE Pesagem = ?").arg(Esquema::citar(QStringLiteral("Tipo de pesagem"))),
            {numero});
        if (!q.next())
            return;
        const QString ficheiro = Documentos::ficheiroDocumento(q.value(0).toString());
        if (ficheiro.isEmpty() || !m_estacao.impressora)
            return;
        PedidoRelatorio pedido;
        pedido.FicheiroRelatorio = m_estacao.naPastaPrograma(ficheiro);
        pedido.FormulaSeleccao = Documentos::FormulaPesagem(numero);
        pedido.Destino = DestinoRelatorio::Impressora;
        pedido.Copias = 1;
        m_estacao.impressora->ExecutarRelatorio(pedido);
    });
}

// Cancels the pending first weighing of the vehicle on the screen (its row
// stays, of kind 'A').
void EcraPesagem::apagarPrimeiraPesagem()
{
    if (const auto chave = chaveViatura()) {
        const QString tipo = QStringLiteral("Tipo de pesagem");
        std::optional<qint64> pesagem;
        PassoSilencioso([&] {
            QSqlQuery q = Consulta::executar(
                m_estacao.bd(),
                QStringLiteral("SELECT Pesagem FROM Pesagens WHERE %1 = ? AND %2 = 'P' ORDER BY Pesagem LIMIT 1")
                    .arg(Esquema::citar(chave->first), Esquema::citar(tipo)),
                {chave->second});
            if (q.next())
                pesagem = q.value(0).toLongLong();
        });
        if (pesagem &&
            MsgBox(QStringLiteral("Confirma que deseja apagar a viatura ") + txt(CodigoViatura) + QStringLiteral(" - ") +
                       txt(Matricula) + QStringLiteral(", da tabela de primeiras pesagens"),
                   Estilo::SimNao | Estilo::Pergunta | Estilo::SegundoBotao, Zumarel) == Resposta::Sim) {
            PassoSilencioso([&] {
                EscritorLinha linha(m_estacao.bd(), Esquema::Pesagens, m_estacao.relogio);
                linha.definir(tipo, QStringLiteral("A"));
                linha.actualizar(*pesagem);
            });
            PassoSilencioso([&] { RefrescarLista(); });
        }
    }
    DarFocoTxt(CodigoViatura);
}

// ----- Manual weighing buttons and the plate format

void EcraPesagem::cmpPM_Click(int Index)
{
    PassoSilencioso([&] { RefrescarLista(); });
    PrimeiraManual = Index == 0;
    m_e.lblPM = Index == 0 ? QStringLiteral("1a. Pesagem manual") : QStringLiteral("2a. Pesagem manual");
    definirPesagemManual(!m_e.mnuOpc4Marcado);
    DarFocoTxt(CodigoViatura);
}

void EcraPesagem::chkVtN_Click(bool marcado)
{
    m_e.chkVtN = marcado;
    DarFocoTxt(CampoActual);
}
