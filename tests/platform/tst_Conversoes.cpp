#include "platform/Conversoes.h"
#include "platform/Erro.h"

#include <QtTest>

class TesteConversoes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void val_data();
    void val();
    void inteiros_data();
    void inteiros();
    void datas_data();
    void datas();
    void dataComoTexto();
    void dataNaHoraSaltadaPeloRelogio();
};

void TesteConversoes::val_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("esperado");
    QTest::newRow("inteiro") << "20" << 20.0;
    QTest::newRow("espaços em qualquer lugar") << " 60 000 " << 60000.0;
    QTest::newRow("tabulação e mudança de linha") << "1\t2\n3" << 123.0;
    QTest::newRow("decimal") << "2.5" << 2.5;
    QTest::newRow("negativo") << "-5" << -5.0;
    QTest::newRow("sinal mais") << "+7" << 7.0;
    QTest::newRow("expoente") << "1e3" << 1000.0;
    QTest::newRow("expoente D") << "2D2" << 200.0;
    QTest::newRow("expoente sem dígitos") << "4E" << 4.0;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("texto antes") << "COM1" << 0.0;
    QTest::newRow("texto depois") << "12abc" << 12.0;
    QTest::newRow("vírgula não é decimal") << "1,5" << 1.0;
    QTest::newRow("vazio") << "" << 0.0;
    QTest::newRow("só sinal") << "-" << 0.0;
    QTest::newRow("segundo ponto pára") << "1.2.3" << 1.2;
}

void TesteConversoes::val()
{
    QFETCH(QString, texto);
    QFETCH(double, esperado);
    QCOMPARE(Conversoes::Val(texto), esperado);
}

void TesteConversoes::inteiros_data()
{
    QTest::addColumn<double>("valor");
    QTest::addColumn<int>("cint");   // -99999 when CInt overflows
    QTest::addColumn<qint64>("clng"); // -9999999999 when CLng overflows
    QTest::newRow("metade para o par abaixo") << 2.5 << 2 << qint64(2);
    QTest::newRow("metade para o par acima") << 3.5 << 4 << qint64(4);
    QTest::newRow("metade negativa") << -2.5 << -2 << qint64(-2);
    QTest::newRow("arredonda") << 2.6 << 3 << qint64(3);
    QTest::newRow("limite 16 bits") << 32767.0 << 32767 << qint64(32767);
    QTest::newRow("mínimo 16 bits") << -32768.0 << -32768 << qint64(-32768);
    QTest::newRow("acima de 16 bits") << 32768.0 << -99999 << qint64(32768);
    QTest::newRow("32767.5 arredonda para fora") << 32767.5 << -99999 << qint64(32768);
    QTest::newRow("limite 32 bits") << 2147483647.0 << -99999 << qint64(2147483647);
    QTest::newRow("acima de 32 bits") << 2147483648.0 << -99999 << qint64(-9999999999);
}

void TesteConversoes::inteiros()
{
    QFETCH(double, valor);
    QFETCH(int, cint);
    QFETCH(qint64, clng);
    if (cint == -99999) {
        try {
            Conversoes::CInt(valor);
            QFAIL("CInt should overflow");
        } catch (const Erro& e) {
            QCOMPARE(e.numero, 6);
        }
    } else {
        QCOMPARE(int(Conversoes::CInt(valor)), cint);
    }
    if (clng == -9999999999) {
        QVERIFY_THROWS_EXCEPTION(Erro, Conversoes::CLng(valor));
    } else {
        QCOMPARE(qint64(Conversoes::CLng(valor)), clng);
    }
}

void TesteConversoes::datas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QDateTime>("esperado");  // invalid: refused with 13
    QTest::newRow("com hora") << "05-12-2026 14:30:00" << QDateTime(QDate(2026, 12, 5), QTime(14, 30));
    QTest::newRow("barras e hora sem segundos") << "5/12/2026 9:05" << QDateTime(QDate(2026, 12, 5), QTime(9, 5));
    QTest::newRow("pontos, só data") << "05.12.2026" << QDateTime(QDate(2026, 12, 5), QTime(0, 0));
    QTest::newRow("ano de dois dígitos 20xx") << "01-01-29" << QDateTime(QDate(2029, 1, 1), QTime(0, 0));
    QTest::newRow("ano de dois dígitos 19xx") << "01-01-30" << QDateTime(QDate(1930, 1, 1), QTime(0, 0));
    QTest::newRow("forma guardada") << "2026-12-05 14:30:00" << QDateTime(QDate(2026, 12, 5), QTime(14, 30));
    QTest::newRow("31 de Fevereiro") << "31-02-2026 10:00:00" << QDateTime();
    QTest::newRow("mês 13 não se troca com o dia") << "12-13-2026" << QDateTime();
    QTest::newRow("hora impossível") << "05-12-2026 25:00" << QDateTime();
    QTest::newRow("texto") << "amanhã" << QDateTime();
    QTest::newRow("vazio") << "" << QDateTime();
}

void TesteConversoes::datas()
{
    QFETCH(QString, texto);
    QFETCH(QDateTime, esperado);
    if (!esperado.isValid()) {
        try {
            Conversoes::CDate(texto);
            QFAIL("CDate should refuse the text");
        } catch (const Erro& e) {
            QCOMPARE(e.numero, 13);
        }
        return;
    }
    QCOMPARE(Conversoes::CDate(texto), esperado);
}

void TesteConversoes::dataComoTexto()
{
    QCOMPARE(Conversoes::textoDeData(QDateTime(QDate(2026, 12, 5), QTime(0, 0))), QStringLiteral("05-12-2026"));
    QCOMPARE(Conversoes::textoDeData(QDateTime(QDate(2026, 12, 5), QTime(14, 30))), QStringLiteral("05-12-2026 14:30:00"));
    const QDateTime d(QDate(2026, 1, 2), QTime(3, 4, 5));
    QCOMPARE(Conversoes::dataParaBd(d), QStringLiteral("2026-01-02 03:04:05"));
    QCOMPARE(Conversoes::dataDeBd(Conversoes::dataParaBd(d)).value(), d);
    QVERIFY(!Conversoes::dataDeBd(QStringLiteral("2026-01-02T03:04:05.000")).has_value());
}

void TesteConversoes::dataNaHoraSaltadaPeloRelogio()
{
    // 29 March 2026, 01:00 to 02:00 does not exist in Lisbon: the clock went to 02:00.
    const QByteArray antes = qgetenv("TZ");
    qputenv("TZ", "Europe/Lisbon");
    const auto d = Conversoes::dataDeBd(QStringLiteral("2026-03-29 01:30:00"));
    const auto normal = Conversoes::dataDeBd(QStringLiteral("2026-03-29 03:30:00"));
    if (antes.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", antes);
    QVERIFY(d.has_value());
    QVERIFY(d->isValid());
    QCOMPARE(d->date(), QDate(2026, 3, 29));
    QVERIFY(normal.has_value());
    QCOMPARE(normal->time(), QTime(3, 30));
}

QTEST_GUILESS_MAIN(TesteConversoes)
#include "tst_Conversoes.moc"
