#include "BancadaRegistos.h"

#include <QtTest>

// The first weighing stored with a second one: the identified one, or in
// manual mode what the operator typed; never the moment of another vehicle.
class TestePrimeiraDaSegunda : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primeira_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("origem");     // lblB1 as the identification left it
        QTest::addColumn<QDateTime>("identificada");
        QTest::addColumn<QString>("data");       // typed in the boxes 14 and 15
        QTest::addColumn<QString>("hora");
        QTest::addColumn<QString>("guardada");   // "Data de entrada"; empty: refused
        QTest::addColumn<QString>("origemGuardada");

        const QDateTime pendente(QDate(2026, 12, 4), QTime(9, 15, 42));
        const QDateTime outra(QDate(2026, 12, 5), QTime(14, 30, 17));  // the vehicle weighed before
        QTest::newRow("manual logo após o arranque") << "SM" << "" << QDateTime() << "04-12-2026" << "08:10"
                                                     << "2026-12-04 08:10:00" << "PM";
        QTest::newRow("manual sem pendente após outra viatura") << "SM" << "" << outra << "05-12-2026" << "14:30"
                                                                << "2026-12-05 14:30:00" << "PM";
        QTest::newRow("manual com pendente") << "SM" << "B2" << pendente << "04-12-2026" << "09:15"
                                             << "2026-12-04 09:15:42" << "B2";
        QTest::newRow("manual com data corrigida") << "SM" << "B1" << pendente << "03-12-2026" << "18:00"
                                                   << "2026-12-03 18:00:00" << "B1";
        QTest::newRow("manual com data impossível") << "SM" << "" << outra << "31-02-2026" << "08:10" << "" << "";
        QTest::newRow("manual sem hora") << "SM" << "" << outra << "04-12-2026" << "" << "" << "";
        QTest::newRow("ponte com pendente") << "SP" << "B1" << pendente << "" << "" << "2026-12-04 09:15:42" << "B1";
        QTest::newRow("ponte com tara da ficha") << "SP" << "FV" << pendente << "" << "" << "2026-12-04 09:15:42"
                                                 << "FV";
        QTest::newRow("ponte sem primeira") << "SP" << "" << outra << "" << "" << "" << "";
    }

    void primeira()
    {
        QFETCH(QString, modo);
        QFETCH(QString, origem);
        QFETCH(QDateTime, identificada);
        QFETCH(QString, data);
        QFETCH(QString, hora);
        QFETCH(QString, guardada);
        QFETCH(QString, origemGuardada);

        BancadaRegistos b(true);
        b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"),
                  QStringLiteral("30000"), OpcaoDocumento::Guia, modo);
        b.ecra.b1 = origem;
        b.ecra.dataPrimeira = identificada;
        b.ecra.campos[Txt::DataEntrada] = data;
        b.ecra.campos[Txt::HoraEntrada] = hora;
        b.ecra.campos[Txt::DataSaida] = QStringLiteral("05-12-2026");
        b.ecra.campos[Txt::HoraSaida] = QStringLiteral("16:00");

        b.gravacao->GravarSegundaPesagem();

        if (guardada.isEmpty()) {
            QCOMPARE(b.t.mensagens.caixas.size(), 1);
            QCOMPARE(b.t.mensagens.caixas[0].texto, QStringLiteral("Data ou hora da 1a.Pesagem inválida"));
            QCOMPARE(BancadaRegistos::contarLinhas(b.bd()) + BancadaRegistos::contarLinhas(b.backup()), 0);
            QCOMPARE(BancadaRegistos::contador(b.bd(), QStringLiteral("Guia")), 0);
            return;
        }
        QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));
        for (const QSqlDatabase& db : {b.bd(), b.backup()}) {
            const QVariantMap l = BancadaRegistos::linhas(db).value(0);
            QCOMPARE(l.value(QStringLiteral("Data de entrada")).toString(), guardada);
            QCOMPARE(l.value(QStringLiteral("Hora de entrada")).toString(), guardada.mid(11, 5));
            QCOMPARE(l.value(QStringLiteral("Báscula de entrada")).toString(), origemGuardada);
        }
    }
};

QTEST_MAIN(TestePrimeiraDaSegunda)
#include "tst_PrimeiraDaSegunda.moc"
