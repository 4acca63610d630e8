#include "OperadoresTeste.h"
#include "admin/LogicaAcesso.h"
#include "startup/ModGlobalIni.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

using Controlo = LogicaAcesso::Controlo;
using Desfecho = LogicaAcesso::Desfecho;

Q_DECLARE_METATYPE(LogicaAcesso::Desfecho)

namespace {

// The operators of most tests, in table order.
const QList<LinhaOperador> Operadores = {
    {"Supervisor", "zumarel", 4},
    {"ana", "abc", 1},
    {"D'Almeida", "q1", 2},
    {"Rui", "r1", 3},
    {"Rui", "r2", 2},
    {"Nulo", "n", QVariant()},
    {"Zero", "z", 0},
    {QStringLiteral("Ângela"), QStringLiteral("çé"), 3},
    {"Vazio", QVariant(), 2},
    {"Alto", "a", 7},
};

QString ultimoOperador(Estacao& e)
{
    return ModGlobal::LerIniTexto(e.Ini(), QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("?"));
}

}  // namespace

class TesteLogicaAcesso : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void verificacao_data();
    void verificacao();
    void recusasSeguidas_data();
    void recusasSeguidas();
    void abertura();
    void semOperadores();
    void tabelaIlegivel();
    void ultimoOperadorSemEspaco();

private:
    void entrar(const QString& nome, const QString& codigo);

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<LogicaAcesso> logica;
};

void TesteLogicaAcesso::init()
{
    t = std::make_unique<EstacaoTeste>();
    t->escreverIni("[Acesso]\nOperador=Anterior\n");
    t->abrirBaseDados();
    definirOperadores(*t->estacao, Operadores);
    logica = std::make_unique<LogicaAcesso>(*t->estacao);
    QVERIFY(logica->Form_Load());
}

void TesteLogicaAcesso::cleanup()
{
    logica.reset();
    t.reset();
}

// Types a name and a code and presses Enter in the code box, as an operator does.
void TesteLogicaAcesso::entrar(const QString& nome, const QString& codigo)
{
    logica->cmb_Change(nome);
    logica->cmb_Enter();
    logica->txt_Change(codigo);
    logica->txt_Enter();
}

void TesteLogicaAcesso::verificacao_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("nivel");           // NivelAcesso after it
    QTest::addColumn<QString>("nomeOperador"); // NomeOperador after it
    QTest::addColumn<Desfecho>("desfecho");
    QTest::addColumn<int>("tentativas");       // TentativasAcesso after it (it was 1)
    QTest::addColumn<QString>("gravado");      // [Acesso] Operador after it

    const QString antes = QStringLiteral("Antes");
    QTest::newRow("código certo") << "Supervisor" << "zumarel" << 4 << "Supervisor" << Desfecho::PrincipalSemEspera
                                  << 0 << "Supervisor";
    QTest::newRow("nome e código noutra caixa: fica o nome guardado")
        << "SUPERVISOR" << "ZuMaReL" << 4 << "Supervisor" << Desfecho::PrincipalSemEspera << 0 << "Supervisor";
    QTest::newRow("nível 1: modal, nada gravado") << "ana" << "ABC" << 1 << "ana" << Desfecho::PrincipalModal << 0
                                                 << "Anterior";
    QTest::newRow("nome com apóstrofo") << "D'Almeida" << "q1" << 2 << "D'Almeida" << Desfecho::PrincipalSemEspera
                                        << 0 << "D'Almeida";
    QTest::newRow("nome que tenta mudar a consulta")
        << "x' OR '1'='1" << "zumarel" << 0 << antes << Desfecho::Fica << 2 << "Anterior";
    QTest::newRow("nome repetido: a linha cujo código coincide")
        << "Rui" << "r2" << 2 << "Rui" << Desfecho::PrincipalSemEspera << 0 << "Rui";
    QTest::newRow("nome repetido: a primeira linha") << "rui" << "R1" << 3 << "Rui" << Desfecho::PrincipalSemEspera
                                                      << 0 << "Rui";
    QTest::newRow("acentos noutra caixa") << QStringLiteral("ÂNGELA") << QStringLiteral("ÇÉ") << 3
                                          << QStringLiteral("Ângela") << Desfecho::PrincipalSemEspera << 0
                                          << QStringLiteral("Ângela");
    QTest::newRow("código vazio coincide com um código nulo")
        << "Vazio" << "" << 2 << "Vazio" << Desfecho::PrincipalSemEspera << 0 << "Vazio";
    QTest::newRow("nível acima de 4 passa e é gravado")
        << "Alto" << "a" << 7 << "Alto" << Desfecho::PrincipalSemEspera << 0 << "Alto";
    // A matching row without a level clears the count before this refusal.
    QTest::newRow("nível nulo: primeira recusa") << "Nulo" << "n" << 0 << "Nulo" << Desfecho::Fica << 1 << "Anterior";
    QTest::newRow("nível 0: primeira recusa") << "Zero" << "z" << 0 << "Zero" << Desfecho::Fica << 1 << "Anterior";
    QTest::newRow("código errado") << "Supervisor" << "errado" << 0 << antes << Desfecho::Fica << 2 << "Anterior";
    QTest::newRow("nome desconhecido") << QStringLiteral("Ninguém") << "zumarel" << 0 << antes << Desfecho::Fica << 2
                                       << "Anterior";
}

void TesteLogicaAcesso::verificacao()
{
    QFETCH(QString, nome);
    QFETCH(QString, codigo);
    QFETCH(Desfecho, desfecho);
    QFETCH(int, tentativas);

    EstadoAcesso& a = t->estacao->Acesso;
    a.NomeOperador = QStringLiteral("Antes");
    a.TentativasAcesso = 1;
    a.NivelAcesso = 3;
    entrar(nome, codigo);

    QCOMPARE(logica->cmd_Click(), desfecho);
    QTEST(int(a.NivelAcesso), "nivel");
    QTEST(a.NomeOperador, "nomeOperador");
    QCOMPARE(int(a.TentativasAcesso), tentativas);
    QTEST(ultimoOperador(*t->estacao), "gravado");
    QCOMPARE(t->sistema.desligacoes, 0);
    if (desfecho == Desfecho::Fica) {
        QCOMPARE(t->mensagens.caixas.size(), 1);
        const auto& c = t->mensagens.caixas[0];
        QCOMPARE(c.texto + u'|' + QString::number(c.estilo), QStringLiteral("Sem acesso ao Zumarel|48"));
        QCOMPARE(c.titulo, QStringLiteral("%1ª. tentativa de acesso").arg(tentativas));
        // The code stays, selected, in the focused code box.
        QCOMPARE(logica->codigo(), codigo);
        QCOMPARE(logica->foco(), Controlo::txt);
        QVERIFY(logica->tomarSeleccionarCodigo());
    } else {
        QVERIFY(t->mensagens.caixas.isEmpty());
    }
}

void TesteLogicaAcesso::recusasSeguidas_data()
{
    QTest::addColumn<bool>("recusaDesligar");
    QTest::newRow("o computador desliga-se") << false;
    QTest::newRow("o sistema recusa desligar") << true;
}

// The third refusal in a row, counted across login windows, and every later
// one, asks once for the power-off and shows nothing; the login stays.
void TesteLogicaAcesso::recusasSeguidas()
{
    QFETCH(bool, recusaDesligar);
    t->sistema.recusar = recusaDesligar;

    QStringList titulos;
    QList<int> desligacoes;
    for (int tentativa = 1; tentativa <= 4; ++tentativa) {
        if (tentativa == 3)
            QVERIFY(logica->Form_Load());  // the window opened again does not clear the count
        entrar(QStringLiteral("Supervisor"), QStringLiteral("errado"));
        QCOMPARE(logica->cmd_Click(), Desfecho::Fica);
        desligacoes << t->sistema.desligacoes;
    }
    for (const MensagensFalsas::Caixa& c : t->mensagens.caixas)
        titulos << c.titulo;

    QCOMPARE(titulos, (QStringList{"1ª. tentativa de acesso", "2ª. tentativa de acesso"}));
    QCOMPARE(desligacoes, (QList<int>{0, 0, 1, 2}));
    QCOMPARE(int(t->estacao->Acesso.TentativasAcesso), 4);
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 0);
    QVERIFY(t->sistema.terminacoes.isEmpty());
}

void TesteLogicaAcesso::abertura()
{
    definirOperadores(*t->estacao, {{"Zé", "1", 2}, {"Ana", "2", 3}, {"Zé", "3", 4}});
    t->escreverIni("[Acesso]\nOperador=Apagado\n");
    t->estacao->Acesso.NivelAcesso = 3;
    logica->txt_Change(QStringLiteral("zumarel"));
    logica->txt_Enter();

    QVERIFY(logica->Form_Load());
    QCOMPARE(int(t->estacao->Acesso.NivelAcesso), 0);
    QCOMPARE(logica->operadores(), (QStringList{"Zé", "Ana", "Zé"}));
    QCOMPARE(logica->operador(), QStringLiteral("Apagado"));  // proposed though no longer in the table
    QCOMPARE(logica->codigo(), QString());
    QVERIFY(!logica->botaoVisivel());
    QCOMPARE(logica->foco(), Controlo::cmb);
    QCOMPARE(logica->realce(), Controlo::cmb);
    QCOMPARE(logica->painel(), QStringLiteral("Identificação do operador"));

    logica->cmb_Enter();
    logica->txt_Change(QStringLiteral("123456789"));
    QCOMPARE(logica->codigo(), QStringLiteral("12345678"));
    QCOMPARE(logica->cmd_Click(), Desfecho::Fica);
}

// Without operators nobody can log in: one message and the end of the program,
// never a main window shown at level 0 (which would ask for the login again).
void TesteLogicaAcesso::semOperadores()
{
    definirOperadores(*t->estacao, {});
    QVERIFY(!logica->Form_Load());
    QCOMPARE(t->mensagens.caixas.size(), 1);
    QCOMPARE(t->mensagens.caixas[0].texto, QStringLiteral("Não existem operadores definidos na base de dados"));
    QCOMPARE(t->mensagens.caixas[0].estilo, 48);
    QCOMPARE(t->mensagens.caixas[0].titulo, QStringLiteral("Zumarel"));
    QCOMPARE(t->sistema.terminacoes, QList<int>{1});  // the program ends with status 1
}

// A table that cannot be read: its error box, the window still opens, and a
// verification that cannot read counts as a refusal.
void TesteLogicaAcesso::tabelaIlegivel()
{
    Consulta::executar(t->estacao->bd(), QStringLiteral("DROP TABLE Operadores"));
    QVERIFY(logica->Form_Load());
    QVERIFY(logica->operadores().isEmpty());
    QCOMPARE(t->mensagens.caixas.size(), 1);
    QVERIFY(t->mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro no acesso à tabela de operadores\n\n(")));
    QCOMPARE(t->mensagens.caixas[0].estilo, 48);
    QVERIFY(t->mensagens.caixas[0].titulo.startsWith(QStringLiteral("Erro ")));

    entrar(QStringLiteral("Supervisor"), QStringLiteral("zumarel"));
    QCOMPARE(logica->cmd_Click(), Desfecho::Fica);
    QCOMPARE(t->mensagens.caixas.size(), 3);
    QCOMPARE(t->mensagens.caixas[2].titulo, QStringLiteral("1ª. tentativa de acesso"));
    QVERIFY(t->sistema.terminacoes.isEmpty());
}

// The last operator cannot be kept on a full disk: the operator still gets
// in, without a word, and the settings file stays whole, as it was.
void TesteLogicaAcesso::ultimoOperadorSemEspaco()
{
    const QByteArray antes = lerFicheiro(t->caminho(QStringLiteral("Lorvane.ini")));
    entrar(QStringLiteral("Supervisor"), QStringLiteral("zumarel"));
    Desfecho desfecho = Desfecho::Fica;
    {
        const LimiteTamanhoFicheiros limite(8);
        desfecho = logica->cmd_Click();
    }
    QCOMPARE(desfecho, Desfecho::PrincipalSemEspera);
    QVERIFY(t->mensagens.caixas.isEmpty());
    QCOMPARE(lerFicheiro(t->caminho(QStringLiteral("Lorvane.ini"))), antes);
}

QTEST_GUILESS_MAIN(TesteLogicaAcesso)
#include "tst_LogicaAcesso.moc"
