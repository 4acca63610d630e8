#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

// A long reading of the shared file in short slices, each one statement and
// so one short read: a save, on this station or another, waits for one slice
// at most, never for the whole reading (the file keeps the rollback journal,
// in which a reader holds every writer back). Rows stored after the reading
// starts are not read.
//
// A reading whose condition holds a field to a period (or to one value) walks
// that field's index from where the last slice stopped, so it visits only the
// rows of the period; any other walks the table by key. Every statement,
// whatever the table holds, costs what its slice holds: no aggregate over
// the whole table, no scan from the start of the index.
namespace LeituraEmFatias {

// What a condition holds a field to: a period [de, ate), or the one value
// `de` when `ate` is Null.
struct Intervalo
{
    QString campo;
    QVariant de;
    QVariant ate;

    bool umValor() const { return ate.isNull(); }
};

// Runs `inicio` (a SELECT list, or an INSERT ... SELECT list, that reads the
// table's rowid as `rowid` if it needs it) over the rows of `tabela` (its
// name as stored) that meet `condicao` (no WHERE of its own, with its
// `valores`), one slice after another, each sized to take a few milliseconds,
// and hands each slice's query to `fatia` (which reads its rows, if any, and
// returns false to end the reading there). `intervalos` are what the
// condition holds fields to; the first period of a field with an index, else
// the first such value, is walked. A failure, an interruption included,
// throws Erro; a slice whose rows end on an error too.
void percorrer(const QSqlDatabase& db, const QString& inicio, const QString& tabela, const QString& condicao,
               const QVariantList& valores, const QList<Intervalo>& intervalos,
               const std::function<bool(QSqlQuery& fatia)>& fatia);

}  // namespace LeituraEmFatias
