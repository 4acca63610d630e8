#include "screen/ComandosPrincipal.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Relatorio.h"
#include "platform/Sistema.h"
#include "records/DocumentosPesagem.h"
#include "screen/EcraPesagem.h"
#include "screen/RegrasEcra.h"
#include "shared/Esquema.h"
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

template <std::size_t N> QString tituloDe(const QString (&titulos)[N], int indice)
{
    return indice >= 0 && indice < int(N) ? titulos[indice] : QString();
}
}  // namespace

ComandosPrincipal::ComandosPrincipal(EcraPesagem& ecra) : m_ecra(ecra)
{
    for (int i = 0; i < 2; ++i) {
        m_tmr[std::size_t(i)].setInterval(250);
        m_tmr[std::size_t(i)].callOnTimeout(&m_ecra, [this, i] { tmr_Timer(i); });
    }
}

// ----- Load and activation

// A step of the load; a failure is shown in the load's own box.
void ComandosPrincipal::passoCarga(const std::function<void()>& f)
{
    Erro erro;
    if (!PassoSilencioso(f, &erro))
        m_ecra.MsgBox(QStringLiteral("Erro número: ") + QString::number(erro.numero) + QStringLiteral("\n\n")
                          + erro.descricao,
                      Estilo::Critico, Zumarel);
}

void ComandosPrincipal::Form_Load()
{
    const Definicoes& def = m_ecra.m_estacao.Def;
    if (m_ecra.m_partes.CarregarDispositivos)
        passoCarga(m_ecra.m_partes.CarregarDispositivos);
    m_ecra.definirPesagemManual(false);
    m_ecra.m_e.chkVtN = def.FormatViatNac;
    for (int i = 0; i < 2; ++i)
        m_ecra.Bascula(i).PesoActual = def.CapacidadeMaxima[std::size_t(i)];
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
    passoCarga([&] { m_ecra.RefrescarLista(); });
}

void ComandosPrincipal::aplicarMenusDoNivel(int nivel)
{
    for (const auto& [item, estado] : RegrasEcra::menusDoNivel(nivel)) {
        if (estado == RegrasEcra::EstadoItem::Ligado)
            m_ecra.m_e.menus[item] = true;
        else if (estado == RegrasEcra::EstadoItem::Desligado)
            m_ecra.m_e.menus[item] = false;
    }
}

// The window hides itself and the login is shown; no nested event loop.
void ComandosPrincipal::pedirAcesso(bool modal)
{
    m_ecra.m_e.janelaVisivel = false;
    Q_EMIT m_ecra.antesDeCaixa();
    if (m_ecra.m_janelas)
        PassoSilencioso([&] { m_ecra.m_janelas->frmAcesso(modal); });
}

void ComandosPrincipal::Form_Activate()
{
    EstadoAcesso& acesso = m_ecra.m_estacao.Acesso;
    const int nivel = acesso.NivelAcesso;
    aplicarMenusDoNivel(nivel);
    if (nivel < 1 || nivel > 4)
        pedirAcesso(false);
    m_ecra.m_e.menus[QStringLiteral("mnuOpc0")] = m_ecra.m_estacao.Def.UltimoDocPesagem >= 1;
    if (nivel < 4)
        m_ecra.definirPesagemManual(false);
    else if (!m_ecra.m_estacao.Def.IndLigado[0] && !m_ecra.m_estacao.Def.IndLigado[1])
        m_ecra.definirPesagemManual(true);

    const TitulosMenu::Devolucao devolucao = TitulosMenu::devolucao(acesso.TituloMenu);
    if (devolucao.campoEnter >= 0) {
        int enter = Tecla::Enter;
        m_ecra.txt_KeyPress(devolucao.campoEnter, enter);
    }
    if (devolucao.campoFoco >= 0)
        m_ecra.focarTxt(devolucao.campoFoco);
    acesso.TituloMenu.clear();
    m_ecra.m_e.stb[2] = acesso.NomeOperador;
}

bool ComandosPrincipal::Form_Unload()
{
    if (m_ecra.m_estacao.Acesso.NivelAcesso < 3)
        return true;
    Terminar();
    return false;
}

bool ComandosPrincipal::MostraOpcoesAoClicar() const
{
    return m_ecra.m_estacao.Acesso.NivelAcesso > 1;
}

void ComandosPrincipal::Terminar()
{
    PararDispositivos();
    m_ecra.m_estacao.sistema.TerminarPrograma(0);
}

void ComandosPrincipal::PararDispositivos()
{
    for (QTimer& t : m_tmr)
        t.stop();
    if (m_ecra.m_partes.FecharPortas)
        PassoSilencioso(m_ecra.m_partes.FecharPortas);
}

void ComandosPrincipal::abrirModal(void (JanelasEcra::*janela)())
{
    {
        EcraPesagem::Ocupacao o(m_ecra);
        Q_EMIT m_ecra.antesDeCaixa();
        if (m_ecra.m_janelas)
            PassoSilencioso([&] { (m_ecra.m_janelas->*janela)(); });
    }
    Form_Activate();
}

// ----- Menus

void ComandosPrincipal::mnuPrg_Click(int Index)
{
    if (Index == 0) {
        pedirAcesso(true);
    } else if (Index == 2) {
        if (m_ecra.MsgBox(QStringLiteral("Confirma que deseja sair do Zumarel"),
                          Estilo::SimNao | Estilo::Pergunta | Estilo::SegundoBotao, Zumarel)
            == Resposta::Sim)
            Terminar();
    }
}

void ComandosPrincipal::mnuTab_Click(int Index)
{
    QString& titulo = m_ecra.m_estacao.Acesso.TituloTabela;
    titulo = tituloDe(titulosTabela, Index);
    if (!titulo.isEmpty())
        abrirModal(&JanelasEcra::frmTabelas);
}

void ComandosPrincipal::mnuEst_Click(int Index)
{
    QString& titulo = m_ecra.m_estacao.Acesso.TituloMapa;
    titulo = tituloDe(titulosMapa, Index);
    if (!titulo.isEmpty())
        abrirModal(&JanelasEcra::frmMapas);
}

void ComandosPrincipal::mnuOpc_Click(int Index)
{
    switch (Index) {
    case 0: imprimirUltimoDocumento(); break;
    case 2: abrirModal(&JanelasEcra::frmSegVia); break;
    case 4: m_ecra.definirPesagemManual(!m_ecra.m_e.mnuOpc4Marcado); break;
    case 6: apagarPrimeiraPesagem(); break;
    case 8:
        if (m_ecra.m_janelas)
            PassoSilencioso([&] { m_ecra.m_janelas->frmAnularPsg(); });
        break;
    default: break;
    }
}

void ComandosPrincipal::mnuSis_Click(int Index)
{
    switch (Index) {
    case 0: abrirModal(&JanelasEcra::frmRelogio); break;
    case 2: abrirModal(&JanelasEcra::frmAltCod); break;
    case 4: abrirModal(&JanelasEcra::frmPar); break;
    case 6:
        if (m_ecra.m_janelas)
            PassoSilencioso([&] { m_ecra.m_janelas->Calculadora(); });
        break;
    default: break;
    }
}

void ComandosPrincipal::mnuAjuda_Click(int Index)
{
    if (Index == 0) {
        if (m_ecra.m_janelas)
            PassoSilencioso([&] { m_ecra.m_janelas->Ajuda(); });
    } else if (Index == 2) {
        abrirModal(&JanelasEcra::frmAcerca);
    }
}

// Reprints the last printed weighing by the kind its row has now, one copy.
void ComandosPrincipal::imprimirUltimoDocumento()
{
    PassoSilencioso([&] {
        const qint32 numero = m_ecra.m_estacao.Def.UltimoDocPesagem;
        QSqlQuery q = Consulta::executar(m_ecra.m_estacao.bd(),
                                         QStringLiteral("SELECT %1 FROM Pesagens WHERE Pesagem = ?")
                                             .arg(Esquema::citar(QStringLiteral("Tipo de pesagem"))),
                                         {numero});
        if (!q.next())
            return;
        const QString ficheiro = Documentos::ficheiroDocumento(q.value(0).toString());
        if (ficheiro.isEmpty() || !m_ecra.m_estacao.impressora)
            return;
        PedidoRelatorio pedido;
        pedido.FicheiroRelatorio = m_ecra.m_estacao.naPastaPrograma(ficheiro);
        pedido.FormulaSeleccao = Documentos::FormulaPesagem(numero);
        pedido.Destino = DestinoRelatorio::Impressora;
        pedido.Copias = 1;
        m_ecra.m_estacao.impressora->ExecutarRelatorio(pedido, Documentos::avisoImpressao(m_ecra.m_estacao));
    });
}

// Cancels the pending first weighing of the vehicle on the screen (its row
// stays, of kind 'A').
void ComandosPrincipal::apagarPrimeiraPesagem()
{
    if (const auto chave = m_ecra.m_identificacao.chaveViatura()) {
        const QString tipo = QStringLiteral("Tipo de pesagem");
        std::optional<qint64> pesagem;
        PassoSilencioso([&] {
            QSqlQuery q = Consulta::executar(
                m_ecra.m_estacao.bd(),
                QStringLiteral("SELECT Pesagem FROM Pesagens WHERE %1 = ? AND %2 = 'P' ORDER BY Pesagem LIMIT 1")
                    .arg(Esquema::citar(chave->first), Esquema::citar(tipo)),
                {chave->second});
            if (q.next())
                pesagem = q.value(0).toLongLong();
        });
        if (pesagem
            && m_ecra.MsgBox(QStringLiteral("Confirma que deseja apagar a viatura ") + m_ecra.txt(CodigoViatura)
                                 + QStringLiteral(" - ") + m_ecra.txt(Matricula)
                                 + QStringLiteral(", da tabela de primeiras pesagens"),
                             Estilo::SimNao | Estilo::Pergunta | Estilo::SegundoBotao, Zumarel)
                   == Resposta::Sim) {
            PassoSilencioso([&] {
                EscritorLinha linha(m_ecra.m_estacao.bd(), Esquema::Pesagens, m_ecra.m_estacao.relogio);
                linha.definir(tipo, QStringLiteral("A"));
                linha.actualizar(*pesagem);
            });
            PassoSilencioso([&] { m_ecra.RefrescarLista(); });
        }
    }
    m_ecra.focarTxt(CodigoViatura);
}

// ----- Manual weighing buttons and the plate format

void ComandosPrincipal::cmpPM_Click(int Index)
{
    PassoSilencioso([&] { m_ecra.RefrescarLista(); });
    m_ecra.m_primeiraManual = Index == 0;
    m_ecra.m_e.lblPM = Index == 0 ? QStringLiteral("1a. Pesagem manual") : QStringLiteral("2a. Pesagem manual");
    m_ecra.definirPesagemManual(!m_ecra.m_e.mnuOpc4Marcado);
    m_ecra.focarTxt(CodigoViatura);
}

void ComandosPrincipal::chkVtN_Click(bool marcado)
{
    m_ecra.m_e.chkVtN = marcado;
    m_ecra.focarCampoActual();
}

// ----- The bridges' timers

void ComandosPrincipal::tmr_Timer(int Index)
{
    if (m_ecra.m_partes.tmr_Timer)
        PassoSilencioso([&] { m_ecra.m_partes.tmr_Timer(Index); });
    Q_EMIT m_ecra.alterado();
}

bool ComandosPrincipal::temporizadorActivo(int Index) const
{
    return m_tmr.at(std::size_t(Index)).isActive();
}

int ComandosPrincipal::intervaloTemporizador(int Index) const
{
    return m_tmr.at(std::size_t(Index)).interval();
}
