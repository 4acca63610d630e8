#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class Estacao;

// One row of the table Operadores as the login and the change of code read it.
struct RegistoOperador
{
    qint64 chave = 0;  // the row's rowid, to write back into this very row
    QString nome;      // Null reads as ""
    QString codigo;    // Null reads as ""
    quint8 nivel = 0;  // Null reads as 0
};

namespace RegistosOperadores {

// The database error box's heading for this table.
extern const QString CabecalhoErro;  // "Erro no acesso à tabela de operadores"

// Every operator in table order. Names and codes are compared by the callers,
// in code and without regard to letter case (accented letters too), so no
// typed text ever reaches the SQL. A failure throws Erro.
QList<RegistoOperador> ler(const Estacao& estacao);

// Names and codes match whatever the letter case.
bool iguais(const QString& a, const QString& b);

}  // namespace RegistosOperadores
