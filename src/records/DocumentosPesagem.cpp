#include "records/DocumentosPesagem.h"

#include "platform/Relatorio.h"
#include "startup/Definicoes.h"
#include "startup/Estacao.h"

namespace Documentos {

QString ficheiroDocumento(const QString& tipo)
{
    if (tipo == u"P")
        return PrimeiraPesagem;
    if (tipo == u"E")
        return Entrada;
    if (tipo == u"G")
        return Guia;
    if (tipo == u"T")
        return Talao;
    return {};
}

Copias copiasDocumento(const QString& tipo, const Definicoes& def)
{
    // The first-weighing ticket goes with any count but 0; a negative one
    // reaches the printer, which prints nothing below one copy.
    if (tipo == u"P")
        return {def.CopiasPrimeiraPesagem, def.CopiasPrimeiraPesagem != 0};
    if (tipo == u"E")
        return {def.CopiasEntrada, def.CopiasEntrada > 0};
    if (tipo == u"G")
        return {def.CopiasSaida, def.CopiasSaida > 0};
    if (tipo == u"T")
        return {def.CopiasTalao, def.CopiasTalao > 0};
    return {};
}

QString ficheiroVisualizacao(const QString& tipo)
{
    if (tipo == u"E")
        return SegundaViaEntrada;
    if (tipo == u"G")
        return SegundaViaGuia;
    if (tipo == u"T")
        return SegundaViaTalao;
    if (tipo == u"P")
        return PrimeiraPesagem;
    if (tipo == u"A")
        return Anulada;
    return {};
}

QString FormulaPesagem(qint64 Pesagem)
{
    return QStringLiteral("{Pesagens.Pesagem} = ") + QString::number(Pesagem);
}

QString FormulaTipoPesagem(const QString& tipo, qint64 Pesagem)
{
    return QStringLiteral("{Pesagens.Tipo de pesagem} = '") + tipo + QStringLiteral("' and ") + FormulaPesagem(Pesagem);
}

int imprimir(Estacao& estacao, const QString& ficheiro, const QString& formula, qint16 copias)
{
    if (!estacao.impressora)
        return -1;
    PedidoRelatorio pedido;
    pedido.FicheiroRelatorio = estacao.naPastaPrograma(ficheiro);
    pedido.FormulaSeleccao = formula;
    pedido.Destino = DestinoRelatorio::Impressora;
    pedido.Copias = copias;
    return estacao.impressora->ExecutarRelatorio(pedido);
}

}  // namespace Documentos
