#include "BancadaRegistos.h"

#include "platform/Mensagens.h"

#include <QtTest>

namespace {

const QString ErroPesagens = QStringLiteral("Erro no acesso à tabela de pesagens");
const QString Primeira1a = QStringLiteral("Data ou hora da 1a.Pesagem inválida");
const QStringList Contadores = {"Entrada", "Guia", "Talão"};

// The same save in both databases: the main row and the backup's, each without its own key.
void mesmaLinha(BancadaRegistos& b, qint64 principal, qint64 copia)
{
    QVariantMap a = BancadaRegistos::linha(b.bd(), principal), c = BancadaRegistos::linha(b.backup(), copia);
    QVERIFY(!c.isEmpty());
    a.remove("Pesagem");
    c.remove("Pesagem");
    QCOMPARE(c, a);
}

}  // namespace

class TesteGravacaoPesagens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primeiraPorModo_data();
    void primeiraPorModo();
    void segundaNumeraCadaTipo_data();
    void segundaNumeraCadaTipo();
    void segundaCompletaAPendenteMaisAntiga();
    void primeiraDaSegunda_data();
    void primeiraDaSegunda();
    void recusasNadaEscrevem_data();
    void recusasNadaEscrevem();
    void falhaDepoisDoContadorNaoGastaNumero();
    void falhaNaCopiaNaoDesfazAPrincipal();
    void fichaDaViaturaDepoisDeCadaGravacao();
};

void TesteGravacaoPesagens::primeiraPorModo_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("dataGuardada");
    // The bridge's weighing takes the clock's moment and ignores the boxes.
    QTest::newRow("PP") << "PP" << "01-01-2020" << "08:00" << "2026-12-05 14:30:00";
    QTest::newRow("PM") << "PM" << "05-12-2026" << "14:30" << "2026-12-05 14:30:00";
    QTest::newRow("PM ano curto") << "PM" << "3-1-27" << "7:05" << "2027-01-03 07:05:00";
}

void TesteGravacaoPesagens::primeiraPorModo()
{
    QFETCH(QString, modo);
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QString, dataGuardada);

    BancadaRegistos b(true);
    // The backup numbers its rows by itself.
    for (int i = 0; i < 2; ++i)
        Consulta::executar(b.backup(), "INSERT INTO Pesagens (\"Tipo de pesagem\") VALUES ('A')");
    b.primeira("ab12 ", "12-ab-34", "14200", modo);
    b.ecra.campos[Txt::DataEntrada] = data;
    b.ecra.campos[Txt::HoraEntrada] = hora;
    b.ecra.campos[Txt::Produto] = QString();
    // Manual mode is left only when its menu item carries the check mark.
    b.ecra.marcados[MnuOpc::PesagemManual] = modo == u"PM";
    b.ecra.lblPMVisivel = b.ecra.pesagemManual = true;

    b.gravacao->GravarPrimeiraPesagem();

    QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    // Nothing trimmed or changed in case; an empty box is the empty text, not Null.
    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Tipo de pesagem", "P"}, {"Data de entrada", dataGuardada}, {"Hora de entrada", dataGuardada.mid(11, 5)},
              {"Peso á entrada", 14200}, {"Código da viatura", "ab12 "}, {"Viatura", "12-ab-34"},
              {"Entidade", "Quinta D'Ouro"}, {"Transportador", "Transportes Rápidos"}, {"Produto", ""},
              {"Local de descarga", "Obra"}, {"Observações", "Sem lona"}, {"Báscula de entrada", b.ecra.b1},
              {"Operador", "Maria"}, {"Número de pesagem", {}}, {"Peso á saída", {}}, {"Báscula de saída", {}},
              {"Data de saída", {}}, {"Hora de saída", {}}, {"Peso líquido", {}}, {"Empresa", {}}});
    mesmaLinha(b, 1, 3);
    QCOMPARE(b.estacao().UltimaPesagem, 1);
    QCOMPARE(b.ecra.DataPrimeiraPesagem(), QDateTime::fromString(dataGuardada, "yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(b.ecra.lblPMVisivel, modo != u"PM");
    QCOMPARE(b.ecra.pesagemManual, modo != u"PM");
    QCOMPARE(b.ecra.mnuOpcMarcado(MnuOpc::PesagemManual), false);

    // The tail: the ticket printed, the screen started over and the grid read.
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), "doc_pri.rpt");
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).absolutePath(), QFileInfo(b.t.pasta()).absoluteFilePath());
    QCOMPARE(std::tuple(p.FormulaSeleccao, p.Destino, p.Copias), std::tuple(QString("{Pesagens.Pesagem} = 1"), 1, qint16(1)));
    QCOMPARE(b.ecra.limpezas, 1);
    QCOMPARE(b.ecra.activos.value(MnuOpc::ApagarPrimeiraPesagem, true), false);
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), QString());
    QCOMPARE(b.grelha->modelo().rowCount(), 0);  // "Guias" shows no 'P' row
}

void TesteGravacaoPesagens::segundaNumeraCadaTipo_data()
{
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("documento");
    QTest::addColumn<int>("contador");  // where the kind's counter stands
    QTest::newRow("Entrada") << int(OpcaoDocumento::Entrada) << "E" << "doc_seg_e.rpt" << 0;
    QTest::newRow("Guia") << int(OpcaoDocumento::Guia) << "G" << "doc_seg_g.rpt" << 41;
    QTest::newRow("Talão") << int(OpcaoDocumento::Talao) << "T" << "doc_seg_t.rpt" << 7;
}

void TesteGravacaoPesagens::segundaNumeraCadaTipo()
{
    QFETCH(int, opcao);
    QFETCH(QString, tipo);
    QFETCH(QString, documento);
    QFETCH(int, contador);
    const QString campo = Contadores[opcao];

    BancadaRegistos b(true);
    Consulta::executar(b.bd(), QString("UPDATE Empresas SET \"%1\" = ? WHERE Empresa = 1").arg(campo), {contador});
    // Heavier, lighter and equal on leaving: the net is the difference either way.
    const QList<std::array<int, 3>> pesos = {{12000, 31500, 19500}, {15400, 12000, 3400}, {15000, 15000, 0}};
    for (int i = 0; i < 3; ++i) {
        b.primeira(QString::number(i), "12-AB-34", QString::number(pesos[i][0]));
        b.gravacao->GravarPrimeiraPesagem();
    }
    b.t.impressora.pedidos.clear();
    for (int i = 0; i < 3; ++i) {
        b.segunda(QString::number(i), "12-AB-34", QString::number(pesos[i][0]), QString::number(pesos[i][1]), opcao);
        b.gravacao->GravarSegundaPesagem();
        QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));

        // The pending row itself is completed, with the next number of its kind.
        const int numero = contador + i + 1;
        QCOMPARE(b.estacao().UltimaPesagem, i + 1);
        CONFERIR(BancadaRegistos::linha(b.bd(), i + 1),
                 {{"Tipo de pesagem", tipo}, {"Número de pesagem", numero}, {"Peso á saída", pesos[i][1]},
                  {"Peso líquido", pesos[i][2]}, {"Báscula de saída", "B2"}, {"Data de entrada", "2026-12-05 09:15:00"},
                  {"Hora de entrada", "09:15"}, {"Data de saída", "2026-12-05 14:30:00"}, {"Hora de saída", "14:30"}});
        QCOMPARE(BancadaRegistos::contador(b.bd(), campo), numero);
        QCOMPARE(b.gravacao->TipoDocumento, tipo);
        QCOMPARE(b.gravacao->NumeroDocumento, numero);
        // The backup holds the same document on its own row.
        mesmaLinha(b, i + 1, i + 1);

        const PedidoRelatorio& p = b.t.impressora.pedidos.at(i);
        QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), documento);
        QCOMPARE(p.FormulaSeleccao, QString("{Pesagens.Pesagem} = %1").arg(i + 1));
    }
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 3);
    for (const QString& outro : Contadores) {
        if (outro != campo)
            QCOMPARE(BancadaRegistos::contador(b.bd(), outro), 0);
        QCOMPARE(BancadaRegistos::contador(b.backup(), outro), 0);  // the backup's counters never move
    }
}

void TesteGravacaoPesagens::segundaCompletaAPendenteMaisAntiga()
{
    BancadaRegistos b(true);
    for (int i = 0; i < 2; ++i) {
        b.primeira("AB12", "12-AB-34", QString::number(12000 + i));
        b.gravacao->GravarPrimeiraPesagem();
    }
    // Another plate typed: no pending row matches code and plate together, a row is added.
    b.segunda("AB12", "99-ZZ-99", "12000", "20000", OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.estacao().UltimaPesagem, 3);
    b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Talao);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.estacao().UltimaPesagem, 1);
    for (const QSqlDatabase& db : {b.bd(), b.backup()}) {
        QCOMPARE(BancadaRegistos::contarLinhas(db), 3);
        CONFERIR(BancadaRegistos::linha(db, 1), {{"Tipo de pesagem", "T"}});
        CONFERIR(BancadaRegistos::linha(db, 2), {{"Tipo de pesagem", "P"}});
        CONFERIR(BancadaRegistos::linha(db, 3), {{"Tipo de pesagem", "E"}, {"Número de pesagem", 1}, {"Peso á entrada", 12000}});
    }
}

void TesteGravacaoPesagens::primeiraDaSegunda_data()
{
    // The first weighing stored with a second one: the identified one, or in manual mode what the operator
    // typed; never the moment of another vehicle. A manual one without exit weight is saved as a first one.
    QTest::addColumn<QString>("ajuste");  // on a second weighing at the bridge, identified from B1 at 09:15
    QTest::addColumn<QDateTime>("identificada");
    QTest::addColumn<QString>("guardada");  // "Data de entrada"
    QTest::addColumn<QString>("origem");    // "Báscula de entrada"

    const QDateTime pendente(QDate(2026, 12, 4), QTime(9, 15, 42));
    const QDateTime outra(QDate(2026, 12, 5), QTime(14, 30, 17));  // the vehicle weighed before
    QTest::newRow("manual logo após o arranque")
        << "modo=SM b1= 14=04-12-2026 15=08:10" << QDateTime() << "2026-12-04 08:10:00" << "PM";
    QTest::newRow("manual sem pendente após outra viatura")
        << "modo=SM b1= 14=05-12-2026 15=14:30" << outra << "2026-12-05 14:30:00" << "PM";
    QTest::newRow("manual com pendente") << "modo=SM b1=B2 14=04-12-2026" << pendente << "2026-12-04 09:15:42" << "B2";
    QTest::newRow("manual com data corrigida")
        << "modo=SM 14=03-12-2026 15=18:00" << pendente << "2026-12-03 18:00:00" << "B1";
    QTest::newRow("ponte com pendente") << "" << pendente << "2026-12-04 09:15:42" << "B1";
    QTest::newRow("ponte com tara da ficha") << "b1=FV" << pendente << "2026-12-04 09:15:42" << "FV";
    // The exit date is not used then, so it need not be valid.
    QTest::newRow("manual sem peso de saída")
        << "modo=SM b1=PM 14=04-12-2026 15=08:10 16= 17=" << QDateTime() << "2026-12-04 08:10:00" << "PM";
    QTest::newRow("manual com saída 0") << "modo=SM b1=PM 14=04-12-2026 15=08:10 16=0 17=" << outra << "2026-12-04 08:10:00"
                                        << "PM";
}

void TesteGravacaoPesagens::primeiraDaSegunda()
{
    QFETCH(QString, ajuste);
    QFETCH(QDateTime, identificada);
    QFETCH(QString, guardada);
    QFETCH(QString, origem);

    BancadaRegistos b(true);
    b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Guia);
    b.ecra.dataPrimeira = identificada;
    b.ecra.ajustar("17=05-12-2026 18=16:00 " + ajuste);
    const bool primeira = b.ecra.txt(Txt::PesoSaida).toInt() == 0;
    const QString modo = b.ecra.modo;

    b.gravacao->GravarSegundaPesagem();

    QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));
    for (const QSqlDatabase& db : {b.bd(), b.backup()}) {
        QCOMPARE(BancadaRegistos::contarLinhas(db), 1);
        CONFERIR(BancadaRegistos::linha(db, 1), {{"Tipo de pesagem", primeira ? "P" : "G"}, {"Data de entrada", guardada},
                                                 {"Hora de entrada", guardada.mid(11, 5)}, {"Báscula de entrada", origem}});
    }
    QCOMPARE(BancadaRegistos::contador(b.bd(), "Guia"), primeira ? 0 : 1);
    QCOMPARE(b.ecra.modo, primeira ? "PM" : modo);
    // The save's own tail, once.
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(QFileInfo(b.t.impressora.pedidos[0].FicheiroRelatorio).fileName(), primeira ? "doc_pri.rpt" : "doc_seg_g.rpt");
    QCOMPARE(b.ecra.limpezas, 1);
}

void TesteGravacaoPesagens::recusasNadaEscrevem_data()
{
    QTest::addColumn<bool>("segunda");
    QTest::addColumn<QString>("ajuste");  // on a screen ready to save at the bridge
    QTest::addColumn<QString>("caixa");
    QTest::addColumn<int>("estilo");

    const QString peso1 = QStringLiteral("Peso da 1a.Pesagem inválido ou em falta");
    const QString data2 = QStringLiteral("Data ou hora da 2a.Pesagem inválida");
    for (const char* m : {"SP", "SM", ""})
        QTest::addRow("1ª, modo '%s'", m) << false << QString("modo=%1").arg(m) << "Erro ao tentar gravar primeira pesagem" << 16;
    QTest::newRow("1ª, data impossível") << false << "modo=PM 14=31-02-2026 15=14:30" << Primeira1a << 48;
    QTest::newRow("1ª, hora impossível") << false << "modo=PM 14=05-12-2026 15=25:10" << Primeira1a << 48;
    QTest::newRow("1ª, sem data") << false << "modo=PM 14= 15=14:30" << Primeira1a << 48;
    QTest::newRow("1ª, sem peso") << false << "13=" << peso1 << 48;
    QTest::newRow("sem tipo") << true << "opcao=-1" << "Seleccione o tipo de documento" << 48;
    QTest::newRow("sem 1º peso") << true << "13=" << peso1 << 48;
    QTest::newRow("sem 2º peso") << true << "16=" << "Peso da 2a.Pesagem inválido ou em falta" << 48;
    QTest::newRow("data impossível") << true << "modo=SM 17=30-02-2026" << data2 << 48;
    QTest::newRow("sem data") << true << "modo=SM 17=" << data2 << 48;
    for (const char* m : {"PP", ""})
        QTest::addRow("modo '%s'", m) << true << QString("modo=%1").arg(m) << "Erro ao tentar gravar segunda pesagem" << 16;
    // Nothing identified: a typed first weighing that is not a real moment, or none at the bridge
    // (the moment held is then another vehicle's).
    QTest::newRow("manual, 1ª impossível") << true << "modo=SM b1= 14=31-02-2026" << Primeira1a << 48;
    QTest::newRow("manual, 1ª sem hora") << true << "modo=SM b1= 15=" << Primeira1a << 48;
    QTest::newRow("ponte sem primeira") << true << "b1=" << Primeira1a << 48;
}

void TesteGravacaoPesagens::recusasNadaEscrevem()
{
    QFETCH(bool, segunda);
    QFETCH(QString, ajuste);
    QFETCH(QString, caixa);
    QFETCH(int, estilo);

    BancadaRegistos b(true);
    b.primeira("AB12", "12-AB-34", "12000");
    b.gravacao->GravarPrimeiraPesagem();
    b.t.impressora.pedidos.clear();
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd()), antesCopia = BancadaRegistos::linhas(b.backup());

    if (segunda)
        b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Guia);
    else
        b.primeira("CD34", "34-CD-56", "14200");
    b.ecra.ajustar("17=05-12-2026 18=10:00 " + ajuste);
    const int limpezas = b.ecra.limpezas;
    const auto ecraAntes = b.ecra.campos;
    segunda ? b.gravacao->GravarSegundaPesagem() : b.gravacao->GravarPrimeiraPesagem();

    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    const auto& c = b.t.mensagens.caixas[0];
    QCOMPARE(std::tuple(c.texto, c.estilo, c.titulo), std::tuple(caixa, estilo, QString("Atenção")));
    QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
    QCOMPARE(BancadaRegistos::linhas(b.backup()), antesCopia);
    for (const QString& contador : Contadores)
        QCOMPARE(BancadaRegistos::contador(b.bd(), contador), 0);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
    // The operator can correct the value.
    QCOMPARE(b.ecra.limpezas, limpezas);
    QVERIFY(b.ecra.campos == ecraAntes);
}

void TesteGravacaoPesagens::falhaDepoisDoContadorNaoGastaNumero()
{
    BancadaRegistos b(true);
    Consulta::executar(b.bd(), "UPDATE Empresas SET Talão = 7 WHERE Empresa = 1");
    b.primeira("AB12", "12-AB-34", "12000");
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(b.estacao().UltimaPesagem, 1);
    b.t.impressora.pedidos.clear();
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd());

    // The row write fails after the counter was advanced, as a crash or a full disk would.
    for (const char* quando : {"UPDATE", "INSERT"})
        Consulta::executar(b.bd(), QString("CREATE TRIGGER falha_%1 BEFORE %1 ON Pesagens "
                                           "BEGIN SELECT RAISE(ABORT, 'falha forçada'); END")
                                       .arg(QLatin1String(quando)));
    for (const char* matricula : {"12-AB-34", "outra"}) {
        b.t.mensagens.caixas.clear();
        b.segunda("AB12", matricula, "12000", "30000", OpcaoDocumento::Talao);
        const int limpezas = b.ecra.limpezas;
        b.gravacao->GravarSegundaPesagem();

        QCOMPARE(b.t.mensagens.caixas.size(), 1);
        const auto& c = b.t.mensagens.caixas[0];
        QVERIFY(c.texto.startsWith(ErroPesagens + "\n\n(") && c.texto.contains("falha forçada"));
        QVERIFY(c.estilo == 48 && c.titulo.startsWith("Erro "));
        QCOMPARE(BancadaRegistos::contador(b.bd(), "Talão"), 7);
        QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
        QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 1);
        QVERIFY(b.t.impressora.pedidos.isEmpty());
        QCOMPARE(b.estacao().UltimaPesagem, 0);
        QCOMPARE(b.ecra.limpezas, limpezas);
    }

    // Once the fault is gone the number taken is the one that was never used.
    Consulta::executar(b.bd(), "DROP TRIGGER falha_UPDATE");
    Consulta::executar(b.bd(), "DROP TRIGGER falha_INSERT");
    b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Talao);
    b.gravacao->GravarSegundaPesagem();
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Número de pesagem", 8}});
    QCOMPARE(BancadaRegistos::contador(b.bd(), "Talão"), 8);

    // Without the company row there is no number to take: nothing is written.
    Consulta::executar(b.bd(), "DELETE FROM Empresas");
    b.t.mensagens.caixas.clear();
    b.t.impressora.pedidos.clear();
    b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(ErroPesagens));
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
}

void TesteGravacaoPesagens::falhaNaCopiaNaoDesfazAPrincipal()
{
    BancadaRegistos b(true);
    for (const char* quando : {"UPDATE", "INSERT"})
        Consulta::executar(b.backup(), QString("CREATE TRIGGER falha_%1 BEFORE %1 ON Pesagens "
                                               "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END")
                                           .arg(QLatin1String(quando)));
    b.primeira("AB12", "12-AB-34", "12000");
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith("Erro no acesso à tabela de primeiras pesagens\n\n("));

    b.segunda("AB12", "12-AB-34", "12000", "30000", OpcaoDocumento::Guia);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 2);
    QVERIFY(b.t.mensagens.caixas[1].texto.startsWith(ErroPesagens + "\n\n("));
    // The main row and its number stand, and the tail ran for both saves.
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Número de pesagem", 1}});
    QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 0);
    QCOMPARE(b.t.impressora.pedidos.size(), 2);
    QCOMPARE(b.ecra.limpezas, 2);
}

void TesteGravacaoPesagens::fichaDaViaturaDepoisDeCadaGravacao()
{
    BancadaRegistos b;
    b.entrar(3);
    b.t.mensagens.respostas << Resposta::Sim;  // add the new vehicle
    b.primeira("AB12", "12-AB-34", "31500");
    b.gravacao->GravarPrimeiraPesagem();
    CONFERIR(BancadaRegistos::linhas(b.bd(), "Viaturas").value(0),
             {{"Peso de tara", 31500}, {"Peso bruto", {}}, {"Operador", "Maria"}});

    b.t.relogio.momento = b.t.relogio.momento.addSecs(3600);
    b.segunda("AB12", "12-AB-34", "31500", "12000", OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd(), "Viaturas"), 1);
    CONFERIR(BancadaRegistos::linhas(b.bd(), "Viaturas")[0],
             {{"Peso de tara", 12000}, {"Peso bruto", 31500}, {"Data", "2026-12-05 15:30:00"}, {"Hora", "15:30"}});
    QCOMPARE(b.t.mensagens.caixas.size(), 1);  // only the new-vehicle question
}

QTEST_GUILESS_MAIN(TesteGravacaoPesagens)
#include "tst_GravacaoPesagens.moc"
