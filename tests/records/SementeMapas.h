#pragma once

#include "data/Consulta.h"
#include "data/Estacao.h"

#include <QVariantList>

// Weighings of January 2026 and around it, with cancelled, pending and
// unnamed rows, a name with a quote, and a product spelt in two cases.
inline void semearPesagens(Estacao& e)
{
    const QString sql = QStringLiteral(
        "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", Viatura, Entidade, Transportador, Produto, "
        "\"Local de carga\", \"Local de descarga\", \"Peso á entrada\", \"Peso á saída\", \"Data de saída\", "
        "\"Hora de saída\", \"Peso líquido\", Operador) VALUES (?, ?, ?, ?, 'Rápidos', ?, 'Norte', 'Ponte', 20000, ?, ?, "
        "'10:00', ?, ?)");
    const QVariant nulo;
    const QList<QVariantList> linhas = {
        {"E", 1, "12-AB-34", "Cimentos Lda", "Areia", 10000, "2026-01-05 10:00:00", 10000, "Ana"},
        {"G", 1, "12-AB-34", "O'Neil", "Brita", 12000, "2026-01-10 11:00:00", 8000, "Ana"},
        {"T", 1, "34-CD-56", "O'Neil", "Areia", 15000, "2026-01-31 23:59:59", 5000, "Rui"},
        {"A", 2, "34-CD-56", "Cimentos Lda", "areia", 0, "2026-01-15 09:00:00", 0, "Rui"},
        {"E", 3, "12-AB-34", "Cimentos Lda", nulo, 18000, "2026-01-20 08:00:00", 2000, "Automático"},
        {"E", 2, "77-ZZ-77", nulo, "Brita", 17000, "2026-02-01 00:00:00", 3000, "Ana"},
        {"P", nulo, "12-AB-34", "Cimentos Lda", "Areia", nulo, nulo, nulo, "Ana"},
    };
    for (const QVariantList& l : linhas)
        Consulta::executar(e.bd(), sql, l);
}
