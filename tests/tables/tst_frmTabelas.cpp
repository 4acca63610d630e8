#include "GrelhaTeste.h"
#include "platform/gui/ImpressoraQt.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"
#include "tables/VistaGrelha.h"
#include "tables/frmTabelas.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
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
    void listagemEmPdf_data();
    void listagemEmPdf();
};

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
    QTimer::singleShot(0, this, [&] {
        auto* d = qobject_cast<frmTabelas*>(QApplication::activeModalWidget());
        QVERIFY(d);
        VistaGrelha* dbg = d->dbg();
        visto << d->windowTitle() << d->findChild<QLabel*>(QStringLiteral("stb2"))->text()
              << dbg->model()->headerData(12, Qt::Horizontal).toString()
              << QString::number(dbg->isColumnHidden(16)) << d->cmd(2)->text();
        QVERIFY(!d->cmd(3)->isEnabled());
        // A new vehicle typed on the new-row line; Sair asks "Gravar ?" first.
        dbg->setFocus();
        dbg->setCurrentIndex(dbg->model()->index(1, 0));
        for (QChar c : QStringLiteral("ab12")) {
            QWidget* editor = dbg->indexWidget(dbg->currentIndex());
            QTest::keyClick(editor ? editor : dbg, c.toLatin1());
        }
        visto << dbg->indexWidget(dbg->currentIndex())->property("text").toString();
        visto << d->findChild<QLabel*>(QStringLiteral("stb1"))->text();
        QTest::mouseClick(d->cmd(6), Qt::LeftButton);
    });
    w.findChild<QAction*>(QStringLiteral("mnuTab0"))->trigger();
    QCOMPARE(visto, QStringList({QStringLiteral("Tabela de viaturas"), QStringLiteral("Viatura 1 de 1"),
                                 QStringLiteral("Tara"), QStringLiteral("1"), QStringLiteral("Ascendente"),
                                 QStringLiteral("AB12"), QStringLiteral("Código da viatura")}));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(g.t.mensagens.caixas.last().texto, QStringLiteral("Gravar ?"));
    QCOMPARE(g.valor(QStringLiteral("SELECT count(*) FROM Viaturas WHERE \"Código da viatura\" = 'AB12'")).toInt(), 1);
    w.close();
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

QTEST_MAIN(TesteFrmTabelas)
#include "tst_frmTabelas.moc"
