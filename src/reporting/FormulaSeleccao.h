#pragma once

#include "data/LeituraEmFatias.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

// The record-selection formulas that the station hands its report printer,
// turned into a WHERE clause with bound values. Only the shapes the station
// makes are accepted:
//   ""                                           every row
//   {T.field} = 123          {T.field} = 'text'  (a quote inside doubled)
//   {T.field} in Date (y, m, d) to Date (y, m, d)
//   conditions joined by "and"
// A number goes only with a whole-number field, a text with a text field, a
// period with a date field (its whole last day included; a two-digit year is
// 2000-2029 for 00-29 and 19xx otherwise). The table must be the report's own
// and the field one of its fields. Anything else is refused, so no SQL runs.
namespace FormulaSeleccao {

struct Clausula
{
    QString condicao;       // empty when every row is selected
    QVariantList valores;   // the values bound to its '?', in order
    QStringList descricao;  // one line per condition, for a report's header
    // What its conditions hold fields to (a period, a value), so a long
    // reading walks the index of one of them.
    QList<LeituraEmFatias::Intervalo> intervalos;
};

std::optional<Clausula> traduzir(const QString& formula, const QString& tabela, QString* erro = nullptr);

}  // namespace FormulaSeleccao
