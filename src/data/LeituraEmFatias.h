#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

// A long reading of the shared file in short slices of a table's keys, each
// one statement and so one short read: a save, on this station or another,
// waits for one slice at most, never for the whole reading (the file keeps
// the rollback journal, in which a reader holds every writer back). The keys
// are fixed when the reading starts, so a row stored after is not read, and
// each key is read once, in the slice that holds it.
namespace LeituraEmFatias {

// Runs `inicio` (a SELECT list, or an INSERT ... SELECT list) over the rows
// of `tabela` (quoted) that meet `condicao` (no WHERE of its own, with its
// `valores`), one range of keys after another, each sized to take a few
// milliseconds, and hands each slice's query to `fatia` (which reads its
// rows, if any, within the slice). The ranges cover the keys of the rows that
// meet the condition when the database finds them at once (a short period,
// through an index), else every key of the table. A failure, an interruption
// included, throws Erro.
void percorrer(const QSqlDatabase& db, const QString& inicio, const QString& tabela, const QString& condicao,
               const QVariantList& valores, const std::function<void(QSqlQuery& fatia)>& fatia);

}  // namespace LeituraEmFatias
