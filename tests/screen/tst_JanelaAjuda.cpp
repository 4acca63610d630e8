#include "screen/JanelaAjuda.h"
#include "screen/JanelasPrincipal.h"
#include "support/EstacaoTeste.h"
#include "tables/DestinoEscolha.h"

#include <QFile>
#include <QTextBrowser>
#include <QtTest>

namespace {
struct SemDestino : DestinoEscolha
{
    void setTxt(int, const QString&) override {}
};
}  // namespace

// "Tópicos de ajuda" shows the page shipped in the program's folder in a
// window of the station, not modal, one per main window.
class TesteJanelaAjuda : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagina_data()
    {
        QTest::addColumn<bool>("comPagina");
        QTest::addColumn<QStringList>("textos");
        QTest::newRow("página instalada") << true
            << QStringList{"Teclas nos campos do ecrã de pesagem", "F12", "Listas de consulta", "Vermelho",
                           "Indicador de peso desligado"};
        QTest::newRow("página em falta") << false << QStringList{"Não foi encontrada a página de ajuda"};
    }

    void pagina()
    {
        QFETCH(bool, comPagina);
        QFETCH(QStringList, textos);
        EstacaoTeste t(false);
        if (comPagina)
            QVERIFY(QFile::copy(QStringLiteral(AJUDA_HTML), t.caminho(QStringLiteral("ajuda.html"))));
        QWidget principal;
        SemDestino destino;
        JanelasPrincipal janelas(*t.estacao, destino, &principal);
        janelas.Ajuda();
        janelas.Ajuda();

        const QList<JanelaAjuda*> abertas = principal.findChildren<JanelaAjuda*>();
        QCOMPARE(abertas.size(), 1);
        QVERIFY(abertas[0]->isVisible());
        QVERIFY(!abertas[0]->isModal());
        QCOMPARE(abertas[0]->windowTitle(), QStringLiteral("Tópicos de ajuda"));
        const QString texto = abertas[0]->findChild<QTextBrowser*>(QStringLiteral("txtAjuda"))->toPlainText();
        for (const QString& esperado : textos)
            QVERIFY2(texto.contains(esperado), qPrintable(esperado));
        QVERIFY(t.sistema.programas.isEmpty());  // no outside browser
    }
};

QTEST_MAIN(TesteJanelaAjuda)
#include "tst_JanelaAjuda.moc"
