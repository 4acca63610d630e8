#include "records/GrelhaPesagens.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Erro.h"
#include "platform/Mensagens.h"
#include "platform/Relatorio.h"
#include "records/DocumentosPesagem.h"
#include "records/EcraGravacao.h"
#include "shared/Esquema.h"

namespace {

// The kind each filter option shows; "Tudo" (5) shows every row.
const char* const TiposFiltro[] = {"G", "E", "T", "P", "A"};
constexpr int Tudo = 5;

}  // namespace

GrelhaPesagens::GrelhaPesagens(Estacao& estacao, EcraGravacao& ecra) : m_estacao(estacao), m_ecra(ecra) {}

void GrelhaPesagens::lerGrelha(int coluna, bool descendente)
{
    // Before the first save since the start every row of the kind; after it,
    // the last hundred row numbers and any later ones.
    ModeloGrelhaPesagens::Pedido pedido;
    pedido.acimaDe = qint64(m_estacao.UltimaPesagem) - 100;
    if (m_optTP >= 0 && m_optTP < Tudo)
        pedido.tipo = QString::fromLatin1(TiposFiltro[m_optTP]);
    pedido.coluna = coluna;
    pedido.descendente = descendente;
    m_modelo.carregar(m_estacao.bd(), pedido);
}

void GrelhaPesagens::RefrescarLista()
{
    m_ecra.setMnuOpcActivo(MnuOpc::ApagarPrimeiraPesagem, false);
    m_ecra.setTxt(Txt::CodigoViatura, QString());
    m_ecra.setTxt(Txt::Viatura, QString());
    m_ecra.LimparEcra();
    lerGrelha();
}

void GrelhaPesagens::optTP_Click(int Index)
{
    if (Index >= 0 && Index <= Tudo)
        m_optTP = Index;
    Passo(m_estacao.mensagens, QStringLiteral("Erro no acesso à tabela de pesagens"), [&] { lerGrelha(); });
}

void GrelhaPesagens::dbg_HeadClick(int ColIndex)
{
    if (ColIndex < 0 || ColIndex > 30)
        return;
    const QString nome = ModeloGrelhaPesagens::nomeCampo(ColIndex);
    if (nome.isEmpty())
        return;
    if (OrdemAscendente[ColIndex]) {
        OrdemGrelha = u'[' + nome + u']';
        OrdemAscendente[ColIndex] = false;
    } else {
        OrdemGrelha = u'[' + nome + QStringLiteral("] desc");
        OrdemAscendente[ColIndex] = true;
    }
    OrdenarColuna();
    OrdemGrelha.clear();
}

void GrelhaPesagens::OrdenarColuna()
{
    if (OrdemGrelha.isEmpty())
        return;
    // The sort text names a field of the grid; it is never put into SQL as it stands.
    const bool descendente = OrdemGrelha.endsWith(QStringLiteral("] desc"));
    const QString nome = OrdemGrelha.mid(1, OrdemGrelha.lastIndexOf(u']') - 1);
    const Tabela& pesagens = *Esquema::tabela(Esquema::Pesagens);
    const Campo* campo = pesagens.campo(nome);

    Erro erro;
    bool feito;
    {
        CursorOcupadoGuarda ocupado(m_estacao.mensagens);
        feito = PassoSilencioso(
            [&] {
                if (!campo)
                    Erros::lancarCampoEmFalta(nome);
                lerGrelha(int(campo - pesagens.campos.data()), descendente);
            },
            &erro);
    }
    if (!feito)
        m_estacao.mensagens.MsgBox(QStringLiteral("Erro:") + QString::number(erro.numero) + u' ' + erro.descricao,
                                   Estilo::SoOK, tituloAplicacao());
}

void GrelhaPesagens::dbg_DblClick(int linha)
{
    CursorOcupadoGuarda ocupado(m_estacao.mensagens);
    PassoSilencioso([&] {
        const QString tipo = m_modelo.valor(linha, QStringLiteral("Tipo de pesagem")).toString();
        const QString ficheiro = Documentos::ficheiroVisualizacao(tipo);
        if (ficheiro.isEmpty() || !m_estacao.impressora)
            return;
        PedidoRelatorio pedido;
        pedido.FicheiroRelatorio = m_estacao.naPastaPrograma(ficheiro);
        pedido.FormulaSeleccao = Documentos::FormulaTipoPesagem(tipo, m_modelo.pesagem(linha));
        pedido.Destino = DestinoRelatorio::Janela;
        pedido.Esquerda = 0;
        pedido.Topo = 0;
        pedido.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
        pedido.TituloJanela = QStringLiteral("Segunda via");
        m_estacao.impressora->ExecutarRelatorio(pedido);
    });
}
