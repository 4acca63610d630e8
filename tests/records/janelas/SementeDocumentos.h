#pragma once

#include "data/Consulta.h"

#include <QSqlDatabase>

// `n` completed documents of kind `tipo` numbered from `primeiro` in storing
// order: number k has vehicle "V<k>", plate "AA-<k>", customer "Cliente <k>",
// 10 000 + k kg in, 30 000 kg out, 20 000 - k kg net, left on 01-12-2026 at
// 08:30. The company's counter of the kind ends at the last number.
inline void documentos(const QSqlDatabase& db, const QString& tipo, int n, int primeiro = 1)
{
    Consulta::Transaccao transaccao(db);
    for (int k = primeiro; k < primeiro + n; ++k)
        Consulta::executar(db, QStringLiteral(
            "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", \"Código da viatura\", Viatura, "
            "Entidade, \"Peso á entrada\", \"Peso á saída\", \"Peso líquido\", \"Data de saída\", \"Hora de saída\") "
            "VALUES (?, ?, ?, ?, ?, ?, 30000, ?, '2026-12-01 08:30:00', '08:30')"),
            {tipo, k, QStringLiteral("V%1").arg(k), QStringLiteral("AA-%1").arg(k), QStringLiteral("Cliente %1").arg(k),
             10000 + k, 20000 - k});
    const QString contador = tipo == u"E" ? QStringLiteral("Entrada") : tipo == u"G" ? QStringLiteral("Guia")
                                                                                      : QStringLiteral("\"Talão\"");
    Consulta::executar(db, QStringLiteral("UPDATE Empresas SET %1 = ? WHERE Empresa = 1").arg(contador),
                       {primeiro + n - 1});
    transaccao.confirmar();
}
