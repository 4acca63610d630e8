#include "TitulosTeste.h"

#include "tables/TitulosMenu.h"

#include <QtTest>

class TesteTitulosMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tituloPorCampoETecla_data();
    void tituloPorCampoETecla();
    void devolucaoPorTitulo_data();
    void devolucaoPorTitulo();
};

// Every field and every way of opening a list, written out:
// F1, F4, F2, Down in an empty field, Down in a field of blanks, Down with
// text, double-click, and a key that opens nothing (Enter).
void TesteTitulosMenu::tituloPorCampoETecla_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("f1");
    QTest::addColumn<QString>("f4");
    QTest::addColumn<QString>("f2");
    QTest::addColumn<QString>("baixoVazio");
    QTest::addColumn<QString>("baixoBrancos");
    QTest::addColumn<QString>("baixoComTexto");
    QTest::addColumn<QString>("duploClique");
    const QString n;
    //                              campo  F1    F4    F2    Down"" Down"  " Down"x" dbl-click
    QTest::newRow("0 código viat.") << 0 << Prim << Prim << Viat << Prim << Prim << n << Prim;
    QTest::newRow("1 matrícula") << 1 << Prim << Prim << Viat << n << n << n << Prim;
    QTest::newRow("2 cód. entidade") << 2 << Ent << Ent << n << Ent << Ent << n << Ent;
    QTest::newRow("3 entidade") << 3 << Ent << Ent << n << n << n << n << Ent;
    QTest::newRow("4 cód. transp.") << 4 << Trp << Trp << n << Trp << Trp << n << Trp;
    QTest::newRow("5 transportador") << 5 << Trp << Trp << n << n << n << n << Trp;
    QTest::newRow("6 cód. produto") << 6 << Prd << Prd << n << Prd << Prd << n << Prd;
    QTest::newRow("7 produto") << 7 << Prd << Prd << n << n << n << n << Prd;
    QTest::newRow("8 cód. l. carga") << 8 << LC << LC << n << LC << LC << n << LC;
    QTest::newRow("9 local de carga") << 9 << LC << LC << n << n << n << n << LC;
    QTest::newRow("10 cód. l. desc.") << 10 << LD << LD << n << LD << LD << n << LD;
    QTest::newRow("11 local descarga") << 11 << LD << LD << n << n << n << n << LD;
    for (int campo = 12; campo <= 18; ++campo)
        QTest::addRow("%d", campo) << campo << n << n << n << n << n << n << n;
    QTest::newRow("-1 fora") << -1 << n << n << n << n << n << n << n;
    QTest::newRow("19 fora") << 19 << n << n << n << n << n << n << n;
}

void TesteTitulosMenu::tituloPorCampoETecla()
{
    QFETCH(int, campo);
    QFETCH(QString, f1);
    QFETCH(QString, f4);
    QFETCH(QString, f2);
    QFETCH(QString, baixoVazio);
    QFETCH(QString, baixoBrancos);
    QFETCH(QString, baixoComTexto);
    QFETCH(QString, duploClique);
    const QString texto = QStringLiteral("AB");
    QCOMPARE(TitulosMenu::tituloTecla(campo, 112, texto), f1);
    QCOMPARE(TitulosMenu::tituloTecla(campo, 115, texto), f4);
    QCOMPARE(TitulosMenu::tituloTecla(campo, 113, texto), f2);
    QCOMPARE(TitulosMenu::tituloTecla(campo, 40, QString()), baixoVazio);
    QCOMPARE(TitulosMenu::tituloTecla(campo, 40, QStringLiteral("   ")), baixoBrancos);
    QCOMPARE(TitulosMenu::tituloTecla(campo, 40, QStringLiteral(" x ")), baixoComTexto);
    QCOMPARE(TitulosMenu::tituloDuploClique(campo), duploClique);
    // Keys that open nothing anywhere: Enter, Up, F3.
    QCOMPARE(TitulosMenu::tituloTecla(campo, 13, QString()), QString());
    QCOMPARE(TitulosMenu::tituloTecla(campo, 38, QString()), QString());
    QCOMPARE(TitulosMenu::tituloTecla(campo, 114, QString()), QString());
    // Text in the field matters only to the Down arrow.
    QCOMPARE(TitulosMenu::tituloTecla(campo, 112, QString()), f1);
}

void TesteTitulosMenu::devolucaoPorTitulo_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("campoEnter");
    QTest::addColumn<int>("campoFoco");
    QTest::newRow("viaturas") << Viat << 0 << 1;
    QTest::newRow("primeiras pesagens") << Prim << 0 << 1;
    QTest::newRow("entidades") << Ent << 2 << -1;
    QTest::newRow("transportadores") << Trp << 4 << -1;
    QTest::newRow("produtos") << Prd << 6 << -1;
    QTest::newRow("locais de carga") << LC << 8 << -1;
    QTest::newRow("locais de descarga") << LD << 10 << -1;
    QTest::newRow("vazio (cancelado)") << QString() << -1 << -1;
    QTest::newRow("outra caixa de letra") << QStringLiteral("Menu de Viaturas") << -1 << -1;
    QTest::newRow("com espaço a mais") << QStringLiteral("Menu de produtos ") << -1 << -1;
    QTest::newRow("título de tabela") << QStringLiteral("Tabela de viaturas") << -1 << -1;
}

void TesteTitulosMenu::devolucaoPorTitulo()
{
    QFETCH(QString, titulo);
    QFETCH(int, campoEnter);
    QFETCH(int, campoFoco);
    const TitulosMenu::Devolucao d = TitulosMenu::devolucao(titulo);
    QCOMPARE(d.campoEnter, campoEnter);
    QCOMPARE(d.campoFoco, campoFoco);
}

QTEST_APPLESS_MAIN(TesteTitulosMenu)
#include "tst_TitulosMenu.moc"
