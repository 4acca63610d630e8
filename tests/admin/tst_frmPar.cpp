#include "BancadaParametros.h"
#include "admin/frmPar.h"
#include "platform/Mensagens.h"
#include "screen/frmPrincipal.h"
#include "support/EscritaFalhada.h"
#include "support/JanelaModal.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

const QColor Amarelo(0xFF, 0xFF, 0x00);

// The dialog over a test station whose settings file names port 3's device.
struct DialogoTeste
{
    explicit DialogoTeste(const QByteArray& ini = "[PortasSerie]\nCOM3=/dev/ttyUSB0\n") : p(ini)
    {
        Consulta::executar(p.t.estacao->bd(), QStringLiteral("UPDATE Empresas SET \"Linha 1\" = 'Areias, Lda'"));
        w = std::make_unique<frmPar>(*p.t.estacao, nullptr, nullptr);
        w->show();
        w->activateWindow();
        activo = QTest::qWaitForWindowActive(w.get());
    }
    template <typename W = QWidget>
    W* f(const QString& nome) const
    {
        return w->findChild<W*>(nome);
    }
    // Focuses a text box, types into it and gives back what it then holds.
    QString escrever(const QString& nome, const QString& texto)
    {
        f(nome)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f(nome), texto);
        return f<QLineEdit>(nome)->text();
    }

    BancadaParametros p;
    std::unique_ptr<frmPar> w;
    bool activo = false;
};

}  // namespace

class TesteFrmPar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aspecto();
    void dependencias_data();
    void dependencias();
    void teclasEFoco();
    void abaLevaOFoco();
    void pelaJanelaPrincipal();
    void gravarSemEspaco();
};

void TesteFrmPar::aspecto()
{
    DialogoTeste d;
    QCOMPARE(d.w->windowTitle(), QStringLiteral("Parâmetros internos"));
    QCOMPARE(d.w->abaActual(), 0);
    QCOMPARE(d.f<QAbstractButton>(QStringLiteral("sst7"))->text(), QStringLiteral("&Leitor(2) báscula 2"));
    QTest::mouseClick(d.f(QStringLiteral("sst5")), Qt::LeftButton);
    QCOMPARE(d.w->abaActual(), 5);

    // The port lists keep their numbers and show the device each stands for.
    auto* prt = d.f<QComboBox>(QStringLiteral("cmbPrtB0"));
    QCOMPARE(prt->count(), 12);
    QCOMPARE(prt->itemText(2), QStringLiteral("COM3 — /dev/ttyUSB0"));
    QCOMPARE(prt->itemText(11), QStringLiteral("COM12 — /dev/ttyS11"));
    QCOMPARE(d.f<QComboBox>(QStringLiteral("cmbPrtLS1"))->currentText(), QStringLiteral("COM6 — /dev/ttyS5"));
    QCOMPARE(d.f<QLineEdit>(QStringLiteral("Etxt0"))->text(), QStringLiteral("Areias, Lda"));
    QCOMPARE(d.f<QLabel>(QStringLiteral("lblMin0"))->text(), QStringLiteral("400"));
    QVERIFY(d.f(QStringLiteral("lblMin0"))->font().bold());
    QVERIFY(!d.f(QStringLiteral("cmbPrtB0"))->font().bold());

    // The division list shows its minimum at once; Cancelar undoes it and closes, the file untouched.
    const QByteArray antes = d.p.bytes();
    auto* div = d.f<QComboBox>(QStringLiteral("cmbDiv1"));
    div->setCurrentIndex(5);
    Q_EMIT div->activated(5);
    QCOMPARE(d.f<QLabel>(QStringLiteral("lblMin1"))->text(), QStringLiteral("1000"));
    d.f<QAbstractButton>(QStringLiteral("cmd0"))->click();
    QCOMPARE(d.w->result(), int(QDialog::Rejected));
    QCOMPARE(d.p.def().PesagemMinima[1], qint16(400));
    QCOMPARE(d.p.bytes(), antes);
}

// Each control that shows or hides others, clicked in turn: what is then shown
// and hidden. At the start bridge 1 is in use over RS232, bridge 2 and the
// readers are not.
void TesteFrmPar::dependencias_data()
{
    QTest::addColumn<QStringList>("cliques");
    QTest::addColumn<QStringList>("visiveis");
    QTest::addColumn<QStringList>("escondidos");
    const QStringList serieB0 = {"lblPrtB0", "cmbPrtB0", "lblHndB0", "cmbHndB0", "lblBauB0", "cmbBauB0",
                                 "lblParB0", "cmbParB0", "lblDatB0", "cmbDatB0", "lblStpB0", "cmbStpB0"};
    QTest::newRow("ao abrir") << QStringList() << QStringList{"fraB0"} + serieB0
                              << QStringList{"fraB1", "fraLP0", "fraLS1", "lblIP0", "txtIP0"};
    QTest::newRow("báscula 1 desligada") << QStringList{"chkB0"} << QStringList() << QStringList{"fraB0"};
    QTest::newRow("báscula 2 ligada") << QStringList{"chkB1"} << QStringList{"fraB1", "fraB0"} << QStringList();
    QTest::newRow("leitores ligados") << QStringList{"chkLP0", "chkLS1"} << QStringList{"fraLP0", "fraLS1"}
                                      << QStringList{"fraLP1", "fraLS0"};
    QTest::newRow("IP") << QStringList{"optIP0"} << QStringList{"lblIP0", "txtIP0", "cmbPrtB1", "cmbInd0", "lblMin0"}
                        << serieB0 + QStringList{"lblIP1"};
    QTest::newRow("IP e de novo RS232") << QStringList{"optIP0", "optRS0"} << serieB0 << QStringList{"lblIP0", "txtIP0"};
}

void TesteFrmPar::dependencias()
{
    QFETCH(QStringList, cliques);
    QFETCH(QStringList, visiveis);
    QFETCH(QStringList, escondidos);
    DialogoTeste d;
    for (const QString& nome : cliques)
        d.f<QAbstractButton>(nome)->click();
    for (const QString& nome : visiveis)
        QVERIFY2(!d.f(nome)->isHidden(), qPrintable(nome));
    for (const QString& nome : escondidos)
        QVERIFY2(d.f(nome)->isHidden(), qPrintable(nome));
}

void TesteFrmPar::teclasEFoco()
{
    DialogoTeste d;
    QVERIFY(d.activo);
    auto* etxt0 = d.f<QLineEdit>(QStringLiteral("Etxt0"));
    QTest::mouseClick(d.f(QStringLiteral("sst1")), Qt::LeftButton);
    etxt0->setFocus(Qt::TabFocusReason);
    QCOMPARE(etxt0->selectedText(), QStringLiteral("Areias, Lda"));
    QCOMPARE(etxt0->cursorPosition(), 0);
    QCOMPARE(etxt0->palette().color(QPalette::Base), Amarelo);
    d.escrever(QStringLiteral("Etxt0"), QStringLiteral("Outra"));
    QTest::keyClick(etxt0, Qt::Key_Escape);  // back to the text it had, all selected
    QCOMPARE(etxt0->text(), QStringLiteral("Areias, Lda"));
    QCOMPARE(etxt0->selectedText(), QStringLiteral("Areias, Lda"));
    QTest::keyClick(etxt0, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), d.f(QStringLiteral("Etxt1")));
    QVERIFY(etxt0->palette().color(QPalette::Base) != Amarelo);

    // Typed or pasted into each kind of filtered field: what stays.
    const char* const filtros[][3] = {{"Etxt3", "12-3a", "12-3"},   {"Etxt5", "5a-0", "50"},
                                      {"Etxt6", "(+351)a|", "(+351)|"}, {"Etxt9", "1a2", "12"},
                                      {"Etxt4", "Evora-a", "Evora-a"}};
    for (const auto& [campo, escrito, fica] : filtros)
        QCOMPARE(d.escrever(QString::fromUtf8(campo), QString::fromUtf8(escrito)), QString::fromUtf8(fica));
    QCOMPARE(d.p.t.mensagens.beeps, 0);
    QTest::keyClick(d.f(QStringLiteral("Etxt4")), Qt::Key_X, Qt::AltModifier);  // an access key types nothing
    QCOMPARE(d.f<QLineEdit>(QStringLiteral("Etxt4"))->text(), QStringLiteral("Evora-a"));
    QApplication::clipboard()->setText(QStringLiteral("9x"));
    QTest::keyClick(d.f(QStringLiteral("Etxt9")), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(d.f<QLineEdit>(QStringLiteral("Etxt9"))->text(), QStringLiteral("12"));
    d.f(QStringLiteral("cmbT4"))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(d.f(QStringLiteral("cmbT4")), Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != d.f(QStringLiteral("cmbT4")));

    d.f<QAbstractButton>(QStringLiteral("optIP0"))->click();
    QTest::mouseClick(d.f(QStringLiteral("sst2")), Qt::LeftButton);
    QCOMPARE(d.escrever(QStringLiteral("txtIP0"), QStringLiteral("10.a0")), QStringLiteral("10.0"));
    QCOMPARE(d.p.t.mensagens.beeps, 1);
    QTest::keyClick(d.f(QStringLiteral("txtIP0")), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), d.f(QStringLiteral("txtIP0")));
    QTest::keyClick(d.f(QStringLiteral("txtIP0")), Qt::Key_Escape);  // the address of the settings record
    QCOMPARE(d.f<QLineEdit>(QStringLiteral("txtIP0"))->text(), QString());
    QVERIFY(d.w->isVisible());  // no key closed the dialog or pressed a button
    QVERIFY(d.p.t.sistema.terminacoes.isEmpty());
}

// A tab that hides the page with the focus takes the focus to its own page:
// the box it lands in is the one in yellow, its text selected from the start.
void TesteFrmPar::abaLevaOFoco()
{
    DialogoTeste d;
    QVERIFY(d.activo);
    auto* txtG0 = d.f<QLineEdit>(QStringLiteral("txtG0"));
    txtG0->setFocus(Qt::TabFocusReason);
    QCOMPARE(txtG0->palette().color(QPalette::Base), Amarelo);
    QTest::mouseClick(d.f(QStringLiteral("sst1")), Qt::LeftButton);
    auto* etxt0 = d.f<QLineEdit>(QStringLiteral("Etxt0"));
    QCOMPARE(QApplication::focusWidget(), etxt0);
    QCOMPARE(etxt0->palette().color(QPalette::Base), Amarelo);
    QCOMPARE(etxt0->selectedText(), QStringLiteral("Areias, Lda"));
    QVERIFY(txtG0->palette().color(QPalette::Base) != Amarelo);
}

// "&Parâmetros Internos" opens the dialog modal over the main window; a save
// there ends the program after its message, and the main window runs its
// activation once the dialog is gone.
void TesteFrmPar::pelaJanelaPrincipal()
{
    EstacaoTeste t;
    t.abrirBaseDados();
    t.estacao->Acesso.NivelAcesso = 4;
    frmPrincipal principal(*t.estacao);
    principal.Form_Load();
    principal.Mostrar(false);
    principal.Form_Activate();
    t.estacao->Acesso.TituloMenu = QStringLiteral("?");  // cleared by the activation
    if (!naJanelaModal<frmPar>([&] { principal.accao(QStringLiteral("mnuSis4"))->trigger(); },
                                  [&](frmPar& dialogo) {
                                      QCOMPARE(dialogo.parentWidget(), &principal);
                                      QVERIFY(dialogo.isModal());
                                      dialogo.findChild<QAbstractButton*>(QStringLiteral("cmd2"))->click();
                                  }))
        return;
    QCOMPARE(t.mensagens.caixas.size(), 1);
    QCOMPARE(t.mensagens.caixas[0].texto, QStringLiteral("É necessário reiniciar o Zumarel"));
    QCOMPARE(t.sistema.terminacoes, QList<int>{0});
    QVERIFY(FicheiroPerfil(t.caminho(QStringLiteral("Lorvane.ini"))).valor(QStringLiteral("NrCopias"),
                                                                          QStringLiteral("Talao")));
    QVERIFY(t.estacao->Acesso.TituloMenu.isEmpty());
}

// "Gravar alterações" on a disk that cannot take the settings file: the box
// says so and why, the dialog stays open, and neither the file nor the
// company lines have changed. With room again the same button saves.
void TesteFrmPar::gravarSemEspaco()
{
    DialogoTeste d(BancadaParametros::maiorQueBaseDados("[PortasSerie]\r\nCOM3=/dev/ttyUSB0\r\n"));
    const QByteArray antes = d.p.bytes();
    QTest::mouseClick(d.f(QStringLiteral("sst1")), Qt::LeftButton);
    d.escrever(QStringLiteral("Etxt0"), QStringLiteral("Britas do Norte"));
    {
        const LimiteTamanhoFicheiros limite(BancadaParametros::limiteEntreBaseDadosEIni());
        d.f<QAbstractButton>(QStringLiteral("cmd2"))->click();
    }
    QCOMPARE(d.p.t.mensagens.caixas.size(), 1);
    const auto caixa = d.p.t.mensagens.caixas[0];
    QVERIFY2(caixa.texto.startsWith("Não foi possível gravar Lorvane.ini\n\n(O ficheiro excede o tamanho máximo permitido ["),
             qPrintable(caixa.texto));
    QCOMPARE(std::tuple(caixa.estilo, caixa.titulo, d.w->isVisible()), std::tuple(48, QStringLiteral("Zumarel"), true));
    QCOMPARE(std::tuple(d.p.t.sistema.terminacoes, d.p.bytes()), std::tuple(QList<int>{}, antes));
    QCOMPARE(d.p.empresa(QStringLiteral("Linha 1")).toString(), QStringLiteral("Areias, Lda"));

    d.f<QAbstractButton>(QStringLiteral("cmd2"))->click();
    QCOMPARE(d.p.t.sistema.terminacoes, QList<int>{0});
    QCOMPARE(d.p.empresa(QStringLiteral("Linha 1")).toString(), QStringLiteral("Britas do Norte"));
}

QTEST_MAIN(TesteFrmPar)
#include "tst_frmPar.moc"
