#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class EcraGravacao;
class EscritorLinha;
class ServicoMensagens;

// The fields a save writes into a row of Pesagens, in the order it writes
// them, each with the value it takes from the screen. A value is worked out
// when it is written, so a weight that does not convert fails that field only.
struct ValorCampo
{
    QString campo;
    std::function<QVariant()> valor;
};
using CamposLinha = QList<ValorCampo>;

namespace LinhaPesagem {

// A field that takes the text of the screen's entry field `indice`.
ValorCampo doEcra(const QString& campo, const EcraGravacao& ecra, int indice);
// A field that takes a value known beforehand.
ValorCampo fixo(const QString& campo, const QVariant& valor);

// The 12 fields from the vehicle code to the unloading place, txt(0) to txt(11).
CamposLinha camposViaturaEPartes(const EcraGravacao& ecra);

// The 19 fields of a first weighing (kind 'P').
CamposLinha camposPrimeiraPesagem(const EcraGravacao& ecra, const QDateTime& dataPrimeira, const QString& operador);

// The fields of a completed weighing but its number (which is taken when the
// row is written): its kind first, then the 23 from the vehicle code on.
// The first weighing's moment and origin code are those the save settled on.
CamposLinha camposSegundaPesagem(const EcraGravacao& ecra, const QString& tipo, const QDateTime& dataPrimeira,
                                 const QString& origemPrimeira, const QDateTime& dataSegunda, const QString& operador);

// "HH:mm", the stored form of a time.
QString hora(const QDateTime& momento);

// Sets each field in the writer; a field that fails is reported in the
// database error box under `cabecalho` and stays unset, and the next follows.
void definir(EscritorLinha& linha, const CamposLinha& campos, ServicoMensagens& mensagens, const QString& cabecalho);

}  // namespace LinhaPesagem
