#include "OperadoresTeste.h"
#include "admin/LogicaAltCod.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

using Controlo = LogicaAltCod::Controlo;
using Desfecho = LogicaAltCod::Desfecho;

// The change of access code's rules, without a window, on a real database.
class TesteLogicaAltCod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codigoActual_data();
    void codigoActual();
    void supervisor();
    void gravar_data();
    void gravar();
    void voltarAoCodigoActual();
};

namespace {
// Ana (level 4) twice, with two codes, and an operator whose name and code hold quotes.
struct Dialogo
{
    explicit Dialogo(int nivel = 4, const QString& nome = QStringLiteral("Ana")) : logica(*t.estacao)
    {
        t.abrirBaseDados();
        definirOperadores(*t.estacao, {{QStringLiteral("Ana"), QStringLiteral("abc"), 4},
                                       {QStringLiteral("D'Almeida"), QStringLiteral("x'y"), 2},
                                       {QStringLiteral("ANA"), QStringLiteral("segundo"), 2}});
        t.estacao->Acesso.NivelAcesso = quint8(nivel);
        t.estacao->Acesso.NomeOperador = nome;
        logica.Form_Load();
    }

    // The operator types into box i and presses Enter.
    void escrever(int i, const QString& texto)
    {
        logica.mudarFoco(std::array{Controlo::txt0, Controlo::txt1, Controlo::txt2}.at(std::size_t(i)));
        logica.txt_Change(i, texto);
        logica.txt_Enter(i);
    }

    QStringList codigos()
    {
        QStringList c;
        QSqlQuery q = Consulta::executar(t.estacao->bd(), QStringLiteral("SELECT \"Código de acesso\" FROM Operadores ORDER BY rowid"));
        while (q.next())
            c << q.value(0).toString();
        return c;
    }

    EstacaoTeste t;
    LogicaAltCod logica;
};
const QStringList CodigosIniciais = {QStringLiteral("abc"), QStringLiteral("x'y"), QStringLiteral("segundo")};
}  // namespace

void TesteLogicaAltCod::codigoActual_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<bool>("aceite");

    QTest::newRow("certo noutra caixa") << 4 << "ana" << "ABC" << true;
    QTest::newRow("errado") << 4 << "Ana" << "abd" << false;
    QTest::newRow("de outro operador") << 4 << "Ana" << "x'y" << false;
    QTest::newRow("aspas no nome e no código") << 2 << "D'Almeida" << "X'Y" << true;
    QTest::newRow("injecção") << 2 << "D'Almeida" << "' OR ''='" << false;
    QTest::newRow("palavra do supervisor abaixo do nível 4") << 3 << "Ana" << "quindo" << false;
}

void TesteLogicaAltCod::codigoActual()
{
    QFETCH(int, nivel);
    QFETCH(QString, nome);
    QFETCH(QString, codigo);
    QFETCH(bool, aceite);
    Dialogo d(nivel, nome);
    QCOMPARE(d.logica.operador(), nome);
    QVERIFY(!d.logica.txtVisivel(1) && !d.logica.cmdVisivel(1) && !d.logica.cmdVisivel(2));
    d.escrever(0, codigo);
    QCOMPARE(d.logica.txtVisivel(1), aceite);
    QCOMPARE(d.logica.foco(), aceite ? Controlo::txt1 : Controlo::txt0);
    QCOMPARE(d.t.mensagens.beeps, aceite ? 0 : 1);
    QCOMPARE(int(d.t.estacao->Acesso.NivelAcesso), nivel);
    QVERIFY(!d.logica.cmdVisivel(1));
}

void TesteLogicaAltCod::supervisor()
{
    Dialogo d;
    d.escrever(0, QStringLiteral("QUINDO"));
    QVERIFY(d.logica.cmdVisivel(1));
    QVERIFY(!d.logica.txtVisivel(1));
    QCOMPARE(d.logica.foco(), Controlo::cmd1);
    QCOMPARE(int(d.t.estacao->Acesso.NivelAcesso), 5);

    QCOMPARE(d.logica.cmd_Click(1), Desfecho::Tabela);
    QVERIFY(!d.logica.cmdVisivel(1));
    QCOMPARE(d.logica.foco(), Controlo::cmd0);
    QCOMPARE(d.logica.cmd_Click(0), Desfecho::Fecha);
    QCOMPARE(int(d.t.estacao->Acesso.NivelAcesso), 5);  // a new login follows
    QCOMPARE(d.codigos(), CodigosIniciais);
}

// The current code, the new one, its confirmation and the new code edited
// after "&Gravar" appeared ("" none); "&Gravar" pressed whenever it is shown.
void TesteLogicaAltCod::gravar_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("novo");
    QTest::addColumn<QString>("confirmacao");
    QTest::addColumn<QString>("editado");
    QTest::addColumn<QStringList>("codigos");  // the table afterwards

    QTest::newRow("confirmação noutra caixa") << "abc" << "Novo1" << "NOVO1" << "" << QStringList{"Novo1", "x'y", "segundo"};
    QTest::newRow("aspas") << "abc" << "d'x" << "d'x" << "" << QStringList{"d'x", "x'y", "segundo"};
    QTest::newRow("na linha do código provado") << "Segundo" << "z" << "z" << "" << QStringList{"abc", "x'y", "z"};
    QTest::newRow("confirmação diferente") << "abc" << "novo1" << "novo2" << "" << CodigosIniciais;
    QTest::newRow("novo código editado depois") << "abc" << "novo1" << "novo1" << "novo9" << CodigosIniciais;
}

void TesteLogicaAltCod::gravar()
{
    QFETCH(QString, actual);
    QFETCH(QString, novo);
    QFETCH(QString, confirmacao);
    QFETCH(QString, editado);
    QFETCH(QStringList, codigos);
    Dialogo d;
    d.escrever(0, actual);
    d.escrever(1, novo);
    d.escrever(2, confirmacao);
    if (!editado.isEmpty())
        d.logica.txt_Change(1, editado);
    const Desfecho desfecho = d.logica.cmdVisivel(2) ? d.logica.cmd_Click(2) : Desfecho::Fica;

    QCOMPARE(d.codigos(), codigos);
    const bool gravado = codigos != CodigosIniciais;
    QCOMPARE(desfecho, gravado ? Desfecho::Fecha : Desfecho::Fica);
    if (gravado) {
        QSqlQuery q = Consulta::executar(d.t.estacao->bd(), QStringLiteral("SELECT Data FROM Operadores WHERE Data IS NOT NULL"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("2026-12-05 14:30:00"));
        return;
    }
    QCOMPARE(d.t.mensagens.beeps, 1);
    QCOMPARE(d.logica.txt(2), QString());
    QCOMPARE(d.logica.foco(), Controlo::txt1);
}

void TesteLogicaAltCod::voltarAoCodigoActual()
{
    Dialogo d;
    d.escrever(0, QStringLiteral("abc"));
    d.escrever(1, QStringLiteral("n"));
    d.escrever(2, QStringLiteral("n"));
    QCOMPARE(d.logica.foco(), Controlo::cmd2);
    d.logica.mudarFoco(Controlo::txt0);
    QVERIFY(!d.logica.txtVisivel(1) && !d.logica.txtVisivel(2));
    QCOMPARE(d.logica.txt(1), QString());
    QVERIFY(d.logica.cmdVisivel(2));  // a button already shown stays
    QCOMPARE(d.logica.cmd_Click(2), Desfecho::Fica);
    QCOMPARE(d.t.mensagens.beeps, 1);
    QCOMPARE(d.codigos(), CodigosIniciais);
}

QTEST_MAIN(TesteLogicaAltCod)
#include "tst_LogicaAltCod.moc"
