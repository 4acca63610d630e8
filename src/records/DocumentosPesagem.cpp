#include "records/DocumentosPesagem.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Relatorio.h"
#include "records/Diario.h"
#include "shared/Definicoes.h"
#include "startup/ModGlobalIni.h"

#include <optional>

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

AvisoFalha avisoImpressao(Estacao& estacao)
{
    return {nullptr, [&estacao](int, const Erro& falha) { MostrarErroBd(estacao.mensagens, DocumentoNaoImpresso, falha); }};
}

void imprimirERegistar(Estacao& estacao, const QString& ficheiro, qint32 pesagem, qint16 copias, const char* rotina)
{
    estacao.Def.UltimoDocPesagem = pesagem;
    std::optional<Erro> naoImpresso;
    if (!estacao.impressora) {
        qCWarning(diarioRegistos).nospace() << rotina << ": no report printer for " << ficheiro;
    } else {
        PedidoRelatorio pedido;
        pedido.FicheiroRelatorio = estacao.naPastaPrograma(ficheiro);
        pedido.FormulaSeleccao = FormulaPesagem(pesagem);
        pedido.Destino = DestinoRelatorio::Impressora;
        pedido.Copias = copias;
        const int estado = estacao.impressora->ExecutarRelatorio(
            pedido, {nullptr, [&naoImpresso](int, const Erro& falha) { naoImpresso = falha; }});
        if (estado != EstadoRelatorio::Executado)
            qCWarning(diarioRegistos).nospace()
                << rotina << ": " << ficheiro << " row " << pesagem << " status " << estado;
    }
    if (!ModGlobal::GravarIniLong(estacao.Ini(), Seccoes::NrCopias, QStringLiteral("UltimoDocPesagem"), pesagem))
        qCWarning(diarioRegistos).nospace()
            << rotina << ": [NrCopias] UltimoDocPesagem not written: " << estacao.Ini().razaoFalha();
    // Said once the weighing is wholly recorded: a second copy prints it.
    if (naoImpresso)
        avisoImpressao(estacao).avisar(EstadoRelatorio::FalhaImpressao, *naoImpresso);
}

}  // namespace Documentos
