#include "platform/Conversoes.h"

#include <QtTest>
#include <limits>

// "#,##0" groups every thousand, four digits included.
class TesteAgruparMilhares : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agrupa_data()
    {
        QTest::addColumn<qint64>("valor");
        QTest::addColumn<int>("minimos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("0") << qint64(0) << 1 << "0";
        QTest::newRow("999") << qint64(999) << 1 << "999";
        QTest::newRow("1000") << qint64(1000) << 1 << "1 000";
        QTest::newRow("9000") << qint64(9000) << 1 << "9 000";
        QTest::newRow("123456") << qint64(123456) << 1 << "123 456";
        QTest::newRow("1234567") << qint64(1234567) << 1 << "1 234 567";
        QTest::newRow("-9000") << qint64(-9000) << 1 << "-9 000";
        QTest::newRow("-999") << qint64(-999) << 1 << "-999";
        QTest::newRow("#,#00 de 5") << qint64(5) << 2 << "05";
        QTest::newRow("#,#00 de -5") << qint64(-5) << 2 << "-05";
        QTest::newRow("mínimo de 64 bits") << std::numeric_limits<qint64>::min() << 1
                                           << "-9 223 372 036 854 775 808";
    }
    void agrupa()
    {
        QFETCH(qint64, valor);
        QFETCH(int, minimos);
        QFETCH(QString, texto);
        QCOMPARE(Conversoes::agruparMilhares(valor, minimos), texto.replace(u' ', QChar(0x00A0)));
        QCOMPARE(Conversoes::agruparMilhares(valor, minimos, u'.'), texto.replace(QChar(0x00A0), u'.'));
    }
};

QTEST_APPLESS_MAIN(TesteAgruparMilhares)
#include "tst_AgruparMilhares.moc"
