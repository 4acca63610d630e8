#include "EcraTeste.h"
#include "OperadoresTeste.h"
#include "admin/LogicaAcerca.h"
#include "admin/frmAcerca.h"
#include "admin/frmAltCod.h"
#include "admin/frmRelogio.h"
#include "screen/frmPrincipal.h"
#include "support/JanelaModal.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

// The date and time, change of code and about windows, opened from the real
// main window's menus on the offscreen platform.
class TesteJanelasAdministracao : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void relogio();
    void altCod();
    void altCodSupervisor();
    void acerca();
    void sistemaInformacao_data();
    void sistemaInformacao();
};

namespace {
struct Principal
{
    explicit Principal(int nivel = 4)
    {
        prepararEstacao(t, nivel);
        definirOperadores(*t.estacao, {{QStringLiteral("Ana"), QStringLiteral("abc"), nivel}});
        w = std::make_unique<frmPrincipal>(*t.estacao, nullptr);
        w->Form_Load();
        w->Mostrar(false);
        w->Form_Activate();
        w->activateWindow();
    }

    // Chooses a menu item and works in the modal window it opens, which is
    // closed afterwards if the work left it open. False (the test failed)
    // when none opened or a check inside failed.
    template <typename J>
    bool abrir(const QString& item, const std::function<void(J&)>& trabalho,
               const std::source_location onde = std::source_location::current())
    {
        return naJanelaModal<J>([&] { w->findChild<QAction*>(item)->trigger(); }, trabalho, onde);
    }

    EstacaoTeste t;
    std::unique_ptr<frmPrincipal> w;
};

template <typename W>
W* filho(QWidget& janela, const char* nome)
{
    return janela.findChild<W*>(QLatin1String(nome));
}
}  // namespace

void TesteJanelasAdministracao::relogio()
{
    Principal p;
    if (!p.abrir<frmRelogio>(QStringLiteral("mnuSis0"), [&](frmRelogio& j) {
        QCOMPARE(j.parentWidget(), p.w.get());
        QCOMPARE(j.windowTitle(), QStringLiteral("Acerto de Data e Hora"));
        QCOMPARE(filho<QGroupBox>(j, "fra1")->title(), QStringLiteral("Hora: 14:30:00"));
        auto* data = filho<QLineEdit>(j, "txt0");
        auto* hora = filho<QLineEdit>(j, "txt1");
        QCOMPARE(QApplication::focusWidget(), data);
        QTest::keyClick(data, Qt::Key_Return);  // no button pressed: the focus moves on
        QCOMPARE(QApplication::focusWidget(), hora);
        QTest::keyClicks(hora, QStringLiteral("9x"));
        QCOMPARE(hora->text(), QStringLiteral("9"));
        QCOMPARE(p.t.mensagens.beeps, 1);
        QTest::keyClick(hora, Qt::Key_Down);
        QCOMPARE(hora->text(), QStringLiteral("09:00"));
        QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), QStringLiteral("Acertar"));
        QTest::keyClick(filho<QPushButton>(j, "cmd0"), Qt::Key_Return);
        QVERIFY(!j.isVisible());
    }))
        return;
    QCOMPARE(p.t.sistema.acertos, QList<QDateTime>{QDateTime(QDate(2026, 12, 5), QTime(9, 0), Qt::LocalTime)});
    QVERIFY(QTest::qWaitForWindowActive(p.w.get()));  // the main window active again

    if (!p.abrir<frmRelogio>(QStringLiteral("mnuSis0"), [&](frmRelogio& j) {
        QTest::keyClick(filho<QLineEdit>(j, "txt0"), Qt::Key_Escape);
        QVERIFY(!j.isVisible());
    }))
        return;
    QCOMPARE(p.t.sistema.acertos.size(), 1);
}

void TesteJanelasAdministracao::altCod()
{
    Principal p;
    if (!p.abrir<frmAltCod>(QStringLiteral("mnuSis2"), [&](frmAltCod& j) {
        QCOMPARE(filho<QLabel>(j, "lblOperador")->text(), QStringLiteral("Ana"));
        QVERIFY(!filho<QLineEdit>(j, "txt1")->isVisible());
        QVERIFY(!filho<QPushButton>(j, "cmd2")->isVisible());
        for (auto [caixa, texto] : {std::pair{"txt0", "ABC"}, {"txt1", "novo"}, {"txt2", "NOVO"}}) {
            QCOMPARE(QApplication::focusWidget(), filho<QLineEdit>(j, caixa));
            QTest::keyClicks(QApplication::focusWidget(), QLatin1String(texto));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(QApplication::focusWidget(), filho<QPushButton>(j, "cmd2"));
        QCOMPARE(filho<QLabel>(j, "stbPainel1")->text(), QStringLiteral("Gravar novo código de acesso"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!j.isVisible());
    }))
        return;
    QSqlQuery q = Consulta::executar(p.t.estacao->bd(), QStringLiteral("SELECT \"Código de acesso\" FROM Operadores"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("novo"));
}

// The supervisor word, then "&Cancelar": level 5, and the main window hands over to a new login.
void TesteJanelasAdministracao::altCodSupervisor()
{
    Principal p;
    if (!p.abrir<frmAltCod>(QStringLiteral("mnuSis2"), [&](frmAltCod& j) {
        QTest::keyClicks(filho<QLineEdit>(j, "txt0"), QStringLiteral("Quindo"));
        QTest::keyClick(filho<QLineEdit>(j, "txt0"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), filho<QPushButton>(j, "cmd1"));
        QTest::mouseClick(filho<QPushButton>(j, "cmd0"), Qt::LeftButton);
    }))
        return;
    QCOMPARE(int(p.t.estacao->Acesso.NivelAcesso), 5);
    QVERIFY(!p.w->isVisible());
}

void TesteJanelasAdministracao::acerca()
{
    Principal p;
    if (!p.abrir<frmAcerca>(QStringLiteral("mnuAjuda2"), [&](frmAcerca& j) {
        QCOMPARE(j.windowTitle(), QStringLiteral("Acerca do Zumarel"));
        QCOMPARE(filho<QLabel>(j, "lblTitle")->text(), QStringLiteral("Zumarel"));
        QCOMPARE(filho<QLabel>(j, "lblVersion")->text(), QStringLiteral("Versão " ZUMAREL_VERSAO));
        j.logica().procurar = [](const QString& nome) -> QString { return QStringLiteral("/usr/bin/") + nome; };
        QTest::mouseClick(filho<QPushButton>(j, "cmd1"), Qt::LeftButton);
        QTest::mouseClick(filho<QPushButton>(j, "cmd0"), Qt::LeftButton);
        QVERIFY(!j.isVisible());
    }))
        return;
    QCOMPARE(p.t.sistema.programas, QStringList{"/usr/bin/hardinfo"});
    QCOMPARE(LogicaAcerca::textoVersao(1, 0, 83), QStringLiteral("Versão 1.0.83"));
}

// The tools installed, whether the one found starts, the programs started
// and the box shown ("" none: text|style|title).
void TesteJanelasAdministracao::sistemaInformacao_data()
{
    QTest::addColumn<QStringList>("instalados");
    QTest::addColumn<bool>("arranca");
    QTest::addColumn<QStringList>("iniciados");
    QTest::addColumn<QString>("caixa");

    const QString indisponivel = QStringLiteral("Opção não dispoNiv no momento|0|Zumarel");
    QTest::newRow("o segundo instalado") << QStringList{"kinfocenter", "xfce4-taskmanager"} << true
                                         << QStringList{"/bin/kinfocenter"} << "";
    QTest::newRow("nenhum") << QStringList{} << true << QStringList{} << indisponivel;
    QTest::newRow("não arranca") << QStringList{"hardinfo"} << false << QStringList{"/bin/hardinfo"} << indisponivel;
}

void TesteJanelasAdministracao::sistemaInformacao()
{
    QFETCH(QStringList, instalados);
    QFETCH(bool, arranca);
    EstacaoTeste t(false);
    t.sistema.recusar = !arranca;
    LogicaAcerca logica(*t.estacao);
    logica.procurar = [&](const QString& nome) -> QString {
        return instalados.contains(nome) ? QStringLiteral("/bin/") + nome : QString();
    };
    logica.StartSysInfo();
    QTEST(t.sistema.programas, "iniciados");
    QStringList caixas;
    for (const auto& c : t.mensagens.caixas)
        caixas << c.texto + u'|' + QString::number(c.estilo) + u'|' + c.titulo;
    QTEST(caixas.join(u'\n'), "caixa");
}

QTEST_MAIN(TesteJanelasAdministracao)
#include "tst_JanelasAdministracao.moc"
