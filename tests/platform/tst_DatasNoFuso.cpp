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
    void fusoDoConjunto();
    void numeroDeData_data();
    void numeroDeData();
    void mudancaDaHora_data();
    void mudancaDaHora();
};

// The zone the suite was started in really applies: without the zone's data
// the C library takes UTC without a word, and the Lisbon run would prove nothing.
void TesteDatasNoFuso::fusoDoConjunto()
{
    const QByteArray tz = qgetenv("TZ");
    auto desvio = [](int mes) { return QDateTime(QDate(2026, mes, 15), QTime(12, 0)).offsetFromUtc(); };
    if (tz == "Europe/Lisbon") {
        QVERIFY2(QTimeZone(tz).isValid(), "no data for Europe/Lisbon: install the package tzdata");
        QCOMPARE(desvio(1), 0);
        QCOMPARE(desvio(7), 3600);
        QCOMPARE(QDateTime(QDate(1899, 12, 30), QTime(0, 0)).offsetFromUtc(), -2205);  // -0:36:45
    } else if (tz == "UTC") {
        QCOMPARE(desvio(1), 0);
        QCOMPARE(desvio(7), 0);
    } else {
        QSKIP("TZ is neither UTC nor Europe/Lisbon: the suite was not started by scripts/test");
    }
}

void TesteDatasNoFuso::numeroDeData_data()
{
    QTest::addColumn<QByteArray>("fuso");
    QTest::addColumn<QString>("guardada");
    QTest::addColumn<double>("numero");  // NaN: no number
    const double nenhum = qQNaN();
    for (const char* fuso : {"UTC", "Europe/Lisbon", "Atlantic/Azores"}) {
        const QByteArray f(fuso);
        QTest::newRow(QByteArray(f + ": Inverno")) << f << "2026-01-15 00:00:00" << 46037.0;
        QTest::newRow(QByteArray(f + ": Verão")) << f << "2026-07-15 00:00:00" << 46218.0;
        QTest::newRow(QByteArray(f + ": meio-dia")) << f << "2026-07-15 12:00:00" << 46218.5;
        QTest::newRow(QByteArray(f + ": dia da mudança")) << f << "2026-03-29 00:00:00" << 46110.0;
        QTest::newRow(QByteArray(f + ": data zero")) << f << "1899-12-30 00:00:00" << 0.0;
        QTest::newRow(QByteArray(f + ": antes da data zero")) << f << "1899-12-29 06:00:00" << -1.25;
        QTest::newRow(QByteArray(f + ": 1900")) << f << "1900-01-01 00:00:00" << 2.0;
        QTest::newRow(QByteArray(f + ": não guardada")) << f << "15-01-2026" << nenhum;
    }
}

void TesteDatasNoFuso::numeroDeData()
{
    QFETCH(QByteArray, fuso);
    QFETCH(QString, guardada);
    QFETCH(double, numero);
    const FusoHorario zona(fuso);
    QVERIFY(zona.existe());
    const std::optional<double> obtido = Conversoes::numeroDeData(guardada);
    QCOMPARE(obtido.has_value(), !qIsNaN(numero));
    if (obtido)
        QCOMPARE(*obtido, numero);
}

void TesteDatasNoFuso::mudancaDaHora_data()
{
    QTest::addColumn<QByteArray>("fuso");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("lida");  // as shown; "recusada" when refused (13)
    const QByteArray lisboa("Europe/Lisbon"), acores("Atlantic/Azores");
    // Lisbon, 29-03-2026: 01:00 becomes 02:00; 25-10-2026: 02:00 becomes 01:00.
    QTest::newRow("Lisboa: escrita na hora saltada") << lisboa << "29-03-2026 01:30" << "recusada";
    QTest::newRow("Lisboa: escrita depois do salto") << lisboa << "29-03-2026 02:30" << "29-03-2026 02:30:00";
    QTest::newRow("Lisboa: escrita na hora repetida") << lisboa << "25-10-2026 01:30" << "25-10-2026 01:30:00";
    QTest::newRow("Lisboa: guardada na hora saltada") << lisboa << "2026-03-29 01:30:00" << "29-03-2026 02:30:00";
    QTest::newRow("Lisboa: guardada depois do salto") << lisboa << "2026-03-29 03:30:00" << "29-03-2026 03:30:00";
    QTest::newRow("Lisboa: 1900, hora média local") << lisboa << "01-01-1900 10:00" << "01-01-1900 10:00:00";
    // The Azores, 29-03-2026: midnight becomes 01:00, so that day has no midnight.
    QTest::newRow("Açores: só a data, sem meia-noite") << acores << "29-03-2026" << "29-03-2026 01:00:00";
    QTest::newRow("Açores: guardada na hora saltada") << acores << "2026-03-29 00:30:00" << "29-03-2026 01:30:00";
    QTest::newRow("Açores: escrita na hora saltada") << acores << "29-03-2026 00:30" << "recusada";
    QTest::newRow("Açores: dia seguinte") << acores << "30-03-2026" << "30-03-2026";
}

// A typed or stored date around a change of the clock: always a real moment
// of the station's clock on that day, or refused; never an invalid date
// (which would be stored as an empty text, or shown as none).
void TesteDatasNoFuso::mudancaDaHora()
{
    QFETCH(QByteArray, fuso);
    QFETCH(QString, texto);
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
}

QTEST_GUILESS_MAIN(TesteDatasNoFuso)
#include "tst_DatasNoFuso.moc"
