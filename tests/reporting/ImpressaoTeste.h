#pragma once

#include "data/Consulta.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

// What the printing tests share: the rows they print, and a refusal's words.

// The guide of weighing 3, as semearDocumentos seeds it.
inline const QString Guia = QStringLiteral("{Pesagens.Pesagem} = 3");

// The report printer's log, quiet: its refusals are logged by design.
inline const QString Silencio = QStringLiteral("zumarel.relatorios.warning=false\nzumarel.relatorios.info=false");

// The refusal of a queue that does not take jobs, as the print system words it.
inline const QString RecusaFila =
    QStringLiteral("A impressora fila não aceitou o trabalho: Destination \"fila\" is not accepting jobs.");

// The company's lines and five weighings, one of each kind: 1 'P' (a party
// "O'Neil & <Filhos>"), 2 'E' n.º 7, 3 'G' n.º 42, 4 'T' (automatic, no
// number), 5 'A' n.º 9, all of 05-12-2026.
inline void semearDocumentos(const QSqlDatabase& db)
{
    Consulta::executar(db, QStringLiteral(
        "UPDATE Empresas SET \"Linha 1\" = 'Areias & Britas, Lda.', \"Linha 2\" = 'Zona Industrial', "
        "\"Linha 3\" = 'Lote 7', \"Código postal\" = '2000-123', Localidade = 'Santarém', "
        "Contribuinte = '501234567', Telefone = '243000000', Fax = '243000001', "
        "\"Linha de fundo\" = 'Processado por computador' WHERE Empresa = 1"));
    const QString sql = QStringLiteral(
        "INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\", \"Número de pesagem\", \"Código da viatura\", Viatura, "
        "\"Código da entidade\", Entidade, \"Código do transportador\", Transportador, \"Código do produto\", Produto, "
        "\"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", \"Local de descarga\", "
        "Observações, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", \"Hora de entrada\", "
        "\"Peso á saída\", \"Báscula de saída\", \"Data de saída\", \"Hora de saída\", \"Peso líquido\", Operador) "
        "VALUES (?, ?, ?, 'AB12', '12-AB-34', 'C01', ?, 'T01', 'Transportes Rápidos', 'P01', 'Areia fina', "
        "'LC1', 'Pedreira Norte', 'LD1', 'Obra da Ponte', 'Sem lona', 12500, 'B1', '2026-12-05 09:15:00', "
        "'09:15', ?, ?, ?, ?, ?, 'Maria')");
    const QList<QVariantList> linhas = {
        {1, "P", QVariant(), "O'Neil & <Filhos>", QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {2, "E", 7, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 19000},
        {3, "G", 42, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 19000},
        {4, "T", QVariant(), "Quinta D'Ouro", 13750, "A2", "2026-12-05 10:40:00", "10:40", 1250},
        {5, "A", 9, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 0},
    };
    for (const QVariantList& l : linhas)
        Consulta::executar(db, sql, l);
}

// Weighings of January 2026 and round it: names in several cases and
// accents, none and empty, a quote, a cancelled one, a pending one.
inline void semearJaneiro(const QSqlDatabase& db)
{
    const QString sql = QStringLiteral(
        "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Número de pesagem\", Produto, Entidade, Operador, "
        "\"Data de saída\", \"Hora de saída\", \"Peso á entrada\", \"Peso á saída\", \"Peso líquido\") "
        "VALUES (?, ?, ?, ?, ?, ?, '10:00', 10000, ?, ?)");
    const QVariant nulo;
    const QList<QVariantList> linhas = {
        {"E", 101, "Areia", "Cimentos Lda", "Ana", "2026-01-05 10:00:00", 20000, 10000},
        {"G", 102, "areia", "O'Neil & <Filhos>", "Rui", "2026-01-06 11:00:00", 18000, 8000},
        {"T", 103, "AREIA", "Cimentos Lda", "Ana", "2026-01-03 09:00:00", 15000, 5000},
        {"A", 104, "Brita", "Zé", "Automático", "2026-01-10 08:00:00", 10000, 0},
        {"E", 105, "Brita", "Cimentos Lda", "Rui", "2026-01-10 08:00:00", 22000, 12000},
        {"G", 106, "Ácido", "Zé", "Ana", "2026-01-20 14:00:00", 13000, 3000},
        {"E", 107, "éter", nulo, "Ana", "2026-01-21 15:00:00", 14000, 4000},
        {"T", 108, "Évora", "Cimentos Lda", nulo, "2026-01-22 16:00:00", 16000, 6000},
        {"E", 109, "Zebra", "O'Neil & <Filhos>", "Rui", "2026-01-31 23:59:59", 17000, 7000},
        {"G", 110, nulo, "Zé", "Ana", "2026-01-15 12:00:00", 19000, 9000},
        {"E", 111, "", "Cimentos Lda", "Rui", "2026-01-14 12:00:00", 11000, 1000},
        {"E", 112, "Areia", "Zé", "Ana", "2026-02-01 00:00:00", 99999, 89999},
        {"E", 113, "Areia", "Zé", "Ana", "2025-12-31 23:59:59", 88888, 78888},
        {"G", 114, "évora", "Zé", "Rui", "2026-01-23 10:00:00", 12000, 2000},
        {"P", nulo, "Areia", "Zé", "Ana", nulo, nulo, nulo},
    };
    for (const QVariantList& l : linhas)
        Consulta::executar(db, sql, l);
}
