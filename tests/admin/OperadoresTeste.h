#pragma once

#include "data/Consulta.h"
#include "data/Estacao.h"

#include <QList>
#include <QVariant>

// One row of the table Operadores; a QVariant() code or level is Null.
struct LinhaOperador
{
    QString nome;
    QVariant codigo;
    QVariant nivel;
};

// Replaces the station's operators with these rows, in this table order.
inline void definirOperadores(Estacao& estacao, const QList<LinhaOperador>& linhas)
{
    Consulta::executar(estacao.bd(), QStringLiteral("DELETE FROM Operadores"));
    for (const LinhaOperador& l : linhas)
        Consulta::executar(estacao.bd(),
                           QStringLiteral("INSERT INTO Operadores (Operador, \"Código de acesso\", Nivel) VALUES (?, ?, ?)"),
                           {l.nome, l.codigo, l.nivel});
}
