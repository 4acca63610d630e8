#pragma once

#include <QDateTime>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

class Relogio;

// Null-safe readers of a row's fields and converters of values. Only a database
// Null is replaced (by 0, "" or now); an empty value, a QVariant() with no
// type, converts as usual (0, "" or the zero date). Failures throw Erro: 3265
// for a field name the row lacks, 6 for an overflow, 13 for a value of the
// wrong kind.
namespace ModGlobal {

quint8 LerCampoByte(const QSqlRecord& Rs, const QString& Campo);
qint32 LerCampoLong(const QSqlRecord& Rs, const QString& Campo);
QDateTime LerCampoData(const QSqlRecord& Rs, const QString& Campo, const Relogio& relogio);
QString LerCampoTexto(const QSqlRecord& Rs, const QString& Campo);

qint32 VarLong(const QVariant& Valor);
QDateTime VarData(const QVariant& Valor, const Relogio& relogio);
QString VarTexto(const QVariant& Valor);

}  // namespace ModGlobal
