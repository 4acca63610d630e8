#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "support/FusoHorario.h"

#include <QtTest>

// Dates where the station runs: Portugal's time zones, with summer time, a
// local mean time until 1912 in Lisbon, and the Azores' clock change at
// midnight. The suite runs under UTC and under Europe/Lisbon; these tests set
// the zone they need themselves.
class TesteDatasNoFuso : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The zone the suite was started in really applies: without the zone's data
    // the C library takes UTC without a word, and the Lisbon run would prove nothing.
    void fusoDoConjunto()
    {
        const QByteArray tz = qgetenv("TZ");
        auto desvio = [](int mes) { return QDateTime(QDate(2026, mes, 15), QTime(12, 0)).offsetFromUtc(); };
        if (tz == "Europe/Lisbon") {
            QVERIFY2(QTimeZone(tz).isValid(), "no data for Europe/Lisbon: install the package tzdata");
            QCOMPARE(desvio(7), 3600);
            QCOMPARE(QDateTime(QDate(1899, 12, 30), QTime(0, 0)).offsetFromUtc(), -2205);  // -0:36:45
        } else if (tz == "UTC") {
            QCOMPARE(desvio(7), 0);
        } else {
            QSKIP("TZ is neither UTC nor Europe/Lisbon: the suite was not started by scripts/test");
        }
    }

    void datas_data()
    {
        QTest::addColumn<QByteArray>("fuso");
        QTest::addColumn<QString>("texto");   // typed, or stored
        QTest::addColumn<QString>("lida");    // as shown; "recusada" when refused (13)
        QTest::addColumn<double>("numero");   // the day count of a stored date; NaN: none
        const QByteArray lisboa("Europe/Lisbon"), acores("Atlantic/Azores");
        const double nenhum = qQNaN();
        QTest::newRow("Lisboa: Inverno") << lisboa << "2026-01-15 00:00:00" << "15-01-2026" << 46037.0;
        QTest::newRow("Lisboa: Verão, meio-dia") << lisboa << "2026-07-15 12:00:00" << "15-07-2026 12:00:00" << 46218.5;
        QTest::newRow("Lisboa: dia zero") << lisboa << "1899-12-30 06:00:00" << "30-12-1899 06:00:00" << 0.25;
        QTest::newRow("Lisboa: antes do dia zero") << lisboa << "1899-12-29 06:00:00" << "29-12-1899 06:00:00" << -1.25;
        // Lisbon, 29-03-2026: 01:00 becomes 02:00; 25-10-2026: 02:00 becomes 01:00.
        QTest::newRow("Lisboa: escrita na hora saltada") << lisboa << "29-03-2026 01:30" << "recusada" << nenhum;
        QTest::newRow("Lisboa: escrita na hora repetida") << lisboa << "25-10-2026 01:30" << "25-10-2026 01:30:00" << nenhum;
        // The Azores, 29-03-2026: midnight becomes 01:00, so that day has no midnight.
        QTest::newRow("Açores: só a data, sem meia-noite") << acores << "29-03-2026" << "29-03-2026 01:00:00" << nenhum;
        QTest::newRow("Açores: guardada na hora saltada") << acores << "2026-03-29 00:30:00" << "29-03-2026 01:30:00" << 46110 + 1 / 48.0;
        QTest::newRow("Açores: dia seguinte") << acores << "30-03-2026" << "30-03-2026" << nenhum;
    }

    // A typed or stored date: always a real moment of the station's clock on
    // that day, or refused, never an invalid date (stored as an empty text, or
    // shown as none); a stored one counted in calendar days, never through the zone.
    void datas()
    {
        QFETCH(QByteArray, fuso);
        QFETCH(QString, texto);
        QFETCH(double, numero);
        const FusoHorario zona(fuso);
        QVERIFY(zona.existe());
        QString lida = QStringLiteral("recusada");
        try {
            const QDateTime d = Conversoes::CDate(texto);
            lida = d.isValid() ? Conversoes::textoDeData(d) : QStringLiteral("inválida");
        } catch (const Erro& e) {
            QCOMPARE(e.numero, 13);
        }
        QTEST(lida, "lida");
        const std::optional<double> obtido = Conversoes::numeroDeData(texto);
        QCOMPARE(obtido.has_value(), !qIsNaN(numero));
        if (obtido)
            QCOMPARE(*obtido, numero);
    }
};

QTEST_GUILESS_MAIN(TesteDatasNoFuso)
#include "tst_DatasNoFuso.moc"
