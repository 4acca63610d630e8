#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "data/LeituraEmFatias.h"
#include "platform/Erro.h"
#include "platform/LigacaoBd.h"
#include "support/EstacaoTeste.h"
#include "support/PassosSqlite.h"
#include "support/PesagensTresAnos.h"

#include <QThread>
#include <QtTest>

namespace {

using Intervalos = QList<LeituraEmFatias::Intervalo>;

const QString Guia = QStringLiteral("SELECT Guia FROM Empresas WHERE Empresa = ?");

int guia(const QSqlDatabase& db)
{
    const std::optional<QSqlRecord> r = Consulta::primeiraLinha(db, Guia, {1});
    return r ? r->value(0).toInt() : -1;
}

}  // namespace

// The statements kept prepared belong to their connection.
class TesteConsulta : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Two stations, and a worker thread's connection read at the same time as
    // them; one station closing its database leaves the other's statements working.
    void cadaLigacaoComAsSuas()
    {
        EstacaoTeste a, b;
        a.abrirBaseDados();
        b.abrirBaseDados();
        Consulta::executar(a.estacao->bd(), QStringLiteral("UPDATE Empresas SET Guia = 7"));
        Consulta::executar(b.estacao->bd(), QStringLiteral("UPDATE Empresas SET Guia = 9"));
        QList<int> doFio, deA;
        qsizetype preparadasDoFio = 0;
        std::unique_ptr<QThread> fio(QThread::create([&] {
            const std::unique_ptr<LigacaoBd> ligacao = BaseDadosEstacao::abrir(b.caminho(QStringLiteral("Pesagem.mdb")));
            for (int i = 0; i < 200; ++i)
                doFio << guia(ligacao->db());
            preparadasDoFio = ligacao->preparadas().quantas();
        }));
        fio->start();
        for (int i = 0; i < 200; ++i)
            deA << guia(a.estacao->bd());
        QVERIFY(fio->wait(30000));
        QCOMPARE(deA, QList<int>(200, 7));
        QCOMPARE(doFio, QList<int>(200, 9));
        QCOMPARE(preparadasDoFio, 1);
        QCOMPARE(a.estacao->Bd->preparadas().quantas(), 1);
        a.estacao->Bd.reset();
        QCOMPARE(guia(b.estacao->bd()), 9);
        QCOMPARE(b.estacao->Bd->preparadas().quantas(), 1);
    }

    // A long reading reads each row its condition selects once, and no row
    // stored after it started; by the index of its period (or value) it
    // visits those rows alone, whatever the table holds, even where many
    // rows share one value; by key, keys far apart cost nothing.
    void leituraEmFatias_data()
    {
        QTest::addColumn<int>("pesagens");         // of three years
        QTest::addColumn<QStringList>("semente");  // and these
        QTest::addColumn<QString>("condicao");
        QTest::addColumn<QVariantList>("valores");
        QTest::addColumn<Intervalos>("intervalos");
        const QString data = QStringLiteral("\"Data de saída\" >= ? AND \"Data de saída\" < ?");
        const QVariantList marco{"2025-03-01 00:00:00", "2025-04-01 00:00:00"};
        QTest::newRow("um mês de três anos") << 30000 << QStringList{} << data << marco
                                             << Intervalos{{"Data de saída", marco[0], marco[1]}};
        const QVariantList janeiro{"2026-01-01 00:00:00", "2026-02-01 00:00:00"};
        QTest::newRow("um dia de muitas linhas")
            << 3000 << QStringList{
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) INSERT INTO Pesagens "
                           "(\"Tipo de pesagem\", \"Data de saída\") SELECT 'G', '2026-01-10 10:00:00' FROM n"}
            << data << janeiro << Intervalos{{"Data de saída", janeiro[0], janeiro[1]}};
        // Past a value of several slices, more than the largest slice (4096 by then) of later values, whose keys
        // are below its own.
        QTest::newRow("um dia de muitas linhas e mais de uma fatia depois")
            << 3000 << QStringList{
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) INSERT INTO Pesagens "
                           "(\"Tipo de pesagem\", \"Data de saída\") SELECT 'G', strftime('%Y-%m-%d %H:%M:%S', '2026-01-11', '+' || (i * 300) || ' seconds') FROM n",
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) INSERT INTO Pesagens "
                           "(\"Tipo de pesagem\", \"Data de saída\") SELECT 'G', '2026-01-10 10:00:00' FROM n"}
            << data << janeiro << Intervalos{{"Data de saída", janeiro[0], janeiro[1]}};
        // A file made before the index of its period: walked by key.
        const QVariantList tresAnos{"2024-01-01 00:00:00", "2027-01-01 00:00:00"};
        QTest::newRow("sem o índice do período") << 3000 << QStringList{"DROP INDEX \"PesagensPorDataSaida\""} << data << tresAnos
                                                  << Intervalos{{"Data de saída", tresAnos[0], tresAnos[1]}};
        QTest::newRow("as pendentes") << 30000 << QStringList{} << "\"Tipo de pesagem\" = ?" << QVariantList{"P"}
                                      << Intervalos{{"Tipo de pesagem", "P", {}}};
        QTest::newRow("chaves muito afastadas")
            << 3000 << QStringList{"INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (4611686018427387904, 'G')",
                           "INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (9223372036854775806, 'G')"}
            << QString() << QVariantList{} << Intervalos{};
    }
    void leituraEmFatias()
    {
        QFETCH(int, pesagens);
        QFETCH(QStringList, semente);
        QFETCH(QString, condicao);
        QFETCH(QVariantList, valores);
        QFETCH(Intervalos, intervalos);
        EstacaoTeste t;
        t.abrirBaseDados();
        const QSqlDatabase outro = t.estacao->bd();
        semearTresAnos(outro, pesagens);
        for (const QString& sql : semente)
            Consulta::executar(outro, sql);
        QList<qint64> esperadas;
        for (QSqlQuery q = Consulta::executar(outro, "SELECT rowid FROM Pesagens" + (condicao.isEmpty() ? QString() : " WHERE " + condicao) + " ORDER BY rowid", valores); q.next();)
            esperadas << q.value(0).toLongLong();
        QVERIFY(!esperadas.isEmpty());

        PassosSqlite passos;
        const auto ligacao = BaseDadosEstacao::abrir(t.caminho(QStringLiteral("Pesagem.mdb")));
        QList<qint64> lidas;
        int fatias = 0;
        LeituraEmFatias::percorrer(ligacao->db(), "SELECT rowid", "Pesagens", condicao, valores, intervalos, [&](QSqlQuery& q) {
            while (q.next())
                lidas << q.value(0).toLongLong();
            q.finish();
            // Another station stores a row the reading selects.
            if (++fatias == 1)
                Consulta::executar(outro, "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Data de saída\") SELECT \"Tipo de pesagem\", \"Data de saída\" "
                                          "FROM Pesagens WHERE rowid = ?", {esperadas.first()});
            return true;
        });
        std::sort(lidas.begin(), lidas.end());
        QCOMPARE(lidas, esperadas);
        const qint64 porLinha = passos.total() / lidas.size();
        QVERIFY2(porLinha < 50, qPrintable(QString("%1 steps a row read, in %2 slices").arg(porLinha).arg(fatias)));
    }

    // A slice whose rows end on a failure fails the reading, though the
    // one reading them does not look: its rows are not all the slice's.
    void fatiaInterrompidaFalha()
    {
        EstacaoTeste t;
        t.abrirBaseDados();
        semearTresAnos(t.estacao->bd(), 20000);
        bool lida = false;
        const LigacaoBd::Interrupcao depoisDaPrimeira(*t.estacao->Bd, [&] { return lida; });
        QVERIFY_THROWS_EXCEPTION(Erro, LeituraEmFatias::percorrer(t.estacao->bd(), "SELECT \"Data de saída\"", "Pesagens", {}, {}, {}, [&](QSqlQuery& q) {
            lida = q.next();
            while (q.next()) {}
            return true;
        }));
        QVERIFY(lida);
    }

    // Rows that end on a failure fail their reading, though the one reading
    // them does not look: they are not all the statement's. The failure (an
    // overflow at the 1500th row) comes once: no later statement tells of it.
    void linhasQueAcabamNumaFalha_data()
    {
        QTest::addColumn<int>("leitura");
        QTest::newRow("uma fatia de uma leitura longa") << 0;
        QTest::newRow("uma consulta guardada") << 1;
        QTest::newRow("a mesma consulta, nova, pedida durante a sua leitura") << 2;
    }
    void linhasQueAcabamNumaFalha()
    {
        QFETCH(int, leitura);
        EstacaoTeste t;
        t.abrirBaseDados();
        const QSqlDatabase db = t.estacao->bd();
        const QString falhaNaLinha = QStringLiteral("CASE WHEN %1 = 1500 THEN abs(-9223372036854775808) ELSE %1 END");
        const QString sql = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) SELECT " + falhaNaLinha.arg("i") + " FROM n";
        qint64 lidas = 0;
        const auto contar = [&](const QSqlQuery&) { return ++lidas > 0; };
        if (leitura == 0)
            semearTresAnos(db, 20000);
        QVERIFY_THROWS_EXCEPTION(Erro, leitura == 0 ? LeituraEmFatias::percorrer(db, "SELECT " + falhaNaLinha.arg("rowid"), "Pesagens", {}, {}, {}, [&](QSqlQuery& q) {
            while (q.next())
                contar(q);
            return true;
        }) : Consulta::paraCadaLinha(db, sql, {}, [&](const QSqlQuery& q) {
            if (leitura == 1)
                return contar(q);
            Consulta::paraCadaLinha(db, sql, {}, contar);
            return false;
        }));
        QCOMPARE(lidas, 1499);
    }

    // The same statement asked for while its rows are read runs as a fresh one:
    // the rows being read are all read.
    void mesmaConsultaDentroDaLeitura()
    {
        EstacaoTeste t;
        t.abrirBaseDados();
        for (int i = 0; i < 3; ++i)
            Consulta::executar(t.estacao->bd(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\") VALUES ('P')"));
        const QString depois = QStringLiteral("SELECT Pesagem FROM Pesagens WHERE Pesagem > ? ORDER BY Pesagem");
        QList<qint64> vistas;
        Consulta::paraCadaLinha(t.estacao->bd(), depois, {0}, [&](const QSqlQuery& q) {
            const qint64 pesagem = q.value(0).toLongLong();
            vistas << pesagem;
            const std::optional<QSqlRecord> seguinte = Consulta::primeiraLinha(t.estacao->bd(), depois, {pesagem});
            vistas << (seguinte ? seguinte->value(0).toLongLong() : 0);
            return true;
        });
        QCOMPARE(vistas, QList<qint64>({1, 2, 2, 3, 3, 0}));
    }
};

QTEST_GUILESS_MAIN(TesteConsulta)
#include "tst_Consulta.moc"
