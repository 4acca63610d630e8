#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QThread>
#include <QtTest>

namespace {

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
