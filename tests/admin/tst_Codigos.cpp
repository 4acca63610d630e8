#include "OperadoresTeste.h"
#include "admin/frmCodigos.h"
#include "platform/Mensagens.h"
#include "support/EstacaoTeste.h"
#include "tables/VistaGrelha.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

// The operators table: its grid on a real station database, and the level
// cell's keys and legend in the real window.
class TesteCodigos : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<LogicaCodigos> l;

    GrelhaTabela& abrir(const QList<LinhaOperador>& operadores)
    {
        definirOperadores(*t->estacao, operadores);
        l = std::make_unique<LogicaCodigos>(*t->estacao);
        l->Form_Load();
        return l->grelha();
    }
    QVariant valor(const QString& sql)
    {
        QSqlQuery q = Consulta::executar(t->estacao->bd(), sql);
        return q.next() ? q.value(0) : QVariant();
    }

private Q_SLOTS:
    void init()
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
    }
    void novoOperador();
    void ultimoSuperior_data();
    void ultimoSuperior();
    void procurarEOrdenar();
    void nivelNaJanela();
};

void TesteCodigos::novoOperador()
{
    GrelhaTabela& g = abrir({{QStringLiteral("ANA"), QStringLiteral("1"), 4}});
    QCOMPARE(g.textoPosicao(), QStringLiteral("Operador 1 de 1"));
    QCOMPARE(g.colunaActual(), 1);
    l->cmd_Click(0);
    QCOMPARE(g.textoPosicao(), QStringLiteral("Operador 0 de 1"));
    QVERIFY(!(g.flags(g.index(1, 0)) & Qt::ItemIsEditable));  // the number comes from the database
    QVERIFY(g.setData(g.index(1, 1), QStringLiteral("RUI")));
    QVERIFY(g.setData(g.index(1, 3), QStringLiteral("2")));
    t->mensagens.respostas << Resposta::Sim;
    QVERIFY(g.irPara(0, 1));
    QCOMPARE(t->mensagens.caixas.last().titulo, QStringLiteral("Códigos de acesso"));
    QCOMPARE(valor(QStringLiteral("SELECT Data FROM Operadores WHERE Operador = 'RUI'")).toString(),
             QStringLiteral("2026-12-05 14:30:00"));
    QCOMPARE(g.valor(1, 0).toInt(), g.valor(0, 0).toInt() + 1);  // the next number the database gives
}

// The last level-4 operator can be neither deleted nor demoted; with a
// second one both are allowed.
void TesteCodigos::ultimoSuperior_data()
{
    QTest::addColumn<int>("nivelDoOutro");
    QTest::addColumn<bool>("permitido");
    QTest::newRow("único superior") << 2 << false;
    QTest::newRow("outro superior") << 4 << true;
}

void TesteCodigos::ultimoSuperior()
{
    QFETCH(int, nivelDoOutro);
    QFETCH(bool, permitido);
    GrelhaTabela& g = abrir({{QStringLiteral("ANA"), QStringLiteral("1"), 4}, {QStringLiteral("RUI"), QStringLiteral("2"), nivelDoOutro}});
    QVERIFY(g.setData(g.index(0, 3), QStringLiteral("3")));
    QCOMPARE(g.irPara(1, 1), permitido);
    QCOMPARE(valor(QStringLiteral("SELECT Nivel FROM Operadores WHERE Operador = 'ANA'")).toInt(), permitido ? 3 : 4);
    if (!permitido) {
        QCOMPARE(t->mensagens.caixas.last().texto, LogicaCodigos::mensagemUltimoSuperior());
        QCOMPARE(g.valor(0, 3).toInt(), 3);  // still as typed
        t->mensagens.respostas << Resposta::Nao;
        QVERIFY(g.irPara(1, 1));  // given up
        g.irPara(0, 1);
    } else {
        g.setData(g.index(1, 3), QStringLiteral("4"));
        g.irPara(0, 1);
    }
    l->cmd_Click(1);  // Apagar
    QCOMPARE(valor(QStringLiteral("SELECT count(*) FROM Operadores")).toInt(), permitido ? 1 : 2);
}

// The buttons reach the grid's search and sort over the operator's name; only Sair closes.
void TesteCodigos::procurarEOrdenar()
{
    GrelhaTabela& g = abrir({{QStringLiteral("ANA"), QStringLiteral("1"), 4}, {QStringLiteral("Zé"), QStringLiteral("2"), 2},
                             {QStringLiteral("Bruno"), QStringLiteral("3"), 3}});
    t->mensagens.textos << QStringLiteral("zé");
    l->cmd_Click(3);
    QCOMPARE(g.linhaActual(), 1);
    QCOMPARE(t->mensagens.perguntasTexto.last(), QStringLiteral("Procurar em Operador"));
    l->cmd_Click(2);
    QCOMPARE(g.valor(0, 1).toString(), QStringLiteral("Zé"));
    QVERIFY(!l->cmd_Click(3) && l->cmd_Click(4));
}

void TesteCodigos::nivelNaJanela()
{
    definirOperadores(*t->estacao, {{QStringLiteral("ANA"), QStringLiteral("1"), 4}});
    frmCodigos w(*t->estacao);
    QVERIFY(w.logica().Form_Load());
    w.show();
    VistaGrelha* dbg = w.dbg();
    auto editar = [dbg](int coluna, const QString& texto) {
        dbg->setCurrentIndex(dbg->model()->index(0, coluna));
        dbg->edit(dbg->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(dbg->indexWidget(dbg->currentIndex()));
        editor->clear();
        QTest::keyClicks(editor, texto);
        return editor;
    };
    QLineEdit* editor = editar(3, QStringLiteral("523"));
    QCOMPARE(editor->text(), QStringLiteral("3"));
    QCOMPARE(t->mensagens.beeps, 1);
    // Its button drops the legend under the cell, as wide as the column.
    editor->findChild<QAction*>(QStringLiteral("botaoLegenda"))->trigger();
    QVERIFY(w.lst()->isVisible());
    QCOMPARE(w.lst()->width(), dbg->columnWidth(3));
    QCOMPARE(w.lst()->count(), 3);
    Q_EMIT dbg->verticalScrollBar()->valueChanged(1);  // scrolling takes it away
    QVERIFY(!w.lst()->isVisible());
    // An 11th character of a name is cut.
    QCOMPARE(editar(1, QStringLiteral("ABCDEFGHIJK"))->text(), QStringLiteral("ABCDEFGHIJ"));
}

QTEST_MAIN(TesteCodigos)
#include "tst_Codigos.moc"
