#include "tables/TitulosMenu.h"

#include <QtTest>

// Each way of opening a list from each entry field opens the list whose
// answer comes back to the same pair of fields.
class TesteTitulosMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idaEVolta()
    {
        using namespace TitulosMenu;
        for (int campo = -1; campo <= 19; ++campo) {
            const bool comLista = campo >= 0 && campo <= 11;
            const int par = campo & ~1;
            const QString f1 = tituloTecla(campo, Tecla::F1, QStringLiteral("AB"));
            QCOMPARE(devolucao(f1).campoEnter, comLista ? par : -1);
            QCOMPARE(devolucao(f1).campoFoco, comLista && par == 0 ? 1 : -1);
            QCOMPARE(tituloTecla(campo, Tecla::F4, QString()), f1);
            QCOMPARE(tituloDuploClique(campo), f1);
            QCOMPARE(tituloTecla(campo, Tecla::F2, {}), campo == 0 || campo == 1 ? Viaturas : QString());
            // Down: only in an empty (or blank) code field.
            const bool codigo = comLista && campo % 2 == 0;
            QCOMPARE(tituloTecla(campo, Tecla::Baixo, QStringLiteral("  ")), codigo ? f1 : QString());
            QCOMPARE(tituloTecla(campo, Tecla::Baixo, QStringLiteral(" x")), QString());
            for (int nada : {13, 38, 114})
                QCOMPARE(tituloTecla(campo, nada, QString()), QString());
        }
        QCOMPARE(tituloTecla(0, Tecla::F1, {}), PrimeirasPesagens);
        QCOMPARE(devolucao(Viaturas).campoEnter, 0);
        for (const QString& outro : {QString(), QStringLiteral("Menu de Viaturas"), QStringLiteral("Menu de produtos "),
                                     QStringLiteral("Tabela de viaturas")})
            QCOMPARE(devolucao(outro).campoEnter, -1);
    }
};

QTEST_APPLESS_MAIN(TesteTitulosMenu)
#include "tst_TitulosMenu.moc"
