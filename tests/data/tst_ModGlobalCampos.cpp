#include "platform/Erro.h"
#include "data/Consulta.h"
#include "data/ModGlobalCampos.h"
#include "support/EstacaoTeste.h"
#include "support/FusoHorario.h"

#include <QtTest>

using namespace ModGlobal;

namespace {
constexpr int Ok = 0;

// Runs a conversion and gives the error number it throws, or 0.
template <typename F>
int erroDe(F f)
{
    try {
        f();
        return Ok;
    } catch (const Erro& e) {
        return e.numero;
    }
}
}  // namespace

class TesteModGlobalCampos : public QObject
{
    Q_OBJECT

    EstacaoTeste t;

    QSqlRecord linha(const QString& sql)
    {
        QSqlQuery q = Consulta::executar(t.estacao->bd(), sql);
        if (!q.next())
            qFatal("no row");
        return q.record();
    }

private Q_SLOTS:
    void initTestCase() { t.abrirBaseDados(); }

    void leitoresComNulos()
    {
        Consulta::executar(t.estacao->bd(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\") VALUES ('P')"));
        const QSqlRecord r = linha(QStringLiteral("SELECT * FROM Pesagens"));
        QCOMPARE(LerCampoTexto(r, QStringLiteral("Entidade")), QString());
        QVERIFY(!LerCampoTexto(r, QStringLiteral("Entidade")).isNull());  // the empty text, never a Null text
        QCOMPARE(LerCampoLong(r, QStringLiteral("Peso á entrada")), 0);
        QCOMPARE(LerCampoByte(r, QStringLiteral("Peso á entrada")), quint8(0));

        // A Null date is the clock's now, time of day included, at each call.
        QCOMPARE(LerCampoData(r, QStringLiteral("Data de entrada"), t.relogio), t.relogio.momento);
        t.relogio.momento = t.relogio.momento.addSecs(1);
        QCOMPARE(LerCampoData(r, QStringLiteral("Data de entrada"), t.relogio).time(), QTime(14, 30, 1));
    }

    void leitoresComValores()
    {
        Consulta::executar(t.estacao->bd(),
                           QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura, \"Peso de tara\", Data) "
                                          "VALUES (?, ?, ?, ?)"),
                           {QStringLiteral("AB12"), QStringLiteral("12-AB-34"), 12500,
                            QDateTime(QDate(2026, 12, 5), QTime(0, 0))});
        const QSqlRecord r = linha(QStringLiteral("SELECT * FROM Viaturas"));
        QCOMPARE(LerCampoTexto(r, QStringLiteral("código da VIATURA")), QStringLiteral("AB12"));
        QCOMPARE(LerCampoLong(r, QStringLiteral("Peso de tara")), 12500);
        QCOMPARE(LerCampoTexto(r, QStringLiteral("Peso de tara")), QStringLiteral("12500"));
        QCOMPARE(LerCampoData(r, QStringLiteral("Data"), t.relogio), QDateTime(QDate(2026, 12, 5), QTime(0, 0)));
        QCOMPARE(LerCampoTexto(r, QStringLiteral("Data")), QStringLiteral("05-12-2026"));

        Consulta::executar(t.estacao->bd(), QStringLiteral("UPDATE Viaturas SET Data = '2026-12-05 14:30:00'"));
        QCOMPARE(LerCampoTexto(linha(QStringLiteral("SELECT * FROM Viaturas")), QStringLiteral("Data")),
                 QStringLiteral("05-12-2026 14:30:00"));
    }

    void camposInexistentesETransbordos()
    {
        const QSqlRecord e = linha(QStringLiteral("SELECT * FROM Empresas"));
        QCOMPARE(erroDe([&] { LerCampoTexto(e, QStringLiteral("Linha 4")); }), 3265);
        QCOMPARE(erroDe([&] { LerCampoLong(e, QStringLiteral("Guias")); }), 3265);
        QCOMPARE(erroDe([&] { LerCampoData(e, QStringLiteral("Dia"), t.relogio); }), 3265);
        const QSqlRecord r = linha(QStringLiteral("SELECT 300 AS a, -1 AS b, 255 AS c, 2147483648 AS d, 'x' AS e"));
        QCOMPARE(erroDe([&] { LerCampoByte(r, QStringLiteral("a")); }), 6);
        QCOMPARE(erroDe([&] { LerCampoByte(r, QStringLiteral("b")); }), 6);
        QCOMPARE(LerCampoByte(r, QStringLiteral("c")), quint8(255));
        QCOMPARE(erroDe([&] { LerCampoLong(r, QStringLiteral("d")); }), 6);
        QCOMPARE(erroDe([&] { LerCampoData(r, QStringLiteral("e"), t.relogio); }), 13);
    }

    void varLong_data()
    {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("esperado");
        QTest::addColumn<int>("erro");
        QTest::newRow("texto de dígitos") << QVariant(QStringLiteral("1234")) << 1234 << Ok;
        QTest::newRow("vazio (sem valor)") << QVariant() << 0 << Ok;
        QTest::newRow("Null") << QVariant(QMetaType::fromType<qlonglong>()) << 0 << Ok;
        QTest::newRow("texto vazio não é número") << QVariant(QStringLiteral("")) << 0 << 13;
        QTest::newRow("12a") << QVariant(QStringLiteral("12a")) << 0 << 13;
        QTest::newRow("2.5 arredonda para 2") << QVariant(2.5) << 2 << Ok;
        QTest::newRow("vírgula decimal") << QVariant(QStringLiteral("2,5")) << 2 << Ok;
        QTest::newRow("fora de 32 bits") << QVariant(QStringLiteral("99999999999")) << 0 << 6;
    }

    void varLong()
    {
        QFETCH(QVariant, valor);
        QFETCH(int, esperado);
        QFETCH(int, erro);
        qint32 obtido = -1;
        QCOMPARE(erroDe([&] { obtido = VarLong(valor); }), erro);
        if (erro == Ok)
            QCOMPARE(obtido, esperado);
    }

    void varDataEVarTexto()
    {
        const QVariant nulo(QMetaType::fromType<QString>());
        QCOMPARE(VarData(nulo, t.relogio), t.relogio.momento);
        QCOMPARE(VarData(QVariant(), t.relogio), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
        QCOMPARE(VarData(QStringLiteral("05-12-2026 14:30:00"), t.relogio), QDateTime(QDate(2026, 12, 5), QTime(14, 30)));
        QCOMPARE(erroDe([&] { VarData(QStringLiteral("31-02-2026 10:00:00"), t.relogio); }), 13);
        {
            const FusoHorario acores("Atlantic/Azores");  // 29-03-2026 has no midnight there
            QVERIFY(acores.existe());
            QCOMPARE(VarData(QDate(2026, 3, 29), t.relogio), QDateTime(QDate(2026, 3, 29), QTime(1, 0)));
            QCOMPARE(VarTexto(QDate(2026, 3, 29)), QStringLiteral("29-03-2026 01:00:00"));
        }

        QCOMPARE(VarTexto(nulo), QString());
        QCOMPARE(VarTexto(QVariant()), QString());
        QCOMPARE(VarTexto(1234), QStringLiteral("1234"));
        QCOMPARE(VarTexto(2.5), QStringLiteral("2,5"));
        QCOMPARE(VarTexto(QDateTime(QDate(2026, 12, 5), QTime(0, 0))), QStringLiteral("05-12-2026"));
        QCOMPARE(VarTexto(QStringLiteral("D'Ouro")), QStringLiteral("D'Ouro"));
    }
};

QTEST_GUILESS_MAIN(TesteModGlobalCampos)
#include "tst_ModGlobalCampos.moc"
