#include "platform/Conversoes.h"
#include "platform/Erro.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <limits>

namespace {
// The error number a conversion throws, or 0.
template <typename F>
int erroDe(F f)
{
    try {
        f();
    } catch (const Erro& e) {
        return e.numero;
    }
    return 0;
}
}  // namespace

class TesteConversoes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void val_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("esperado");
        QTest::newRow("espaços em qualquer lugar") << " 60 000 " << 60000.0;
        QTest::newRow("tabulação e mudança de linha") << "1\t2\n3" << 123.0;
        QTest::newRow("negativo decimal") << "-2.5" << -2.5;
        QTest::newRow("sinal mais") << "+7" << 7.0;
        QTest::newRow("expoente") << "1e3" << 1000.0;
        QTest::newRow("expoente D") << "2D2" << 200.0;
        QTest::newRow("expoente sem dígitos") << "4E" << 4.0;
        QTest::newRow("hexadecimal") << "&H1F" << 31.0;
        QTest::newRow("hexadecimal com a, A e 0") << "&HaA0" << 2720.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("texto antes") << "COM1" << 0.0;
        QTest::newRow("texto depois") << "12abc" << 12.0;
        QTest::newRow("vírgula não é decimal") << "1,5" << 1.0;
        QTest::newRow("vazio") << "" << 0.0;
        QTest::newRow("só sinal") << "-" << 0.0;
        QTest::newRow("segundo ponto pára") << "1.2.3" << 1.2;
    }
    void val()
    {
        QFETCH(QString, texto);
        QFETCH(double, esperado);
        QCOMPARE(Conversoes::Val(texto), esperado);
    }

    void inteiros_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<int>("cint");     // 0 when CInt overflows
        QTest::addColumn<qint64>("clng");  // 0 when CLng overflows
        QTest::newRow("metade para o par abaixo") << 2.5 << 2 << qint64(2);
        QTest::newRow("metade para o par acima") << 3.5 << 4 << qint64(4);
        QTest::newRow("metade negativa") << -2.5 << -2 << qint64(-2);
        QTest::newRow("arredonda") << 2.6 << 3 << qint64(3);
        QTest::newRow("limite 16 bits") << 32767.0 << 32767 << qint64(32767);
        QTest::newRow("mínimo 16 bits") << -32768.0 << -32768 << qint64(-32768);
        QTest::newRow("32767.5 arredonda para fora") << 32767.5 << 0 << qint64(32768);
        QTest::newRow("limite 32 bits") << 2147483647.0 << 0 << qint64(2147483647);
        QTest::newRow("acima de 32 bits") << 2147483648.0 << 0 << qint64(0);
    }
    void inteiros()
    {
        QFETCH(double, valor);
        QFETCH(int, cint);
        QFETCH(qint64, clng);
        qint64 obtido = 0;
        QCOMPARE(erroDe([&] { obtido = Conversoes::CInt(valor); }), cint ? 0 : 6);
        QCOMPARE(obtido, qint64(cint));
        obtido = 0;
        QCOMPARE(erroDe([&] { obtido = Conversoes::CLng(valor); }), clng ? 0 : 6);
        QCOMPARE(obtido, clng);
    }

    void datas_data()
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
        QTest::newRow("hora colada ao ano") << "05-03-202410:20" << QDateTime();
        QTest::newRow("texto") << "amanhã" << QDateTime();
    }
    void datas()
    {
        QFETCH(QString, texto);
        QFETCH(QDateTime, esperado);
        QDateTime obtido;
        QCOMPARE(erroDe([&] { obtido = Conversoes::CDate(texto); }), esperado.isValid() ? 0 : 13);
        QCOMPARE(obtido, esperado);
    }

    void dataComoTexto()
    {
        QCOMPARE(Conversoes::textoDeData(QDateTime(QDate(2026, 12, 5), QTime(0, 0))), u"05-12-2026"_qs);
        QCOMPARE(Conversoes::textoDeData(QDateTime(QDate(2026, 12, 5), QTime(14, 30))), u"05-12-2026 14:30:00"_qs);
        const QDateTime d(QDate(2026, 1, 2), QTime(3, 4, 5));
        QCOMPARE(Conversoes::dataParaBd(d), QStringLiteral("2026-01-02 03:04:05"));
        QCOMPARE(Conversoes::dataDeBd(Conversoes::dataParaBd(d)).value(), d);
        QVERIFY(!Conversoes::dataDeBd(QStringLiteral("2026-01-02T03:04:05.000")).has_value());
    }

    void dataNaHoraSaltadaPeloRelogio()
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
        QVERIFY(d.has_value() && d->isValid());
        QCOMPARE(d->date(), QDate(2026, 3, 29));
        QCOMPARE(normal.value().time(), QTime(3, 30));
    }

    // "#,##0" groups every thousand, four digits included.
    void agruparMilhares_data()
    {
        QTest::addColumn<qint64>("valor");
        QTest::addColumn<int>("minimos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("999") << qint64(999) << 1 << "999";
        QTest::newRow("9000") << qint64(9000) << 1 << "9 000";
        QTest::newRow("123456") << qint64(123456) << 1 << "123 456";
        QTest::newRow("1234567") << qint64(1234567) << 1 << "1 234 567";
        QTest::newRow("-9000") << qint64(-9000) << 1 << "-9 000";
        QTest::newRow("-999") << qint64(-999) << 1 << "-999";
        QTest::newRow("#,#00 de 0") << qint64(0) << 2 << "00";
        QTest::newRow("#,#00 de -5") << qint64(-5) << 2 << "-05";
        QTest::newRow("mínimo de 64 bits") << std::numeric_limits<qint64>::min() << 1 << "-9 223 372 036 854 775 808";
    }
    void agruparMilhares()
    {
        QFETCH(qint64, valor);
        QFETCH(int, minimos);
        QFETCH(QString, texto);
        QCOMPARE(Conversoes::agruparMilhares(valor, minimos), texto.replace(u' ', QChar(0x00A0)));
        QCOMPARE(Conversoes::agruparMilhares(valor, minimos, u'.'), texto.replace(QChar(0x00A0), u'.'));
    }

    // A weight: grouped, then " kg" after a no-break space.
    void textoPeso()
    {
        QCOMPARE(Conversoes::textoPeso(1250), QStringLiteral("1\u00A0250\u00A0kg"));
        QCOMPARE(Conversoes::textoPeso(-3400), QStringLiteral("-3\u00A0400\u00A0kg"));
    }

    // Text in the database's own order: each pair compared by SQLite under NOCASE too.
    void compararSemMaiusculas_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("A a Z dobrados") << "ZONA AREIA" << "zona areia";
        QTest::newRow("acentos não") << "Évora" << "évora";
        QTest::newRow("maiúscula antes de _") << "_x" << "Ax";
        QTest::newRow("prefixo primeiro") << "Brita" << "brita 2";
        QTest::newRow("letra diferente") << "abc" << "ABD";
    }
    void compararSemMaiusculas()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const QString nome = QStringLiteral("nocase");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            db.setDatabaseName(QStringLiteral(":memory:"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.prepare(QStringLiteral("SELECT CASE WHEN ? = ? COLLATE NOCASE THEN 0 "
                                             "WHEN ? < ? COLLATE NOCASE THEN -1 ELSE 1 END")));
            for (const QString& v : {a, b, a, b})
                q.addBindValue(v);
            QVERIFY(q.exec() && q.next());
            const int base = q.value(0).toInt();
            const auto sinal = [](int v) { return (v > 0) - (v < 0); };
            QCOMPARE(sinal(Conversoes::compararSemMaiusculas(a, b)), base);
            QCOMPARE(sinal(Conversoes::compararSemMaiusculas(b, a)), -base);
        }
        QSqlDatabase::removeDatabase(nome);
    }
};

QTEST_GUILESS_MAIN(TesteConversoes)
#include "tst_Conversoes.moc"
