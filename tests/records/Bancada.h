#pragma once

#include "EcraFalso.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"
#include "support/EstacaoTeste.h"

#include <QSqlDatabase>
#include <QVariantMap>
#include <memory>

// A station in a temporary folder with its main database (and, on request, a
// backup database), a fake screen, the grid and the saves, as the main window
// holds them. The report printer is the recording fake.
struct Bancada
{
    explicit Bancada(bool comBackup = false);

    EstacaoTeste t;
    EcraFalso ecra;
    std::unique_ptr<GrelhaPesagens> grelha;
    std::unique_ptr<GravacaoPesagens> gravacao;

    Estacao& estacao() { return *t.estacao; }
    QSqlDatabase bd() { return t.estacao->bd(); }
    QSqlDatabase backup() { return t.estacao->bdBackup(); }

    // The rows of a table of a database, each as field -> value, in key order.
    static QList<QVariantMap> linhas(const QSqlDatabase& db, const QString& tabela = QStringLiteral("Pesagens"));
    static QVariantMap linha(const QSqlDatabase& db, qint64 pesagem);
    static qint64 contarLinhas(const QSqlDatabase& db, const QString& tabela = QStringLiteral("Pesagens"));
    // A counter of the company row 1 ("Entrada", "Guia", "Talão").
    static qint64 contador(const QSqlDatabase& db, const QString& campo);
    // Runs a statement that must work.
    static void executar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {});

    // An operator of this level logged in under "Maria".
    void entrar(int nivel);
    // A first weighing on the screen ready to save in this mode.
    void primeira(const QString& codigo, const QString& matricula, const QString& peso, const QString& modo = "PP");
    // A second weighing on the screen ready to save, with the kind option.
    void segunda(const QString& codigo, const QString& matricula, const QString& pesoEntrada,
                 const QString& pesoSaida, int opcao, const QString& modo = "SP");
};
