#include "records/LinhaPesagem.h"

#include "shared/Esquema.h"

#include "data/EscritorLinha.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "records/EcraGravacao.h"

#include <cstdlib>

namespace LinhaPesagem {

ValorCampo doEcra(const QString& campo, const EcraGravacao& ecra, int indice)
{
    return {campo, [&ecra, indice] { return QVariant(ecra.txt(indice)); }};
}

ValorCampo fixo(const QString& campo, const QVariant& valor)
{
    return {campo, [valor] { return valor; }};
}

QString hora(const QDateTime& momento)
{
    return momento.toString(QStringLiteral("HH:mm"));
}

CamposLinha camposViaturaEPartes(const EcraGravacao& ecra)
{
    const QStringList& nomes = Esquema::camposViaturaEPartes();
    CamposLinha campos;
    for (int i = 0; i < nomes.size(); ++i)
        campos << doEcra(nomes[i], ecra, Txt::CodigoViatura + i);
    return campos;
}

namespace {
// The vehicle, the parties, the remarks and the first weighing, as the screen holds them.
CamposLinha camposAteEntrada(const EcraGravacao& ecra, const QDateTime& dataPrimeira, const QString& origemPrimeira)
{
    CamposLinha campos = camposViaturaEPartes(ecra);
    campos << doEcra(QStringLiteral("Observações"), ecra, Txt::Observacoes)
           << doEcra(QStringLiteral("Peso á entrada"), ecra, Txt::PesoEntrada)
           << fixo(QStringLiteral("Báscula de entrada"), origemPrimeira)
           << fixo(QStringLiteral("Data de entrada"), dataPrimeira)
           << fixo(QStringLiteral("Hora de entrada"), hora(dataPrimeira));
    return campos;
}
}  // namespace

CamposLinha camposPrimeiraPesagem(const EcraGravacao& ecra, const QDateTime& dataPrimeira, const QString& operador)
{
    CamposLinha campos{fixo(QStringLiteral("Tipo de pesagem"), QStringLiteral("P"))};
    campos << camposAteEntrada(ecra, dataPrimeira, ecra.lblB1()) << fixo(QStringLiteral("Operador"), operador);
    return campos;
}

CamposLinha camposSegundaPesagem(const EcraGravacao& ecra, const QString& tipo, const QDateTime& dataPrimeira,
                                 const QString& origemPrimeira, const QDateTime& dataSegunda, const QString& operador)
{
    CamposLinha campos{fixo(QStringLiteral("Tipo de pesagem"), tipo)};
    campos << camposAteEntrada(ecra, dataPrimeira, origemPrimeira)
           << doEcra(QStringLiteral("Peso á saída"), ecra, Txt::PesoSaida)
           << fixo(QStringLiteral("Báscula de saída"), ecra.lblB2())
           << fixo(QStringLiteral("Data de saída"), dataSegunda)
           << fixo(QStringLiteral("Hora de saída"), hora(dataSegunda))
           << ValorCampo{QStringLiteral("Peso líquido"),
                         [&ecra] {
                             const qint64 primeiro = ModGlobal::VarLong(ecra.txt(Txt::PesoEntrada));
                             const qint64 segundo = ModGlobal::VarLong(ecra.txt(Txt::PesoSaida));
                             return QVariant(std::llabs(primeiro - segundo));
                         }}
           << fixo(QStringLiteral("Operador"), operador);
    return campos;
}

void definir(EscritorLinha& linha, const CamposLinha& campos, ServicoMensagens& mensagens, const QString& cabecalho)
{
    for (const ValorCampo& c : campos)
        Passo(mensagens, cabecalho, [&] { linha.definir(c.campo, c.valor()); });
}

}  // namespace LinhaPesagem
