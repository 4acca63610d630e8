#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// Rows written straight into a test database, field by field as stored
// (QVariant() is Null), bypassing the station's own writers.
namespace Semente {

using Valores = QList<QPair<QString, QVariant>>;

qint64 inserir(const QSqlDatabase& db, const QString& tabela, const Valores& valores);

// A code-and-name row (the code field first, then the name).
void codigo(const QSqlDatabase& db, const QString& tabela, const QString& codigo, const QVariant& nome);

// Many vehicles at once, in one transaction: codes V000001..., every field filled.
void muitasViaturas(const QSqlDatabase& db, int quantas);

}  // namespace Semente
