#pragma once

#include <QSqlDatabase>
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

// What a slice's statement reads from: the table `tabela` (quoted) walked by
// its keys, " FROM ... WHERE rowid BETWEEN ? AND ?" and the condition (with
// no WHERE of its own), whose values follow the two keys.
QString origem(const QString& tabela, const QString& condicao);

// Calls `fatia` with each range of keys [de, ate], in order, sized so that
// each takes a few milliseconds; `fatia` runs its statement on the range and
// its values (valores(de, ate, valores of the condition)). The range covers
// the keys of the rows that meet the condition when the database finds them
// at once (a short period, through an index), else every key of the table.
// A failure, an interruption included, throws Erro.
void percorrer(const QSqlDatabase& db, const QString& tabela, const QString& condicao, const QVariantList& valores,
               const std::function<void(const QVariantList& valoresFatia)>& fatia);

}  // namespace LeituraEmFatias
