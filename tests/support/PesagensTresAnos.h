#pragma once

#include "data/Consulta.h"

#include <QSqlDatabase>

// n weighings of three years from 2024, their exit dates spread in no order of
// their keys: one in 50 still pending ('P'), the others Guias; a product in
// 40, in two spellings of its case, or none.
inline void semearTresAnos(const QSqlDatabase& db, int n)
{
    Consulta::executar(db, QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
        "INSERT INTO Pesagens (\"Tipo de pesagem\", Produto, \"Data de saída\") SELECT "
        "CASE WHEN i % 50 = 0 THEN 'P' ELSE 'G' END, "
        "CASE WHEN i % 97 = 0 THEN NULL WHEN i % 2 = 0 THEN 'Produto ' || (i % 40) ELSE 'PRODUTO ' || (i % 40) END, "
        "strftime('%Y-%m-%d %H:%M:%S', '2024-01-01', '+' || (i * 2654435761 % 94608000) || ' seconds') FROM n"), {n});
}
