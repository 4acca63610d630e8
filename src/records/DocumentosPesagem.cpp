#include "records/DocumentosPesagem.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Relatorio.h"
#include "records/Diario.h"
#include "shared/Definicoes.h"
#include "startup/ModGlobalIni.h"

#include <memory>
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
    // Said once the weighing is wholly recorded (a second copy prints it):
    // a failure told before the settings file holds the document waits for it.
    struct Falha
    {
        bool gravado = false;
        std::optional<Erro> porDizer;
    };
    const auto falha = std::make_shared<Falha>();
    if (!estacao.impressora) {
        qCWarning(diarioRegistos).nospace() << rotina << ": no report printer for " << ficheiro;
    } else {
        PedidoRelatorio pedido;
        pedido.FicheiroRelatorio = estacao.naPastaPrograma(ficheiro);
        pedido.FormulaSeleccao = FormulaPesagem(pesagem);
        pedido.Destino = DestinoRelatorio::Impressora;
        pedido.Copias = copias;
        const AvisoFalha aviso = avisoImpressao(estacao);
        const int estado = estacao.impressora->ExecutarRelatorio(pedido, {nullptr, [falha, aviso](int e, const Erro& erro) {
                                                                              if (falha->gravado)
                                                                                  aviso.avisar(e, erro);
                                                                              else
                                                                                  falha->porDizer = erro;
                                                                          }});
        if (estado != EstadoRelatorio::Executado && estado != EstadoRelatorio::EmCurso)
            qCWarning(diarioRegistos).nospace()
                << rotina << ": " << ficheiro << " row " << pesagem << " status " << estado;
    }
    if (!ModGlobal::GravarIniLong(estacao.Ini(), Seccoes::NrCopias, QStringLiteral("UltimoDocPesagem"), pesagem))
        qCWarning(diarioRegistos).nospace()
            << rotina << ": [NrCopias] UltimoDocPesagem not written: " << estacao.Ini().razaoFalha();
    falha->gravado = true;
    if (falha->porDizer)
        avisoImpressao(estacao).avisar(EstadoRelatorio::FalhaImpressao, *falha->porDizer);
}

}  // namespace Documentos
