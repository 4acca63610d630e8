#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The statistics over the completed weighings of a period: which one a title
// names, the period the six date boxes give, the query that lists the parties
// found, the selection formula handed to the report printer and the report
// file chosen. No widgets: the statistics window works through these.
namespace Estatisticas {

struct Estatistica
{
    QString titulo;    // the title the main window sets (TituloMapa)
    QString campo;     // the field listed and grouped on; empty for "Pesagens"
    QString clausula;  // the formula's party clause, spaced as each statistic has it
    QString radical;   // the report files' stem: m_<stem>.rpt, t_<stem>.rpt, g_<stem>.rpt
    int larguraTwips = 0;

    bool porPartes() const { return !campo.isEmpty(); }
};

const QList<Estatistica>& todas();
// The statistic of that title; nullptr for any other.
const Estatistica* porTitulo(const QString& titulo);

// The date boxes' texts: start day, month, year, end day, month, year.
using Caixas = std::array<QString, 6>;

// The kind letter of a type option: 0 'E', 1 'G', 2 'T'; "Tudo" (3) or no
// option (-1) restricts nothing and gives the empty text.
QString tipoDaOpcao(int opcao);

// The period condition of the report's formula, built from the boxes as typed.
QString FormulaPeriodo(const Caixas& caixas);

// The complete selection formula. A quote inside the party's name is doubled,
// so a name such as O'Neil selects its own rows.
QString ConstruirFormula(const Estatistica& e, const Caixas& caixas, const QString& identificacao, int opcao);

// The report file: detailed, totals only, or with a chart (which wins).
QString ficheiroRelatorio(const Estatistica& e, bool soTotais, bool comGrafico);

// The period the boxes give, from the start of the first day to the start of
// the day after the last one; the same rule as the formula's (a year below
// 100 is 2000-2029 for 00-29 and 19xx otherwise). Nothing when a box is not
// a number or the date does not exist, with the reason.
struct Intervalo
{
    QDateTime inicio;
    QDateTime fimExclusivo;
};
std::optional<Intervalo> intervalo(const Caixas& caixas, QString* motivo = nullptr);

// What the list query found: the non-Null values in the database's order,
// and how many rows it read (a Null row included).
struct Identificacoes
{
    QStringList valores;
    int linhas = 0;
};
// Throws Erro when the query fails.
Identificacoes listar(const QSqlDatabase& db, const Estatistica& e, const Intervalo& periodo, int opcao);

}  // namespace Estatisticas
