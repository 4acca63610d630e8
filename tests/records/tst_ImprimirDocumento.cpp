#include "BancadaRegistos.h"

#include "records/ImprimirDocumento.h"
#include "support/EscritaFalhada.h"
#include "support/MotorTeste.h"

#include <QElapsedTimer>
#include <QtTest>

class TesteImprimirDocumento : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void documentoPeloTipo_data();
    void documentoPeloTipo();
    void semLinhaAvisa();
    void documentoQueNaoImprime_data();
    void documentoQueNaoImprime();
    void ultimoDocumentoSemEspaco();
    void gravacaoNaoEsperaPelaImpressora();
};

void TesteImprimirDocumento::documentoPeloTipo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<int>("copias");     // of that kind, in the settings
    QTest::addColumn<QString>("ficheiro");  // empty: nothing printed

    QTest::newRow("P 1") << "P" << 1 << "doc_pri.rpt";
    QTest::newRow("P 0") << "P" << 0 << "";
    QTest::newRow("P -1") << "P" << -1 << "doc_pri.rpt";  // handed over; the printer prints nothing
    QTest::newRow("E 3") << "E" << 3 << "doc_seg_e.rpt";
    QTest::newRow("E 0") << "E" << 0 << "";
    QTest::newRow("G 2") << "G" << 2 << "doc_seg_g.rpt";
    QTest::newRow("G -1") << "G" << -1 << "";
    QTest::newRow("T 1") << "T" << 1 << "doc_seg_t.rpt";
    QTest::newRow("T 0") << "T" << 0 << "";
    QTest::newRow("A") << "A" << 1 << "";
    QTest::newRow("sem tipo") << "" << 1 << "";
    QTest::newRow("p minúsculo") << "p" << 1 << "";
}

void TesteImprimirDocumento::documentoPeloTipo()
{
    QFETCH(QString, tipo);
    QFETCH(int, copias);
    QFETCH(QString, ficheiro);

    BancadaRegistos b;
    Definicoes& d = b.estacao().Def;
    d.CopiasPrimeiraPesagem = d.CopiasEntrada = d.CopiasSaida = d.CopiasTalao = 9;
    const QMap<QString, qint16*> doTipo = {
        {"P", &d.CopiasPrimeiraPesagem}, {"E", &d.CopiasEntrada}, {"G", &d.CopiasSaida}, {"T", &d.CopiasTalao}};
    if (doTipo.contains(tipo))
        *doTipo[tipo] = qint16(copias);
    d.UltimoDocPesagem = 12;
    Consulta::executar(b.bd(), QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (57, ?)"), {tipo});
    b.estacao().UltimaPesagem = 57;

    ImprimirDocumento(b.estacao(), b.ecra);

    QVERIFY(b.t.mensagens.caixas.isEmpty());
    if (ficheiro.isEmpty()) {
        QVERIFY(b.t.impressora.pedidos.isEmpty());
        QCOMPARE(d.UltimoDocPesagem, 12);
        QCOMPARE(b.ultimoDocNoFicheiro(0), 0);
        QVERIFY(!b.ecra.activos.contains(MnuOpc::UltimoDocumento));
        return;
    }
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), ficheiro);
    QCOMPARE(std::tuple(p.FormulaSeleccao, p.Destino, int(p.Copias)), std::tuple(QString("{Pesagens.Pesagem} = 57"), 1, copias));
    QCOMPARE(d.UltimoDocPesagem, 57);
    // Kept in the settings file, so "Último &Documento" works after a restart.
    QCOMPARE(b.ultimoDocNoFicheiro(0), 57);
    QCOMPARE(b.ecra.activos.value(MnuOpc::UltimoDocumento), true);
}

// A document that does not print says so once, in the station's error box,
// after the weighing is wholly recorded: it stays the last document (in the
// settings file too), so "Último &Documento" prints it again. The routine
// never waits for the print system: an answer that comes later says it
// then. A run that fails in another way (its definition missing) says
// nothing, as before.
void TesteImprimirDocumento::documentoQueNaoImprime_data()
{
    QTest::addColumn<int>("estado");
    QTest::addColumn<bool>("adiada");  // the print system answers after the routine has returned
    QTest::addColumn<QStringList>("caixas");
    const QStringList recusado = {"Erro 482 48 O documento não foi impresso\n\n(A impressora fila não aceitou o trabalho: parada)"};
    QTest::newRow("impresso") << 0 << false << QStringList();
    QTest::newRow("impresso mais tarde") << 0 << true << QStringList();
    QTest::newRow("recusado pela fila") << int(EstadoRelatorio::FalhaImpressao) << false << recusado;
    QTest::newRow("recusado mais tarde") << int(EstadoRelatorio::FalhaImpressao) << true << recusado;
    QTest::newRow("sem definição") << int(EstadoRelatorio::DefinicaoEmFalta) << false << QStringList();
}

void TesteImprimirDocumento::documentoQueNaoImprime()
{
    QFETCH(int, estado);
    QFETCH(bool, adiada);
    BancadaRegistos b;
    b.t.impressora.estado = estado;
    b.t.impressora.adiada = adiada;
    b.t.impressora.falha = {ErroImpressora, QStringLiteral("A impressora fila não aceitou o trabalho: parada")};
    b.estacao().Def.CopiasSaida = 1;
    Consulta::executar(b.bd(), QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (57, 'G')"));
    b.estacao().UltimaPesagem = 57;
    // The box comes once the settings file holds the document.
    int noFicheiro = -1;
    b.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        noFicheiro = b.ultimoDocNoFicheiro(0);
        return 0;
    };

    ImprimirDocumento(b.estacao(), b.ecra);
    if (adiada) {
        QVERIFY(b.t.mensagens.caixas.isEmpty());
        b.t.impressora.responder();
    }

    QTEST(b.t.mensagens.vistas(), "caixas");
    QCOMPARE(noFicheiro, b.t.mensagens.caixas.isEmpty() ? -1 : 57);
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(b.estacao().Def.UltimoDocPesagem, 57);
    QCOMPARE(b.ultimoDocNoFicheiro(0), 57);
    QCOMPARE(b.ecra.activos.value(MnuOpc::UltimoDocumento), true);
}

void TesteImprimirDocumento::semLinhaAvisa()
{
    BancadaRegistos b;
    b.estacao().UltimaPesagem = 0;
    ImprimirDocumento(b.estacao(), b.ecra);
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    const auto& c = b.t.mensagens.caixas[0];
    QCOMPARE(std::tuple(c.texto, c.estilo, c.titulo), std::tuple(QString("Pesagem não existente em tabela de pesagens"), 64,
                                                                 QString("Imprimir Documento de Pesagem")));
    QVERIFY(b.t.impressora.pedidos.isEmpty());
}

// The document is printed on a full disk too; the settings file, which
// cannot take the new number, stays whole with the one it had.
void TesteImprimirDocumento::ultimoDocumentoSemEspaco()
{
    BancadaRegistos b;
    b.t.escreverIni("[NrCopias]\nUltimoDocPesagem=12\n");
    b.estacao().Def.CopiasTalao = 1;
    Consulta::executar(b.bd(), QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (57, 'T')"));
    b.estacao().UltimaPesagem = 57;
    {
        const LimiteTamanhoFicheiros limite(8);
        ImprimirDocumento(b.estacao(), b.ecra);
    }
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QVERIFY(b.t.mensagens.caixas.isEmpty());
    QCOMPARE(lerFicheiro(b.t.caminho(QStringLiteral("Lorvane.ini"))), QByteArray("[NrCopias]\nUltimoDocPesagem=12\n"));
}

// A weighing saved while the print server has stopped answering is saved
// at once: the save returns without waiting for its ticket, the settings
// file holds the document, the station goes on; the box that says the
// ticket did not print comes when the stated wait has run out.
void TesteImprimirDocumento::gravacaoNaoEsperaPelaImpressora()
{
    BancadaRegistos b;
    MotorTeste::copiarDefinicoes(b.t);
    ServidorImpressao cups;
    if (!cups.porqueNao().isEmpty())
        QSKIP(qPrintable(cups.porqueNao()));
    MotorTeste r(b.t);
    r.imprimirEm(cups);
    r.saida.esperaImpressao = std::chrono::milliseconds(2000);
    b.estacao().impressora = r.motor.get();
    b.estacao().Def.CopiasPrimeiraPesagem = 1;
    cups.parar();
    int noFicheiro = -1;
    b.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        noFicheiro = b.ultimoDocNoFicheiro(0);
        return 0;
    };
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("14200"));
    QElapsedTimer espera;
    espera.start();
    b.gravacao->GravarPrimeiraPesagem();
    QVERIFY2(espera.elapsed() < 1000, qPrintable(QStringLiteral("the save took %1 ms").arg(espera.elapsed())));
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    QCOMPARE(b.ultimoDocNoFicheiro(0), 1);
    QVERIFY(b.t.mensagens.caixas.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(b.t.mensagens.caixas.size(), 1, 4000);
    QVERIFY2(espera.elapsed() < 3000, qPrintable(QStringLiteral("told after %1 ms").arg(espera.elapsed())));
    QCOMPARE(b.t.mensagens.vistas(),
             QStringList{QStringLiteral("Erro 482 48 O documento não foi impresso\n\n(Não foi possível imprimir: o servidor de "
                                        "impressão %1 não respondeu em 2 s)").arg(cups.socket())});
    QCOMPARE(noFicheiro, 1);
}

QTEST_MAIN(TesteImprimirDocumento)
#include "tst_ImprimirDocumento.moc"
