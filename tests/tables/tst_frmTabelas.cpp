#include "GrelhaTeste.h"
#include "admin/frmCodigos.h"
#include "platform/gui/RealceFoco.h"
#include "reporting/MotorRelatorios.h"
#include "screen/frmPrincipal.h"
#include "shared/Esquema.h"
#include "support/FicheiroOcupado.h"
#include "support/JanelaModal.h"
#include "support/MotorTeste.h"
#include "support/TextoPdf.h"
#include "tables/VistaGrelha.h"
#include "tables/frmTabelas.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The table editor's window, opened from the main window's menu, and its
// listings printed into PDF files.
class TesteFrmTabelas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void abertaPeloMenuDoNivel4();
    void escEFoco_data();
    void escEFoco();
    void teclasNaCelula_data();
    void teclasNaCelula();
    void listagemEmPdf_data();
    void listagemEmPdf();
    void listagemQueFalha_data();
    void listagemQueFalha();
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
// only by their Sair button or the close box. The grid and the buttons are
// yellow while they have the focus, a button with its hint in panel 1; the
// grid goes back to the window colour (white in the operators table).
void TesteFrmTabelas::escEFoco_data()
{
    QTest::addColumn<bool>("operadores");
    QTest::addColumn<QColor>("semFoco");
    QTest::newRow("viaturas") << false << QApplication::palette().color(QPalette::Base);
    QTest::newRow("operadores") << true << QColor(Qt::white);
}

void TesteFrmTabelas::escEFoco()
{
    QFETCH(bool, operadores);
    QFETCH(QColor, semFoco);
    GrelhaTeste g;
    g.viaturas(2);
    if (!naJanelaGrelha(g, operadores, [&](JanelaGrelha& d) {
            VistaGrelha* dbg = d.dbg();
            QCOMPARE(QApplication::focusWidget(), dbg);
            QCOMPARE(dbg->palette().color(QPalette::Base), RealceFoco::Amarelo);
            QTest::keyClick(dbg, Qt::Key_X);  // a cell of the row changed, the next one's editor opened
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!dbg->indexWidget(dbg->currentIndex()));
            QTest::keyClick(dbg, Qt::Key_Escape);
            QVERIFY(d.isVisible());
            QCOMPARE(g.t.mensagens.caixas.size(), 0);  // no "Gravar ?"

            QPushButton* ordem = d.cmd(2);
            ordem->setFocus(Qt::TabFocusReason);
            QCOMPARE(ordem->palette().color(QPalette::Button), RealceFoco::Amarelo);
            QCOMPARE(dbg->palette().color(QPalette::Base), semFoco);
            QCOMPARE(d.findChild<QLabel*>(QStringLiteral("stb1"))->text(), QStringLiteral("Ordenar"));
            QTest::mouseClick(dbg->viewport(), Qt::LeftButton, {}, dbg->visualRect(dbg->model()->index(0, 1)).center());
            QCOMPARE(dbg->palette().color(QPalette::Base), RealceFoco::Amarelo);
            QVERIFY(ordem->palette().color(QPalette::Button) != RealceFoco::Amarelo);
        }))
        return;
}

// Keys typed in a cell of the first row of the real window, each to the
// widget with the focus: a character, or a key sequence in braces ({Alt+X}
// an access key no menu takes).
// The row is then left, when `fica` says what it stores: the date column
// takes "1234567890-/:" only, from the keys and from a paste alike, but the
// blank of a date the grid shows with its time stays.
void TesteFrmTabelas::teclasNaCelula_data()
{
    QTest::addColumn<int>("coluna");       // 3: the operators' level
    QTest::addColumn<QString>("guardada");  // the cell's value before, Null when empty
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("colar");   // the clipboard's text
    QTest::addColumn<QString>("editor");  // the cell editor's text then
    QTest::addColumn<QString>("fica");    // the value stored once the row is left; "" not left
    QTest::newRow("tara só com algarismos") << 12 << "" << "1a2" << "" << "12" << "";
    QTest::newRow("Ctrl+V numa tara") << 12 << "" << "7{Ctrl+V}" << "99" << "7" << "";
    QTest::newRow("tecla de acesso") << 1 << "" << "a{Alt+X}" << "" << "A" << "";
    QTest::newRow("hora cortada em cinco") << 15 << "" << "12:301" << "" << "12:30" << "";
    QTest::newRow("Enter não entra") << 1 << "" << "a{Return}" << "" << "A" << "";
    QTest::newRow("nível colado fora da regra") << 3 << "" << "3{Shift+Ins}" << "99" << "3" << "";
    QTest::newRow("data, teclas com um espaço") << 14 << "" << "05-03-2024 10:20" << "" << "05-03-202410:20" << "Data incorrecta";
    QTest::newRow("data, teclas só com a data") << 14 << "" << "05/03/2024" << "" << "05/03/2024" << "2024-03-05 00:00:00";
    QTest::newRow("data colada com um espaço") << 14 << "" << "{F2}{Shift+Ins}" << "05-03-2024 10:20" << "" << "";
    QTest::newRow("data colada só a data") << 14 << "" << "{F2}{Shift+Ins}" << "05-03-2024" << "05-03-2024" << "2024-03-05 00:00:00";
    QTest::newRow("data com hora mudada") << 14 << "2024-03-05 10:20:00" << "{F2}{End}{Backspace}{Backspace}5" << ""
                                          << "05-03-2024 10:20:5" << "2024-03-05 10:20:05";
    QTest::newRow("outro espaço colado na data com hora")
        << 14 << "2024-03-05 10:20:00" << "{F2}{End}{Shift+Ins}" << " " << "05-03-2024 10:20:00" << "2024-03-05 10:20:00";
}

void TesteFrmTabelas::teclasNaCelula()
{
    QFETCH(int, coluna);
    QFETCH(QString, guardada);
    QFETCH(QString, teclas);
    QFETCH(QString, colar);
    QFETCH(QString, fica);
    const bool operadores = coluna == 3;
    const Tabela& tabela = *Esquema::tabela(operadores ? Esquema::Operadores : Esquema::Viaturas);
    const QString tab = Esquema::citar(tabela.nome), campo = Esquema::citar(tabela.campos[coluna].nome);
    const QString primeira = QStringLiteral(" WHERE rowid = (SELECT min(rowid) FROM %1)").arg(tab);
    GrelhaTeste g;
    g.viaturas(1);
    g.sql(QStringLiteral("UPDATE %1 SET %2 = ?").arg(tab, campo) + primeira, {guardada.isEmpty() ? QVariant() : QVariant(guardada)});
    QGuiApplication::clipboard()->setText(colar);
    if (!naJanelaGrelha(g, operadores, [&](JanelaGrelha& d) {
            VistaGrelha* dbg = d.dbg();
            dbg->setCurrentIndex(dbg->model()->index(0, coluna));
            for (qsizetype i = 0; i < teclas.size(); ++i) {
                const qsizetype fim = teclas[i] == u'{' ? teclas.indexOf(u'}', i) : i;
                if (fim == i)
                    QTest::keyClick(QApplication::focusWidget(), teclas[i].toLatin1());
                else
                    QTest::keySequence(QApplication::focusWidget(), QKeySequence(teclas.mid(i + 1, fim - i - 1)));
                i = fim;
            }
            auto* editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
            QVERIFY(editor);
            QTEST(editor->text(), "editor");
            if (fica.isEmpty())
                return;
            QTest::keyClick(editor, Qt::Key_Down);  // "Gravar ?" (Yes), then the row is written or refused
            if (fica == u"Data incorrecta")
                QCOMPARE(g.t.mensagens.caixas.last().texto, fica);
            QCOMPARE(g.valor(QStringLiteral("SELECT %1 FROM %2").arg(campo, tab) + primeira).toString(), fica == u"Data incorrecta" ? guardada : fica);
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
    if (!TextoPdf::disponivel())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    GrelhaTeste g(titulo);
    g.viaturas(3);
    g.sql(QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", \"Peso á entrada\") VALUES "
                         "('P', 'PEND', 12500), ('E', 'FEITA', 9000)"));
    MotorTeste::copiarDefinicoes(g.t);
    MotorTeste r(g.t);  // no printer: a PDF
    g.t.estacao->impressora = r.motor.get();
    g.abrir();
    g.logica->cmd_Click(5);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(r.saida.ultimoPdf()), 60000);
    QVERIFY(r.saida.ultimoPdf().startsWith(g.t.caminho(QStringLiteral("impressos"))));
    const QString texto = TextoPdf::texto(r.saida.ultimoPdf());
    QFETCH(QStringList, presentes);
    for (const QString& s : presentes)
        QVERIFY2(texto.contains(s), qPrintable(s + QStringLiteral(" em falta:\n") + texto));
    QFETCH(QString, ausente);
    QVERIFY(ausente.isEmpty() || !texto.contains(ausente));
}

// A listing that fails once it is being made: another station takes the
// file after its first slice of rows, or there is no printer and its PDF
// has no folder (a file holds its name). The table's box for a table that
// cannot be read, the number's box for the printer, naming the file and the
// system's reason ("%1" stands for the station's folder); no PDF.
void TesteFrmTabelas::listagemQueFalha_data()
{
    QTest::addColumn<bool>("ocupado");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("estilo");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("ficheiro tomado a meio") << true << "Erro no acesso à tabela de viaturas\n\n(A base de dados está ocupada por outro utilizador [database is locked])"
                                            << 48 << "Erro 5";
    QTest::newRow("sem pasta para o PDF") << false << "Erro número: 482\r\nNão foi possível escrever o ficheiro %1/impressos/l_viaturas-20261205-143000.pdf: Uma parte do caminho não é uma pasta [Not a directory]"
                                          << 64 << "Tabela de viaturas";
}

void TesteFrmTabelas::listagemQueFalha()
{
    QFETCH(bool, ocupado);
    GrelhaTeste g;
    g.sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                         "INSERT INTO Viaturas (\"Código da viatura\", Viatura) SELECT printf('V%04d', i), 'AA-00-00' FROM n"));
    MotorTeste::copiarDefinicoes(g.t);
    MotorTeste r(g.t);
    g.t.estacao->impressora = r.motor.get();
    g.abrir();
    QSignalSpy fim(r.motor.get(), &MotorRelatorios::relatorioTerminado);
    std::optional<FicheiroOcupado> outroPosto;
    if (ocupado)
        outroPosto.emplace(g.t.caminho(QStringLiteral("Pesagem.mdb")), "INSERT OR IGNORE INTO temp.lidas");
    else
        escreverFicheiro(g.t.caminho(QStringLiteral("impressos")), "não é uma pasta");
    g.logica->cmd_Click(5);
    QVERIFY(fim.wait(60000));
    QVERIFY(!outroPosto || outroPosto->ocupado());
    QCOMPARE(g.t.mensagens.caixas.size(), 1);
    const MensagensFalsas::Caixa& caixa = g.t.mensagens.caixas.first();
    QFETCH(QString, texto);
    QCOMPARE(caixa.texto, texto.arg(g.t.pasta()));
    QTEST(caixa.estilo, "estilo");
    QTEST(caixa.titulo, "titulo");
    QVERIFY(r.saida.ultimoPdf().isEmpty() && QDir(g.t.caminho(QStringLiteral("impressos"))).isEmpty());
}

QTEST_MAIN(TesteFrmTabelas)
#include "tst_frmTabelas.moc"
