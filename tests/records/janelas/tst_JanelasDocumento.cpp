#include "../../screen/EcraTeste.h"
#include "SementeDocumentos.h"
#include "platform/gui/ImpressoraQt.h"
#include "records/janelas/frmAnularPsg.h"
#include "records/janelas/frmMapas.h"
#include "records/janelas/frmSegVia.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"
#include "support/JanelaModal.h"
#include "support/TextoPdf.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// What of `esperados` the PDF's text lacks (the weights' no-break spaces read as plain ones).
QStringList faltam(const QString& pdf, const QStringList& esperados, int copias = 1)
{
    const QString texto = TextoPdf::texto(pdf);
    QStringList falta;
    for (const QString& e : esperados)
        if (texto.count(e.normalized(QString::NormalizationForm_KC)) < copias)
            falta << e;
    return falta;
}

// A station with its report definitions, the real main window shown at this
// level, and the real report printer on a machine without a print system.
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
        saida.lugaresImpressao = {};
        t.estacao->impressora = &motor;
        w = std::make_unique<frmPrincipal>(*t.estacao, nullptr);
        saida.setJanelaPrincipal(w.get());
        w->Form_Load();
        w->Mostrar(false);
        w->Form_Activate();
    }
    void menu(const char* item) { w->findChild<QAction*>(QString::fromLatin1(item))->trigger(); }

    EstacaoTeste t;
    ImpressoraQt saida{t.relogio, t.mensagens};
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
        if (!TextoPdf::disponivel())
            QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    }

    void segundaViaPeloMenu()
    {
        Posto p(4);
        documentos(p.t.estacao->bd(), QStringLiteral("G"), 3);
        p.t.estacao->Def.CopiasSegundaVia = 3;
        if (!naJanelaModal<frmSegVia>([&] { p.menu("mnuOpc2"); }, [&](frmSegVia& janela) {
            frmSegVia* j = &janela;
            QTest::keyClick(filho<QRadioButton>(j, "opt0"), Qt::Key_G);
            QCOMPARE(filho<QLabel>(j, "lblSV0")->text(), "AA-3");
            escrever(j, QStringLiteral("2x"), true);  // the letter is dropped
            QCOMPARE(filho<QLabel>(j, "lblSV0")->text(), "AA-2");
            auto* cmd0 = filho<QPushButton>(j, "cmd0");
            QCOMPARE(cmd0->palette().color(QPalette::Button), QColor(Qt::yellow));
            QTest::keyClick(cmd0, Qt::Key_Tab);  // the operator moves on: Imprimir, then Sair
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), "Sair");
            // A box closing, or the window activated again, gives a control the focus: not the operator's move.
            QFocusEvent regresso(QEvent::FocusIn, Qt::OtherFocusReason);
            QApplication::sendEvent(filho<QComboBox>(j, "cmb"), &regresso);
            QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), "Sair");
            QCOMPARE(cmd0->palette().color(QPalette::Button), filho<QPushButton>(j, "cmd1")->palette().color(QPalette::Button));

            filho<QPushButton>(j, "cmd1")->click();  // three copies
            QCOMPARE(faltam(p.saida.ultimoPdf(), {"Guia de remessa", "2.ª VIA", "N.º 2", "AA-2", "10 002 kg", "19 998 kg"}, 3),
                     QStringList());
            QTest::keyClick(cmd0, Qt::Key_Return);  // Enter presses the button it is on
            QPrintPreviewDialog* previa = p.saida.ultimaJanela();
            QVERIFY(previa && previa->isMaximized());
            QCOMPARE(previa->windowTitle(), "Segunda via");
            QTest::keyClick(cmd0, Qt::Key_Escape);  // Esc never closes the window
            QVERIFY(j->isVisible());
        }))
            return;
    }

    void anulacaoPeloMenu()
    {
        Posto p(3);
        documentos(p.t.estacao->bd(), QStringLiteral("G"), 12);
        p.menu("mnuOpc8");
        QPointer<frmAnularPsg> j = p.w->findChild<frmAnularPsg*>();
        QVERIFY(j && j->isVisible() && !j->isModal());
        QVERIFY(filho<QRadioButton>(j, "opt2")->isHidden());
        QTest::keyClick(filho<QRadioButton>(j, "opt0"), Qt::Key_S);
        QCOMPARE(filho<QComboBox>(j, "cmb")->currentText(), "12");
        p.menu("mnuOpc8");  // the same window, brought forward
        QCOMPARE(p.w->findChildren<frmAnularPsg*>().size(), 1);

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
        QCOMPARE(previa->windowTitle(), "Pesagem anulada");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!j);

        // What the preview shows, laid out into a PDF.
        QPrinter impressora(QPrinter::HighResolution);
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setOutputFileName(p.t.caminho(QStringLiteral("anulada.pdf")));
        Q_EMIT previa->paintRequested(&impressora);
        QCOMPARE(faltam(impressora.outputFileName(), {"ANULADA", "N.º 12", "AA-12", "10 012 kg", "30 000 kg", "0 kg"}),
                 QStringList());
        QCOMPARE(faltam(impressora.outputFileName(), {"19 988 kg"}), QStringList({"19 988 kg"}));
    }
    // The statistics window: modal over the main window, named by the item
    // chosen, and the main window active again once it closes.
    void mapasPeloMenu_data()
    {
        QTest::addColumn<int>("nivel");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("titulo");  // with a + for each kind option shown
        QTest::newRow("produtos, nível 4") << 4 << "mnuEst3" << "Estatísticas por produto++++";
        QTest::newRow("pesagens, nível 3") << 3 << "mnuEst9" << "Pesagens++";
    }
    void mapasPeloMenu()
    {
        QFETCH(int, nivel);
        QFETCH(QString, item);
        QFETCH(QString, titulo);
        Posto p(nivel);
        QVERIFY(QTest::qWaitForWindowActive(p.w.get()));
        QString visto;
        if (!naJanelaModal<frmMapas>([&] { p.menu(item.toLatin1().constData()); }, [&](frmMapas& f) {
            QCOMPARE(f.parentWidget(), p.w.get());
            visto = f.windowTitle();
            for (auto* o : f.findChildren<QRadioButton*>())
                visto += o->isVisibleTo(&f) ? "+" : "";
            QTest::keyClick(filho<QLineEdit>(&f, "txt2"), Qt::Key_Escape);
        }))
            return;
        QCOMPARE(visto, titulo);
        QVERIFY(!QApplication::activeModalWidget());
        QTRY_COMPARE(QApplication::activeWindow(), p.w.get());
    }
};

QTEST_MAIN(TesteJanelasDocumento)
#include "tst_JanelasDocumento.moc"
