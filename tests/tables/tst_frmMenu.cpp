#include "DestinoFalso.h"
#include "Semente.h"
#include "TitulosTeste.h"

#include "support/EstacaoTeste.h"
#include "tables/ListaEscolha.h"
#include "tables/frmMenu.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

namespace {

// A station with a few rows, and the weighing screen's side of an opening:
// the title set and the hourglass on before the window is made.
struct Posto
{
    EstacaoTeste t;
    DestinoFalso destino;
    std::unique_ptr<frmMenu> janela;

    Posto()
    {
        t.abrirBaseDados();
        const QSqlDatabase db = t.estacao->bd();
        Semente::inserir(db, "Viaturas", {{"Código da viatura", "V1"}, {"Viatura", "11-AA-11"}, {"Peso de tara", 9}});
        Semente::inserir(db, "Viaturas", {{"Código da viatura", "V2"}, {"Viatura", "22-BB-22"}, {"Peso de tara", 10}});
        Semente::inserir(db, "Viaturas", {{"Código da viatura", "V3"}, {"Viatura", "33-CC-33"}, {"Peso de tara", 11}});
        Semente::codigo(db, "Entidades", "E1", "Quinta D'Ouro");
    }

    frmMenu& abrir(const QString& titulo)
    {
        t.estacao->Acesso.TituloMenu = titulo;
        t.mensagens.CursorOcupado(true);
        janela = std::make_unique<frmMenu>(*t.estacao, destino);
        janela->show();
        janela->activateWindow();
        if (!QTest::qWaitForWindowActive(janela.get()))
            qWarning("the window did not become active");
        return *janela;
    }

    template <typename T>
    T* filho(const char* nome) const
    {
        return janela->findChild<T*>(QString::fromLatin1(nome));
    }
    QTreeView* lst() const { return filho<QTreeView>("lst"); }
    QPushButton* cmd(int i) const { return janela->findChild<QPushButton*>(QStringLiteral("cmd%1").arg(i)); }
    QString titulo() const { return t.estacao->Acesso.TituloMenu; }
    QString texto(int linha, int coluna = 0) const
    {
        return lst()->model()->index(linha, coluna).data().toString();
    }
    QPoint centroLinha(int linha) const { return lst()->visualRect(lst()->model()->index(linha, 0)).center(); }
};

}  // namespace

class TesteFrmMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abreComAsLinhasEColunas();
    void primeiroEnterSelecionaSegundoCopia();
    void setaAbaixoSelecionaAProxima();
    void cancelamentos_data();
    void cancelamentos();
    void tabelaVazia();
    void cliqueNoCabecalhoOrdena();
    void duploCliqueCopia();
    void procurarSelecionaEDevolveOFoco();
    void execDevolveAceiteAoEscolher();
};

void TesteFrmMenu::abreComAsLinhasEColunas()
{
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QCOMPARE(w.windowTitle(), Viat);
    QCOMPARE(p.t.mensagens.cursorOcupado, 0);
    QCOMPARE(p.lst()->model()->rowCount(), 3);
    QCOMPARE(p.lst()->model()->columnCount(), 15);
    QCOMPARE(p.texto(1), QStringLiteral("22-BB-22"));
    QCOMPARE(p.texto(1, 12), QStringLiteral("10 kg"));
    // Widths in twips, 1440 to the inch.
    QCOMPARE(p.lst()->header()->sectionSize(0), qRound(1500 * w.logicalDpiX() / 1440.0));
    QVERIFY(p.filho<QWidget>("pic1")->isVisible());
    QVERIFY(!p.cmd(1)->isVisible());
    QVERIFY(!p.filho<QStatusBar>("stb")->isVisible());
    QCOMPARE(QApplication::focusWidget(), p.lst());
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!p.cmd(i)->autoDefault());
        QVERIFY(!p.cmd(i)->isDefault());
        QCOMPARE(p.cmd(i)->focusPolicy(), Qt::ClickFocus);
    }
}

void TesteFrmMenu::primeiroEnterSelecionaSegundoCopia()
{
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QTest::keyClick(p.lst(), Qt::Key_Return);
    QVERIFY(w.isVisible());
    QVERIFY(p.cmd(1)->isVisible());
    QVERIFY(p.filho<QStatusBar>("stb")->isVisible());
    QCOMPARE(p.filho<QLabel>("stbPainel1")->text(), QStringLiteral("V1"));
    QCOMPARE(p.filho<QLabel>("stbPainel2")->text(), QStringLiteral("11-AA-11"));
    QVERIFY(p.destino.escritas.isEmpty());

    QTest::keyClick(p.lst(), Qt::Key_Enter);  // the keypad's Enter as well
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V1"}}));
    QCOMPARE(p.titulo(), Viat);
}

void TesteFrmMenu::setaAbaixoSelecionaAProxima()
{
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QTest::keyClick(p.lst(), Qt::Key_Down);
    QCOMPARE(p.lst()->currentIndex().row(), 1);
    QVERIFY(p.cmd(1)->isVisible());
    QCOMPARE(p.filho<QLabel>("stbPainel1")->text(), QStringLiteral("V2"));
    QTest::keyClick(p.lst(), Qt::Key_Down);
    QCOMPARE(p.filho<QLabel>("stbPainel2")->text(), QStringLiteral("33-CC-33"));
    // Ctrl+click on the selected row leaves it selected: it is what Copiar takes.
    QTest::mouseClick(p.lst()->viewport(), Qt::LeftButton, Qt::ControlModifier, p.centroLinha(2));
    QTest::keyClick(p.lst(), Qt::Key_Return);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V3"}}));
}

void TesteFrmMenu::cancelamentos_data()
{
    QTest::addColumn<int>("maneira");
    QTest::newRow("Esc na lista") << 0;
    QTest::newRow("botão Cancelar") << 1;
    QTest::newRow("Esc no botão Procurar") << 2;
    QTest::newRow("fecho da janela") << 3;
}

void TesteFrmMenu::cancelamentos()
{
    QFETCH(int, maneira);
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QTest::keyClick(p.lst(), Qt::Key_Down);  // a row selected changes nothing
    switch (maneira) {
    case 0: QTest::keyClick(p.lst(), Qt::Key_Escape); break;
    case 1: QTest::mouseClick(p.cmd(0), Qt::LeftButton); break;
    case 2:
        p.cmd(2)->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(p.cmd(2), Qt::Key_Escape);
        break;
    default: w.close(); break;
    }
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(p.titulo(), QString());
    QVERIFY(p.destino.escritas.isEmpty());
}

void TesteFrmMenu::tabelaVazia()
{
    Posto p;
    frmMenu& w = p.abrir(Prd);
    QCOMPARE(p.t.mensagens.cursorOcupado, 0);
    QCOMPARE(p.filho<QLabel>("lblVazia")->text(), QStringLiteral("Tabela vazia"));
    QVERIFY(p.filho<QLabel>("lblVazia")->isVisible() && !p.lst()->isVisible() && !p.filho<QWidget>("pic1")->isVisible());
    QCOMPARE(p.cmd(0)->focusPolicy(), Qt::StrongFocus);
    QVERIFY(p.cmd(0)->hasFocus());
    QCOMPARE(p.cmd(0)->palette().color(QPalette::Button), QColor(255, 255, 0));  // the focused button is yellow
    QTest::keyClick(p.cmd(0), Qt::Key_Return);  // Enter presses nothing
    QVERIFY(w.isVisible());
    QTest::keyClick(p.cmd(0), Qt::Key_Escape);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(p.titulo(), QString());
}

void TesteFrmMenu::cliqueNoCabecalhoOrdena()
{
    Posto p;
    p.abrir(Viat);
    QHeaderView* cabecalho = p.lst()->header();
    QTest::keyClick(p.lst(), Qt::Key_Down);  // 22-BB-22 selected
    cabecalho->resizeSection(1, 150);         // the operator widens the code column
    p.lst()->horizontalScrollBar()->setValue(p.lst()->horizontalScrollBar()->maximum());
    const int horizontal = p.lst()->horizontalScrollBar()->value();
    QVERIFY(horizontal > 0);
    const QPoint taraVisivel(cabecalho->sectionViewportPosition(12) + 5, cabecalho->height() / 2);
    QCOMPARE(cabecalho->logicalIndexAt(taraVisivel), 12);
    QTest::mouseClick(cabecalho->viewport(), Qt::LeftButton, {}, taraVisivel);
    QCOMPARE(p.texto(0, 12), QStringLiteral("10 kg"));  // as text: "10 kg", "11 kg", "9 kg"
    QCOMPARE(p.texto(2, 12), QStringLiteral("9 kg"));
    QCOMPARE(p.lst()->selectionModel()->selectedRows().value(0).row(), 0);
    QTest::mouseClick(cabecalho->viewport(), Qt::LeftButton, {}, taraVisivel);
    QCOMPARE(p.texto(0, 12), QStringLiteral("9 kg"));
    QCOMPARE(p.lst()->selectionModel()->selectedRows().value(0).row(), 2);
    QCOMPARE(p.filho<QLabel>("stbPainel1")->text(), QStringLiteral("V2"));
    // The widths and the sideways scroll stay as they were.
    QCOMPARE(cabecalho->sectionSize(12), qRound(900 * p.lst()->logicalDpiX() / 1440.0));
    QCOMPARE(cabecalho->sectionSize(1), 150);
    QCOMPARE(p.lst()->horizontalScrollBar()->value(), horizontal);
}

void TesteFrmMenu::duploCliqueCopia()
{
    Posto p;
    frmMenu& w = p.abrir(Ent);
    // A real double-click: a click, then the double-click.
    QTest::mouseClick(p.lst()->viewport(), Qt::LeftButton, {}, p.centroLinha(0));
    QVERIFY(p.cmd(1)->isVisible());
    QTest::mouseDClick(p.lst()->viewport(), Qt::LeftButton, {}, p.centroLinha(0));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{2, "E1"}}));
}

void TesteFrmMenu::procurarSelecionaEDevolveOFoco()
{
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QTest::mouseClick(p.filho<QRadioButton>("opt1"), Qt::LeftButton);
    p.t.mensagens.textos << QStringLiteral("33");
    QTest::mouseClick(p.cmd(2), Qt::LeftButton);
    QCOMPARE(p.t.mensagens.perguntasTexto, QStringList{"Procurar em Viatura por:"});
    QCOMPARE(p.lst()->currentIndex().row(), 2);
    QCOMPARE(p.filho<QLabel>("stbPainel1")->text(), QStringLiteral("V3"));
    QCOMPARE(QApplication::focusWidget(), p.lst());
    QTest::mouseClick(p.cmd(1), Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V3"}}));
}

void TesteFrmMenu::execDevolveAceiteAoEscolher()
{
    Posto p;
    p.t.estacao->Acesso.TituloMenu = Viat;
    p.t.mensagens.CursorOcupado(true);
    frmMenu w(*p.t.estacao, p.destino);
    QTimer::singleShot(0, &w, [&] {
        QTest::keyClick(w.findChild<QTreeView*>(QStringLiteral("lst")), Qt::Key_Down);
        QTest::keyClick(w.findChild<QTreeView*>(QStringLiteral("lst")), Qt::Key_Return);
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(p.destino.escritas, (QList<DestinoFalso::Escrita>{{0, "V2"}}));
    QCOMPARE(p.t.estacao->Acesso.TituloMenu, Viat);
}

QTEST_MAIN(TesteFrmMenu)
#include "tst_frmMenu.moc"
