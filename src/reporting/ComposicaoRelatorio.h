#pragma once

#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// A report laid out in HTML: the definition's rows that the selection picks,
// with the company row 1 and the selection's lines, rendered through its
// template. Every value reaches the template as ready text: weights as
// "12 500 kg", dates as "dd-MM-yyyy", Null as nothing.
struct RelatorioComposto
{
    QString html;
    int registos = 0;
};

// Reads the rows and renders them; nothing when the database or the template
// fails, with the reason.
std::optional<RelatorioComposto> comporRelatorio(const DefinicaoRelatorio& definicao,
                                                 const FormulaSeleccao::Clausula& seleccao, const QSqlDatabase& db,
                                                 const QDateTime& agora, QString* erro = nullptr);

// "12 500 kg": digits grouped by three with no-break spaces, from 1 000 up.
QString textoPeso(qint64 quilos);
