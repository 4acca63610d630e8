#include "DestinoFalso.h"
#include "Semente.h"
#include "TitulosTeste.h"

#include "support/EstacaoTeste.h"
#include "support/JanelaModal.h"
#include "tables/ListaEscolha.h"
#include "tables/frmMenu.h"

#include <QHash>
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

    template <typename T> T* filho(const char* nome) const { return janela->findChild<T*>(QString::fromLatin1(nome)); }
    QTreeView* lst() const { return filho<QTreeView>("lst"); }
    QPushButton* cmd(int i) const { return janela->findChild<QPushButton*>(QStringLiteral("cmd%1").arg(i)); }
    QString titulo() const { return t.estacao->Acesso.TituloMenu; }
    QString texto(int linha, int coluna = 0) const { return lst()->model()->index(linha, coluna).data().toString(); }
    QPoint centroLinha(int linha) const { return lst()->visualRect(lst()->model()->index(linha, 0)).center(); }
};

}  // namespace

class TesteFrmMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abreComAsLinhasEColunas();
    void escolhasECancelamentos_data();
    void escolhasECancelamentos();
    void tabelaVazia();
    void cliqueNoCabecalhoOrdena();
};

void TesteFrmMenu::abreComAsLinhasEColunas()
{
    Posto p;
    frmMenu& w = p.abrir(Viat);
    QCOMPARE(w.windowTitle(), Viat);
    QCOMPARE(p.t.mensagens.cursorOcupado, 0);
    QCOMPARE(p.lst()->model()->rowCount(), 3);
    QCOMPARE(p.texto(1, 12), QStringLiteral("10 kg"));
    QVERIFY(p.filho<QWidget>("pic1")->isVisible());
    QVERIFY(!p.cmd(1)->isVisible());
    QVERIFY(!p.filho<QStatusBar>("stb")->isVisible());
    QCOMPARE(QApplication::focusWidget(), p.lst());
    QCOMPARE(p.cmd(2)->focusPolicy(), Qt::ClickFocus);
}

void TesteFrmMenu::escolhasECancelamentos_data()
{
    using Escritas = QList<DestinoFalso::Escrita>;
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("passos");     // see correr(); "exec" runs the rest inside the dialog's own loop
    QTest::addColumn<Escritas>("escritas");  // none: cancelled
    QTest::addColumn<QString>("painel");
    QTest::newRow("Enter selecciona, o do teclado numérico copia")
        << Viat << "Enter aberta Keypad" << Escritas{{0, "V1"}} << "V1";
    QTest::newRow("setas; Ctrl+clique deixa a linha seleccionada")
        << Viat << "exec Down Down CtrlClique2 Enter" << Escritas{{0, "V3"}} << "V3";
    QTest::newRow("clique e duplo clique") << Ent << "Clique0 aberta DuploClique0" << Escritas{{2, "E1"}} << "E1";
    QTest::newRow("procurar devolve o foco à lista")
        << Viat << "opt1 Procurar:33 foco Copiar" << Escritas{{0, "V3"}} << "V3";
    QTest::newRow("Esc na lista") << Viat << "Down Esc" << Escritas{} << "V2";
    QTest::newRow("botão Cancelar") << Viat << "Down Cancelar" << Escritas{} << "V2";
    QTest::newRow("Esc no botão Procurar") << Viat << "Down EscProcurar" << Escritas{} << "V2";
    QTest::newRow("fecho da janela") << Viat << "Down fechar" << Escritas{} << "V2";
}

void TesteFrmMenu::escolhasECancelamentos()
{
    QFETCH(QString, titulo);
    QFETCH(QString, passos);
    QFETCH(QList<DestinoFalso::Escrita>, escritas);
    QFETCH(QString, painel);
    Posto p;
    frmMenu& w = p.abrir(titulo);
    QStringList lista = passos.split(u' ');
    const bool noCiclo = lista.first() == QStringLiteral("exec");
    if (noCiclo)
        lista.removeFirst();
    const QHash<QString, Qt::Key> teclas{
        {"Enter", Qt::Key_Return}, {"Keypad", Qt::Key_Enter}, {"Down", Qt::Key_Down}, {"Esc", Qt::Key_Escape}};
    auto correr = [&](frmMenu&) {
        QTreeView* lst = p.lst();
        for (const QString& passo : lista) {
            const QPoint linha =
                passo.contains(QStringLiteral("Clique")) ? p.centroLinha(passo.right(1).toInt()) : QPoint();
            if (teclas.contains(passo))
                QTest::keyClick(lst, teclas.value(passo));
            else if (passo.startsWith(QStringLiteral("DuploClique")))
                QTest::mouseDClick(lst->viewport(), Qt::LeftButton, {}, linha);
            else if (passo.contains(QStringLiteral("Clique")))
                QTest::mouseClick(lst->viewport(), Qt::LeftButton,
                                  passo.startsWith(QStringLiteral("Ctrl")) ? Qt::ControlModifier : Qt::NoModifier,
                                  linha);
            else if (passo.startsWith(QStringLiteral("Procurar:"))) {
                p.t.mensagens.textos << passo.mid(9);
                QTest::mouseClick(p.cmd(2), Qt::LeftButton);
            } else if (passo == QStringLiteral("EscProcurar")) {
                p.cmd(2)->setFocus(Qt::MouseFocusReason);
                QTest::keyClick(p.cmd(2), Qt::Key_Escape);
            } else if (passo == QStringLiteral("Cancelar") || passo == QStringLiteral("Copiar"))
                QTest::mouseClick(p.cmd(passo == QStringLiteral("Cancelar") ? 0 : 1), Qt::LeftButton);
            else if (passo == QStringLiteral("opt1"))
                QTest::mouseClick(p.filho<QRadioButton>("opt1"), Qt::LeftButton);
            else if (passo == QStringLiteral("fechar"))
                w.close();
            else if (passo == QStringLiteral("foco"))
                QCOMPARE(QApplication::focusWidget(), lst);
            else if (passo == QStringLiteral("aberta"))  // a row selected, nothing copied yet
                QVERIFY(w.isVisible() && p.cmd(1)->isVisible() && p.filho<QStatusBar>("stb")->isVisible()
                        && p.destino.escritas.isEmpty());
            else
                QFAIL(qPrintable(passo));
        }
    };
    const int esperado = escritas.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
    if (noCiclo) {
        QCOMPARE(execComTrabalho<frmMenu>(w, correr), esperado);
    } else {
        correr(w);
        QCOMPARE(w.result(), esperado);
    }
    QVERIFY(!w.isVisible());
    QCOMPARE(p.destino.escritas, escritas);
    QCOMPARE(p.filho<QLabel>("stbPainel1")->text(), painel);
    // The title stays set only when a row was picked.
    QCOMPARE(p.titulo(), escritas.isEmpty() ? QString() : titulo);
}

void TesteFrmMenu::tabelaVazia()
{
    Posto p;
    frmMenu& w = p.abrir(Prd);
    QCOMPARE(p.filho<QLabel>("lblVazia")->text(), QStringLiteral("Tabela vazia"));
    QVERIFY(p.filho<QLabel>("lblVazia")->isVisible() && !p.lst()->isVisible()
            && !p.filho<QWidget>("pic1")->isVisible());
    QCOMPARE(p.cmd(0)->focusPolicy(), Qt::StrongFocus);
    QVERIFY(p.cmd(0)->hasFocus());
    QCOMPARE(p.cmd(0)->palette().color(QPalette::Button), QColor(255, 255, 0));  // the focused button is yellow
    QTest::keyClick(p.cmd(0), Qt::Key_Return);                                   // Enter presses nothing
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
    cabecalho->resizeSection(1, 150);        // the operator widens the code column
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
    // The widths (in twips, 1440 to the inch) and the sideways scroll stay as they were.
    QCOMPARE(cabecalho->sectionSize(12), qRound(900 * p.lst()->logicalDpiX() / 1440.0));
    QCOMPARE(cabecalho->sectionSize(1), 150);
    QCOMPARE(p.lst()->horizontalScrollBar()->value(), horizontal);
}

QTEST_MAIN(TesteFrmMenu)
#include "tst_frmMenu.moc"
