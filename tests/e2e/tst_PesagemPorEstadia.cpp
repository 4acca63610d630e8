// One stay of a vehicle on a bridge gives one weighing, whether its card is
// weighed at once or handed to the operator's screen: the bridge cycle, the
// weighing screen and the records together on a real station database.
#include "BancadaBasculas.h"
#include "LigacoesFalsas.h"
#include "screen/EcraPesagem.h"
#include "screen/MontagemPrincipal.h"
#include "data/Consulta.h"
#include "startup/ModGlobalIni.h"
#include "support/EstacaoTeste.h"

#include <QtTest>

namespace {

struct Estacao1Bascula
{
    Estacao1Bascula()
    {
        t.abrirBaseDados();
        Estacao& e = *t.estacao;
        ModGlobal::LerDefinicoes(e.Ini(), e.PastaPrograma(), e.Def);  // the factory set-up: B1 only
        e.Def.LPLigado[0] = true;
        e.Def.LPTemporizacao[0] = 1000;  // the frames arrive unasked in these tests
        e.Def.ZeroAutomatico[0] = false;
        io.portaAberta[0][Canal::Indicador] = true;
        io.portaAberta[0][Canal::LeitorP] = true;
        montagem = std::make_unique<MontagemPrincipal>(e, ecra, io);
        montagem->basculas().estado(0).PesoActual = e.Def.CapacidadeMaxima[0];
        Consulta::executar(e.bd(),
                           QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura, \"Código do produto\", "
                                          "Produto, \"Peso de tara\") VALUES ('CARTAO01', '99-ZZ-99', 'P1', 'Areia', 14000)"));
    }

    // The indicator sends this weight for a few ticks.
    void peso(qint32 kg)
    {
        for (int i = 0; i < 3; ++i) {
            io.chegar(0, Canal::Indicador, tramaPeso(kg));
            montagem->basculas().tmr_Timer(0);
        }
    }

    // The card is read, then a few more ticks go by with the vehicle still there.
    void cartao(qint32 kg)
    {
        io.chegar(0, Canal::LeitorP, tramaCartao("CARTAO01"));
        peso(kg);
    }

    QStringList linhas()
    {
        QSqlQuery q = Consulta::executar(t.estacao->bd(),
                                         QStringLiteral("SELECT \"Tipo de pesagem\", \"Peso á entrada\", \"Peso á saída\", "
                                                        "\"Báscula de entrada\" FROM Pesagens ORDER BY Pesagem"));
        QStringList r;
        while (q.next())
            r << QStringLiteral("%1 %2 %3 %4").arg(q.value(0).toString(), q.value(1).toString(),
                                                    q.value(2).toString(), q.value(3).toString());
        return r;
    }

    EstacaoTeste t;
    LigacoesFalsas io;
    EcraPesagem ecra{*t.estacao};
    std::unique_ptr<MontagemPrincipal> montagem;
};

}  // namespace

class TestePesagemPorEstadia : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void semOperadorUmaPesagemPorEstadia();
    void entregueAoEcraNaoPesaSozinho();
};

void TestePesagemPorEstadia::semOperadorUmaPesagemPorEstadia()
{
    Estacao1Bascula s;
    s.peso(31000);
    s.cartao(31000);
    QCOMPARE(s.linhas(), QStringList{"P 31000  A1"});

    // The card read again while the truck stays: nothing more.
    s.cartao(31000);
    s.cartao(30980);
    QCOMPARE(s.linhas(), QStringList{"P 31000  A1"});

    // It leaves; it comes back lighter and shows its card: the pending row is closed.
    s.peso(0);
    s.peso(15000);
    s.cartao(15000);
    QCOMPARE(s.linhas(), QStringList{"T 31000 15000 A1"});
    s.cartao(15000);
    QCOMPARE(s.linhas(), QStringList{"T 31000 15000 A1"});
    // One document per weighing: the first-weighing ticket (0 copies by default) and the ticket.
    QStringList documentos;
    for (const PedidoRelatorio& p : s.t.impressora.pedidos)
        documentos << QFileInfo(p.FicheiroRelatorio).fileName() + u' ' + QString::number(p.Copias);
    QCOMPARE(documentos, (QStringList{"doc_pri.rpt 0", "doc_seg_t.rpt 1"}));
}

void TestePesagemPorEstadia::entregueAoEcraNaoPesaSozinho()
{
    Estacao1Bascula s;
    s.t.estacao->Acesso.NivelAcesso = 2;
    s.t.estacao->Acesso.NomeOperador = QStringLiteral("Ana");
    s.peso(31000);
    s.cartao(31000);

    // Handed to the idle screen: identified as if typed, nothing written yet.
    QCOMPARE(s.ecra.txt(0), QStringLiteral("CARTAO01"));
    QCOMPARE(s.ecra.ModoPesagem(), QStringLiteral("PP"));
    QVERIFY(s.linhas().isEmpty());

    // Read again while the operator enters the weighing: not weighed behind the screen's back.
    s.cartao(31000);
    s.cartao(31000);
    QVERIFY(s.linhas().isEmpty());
    QCOMPARE(s.ecra.ModoPesagem(), QStringLiteral("PP"));
}

QTEST_MAIN(TestePesagemPorEstadia)
#include "tst_PesagemPorEstadia.moc"
