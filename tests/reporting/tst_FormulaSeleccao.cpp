#include "reporting/FormulaSeleccao.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"
#include "support/FusoHorario.h"

#include <QtTest>

// Each shape of selection formula the station makes, run against real rows.
class TesteFormulaSeleccao : public QObject
{
    Q_OBJECT

    EstacaoTeste t;

    QList<qint64> seleccionadas(const FormulaSeleccao::Clausula& c)
    {
        QString sql = QStringLiteral("SELECT Pesagem FROM Pesagens");
        if (!c.condicao.isEmpty())
            sql += QStringLiteral(" WHERE ") + c.condicao;
        QSqlQuery q = Consulta::executar(t.estacao->bd(), sql + QStringLiteral(" ORDER BY Pesagem"), c.valores);
        QList<qint64> v;
        while (q.next())
            v << q.value(0).toLongLong();
        return v;
    }

private Q_SLOTS:
    void initTestCase();
    void formasDaEstacao_data();
    void formasDaEstacao();
    void formasRecusadas_data();
    void formasRecusadas();
    void descricaoDoPeriodo();
    void periodoNoFuso_data();
    void periodoNoFuso();
};

void TesteFormulaSeleccao::initTestCase()
{
    t.abrirBaseDados();
    const QString sql = QStringLiteral(
        "INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\", \"Número de pesagem\", Viatura, Entidade, "
        "Transportador, \"Data de saída\") VALUES (?, ?, ?, ?, ?, ?, ?)");
    const QList<QVariantList> linhas = {
        {1, "E", 7, "12-AB-34", "Areias do Sul", "Rápidos", "1999-01-01 00:00:00"},
        {2, "G", 7, "12-AB-34", "O'Brien", "Rápidos", "1999-01-31 23:59:59"},
        {3, "A", 7, "56-CD-78", "Areias do Sul", "Lentos", "1999-02-01 00:00:00"},
        {4, "A", 7, "56-CD-78", "ÉVORA", "Lentos", "1998-12-31 23:59:59"},
        {5, "P", QVariant(), "12-AB-34", "Areias do Sul", "", QVariant()},
        {6, "T", 8, "99-ZZ-99", "areias do sul", "Rápidos", "2029-06-15 12:00:00"},
        {7, "G", 9, "99-ZZ-99", "Açores", "Rápidos", "2026-03-29 01:30:00"},
    };
    for (const QVariantList& l : linhas)
        Consulta::executar(t.estacao->bd(), sql, l);
}

void TesteFormulaSeleccao::formasDaEstacao_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QList<qint64>>("linhas");
    using L = QList<qint64>;

    QTest::newRow("vazia: tudo") << "" << L{1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("só espaços") << "   " << L{1, 2, 3, 4, 5, 6, 7};
    // After a save, the automatic weighing, "Último Documento".
    QTest::newRow("pesagem") << "{Pesagens.Pesagem} = 5" << L{5};
    QTest::newRow("pesagem inexistente") << "{Pesagens.Pesagem} = 57" << L{};
    QTest::newRow("pesagem negativa") << "{Pesagens.Pesagem} = -3" << L{};
    // The grid's double click: the row only while it keeps its kind.
    QTest::newRow("tipo e pesagem") << "{Pesagens.Tipo de pesagem} = 'P' and {Pesagens.Pesagem} = 5" << L{5};
    QTest::newRow("tipo mudado") << "{Pesagens.Tipo de pesagem} = 'E' and {Pesagens.Pesagem} = 5" << L{};
    // Second copy and cancellation: kind and document number.
    QTest::newRow("E 7 não é G 7") << "{Pesagens.Tipo de pesagem} = 'E' and {Pesagens.Número de pesagem} = 7" << L{1};
    QTest::newRow("G 7") << "{Pesagens.Tipo de pesagem} = 'G' and {Pesagens.Número de pesagem} = 7" << L{2};
    QTest::newRow("anuladas 7") << "{Pesagens.Tipo de pesagem} = 'A' and {Pesagens.Número de pesagem} = 7" << L{3, 4};
    // Statistics: the period takes its whole last day; a two-digit year is 19xx from 30.
    QTest::newRow("período") << "{Pesagens.Data de saída} in Date (1999, 01, 01) to Date (1999, 01, 31)" << L{1, 2};
    QTest::newRow("período ano curto") << "{Pesagens.Data de saída} in Date (99, 1, 1) to Date (99, 1, 31)" << L{1, 2};
    QTest::newRow("período ano 29") << "{Pesagens.Data de saída} in Date (29, 6, 15) to Date (29, 6, 15)" << L{6};
    QTest::newRow("período do ano 0") << "{Pesagens.Data de saída} in Date (0, 1, 1) to Date (29, 12, 31)" << L{6, 7};
    QTest::newRow("período e tipo")
        << "{Pesagens.Data de saída} in Date (1999, 01, 01) to Date (1999, 01, 31) and {Pesagens.Tipo de pesagem}='E'"
        << L{1};
    QTest::newRow("período e viatura")
        << "{Pesagens.Data de saída} in Date (1998, 01, 01) to Date (1999, 12, 31) and {Pesagens.Viatura} = '56-CD-78'"
        << L{3, 4};
    QTest::newRow("período e entidade, sem maiúsculas")
        << "{Pesagens.Data de saída} in Date (1990, 01, 01) to Date (2030, 12, 31) and {Pesagens.Entidade} = 'AREIAS DO SUL'"
        << L{1, 3, 6};
    QTest::newRow("período e transportador")
        << "{Pesagens.Data de saída} in Date (1990, 01, 01) to Date (2030, 12, 31) and {Pesagens.Transportador}='Lentos'"
        << L{3, 4};
    QTest::newRow("plica dobrada") << "{Pesagens.Entidade} = 'O''Brien'" << L{2};
    QTest::newRow("nomes sem maiúsculas") << "{pesagens.TIPO DE PESAGEM} = 'g' AND {Pesagens.pesagem}=2" << L{2};
    QTest::newRow("acento decomposto") << QStringLiteral("{Pesagens.Nu\u0301mero de pesagem} = 8") << L{6};
}

void TesteFormulaSeleccao::formasDaEstacao()
{
    QFETCH(QString, formula);
    QFETCH(QList<qint64>, linhas);
    QString erro;
    const auto c = FormulaSeleccao::traduzir(formula, QStringLiteral("Pesagens"), &erro);
    QVERIFY2(c, qPrintable(erro));
    QCOMPARE(seleccionadas(*c), linhas);
}

void TesteFormulaSeleccao::formasRecusadas_data()
{
    QTest::addColumn<QString>("formula");
    QTest::newRow("campo inexistente") << "{Pesagens.Foo} = 1";
    QTest::newRow("outra tabela") << "{Viaturas.Viatura}='x'";
    QTest::newRow("mês 13") << "{Pesagens.Data de saída} in Date (1999, 13, 01) to Date (1999, 12, 31)";
    QTest::newRow("31 de Fevereiro") << "{Pesagens.Data de saída} in Date (1999, 2, 31) to Date (1999, 12, 31)";
    QTest::newRow("dia não numérico") << "{Pesagens.Data de saída} in Date (1999, 1a, 01) to Date (1999, 12, 31)";
    QTest::newRow("texto sem fim") << "{Pesagens.Entidade} = 'O";
    QTest::newRow("injecção") << "{Pesagens.Entidade} = 'O'Brien' or 1=1 --'";
    QTest::newRow("texto a mais") << "{Pesagens.Pesagem} = 5 or 1=1";
    QTest::newRow("número enorme") << "{Pesagens.Pesagem} = 99999999999999999999";
    QTest::newRow("número num campo de texto") << "{Pesagens.Viatura} = 12";
    QTest::newRow("texto num campo numérico") << "{Pesagens.Pesagem} = '5'";
    QTest::newRow("período num campo sem data") << "{Pesagens.Pesagem} in Date (1999, 1, 1) to Date (1999, 1, 2)";
    QTest::newRow("and sem condição") << "{Pesagens.Pesagem} = 5 and";
    QTest::newRow("sem chavetas") << "Pesagem = 5";
    QTest::newRow("sem valor") << "{Pesagens.Pesagem} =";
    QTest::newRow("ponto e vírgula") << "{Pesagens.Pesagem} = 5; DROP TABLE Pesagens";
}

void TesteFormulaSeleccao::formasRecusadas()
{
    QFETCH(QString, formula);
    QString erro;
    QVERIFY(!FormulaSeleccao::traduzir(formula, QStringLiteral("Pesagens"), &erro));
    QVERIFY(!erro.isEmpty());
}

void TesteFormulaSeleccao::descricaoDoPeriodo()
{
    const auto c = FormulaSeleccao::traduzir(
        QStringLiteral("{Pesagens.Data de saída} in Date (1999, 01, 01) to Date (1999, 01, 31) and "
                       "{Pesagens.Produto}='Areia'"),
        QStringLiteral("Pesagens"));
    QVERIFY(c);
    QCOMPARE(c->descricao, (QStringList{"Data de saída: 01-01-1999 a 31-01-1999", "Produto: Areia"}));
}

// A day of a clock change: in the Azores the clock skips midnight, yet the
// period still begins with that day's first moment and ends before the next's.
void TesteFormulaSeleccao::periodoNoFuso_data()
{
    QTest::addColumn<QByteArray>("fuso");
    for (const char* fuso : {"UTC", "Europe/Lisbon", "Atlantic/Azores"})
        QTest::newRow(fuso) << QByteArray(fuso);
}

void TesteFormulaSeleccao::periodoNoFuso()
{
    QFETCH(QByteArray, fuso);
    const FusoHorario zona(fuso);
    QVERIFY(zona.existe());
    const auto c = FormulaSeleccao::traduzir(
        QStringLiteral("{Pesagens.Data de saída} in Date (2026, 03, 29) to Date (2026, 03, 29)"), QStringLiteral("Pesagens"));
    QVERIFY(c);
    QCOMPARE(seleccionadas(*c), QList<qint64>{7});
}

QTEST_GUILESS_MAIN(TesteFormulaSeleccao)
#include "tst_FormulaSeleccao.moc"
