#include "EcraTeste.h"
#include "SementeMapas.h"
#include "records/janelas/frmMapas.h"
#include "support/JanelaModal.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

// The statistics window offscreen, typed into as an operator does (opened
// from the menu in tst_JanelasDocumento).
class TesteFrmMapas : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<frmMapas> janela;

    template <typename W>
    W* filho(const QString& nome) { return janela->findChild<W*>(nome); }
    QLineEdit* txt(int i) { return filho<QLineEdit>(QStringLiteral("txt%1").arg(i)); }
    QComboBox* lista() { return filho<QComboBox>(QStringLiteral("Identificação")); }

    void abrir(const QString& titulo, int nivel = 4)
    {
        t = std::make_unique<EstacaoTeste>();
        prepararEstacao(*t, nivel);
        semearPesagens(*t->estacao);
        t->estacao->Acesso.TituloMapa = titulo;
        t->relogio.momento = QDateTime(QDate(2026, 1, 31), QTime(12, 0));
        janela = std::make_unique<frmMapas>(*t->estacao);
        janela->show();
        QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    }

    // The period of January, then Enter on the end year.
    void preencher()
    {
        QTest::mouseClick(txt(0), Qt::LeftButton);  // the operator goes to the box
        txt(0)->clear();
        QTest::keyClicks(txt(0), "1");
        QTest::keyClick(txt(0), Qt::Key_Return);
        QTest::keyClick(txt(1), Qt::Key_PageDown);
        QTest::keyClick(txt(5), Qt::Key_Return);
    }

private Q_SLOTS:
    void periodoEListaPorTeclas()
    {
        abrir(QStringLiteral("Estatísticas por produto"));
        QCOMPARE(txt(3)->text(), "31");
        for (int i = 0; i < 6; ++i)
            QCOMPARE(txt(i)->maxLength(), i % 3 == 2 ? 4 : 2);
        for (QWidget* w : {static_cast<QWidget*>(lista()), filho<QWidget>("chk0"), filho<QWidget>("cmd0")})
            QVERIFY(!w->isVisibleTo(janela.get()));
        QTest::mouseClick(txt(0), Qt::LeftButton);  // the operator goes to the box
        txt(0)->clear();
        QTest::keyClick(txt(0), Qt::Key_Return);  // 0: stays
        QCOMPARE(QApplication::focusWidget(), txt(0));
        QCOMPARE(txt(0)->palette().color(QPalette::Base), QColor(Qt::yellow));
        QCOMPARE(filho<QStatusBar>("stb")->currentMessage(), "Dia de inicio");
        preencher();
        QCOMPARE(txt(0)->text(), "01");
        QCOMPARE(lista()->currentText(), "TODOS");
        QCOMPARE(QApplication::focusWidget(), lista());
        // A text not in the list, or "todos", beeps; the typed text keeps its case.
        lista()->setEditText({});
        QTest::keyClicks(lista(), "todos");
        QTest::keyClick(lista(), Qt::Key_Return);
        QTest::keyClick(lista(), Qt::Key_Escape);
        QCOMPARE(lista()->currentText(), "todos");
        QCOMPARE(t->mensagens.beeps, 1);
        QVERIFY(janela->isVisible());
        lista()->setEditText("Brita");
        QTest::keyClick(lista(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), filho<QWidget>("chk0"));
        // "Com gráfico" brings "Só totais"; not the other way round.
        filho<QCheckBox>("chk1")->click();
        filho<QCheckBox>("chk0")->click();
        QCOMPARE(filho<QCheckBox>("chk0")->isChecked(), false);
        QCOMPARE(filho<QCheckBox>("chk1")->isChecked(), true);
        filho<QPushButton>("cmd1")->click();
        QCOMPARE(t->impressora.pedidos.size(), 1);  // the request itself is the logic's
        QVERIFY(t->impressora.pedidos[0].FormulaSeleccao.endsWith("{Pesagens.Produto}='Brita'"));
        QTest::keyClick(txt(4), Qt::Key_Escape);
        QVERIFY(!janela->isVisible());
    }

    // Page Down is the window's own move: the box left is reformatted, the
    // box reached turns yellow with its hint.
    void focoPorTeclas()
    {
        abrir(QStringLiteral("Estatísticas por produto"));
        QTest::mouseClick(txt(0), Qt::LeftButton);
        txt(0)->setText(QStringLiteral("5"));
        QTest::keyClick(txt(0), Qt::Key_PageDown);
        QCOMPARE(QApplication::focusWidget(), txt(5));
        QCOMPARE(txt(0)->text(), "05");
        QCOMPARE(txt(5)->palette().color(QPalette::Base), QColor(Qt::yellow));
        QVERIFY(txt(0)->palette().color(QPalette::Base) != QColor(Qt::yellow));
        QCOMPARE(filho<QStatusBar>("stb")->currentMessage(), "Ano de fim");
    }

    void matriculasEmMaiusculas()
    {
        abrir(QStringLiteral("Estatísticas por viatura"));
        preencher();
        lista()->setEditText({});
        QTest::keyClicks(lista(), "ab");
        QCOMPARE(lista()->currentText(), "AB");
    }
};

QTEST_MAIN(TesteFrmMapas)
#include "tst_frmMapas.moc"
