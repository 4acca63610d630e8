#pragma once

#include "data/Consulta.h"
#include "support/EstacaoTeste.h"
#include "tables/LogicaTabelas.h"

#include <QSqlQuery>
#include <memory>

// The table editor's logic on a test station, with rows put straight into
// its database.
struct GrelhaTeste
{
    explicit GrelhaTeste(const QString& titulo = QStringLiteral("Tabela de viaturas"))
    {
        t.abrirBaseDados();
        t.estacao->impressora = &t.impressora;
        entrada = CatalogoTabelas::entrada(titulo);
    }

    // Opens the editor over what the database holds now.
    GrelhaTabela& abrir()
    {
        logica = std::make_unique<LogicaTabelas>(*t.estacao, *entrada);
        logica->Form_Load();
        return logica->grelha();
    }

    void sql(const QString& instrucao, const QVariantList& valores = {})
    {
        Consulta::executar(t.estacao->bd(), instrucao, valores);
    }
    QVariant valor(const QString& instrucao, const QVariantList& valores = {})
    {
        QSqlQuery q = Consulta::executar(t.estacao->bd(), instrucao, valores);
        return q.next() ? q.value(0) : QVariant();
    }
    // Vehicles "V01".."Vnn" with plates "AA-00-01".., tare 1000 * i.
    void viaturas(int n)
    {
        for (int i = 1; i <= n; ++i)
            sql(QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura, \"Peso de tara\") VALUES (?, ?, ?)"),
                {QStringLiteral("V%1").arg(i, 2, 10, QChar(u'0')), QStringLiteral("AA-00-%1").arg(i, 2, 10, QChar(u'0')),
                 1000 * i});
    }
    // The operator types into a cell.
    bool escrever(int linha, int coluna, const QString& texto)
    {
        GrelhaTabela& g = logica->grelha();
        return g.setData(g.index(linha, coluna), texto);
    }

    EstacaoTeste t;
    const EntradaTabela* entrada = nullptr;
    std::unique_ptr<LogicaTabelas> logica;
};
