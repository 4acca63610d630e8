#pragma once

#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <utility>

struct Campo;

// A document laid out in HTML: the definition's rows that the selection
// picks, with the company row 1 and the selection's lines, rendered through
// its template. Every value reaches the template as ready text: weights as
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

// The company row 1 as the templates name its values (linha1, localidade...);
// blank values when the row is missing. A failing read throws Erro.
using ValoresEmpresa = QList<std::pair<QString, QString>>;
ValoresEmpresa lerEmpresa(const QSqlDatabase& db);

// The heading of a listing's first page, in HTML: its template with the
// company, the title and the selection's lines (`vazio` when no row is
// selected). This and comporTexto throw Erro for a template that does not render.
QString comporCabecalho(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                        const ValoresEmpresa& empresa, const QDateTime& agora, bool vazio);

// A short text of a listing (a column's heading, a total) with its values:
// plain text, nothing escaped.
QString comporTexto(const QString& modelo, const QList<std::pair<QString, QString>>& valores);

// What a report reads of its table: the condition of its fixed selection and
// the request's (nothing when it selects every row), their values, and its
// order, the table's key last so rows of equal order keep the order they
// were stored in.
struct ConsultaRelatorio
{
    QString condicao;
    // " WHERE " and the condition, or nothing.
    QString onde() const { return condicao.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condicao; }
    QVariantList valores;
    QList<LeituraEmFatias::Intervalo> intervalos;  // what the condition holds fields to
    QStringList ordem;
};
ConsultaRelatorio consultaRelatorio(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao);

// A stored value as reports print it: a weight as "12 500 kg" when `peso`, a
// date as "dd-MM-yyyy", Null as nothing.
QString textoCampo(const Campo& campo, const QVariant& valor, bool peso);
