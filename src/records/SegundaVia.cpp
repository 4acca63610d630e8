#include "records/SegundaVia.h"

#include "data/Estacao.h"
#include "platform/Relatorio.h"
#include "records/Diario.h"
#include "records/DocumentosPesagem.h"

SegundaVia::SegundaVia(Estacao& estacao)
    : EscolhaDocumento(estacao, u'G', {QStringLiteral("Visualizar"), QStringLiteral("Imprimir")})
{}

void SegundaVia::cmd_Click(int Index)
{
    const QString ficheiros[3] = {Documentos::SegundaViaEntrada, Documentos::SegundaViaGuia,
                                  Documentos::SegundaViaTalao};
    PedidoRelatorio pedido;
    pedido.FicheiroRelatorio = m_estacao.naPastaPrograma(ficheiros[opt()]);
    pedido.FormulaSeleccao = FormulaTipoNumero(tipo(), numeroDoTexto(texto()));
    if (Index == 0) {
        pedido.Destino = DestinoRelatorio::Janela;
        pedido.Esquerda = pedido.Topo = 0;
        pedido.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
        pedido.TituloJanela = QStringLiteral("Segunda via");
    } else {
        pedido.Destino = DestinoRelatorio::Impressora;
        pedido.Copias = m_estacao.Def.CopiasSegundaVia;
    }
    if (!m_estacao.impressora)
        return;
    // A copy that did not print says why, when the print system answers; any other failed run is only logged.
    const int estado = m_estacao.impressora->ExecutarRelatorio(pedido, Documentos::avisoImpressao(m_estacao));
    if (estado != EstadoRelatorio::Executado && estado != EstadoRelatorio::EmCurso)
        qCWarning(diarioRegistos) << "SegundaVia:" << pedido.FicheiroRelatorio << pedido.FormulaSeleccao << "status"
                                  << estado;
}
