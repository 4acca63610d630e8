#include "platform/gui/Dialogo.h"
#include "platform/gui/FocoJanela.h"
#include "platform/gui/FocoOperador.h"
#include "platform/gui/RealceFoco.h"
#include "platform/gui/Teclas.h"
#include "shared/Tecla.h"
#include "support/JanelaModal.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A dialog of two boxes, a check box and two buttons, as the windows build theirs.
struct Janela
{
    Janela()
    {
        auto* l = new QVBoxLayout(&d);
        for (QWidget* w : todos()) {
            l->addWidget(w);
            w->setObjectName(w == a ? "a" : w == b ? "b" : w == chk ? "chk" : w == ok ? "ok" : "sair");
        }
        QObject::connect(ok, &QPushButton::clicked, &d, [this] { ++premidos; });
    }
    QList<QWidget*> todos() const { return {a, b, chk, ok, sair}; }
    bool mostrar()
    {
        d.show();
        d.activateWindow();
        return QTest::qWaitForWindowActive(&d);
    }

    QDialog d;
    QLineEdit* a = new QLineEdit(&d);
    QLineEdit* b = new QLineEdit(&d);
    QCheckBox* chk = new QCheckBox(QStringLiteral("chk"), &d);
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &d);
    QPushButton* sair = new QPushButton(QStringLiteral("Sair"), &d);
    int premidos = 0;
};

bool amarelo(const QWidget* w, QPalette::ColorRole papel = QPalette::Base)
{
    return w->palette().color(papel) == RealceFoco::Amarelo;
}

}  // namespace

// What every window shares, tested once here.
class TesteComumJanelas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void caracter_data()
    {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("caracter");
        QTest::addColumn<bool>("soAcesso");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<bool>("controlo");
        QTest::addColumn<int>("estadoShift");  // Shift 1, Ctrl 2, Alt 4

        const int nenhum = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const int alt = Qt::AltModifier;
        QTest::newRow("letra") << int(Qt::Key_A) << nenhum << "a" << int('a') << false << 0 << false << 0;
        QTest::newRow("Enter do teclado numérico") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << Tecla::Enter << false << 0 << false << 0;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << nenhum << "\x1b" << Tecla::Esc << false << 0 << false << 0;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << nenhum << "\b" << Tecla::Retrocesso << false << 0 << false << 0;
        QTest::newRow("Ctrl+V, texto v") << int(Qt::Key_V) << ctrl << "v" << 22 << false << 0 << true << 2;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "\x01" << 1 << false << 0 << true << 2;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << "\x1a" << 26 << false << 0 << true << 2;
        QTest::newRow("Ctrl+algarismo") << int(Qt::Key_1) << ctrl << "1" << 0 << false << 0 << false << 2;
        QTest::newRow("Alt+letra") << int(Qt::Key_X) << alt << "x" << 0 << true << 0 << false << 4;
        QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << alt << "\r" << Tecla::Enter << false << 0 << false << 4;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << nenhum << "\x7f" << 0 << false << 0 << false << 0;
        QTest::newRow("seta abaixo") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << "" << 0 << false << Tecla::Baixo << false << 1;
    }

    void caracter()
    {
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        QFETCH(QString, texto);
        const QKeyEvent e(QEvent::KeyPress, tecla, Qt::KeyboardModifiers(modificadores), texto);
        QTEST(Teclas::caracter(&e), "caracter");
        QTEST(Teclas::soAcesso(&e), "soAcesso");
        QTEST(Teclas::codigo(&e), "codigo");
        QTEST(Teclas::controlo(&e), "controlo");
        QTEST(Teclas::estadoShift(&e), "estadoShift");
    }

    // A box's base, a button's face, a check box's text; the colours a control
    // had without the focus (white where the window chose it) come back.
    void realce()
    {
        Janela j;
        QPalette branca = j.b->palette();
        branca.setColor(QPalette::Base, Qt::white);
        j.b->setPalette(branca);
        const QPalette botao = j.ok->palette();
        const QPalette texto = j.chk->palette();
        Realce r;
        for (QWidget* w : j.todos().mid(0, 4))
            r.registar(w);
        r.aplicar(j.b);
        QVERIFY(amarelo(j.b) && !amarelo(j.a));
        r.aplicar(j.ok);
        QVERIFY(amarelo(j.ok, QPalette::Button) && !amarelo(j.b));
        QCOMPARE(j.b->palette().color(QPalette::Base), QColor(Qt::white));
        r.aplicar(j.chk);
        QCOMPARE(j.chk->palette().color(QPalette::WindowText), texto.color(QPalette::HighlightedText));
        QCOMPARE(j.ok->palette(), botao);
        r.aplicar(nullptr);
        QCOMPARE(j.chk->palette(), texto);
    }

    // For a window whose logic keeps the focus: only the operator's moves are told.
    void vigiaFoco()
    {
        Janela j;
        VigiaFoco vigia;
        QStringList movidos;
        vigia.aoMover = [&](QWidget* w) { movidos << w->objectName(); };
        vigia.vigiar(j.a);
        vigia.vigiar(j.b);
        QVERIFY(j.mostrar());
        QTest::keyClick(j.a, Qt::Key_Tab);
        QTest::mouseClick(j.a, Qt::LeftButton);
        j.b->setFocus();
        QFocusEvent regresso(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(j.a, &regresso);
        QCOMPARE(movidos, QStringList({"b", "a"}));
    }

    // The window's first focus, the operator's moves and the window's own count;
    // a box opening and closing over it, the program's setFocus() and a focus
    // given again to the same control do not.
    void focoDaJanela()
    {
        Janela j;
        FocoJanela foco;
        QStringList mudancas;
        foco.aoMudar = [&](QWidget* saiu, QWidget* entrou) {
            mudancas << (saiu ? saiu->objectName() : QStringLiteral("-")) + QStringLiteral(">") + entrou->objectName()
                            + (entrou == j.a && j.a->hasSelectedText() ? QStringLiteral(" seleccionada") : QString());
        };
        foco.seguir(j.a, true);
        foco.seguir(j.b, true);
        foco.seguir(j.ok, true);
        auto* popup = new QLineEdit(&j.d);  // a window of its own inside the dialog: not followed
        popup->setWindowFlags(Qt::Popup);
        foco.seguirOsOutros(&j.d);
        j.a->setText(QStringLiteral("texto"));
        QVERIFY(j.mostrar());
        QCOMPARE(mudancas, QStringList{"->a"});  // the first focus of the window
        QVERIFY(amarelo(j.a));

        QTest::keyClick(j.a, Qt::Key_Tab);
        QTest::keyClick(j.b, Qt::Key_Tab);
        QFocusEvent clique(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(popup, &clique);
        QCOMPARE(mudancas, QStringList({"->a", "a>b", "b>chk"}));
        QVERIFY(!amarelo(j.a) && !amarelo(j.b));  // a check box not chosen for the yellow

        QTest::mouseClick(j.ok, Qt::LeftButton);
        QVERIFY(amarelo(j.ok, QPalette::Button));
        j.b->setFocus();  // the program's own move, not through the window: not followed
        QCOMPARE(mudancas.last(), QStringLiteral("chk>ok"));
        foco.darFoco(j.a);  // the window's own move: after the box's own handling
        QCOMPARE(mudancas.last(), QStringLiteral("ok>a"));
        QCOMPARE(QApplication::focusWidget(), j.a);
        QVERIFY(amarelo(j.a) && !amarelo(j.ok, QPalette::Button));

        // A box over the window: its opening and closing move nothing.
        const qsizetype antes = mudancas.size();
        QTimer::singleShot(0, &j.d, [] { fecharJanelasModais(); });
        QMessageBox::information(&j.d, QStringLiteral("t"), QStringLiteral("x"));
        j.d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&j.d));
        QCOMPARE(mudancas.size(), antes);
        QVERIFY(amarelo(j.a));

        // Back to the first box by Shift+Tab: its own selection first, then the window's handler.
        QTest::keyClick(j.a, Qt::Key_Tab);
        QTest::keyClick(j.b, Qt::Key_Backtab);
        QCOMPARE(mudancas.mid(antes), QStringList({"a>b", "b>a seleccionada"}));
    }

    // Esc and Enter that reach the dialog, and the buttons that Qt would make default.
    void teclasDoDialogo_data()
    {
        QTest::addColumn<bool>("escFecha");
        QTest::addColumn<bool>("enterNoBotao");
        QTest::newRow("Esc nada, Enter no botão") << false << true;
        QTest::newRow("Esc fecha, Enter nunca") << true << false;
    }

    void teclasDoDialogo()
    {
        QFETCH(bool, escFecha);
        QFETCH(bool, enterNoBotao);
        Janela j;
        Dialogo::aplicar(&j.d, {escFecha, enterNoBotao});
        auto* tardio = new QPushButton(QStringLiteral("tardio"), &j.d);  // made after the rules
        QVERIFY(j.mostrar());
        for (QPushButton* b : {j.ok, j.sair, tardio})
            QVERIFY(!b->isDefault() && !b->autoDefault());

        QTest::keyClick(j.a, Qt::Key_Return);  // in a box: no button pressed
        QTest::keyClick(j.a, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(j.premidos, 0);
        j.ok->setFocus(Qt::TabFocusReason);
        QTest::keyClick(j.ok, Qt::Key_Return);
        QCOMPARE(j.premidos, enterNoBotao ? 1 : 0);
        QVERIFY(j.d.isVisible());

        QTest::keyClick(j.a, Qt::Key_Escape);
        QCOMPARE(j.d.isVisible(), !escFecha);
        QCOMPARE(j.d.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TesteComumJanelas)
#include "tst_ComumJanelas.moc"
