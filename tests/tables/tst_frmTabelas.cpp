#include "GrelhaTeste.h"
#include "platform/gui/ImpressoraQt.h"
#include "platform/gui/RealceFoco.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"
#include "support/JanelaModal.h"
#include "admin/frmCodigos.h"
#include "tables/VistaGrelha.h"
#include "tables/frmTabelas.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

// The table editor's window, opened from the main window's menu, and its
// listings printed into PDF files.
class TesteFrmTabelas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abertaPeloMenuDoNivel4();
    void escForaDoEditorNaoFecha_data();
    void escForaDoEditorNaoFecha();
    void focoEDicas_data();
    void focoEDicas();
    void teclasNaCelula_data();
    void teclasNaCelula();
    void listagemEmPdf_data();
    void listagemEmPdf();
    void caracteresDaData_data();
    void caracteresDaData();
};

namespace {

// The vehicles' table window, or the operators' one, opened as the menus open
// them, and the work done in it.
bool naJanelaGrelha(GrelhaTeste& g, bool operadores, const std::function<void(JanelaGrelha&)>& trabalho,
                    const std::source_location onde = std::source_location::current())
{
    g.t.estacao->Acesso.TituloTabela = QStringLiteral("Tabela de viaturas");
    if (operadores)
        return naJanelaModal<frmCodigos>([&] { frmCodigos::Abrir(*g.t.estacao, nullptr); }, trabalho, onde);
    return naJanelaModal<frmTabelas>([&] { frmTabelas::Abrir(*g.t.estacao, nullptr); }, trabalho, onde);
}

}  // namespace

void TesteFrmTabelas::abertaPeloMenuDoNivel4()
{
    GrelhaTeste g;
    g.viaturas(1);
    Estacao& e = *g.t.estacao;
    e.Acesso.NivelAcesso = 4;
    e.Acesso.NomeOperador = QStringLiteral("Ana");
    frmPrincipal w(e, nullptr);
    w.Form_Load();
    w.Mostrar(false);
    w.Form_Activate();

    QStringList visto;
    if (!naJanelaModal<frmTabelas>([&] { w.findChild<QAction*>(QStringLiteral("mnuTab0"))->trigger(); },
                                      [&](frmTabelas& d) {
        VistaGrelha* dbg = d.dbg();
        visto << d.windowTitle() << d.findChild<QLabel*>(QStringLiteral("stb2"))->text()
              << dbg->model()->headerData(12, Qt::Horizontal).toString()
              << QString::number(dbg->isColumnHidden(16)) << d.cmd(2)->text();
        QVERIFY(!d.cmd(3)->isEnabled());
        // A new vehicle typed on the new-row line; Sair asks "Gravar ?" first.
        dbg->setFocus();
        dbg->setCurrentIndex(dbg->model()->index(1, 0));
        for (QChar c : QStringLiteral("ab12")) {
            QWidget* editor = dbg->indexWidget(dbg->currentIndex());
            QTest::keyClick(editor ? editor : dbg, c.toLatin1());
        }
        visto << dbg->indexWidget(dbg->currentIndex())->property("text").toString();
        visto << d.findChild<QLabel*>(QStringLiteral("stb1"))->text();
        QTest::mouseClick(d.cmd(6), Qt::LeftButton);
    }))
        return;
    QCOMPARE(visto, QStringList({QStringLiteral("Tabela de viaturas"), QStringLiteral("Viatura 1 de 1"),
                                 QStringLiteral("Tara"), QStringLiteral("1"), QStringLiteral("Ascendente"),
                                 QStringLiteral("AB12"), QStringLiteral("Código da viatura")}));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(g.t.mensagens.caixas.last().texto, QStringLiteral("Gravar ?"));
    QCOMPARE(g.valor(QStringLiteral("SELECT count(*) FROM Viaturas WHERE \"Código da viatura\" = 'AB12'")).toInt(), 1);
    w.close();
}

// Esc undoes a cell being edited and does nothing else: the grid windows end
// only by their Sair button or the close box, so the operator's second Esc
// neither closes the window nor asks "Gravar ?" about the row.
void TesteFrmTabelas::escForaDoEditorNaoFecha_data()
{
    QTest::addColumn<bool>("operadores");
    QTest::addColumn<QString>("edicao");  // "" none; "desfeita" Esc in the editor; "linha" a cell of the row changed
    for (const bool operadores : {false, true}) {
        const char* janela = operadores ? "operadores" : "viaturas";
        QTest::addRow("%s, sem edição", janela) << operadores << "";
        QTest::addRow("%s, célula desfeita", janela) << operadores << "desfeita";
        QTest::addRow("%s, linha alterada", janela) << operadores << "linha";
    }
}

void TesteFrmTabelas::escForaDoEditorNaoFecha()
{
    QFETCH(bool, operadores);
    QFETCH(QString, edicao);
    GrelhaTeste g;
    g.viaturas(2);
    const auto trabalho = [&](JanelaGrelha& d) {
        VistaGrelha* dbg = d.dbg();
        QCOMPARE(QApplication::focusWidget(), dbg);
        if (!edicao.isEmpty()) {
            QTest::keyClick(dbg, Qt::Key_X);
            auto* editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
            QVERIFY(editor);
            if (edicao == QStringLiteral("linha")) {
                QTest::keyClick(editor, Qt::Key_Tab);  // the cell kept, the next one's editor opens
                editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
                QVERIFY(editor);
            }
            QTest::keyClick(editor, Qt::Key_Escape);
            QVERIFY(!dbg->indexWidget(dbg->currentIndex()));
        }
        QTest::keyClick(dbg, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QCOMPARE(g.t.mensagens.caixas.size(), 0);
    };
    if (!naJanelaGrelha(g, operadores, trabalho))
        return;
}

// The grid and the buttons yellow while they have the focus, a button's hint
// in panel 1; the grid back to the window colour (white in the operators
// table) when it loses it; a box opening and closing over the window changes
// nothing.
void TesteFrmTabelas::focoEDicas_data()
{
    QTest::addColumn<bool>("operadores");
    QTest::addColumn<QColor>("semFoco");
    QTest::newRow("viaturas") << false << QApplication::palette().color(QPalette::Base);
    QTest::newRow("operadores") << true << QColor(Qt::white);
}

void TesteFrmTabelas::focoEDicas()
{
    QFETCH(bool, operadores);
    QFETCH(QColor, semFoco);
    GrelhaTeste g;
    g.viaturas(2);
    const auto trabalho = [&](JanelaGrelha& d) {
        VistaGrelha* dbg = d.dbg();
        QCOMPARE(dbg->palette().color(QPalette::Base), RealceFoco::Amarelo);
        QPushButton* ordem = d.cmd(2);
        ordem->setFocus(Qt::TabFocusReason);
        QCOMPARE(ordem->palette().color(QPalette::Button), RealceFoco::Amarelo);
        QCOMPARE(dbg->palette().color(QPalette::Base), semFoco);
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("stb1"))->text(), QStringLiteral("Ordenar"));
        QTimer::singleShot(0, &d, [&d] { fecharJanelasModais(&d); });
        QMessageBox::information(&d, QStringLiteral("Zumarel"), QStringLiteral("caixa"));
        d.activateWindow();  // the window active again gives the button the focus again
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(QApplication::focusWidget(), ordem);
        QCOMPARE(ordem->palette().color(QPalette::Button), RealceFoco::Amarelo);
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("stb1"))->text(), QStringLiteral("Ordenar"));
        QTest::mouseClick(dbg->viewport(), Qt::LeftButton, {}, dbg->visualRect(dbg->model()->index(0, 1)).center());
        QCOMPARE(dbg->palette().color(QPalette::Base), RealceFoco::Amarelo);
        QVERIFY(ordem->palette().color(QPalette::Button) != RealceFoco::Amarelo);
    };
    if (!naJanelaGrelha(g, operadores, trabalho))
        return;
}

// A cell's keys in the real window (the operators' one for the level): "^v"
// is Ctrl+V, "+" Shift+Insert (a paste of "99"), "@x" Alt+X (an access key no
// menu takes), "\r" Enter.
void TesteFrmTabelas::teclasNaCelula_data()
{
    QTest::addColumn<int>("coluna");
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("fica");
    QTest::newRow("código em maiúsculas") << 0 << "ab12" << "AB12";
    QTest::newRow("tara só com algarismos") << 12 << "1a2" << "12";
    QTest::newRow("colar numa tara") << 12 << "7^v" << "7";
    QTest::newRow("tecla de acesso num código") << 0 << "a@x" << "A";
    QTest::newRow("hora cortada em cinco") << 15 << "12:301" << "12:30";
    QTest::newRow("Enter não entra") << 1 << "a\r" << "A";
    QTest::newRow("nível colado fora da regra") << 3 << "3+" << "3";
}

void TesteFrmTabelas::teclasNaCelula()
{
    QFETCH(int, coluna);
    QFETCH(QString, teclas);
    GrelhaTeste g;
    g.viaturas(1);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    if (!naJanelaGrelha(g, coluna == 3, [&](JanelaGrelha& d) {
            VistaGrelha* dbg = d.dbg();
            dbg->setCurrentIndex(dbg->model()->index(0, coluna));
            dbg->edit(dbg->currentIndex());
            auto* editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
            QVERIFY(editor);
            editor->clear();
            for (qsizetype i = 0; i < teclas.size(); ++i) {
                const QChar c = teclas.at(i);
                if (c == u'^' || c == u'@')
                    QTest::keyClick(editor, teclas.at(++i).toLatin1(), c == u'^' ? Qt::ControlModifier : Qt::AltModifier);
                else if (c == u'\r')
                    QTest::keyClick(editor, Qt::Key_Return);
                else if (c == u'+')
                    QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
                else
                    QTest::keyClick(editor, c.toLatin1());
            }
            QTEST(editor->text(), "fica");
        }))
        return;
}

void TesteFrmTabelas::listagemEmPdf_data()
{
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QStringList>("presentes");
    QTest::addColumn<QString>("ausente");
    QTest::newRow("viaturas") << "Tabela de viaturas" << QStringList{"Listagem de viaturas", "V01", "AA-00-02", "3 000 kg", "Página 1 de 1"}
                              << "";
    QTest::newRow("primeiras pesagens") << "Tabela de primeiras pesagens"
                                        << QStringList{"Listagem de primeiras pesagens", "PEND", "12 500 kg"} << "FEITA";
}

void TesteFrmTabelas::listagemEmPdf()
{
    QFETCH(QString, titulo);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    GrelhaTeste g(titulo);
    g.viaturas(3);
    g.sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", \"Peso á entrada\") VALUES "
                         "('P', 'PEND', 12500), ('E', 'FEITA', 9000)"));
    // The report definitions in the program's folder, as the build puts them.
    const QDir fonte(QStringLiteral(ZUMAREL_RELATORIOS));
    QDir(g.t.pasta()).mkpath(QStringLiteral("partials"));
    for (const QString& f : fonte.entryList({QStringLiteral("*.rpt")}))
        QFile::copy(fonte.filePath(f), g.t.caminho(f));
    for (const QString& f : QDir(fonte.filePath(QStringLiteral("partials"))).entryList(QDir::Files))
        QFile::copy(fonte.filePath(QStringLiteral("partials/") + f), g.t.caminho(QStringLiteral("partials/") + f));
    ImpressoraQt saida(g.t.relogio);
    saida.impressoraPorDefeito = [] { return QPrinterInfo(); };  // no printer: a PDF
    MotorRelatorios motor([&] { return g.t.estacao->bd(); }, g.t.relogio, saida);
    g.t.estacao->impressora = &motor;
    g.abrir();
    g.logica->cmd_Click(5);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saida.ultimoPdf()), 60000);
    QVERIFY(saida.ultimoPdf().startsWith(g.t.caminho(QStringLiteral("impressos"))));
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), saida.ultimoPdf(), QStringLiteral("-")});
    QVERIFY(p.waitForFinished(60000));
    const QString texto = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    QFETCH(QStringList, presentes);
    for (const QString& s : presentes)
        QVERIFY2(texto.contains(s), qPrintable(s + QStringLiteral(" em falta:\n") + texto));
    QFETCH(QString, ausente);
    QVERIFY(ausente.isEmpty() || !texto.contains(ausente));
}

// The vehicles' Data column takes "1234567890-/:" only, from the keys and
// from a paste alike; the blank of a date the grid shows with its time stays
// when that text is edited.
void TesteFrmTabelas::caracteresDaData_data()
{
    QTest::addColumn<QString>("guardada");  // the cell's date before
    QTest::addColumn<QString>("teclas");    // "F2", "End", "Back", "Paste" or text typed key by key
    QTest::addColumn<QString>("colar");     // the clipboard's text
    QTest::addColumn<QString>("editor");    // the cell editor's text before the row is left
    QTest::addColumn<QString>("fica");      // the stored date after; "Data incorrecta" when refused
    QTest::newRow("teclas com um espaço") << "" << "05-03-2024 10:20" << "" << "05-03-202410:20" << "Data incorrecta";
    QTest::newRow("teclas só com a data") << "" << "05/03/2024" << "" << "05/03/2024" << "2024-03-05 00:00:00";
    QTest::newRow("colada com um espaço") << "" << "F2 Paste" << "05-03-2024 10:20" << "" << "";
    QTest::newRow("colada só a data") << "" << "F2 Paste" << "05-03-2024" << "05-03-2024" << "2024-03-05 00:00:00";
    QTest::newRow("data com hora mudada") << "2024-03-05 10:20:00" << "F2 End Back Back 5" << ""
                                          << "05-03-2024 10:20:5" << "2024-03-05 10:20:05";
    QTest::newRow("outro espaço colado na data com hora")
        << "2024-03-05 10:20:00" << "F2 End Paste" << " " << "05-03-2024 10:20:00" << "2024-03-05 10:20:00";
}

void TesteFrmTabelas::caracteresDaData()
{
    QFETCH(QString, guardada);
    QFETCH(QString, teclas);
    QFETCH(QString, colar);
    GrelhaTeste g;
    g.viaturas(2);
    g.sql(QStringLiteral("UPDATE Viaturas SET Data = ? WHERE \"Código da viatura\" = 'V01'"),
          {guardada.isEmpty() ? QVariant() : QVariant(guardada)});
    QGuiApplication::clipboard()->setText(colar);
    frmTabelas w(*g.t.estacao, *g.entrada);
    QVERIFY(w.logica().Form_Load());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    VistaGrelha* dbg = w.dbg();
    dbg->setFocus();
    dbg->setCurrentIndex(dbg->model()->index(0, 14));
    auto foco = [&]() -> QWidget* { return QApplication::focusWidget(); };
    const QStringList passos = teclas.startsWith(u"F2") ? teclas.split(u' ') : QStringList{teclas};
    for (const QString& passo : passos) {
        if (passo == u"F2")
            QTest::keyClick(foco(), Qt::Key_F2);
        else if (passo == u"End")
            QTest::keyClick(foco(), Qt::Key_End);
        else if (passo == u"Back")
            QTest::keyClick(foco(), Qt::Key_Backspace);
        else if (passo == u"Paste")
            QTest::keyClick(foco(), Qt::Key_Insert, Qt::ShiftModifier);
        else
            for (QChar c : passo)
                QTest::keyClick(foco(), c.toLatin1());
    }
    auto* editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
    QVERIFY(editor);
    QTEST(editor->text(), "editor");
    // Down leaves the row: "Gravar ?" (Yes), then the row is written or refused.
    QTest::keyClick(editor, Qt::Key_Down);
    const QString dataGuardada = g.valor(QStringLiteral("SELECT Data FROM Viaturas WHERE \"Código da viatura\" = 'V01'"))
                                     .toString();
    QFETCH(QString, fica);
    if (fica == u"Data incorrecta") {
        QCOMPARE(g.t.mensagens.caixas.last().texto, fica);
        QCOMPARE(dataGuardada, guardada);
    } else {
        QCOMPARE(dataGuardada, fica);
    }
    w.reject();
}

QTEST_MAIN(TesteFrmTabelas)
#include "tst_frmTabelas.moc"
