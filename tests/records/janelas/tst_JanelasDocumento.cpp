#include "../../screen/EcraTeste.h"
#include "SementeDocumentos.h"
#include "platform/gui/ImpressoraQt.h"
#include "records/janelas/frmAnularPsg.h"
#include "records/janelas/frmSegVia.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    p.waitForFinished(60000);
    // The weights' no-break spaces read as plain ones.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// A station with its report definitions, the real main window shown at this
// level, and the real report printer on a machine without a printer.
struct Posto
{
    explicit Posto(int nivel)
    {
        prepararEstacao(t, nivel);
        const QDir origem(QStringLiteral(ZUMAREL_RELATORIOS));
        QDir(t.pasta()).mkpath(QStringLiteral("partials"));
        QStringList ficheiros = origem.entryList({"*.rpt"}, QDir::Files);
        for (const QString& f : QDir(origem.filePath("partials")).entryList(QDir::Files))
            ficheiros << "partials/" + f;
        for (const QString& f : ficheiros)
            QFile::copy(origem.filePath(f), t.caminho(f));
        saida.impressoraPorDefeito = [] { return QPrinterInfo(); };
        t.estacao->impressora = &motor;
        w = std::make_unique<frmPrincipal>(*t.estacao, nullptr);
        saida.setJanelaPrincipal(w.get());
        w->Form_Load();
        w->Mostrar(false);
        w->Form_Activate();
    }
    void menu(const char* item) { w->findChild<QAction*>(QString::fromLatin1(item))->trigger(); }

    EstacaoTeste t;
    ImpressoraQt saida{t.relogio};
    MotorRelatorios motor{[this] { return t.estacao->bd(); }, t.relogio, saida};
    std::unique_ptr<frmPrincipal> w;
};

template <typename W>
W* filho(QWidget* j, const char* nome) { return j->findChild<W*>(QString::fromLatin1(nome)); }

// The operator replaces the box's text by keys, with Enter at the end when asked.
void escrever(QWidget* j, const QString& texto, bool enter)
{
    auto* cmb = filho<QComboBox>(j, "cmb");
    for (qsizetype i = cmb->currentText().size(); i > 0; --i)
        QTest::keyClick(cmb, Qt::Key_Backspace);
    QTest::keyClicks(cmb, texto);
    if (enter)
        QTest::keyClick(cmb, Qt::Key_Return);
}

}  // namespace

class TesteJanelasDocumento : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    }

    void segundaViaPeloMenu()
    {
        Posto p(4);
        documentos(p.t.estacao->bd(), QStringLiteral("G"), 3);
        p.t.estacao->Def.CopiasSegundaVia = 3;
        bool percorrida = false;
        QTimer::singleShot(0, this, [&] {
            auto* j = qobject_cast<frmSegVia*>(QApplication::activeModalWidget());
            QVERIFY(j);
            const auto fechar = qScopeGuard([j] { j->close(); });
            QCOMPARE(j->windowTitle(), QStringLiteral("Segunda via"));
            QTest::keyClick(filho<QRadioButton>(j, "opt0"), Qt::Key_G);
            QCOMPARE(filho<QLabel>(j, "lblSV0")->text(), QStringLiteral("AA-3"));
            escrever(j, QStringLiteral("2x"), true);  // the letter is dropped
            QCOMPARE(filho<QLabel>(j, "lblSV0")->text(), QStringLiteral("AA-2"));
            auto* cmd0 = filho<QPushButton>(j, "cmd0");
            QCOMPARE(cmd0->palette().color(QPalette::Button), QColor(Qt::yellow));
            QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), QStringLiteral("Visualizar"));
            QVERIFY(QTest::qWaitForWindowActive(j));
            QTest::keyClick(cmd0, Qt::Key_Tab);  // the operator moves on: Imprimir, then Sair
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), QStringLiteral("Sair"));
            QCOMPARE(cmd0->palette().color(QPalette::Button), filho<QPushButton>(j, "cmd1")->palette().color(QPalette::Button));

            filho<QPushButton>(j, "cmd1")->click();
            const QString texto = correr(QStringLiteral("pdftotext"), {p.saida.ultimoPdf(), QStringLiteral("-")});
            for (const char* t : {"Guia de remessa", "2.ª VIA", "N.º 2", "AA-2", "10 002 kg", "30 000 kg", "19 998 kg"})
                QVERIFY2(texto.contains(QString::fromUtf8(t).normalized(QString::NormalizationForm_KC)), t);
            QCOMPARE(texto.count(QStringLiteral("AA-2")), 3);  // three copies
            QVERIFY(correr(QStringLiteral("pdfinfo"), {p.saida.ultimoPdf()}).contains(QRegularExpression("Pages: +3\n")));

            cmd0->click();
            QPrintPreviewDialog* previa = p.saida.ultimaJanela();
            QVERIFY(previa && previa->isMaximized());
            QCOMPARE(previa->windowTitle(), QStringLiteral("Segunda via"));
            QTest::keyClick(cmd0, Qt::Key_Escape);  // Esc never closes the window
            percorrida = j->isVisible();
        });
        p.menu("mnuOpc2");
        QVERIFY(percorrida);
    }

    void anulacaoPeloMenu()
    {
        Posto p(3);
        QSqlDatabase db = p.t.estacao->bd();
        documentos(db, QStringLiteral("G"), 12);
        p.menu("mnuOpc8");
        QPointer<frmAnularPsg> j = p.w->findChild<frmAnularPsg*>();
        QVERIFY(j && j->isVisible() && !j->isModal());
        QVERIFY(filho<QRadioButton>(j, "opt2")->isHidden());
        QTest::keyClick(filho<QRadioButton>(j, "opt0"), Qt::Key_S);
        auto* cmb = filho<QComboBox>(j, "cmb");
        QCOMPARE(cmb->currentText(), QStringLiteral("12"));

        documentos(db, QStringLiteral("G"), 1, 13);
        p.menu("mnuOpc8");  // the same window, brought forward as it was
        QCOMPARE(p.w->findChildren<frmAnularPsg*>().size(), 1);
        QCOMPARE(cmb->count(), 12);

        // A number without a document: said, nothing written or previewed.
        escrever(j, QStringLiteral("99"), false);
        p.t.mensagens.respostas << Resposta::Sim << Resposta::OK;
        filho<QPushButton>(j, "cmd")->click();
        QCOMPARE(p.t.mensagens.caixas.size(), 2);
        QVERIFY(j->isVisible() && !p.saida.ultimaJanela());

        escrever(j, QStringLiteral("12"), true);
        p.t.mensagens.respostas << Resposta::Sim;
        filho<QPushButton>(j, "cmd")->click();
        QVERIFY(!j->isVisible());
        QPrintPreviewDialog* previa = p.saida.ultimaJanela();
        QVERIFY(previa && previa->isMaximized() && previa->parentWidget() == p.w.get());
        QCOMPARE(previa->windowTitle(), QStringLiteral("Pesagem anulada"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!j);

        // What the preview shows, laid out into a PDF.
        const QString pdf = p.t.caminho(QStringLiteral("anulada.pdf"));
        QPrinter impressora(QPrinter::HighResolution);
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setOutputFileName(pdf);
        Q_EMIT previa->paintRequested(&impressora);
        const QString texto = correr(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const char* t : {"Pesagem anulada", "ANULADA", "N.º 12", "AA-12", "10 012 kg", "30 000 kg", "0 kg"})
            QVERIFY2(texto.contains(QString::fromUtf8(t).normalized(QString::NormalizationForm_KC)), t);
        QVERIFY(!texto.contains(QStringLiteral("19 988 kg")));
    }
};

QTEST_MAIN(TesteJanelasDocumento)
#include "tst_JanelasDocumento.moc"
