#pragma once

#include "EcraGravacaoFalso.h"
#include "records/GravacaoPesagens.h"
#include "records/GrelhaPesagens.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QSqlDatabase>
#include <QVariantMap>
#include <memory>

// A station in a temporary folder with its main database (and, on request, a
// backup database), a fake screen, the grid and the saves, as the main window
// holds them. The report printer is the recording fake. Given `baseDados`,
// the station works on that file, beside the station that made it.
struct BancadaRegistos
{
    explicit BancadaRegistos(bool comBackup = false, const QString& baseDados = {});

    EstacaoTeste t;
    EcraGravacaoFalso ecra;
    std::unique_ptr<GrelhaPesagens> grelha;
    std::unique_ptr<GravacaoPesagens> gravacao;

    Estacao& estacao() { return *t.estacao; }
    QSqlDatabase bd() { return t.estacao->bd(); }
    QSqlDatabase backup() { return t.estacao->bdBackup(); }

    // The rows of a table of a database, each as field -> value, in key order.
    static QList<QVariantMap> linhas(const QSqlDatabase& db, const QString& tabela = QStringLiteral("Pesagens"));
    static QVariantMap linha(const QSqlDatabase& db, qint64 pesagem);
    static qint64 contarLinhas(const QSqlDatabase& db, const QString& tabela = QStringLiteral("Pesagens"));
    // The fields named in `esperado` as "field=value" ("field=<nulo>" for Null):
    // read from `linha` and from `esperado`, so QCOMPARE shows what differs.
    static QStringList campos(const QVariantMap& linha, const QVariantMap& esperado);
    // The same for fields written out as "field=value|field=<nulo>", in that order.
    static QStringList campos(const QVariantMap& linha, const QString& esperado);
    // A counter of the company row 1 ("Entrada", "Guia", "Talão").
    static qint64 contador(const QSqlDatabase& db, const QString& campo);

    // A vehicle on file under this code, with the plate and parties that
    // EcraGravacaoFalso::preencher lays out, this tare and date, a gross of 2, the
    // time "23:59" and the operator "Velho".
    void viaturaNaFicha(const QString& codigo, const QVariant& tara = 1,
                        const QVariant& data = QStringLiteral("2020-01-01 00:00:00"));
    // [NrCopias] UltimoDocPesagem in the settings file; `seFaltar` when it is not there.
    qint32 ultimoDocNoFicheiro(qint32 seFaltar);

    // An operator of this level logged in under "Maria".
    void entrar(int nivel);
    // A first weighing on the screen ready to save in this mode.
    void primeira(const QString& codigo, const QString& matricula, const QString& peso, const QString& modo = "PP");
    // A second weighing on the screen ready to save, with the kind option.
    void segunda(const QString& codigo, const QString& matricula, const QString& pesoEntrada,
                 const QString& pesoSaida, int opcao, const QString& modo = "SP");
};

// Checks the named fields of a row: CONFERIR(linha, {{"Tipo de pesagem", "T"}, {"Peso líquido", 3000}}).
#define CONFERIR(linha, ...)                                                                                           \
    do {                                                                                                               \
        const QVariantMap esperado_ = __VA_ARGS__;                                                                     \
        QCOMPARE(BancadaRegistos::campos(linha, esperado_), BancadaRegistos::campos(esperado_, esperado_));            \
    } while (false)
