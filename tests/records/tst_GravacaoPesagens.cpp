#include "BancadaRegistos.h"

#include "platform/Mensagens.h"

#include <QtTest>

namespace {

const QString ErroPesagens = QStringLiteral("Erro no acesso à tabela de pesagens");

}  // namespace

class TesteGravacaoPesagens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void primeiraPorModo_data();
    void primeiraPorModo();
    void primeiraGuardaOsCamposComoEstao();
    void primeiraNaCopiaComNumeroProprio();
    void modoManualDesligadoSoQuandoMarcado();
    void segundaNumeraCadaTipo_data();
    void segundaNumeraCadaTipo();
    void segundaContinuaOContador();
    void segundaSemPendenteAcrescentaLinha();
    void segundaCompletaAPendenteMaisAntiga();
    void liquidoEADiferencaAbsoluta_data();
    void liquidoEADiferencaAbsoluta();
    void segundaManualSemPesoEPrimeira_data();
    void segundaManualSemPesoEPrimeira();
    void recusasNadaEscrevem_data();
    void recusasNadaEscrevem();
    void falhaDepoisDoContadorNaoGastaNumero();
    void semLinhaDaEmpresaNadaEscreve();
    void falhaNaCopiaNaoDesfazAPrincipal();
    void fichaDaViaturaDepoisDeCadaGravacao();
};

void TesteGravacaoPesagens::primeiraPorModo_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<QString>("peso");
    QTest::addColumn<QString>("dataGuardada");  // empty: no row
    QTest::addColumn<QString>("horaGuardada");
    QTest::addColumn<QString>("caixa");         // the one box shown, if any
    QTest::addColumn<int>("estilo");

    // The bridge's weighing takes the clock's moment and ignores the boxes.
    QTest::newRow("PP") << "PP" << "01-01-2020" << "08:00" << "14200" << "2026-12-05 14:30:00" << "14:30" << "" << 0;
    QTest::newRow("PM") << "PM" << "05-12-2026" << "14:30" << "14200" << "2026-12-05 14:30:00" << "14:30" << "" << 0;
    QTest::newRow("PM ano curto") << "PM" << "3-1-27" << "7:05" << "9000" << "2027-01-03 07:05:00" << "07:05" << "" << 0;
    for (const char* m : {"SP", "SM", ""})
        QTest::newRow(qPrintable(QStringLiteral("modo '%1'").arg(m)))
            << m << "" << "" << "14200" << "" << "" << "Erro ao tentar gravar primeira pesagem" << 16;
    QTest::newRow("data impossível") << "PM" << "31-02-2026" << "14:30" << "14200" << "" << ""
                                     << "Data ou hora da 1a.Pesagem inválida" << 48;
    QTest::newRow("hora impossível") << "PM" << "05-12-2026" << "25:10" << "14200" << "" << ""
                                     << "Data ou hora da 1a.Pesagem inválida" << 48;
    QTest::newRow("sem data") << "PM" << "" << "14:30" << "14200" << "" << ""
                              << "Data ou hora da 1a.Pesagem inválida" << 48;
    QTest::newRow("sem peso") << "PP" << "" << "" << "" << "" << "" << "Peso da 1a.Pesagem inválido ou em falta" << 48;
}

void TesteGravacaoPesagens::primeiraPorModo()
{
    QFETCH(QString, modo);
    QFETCH(QString, data);
    QFETCH(QString, hora);
    QFETCH(QString, peso);
    QFETCH(QString, dataGuardada);
    QFETCH(QString, horaGuardada);
    QFETCH(QString, caixa);
    QFETCH(int, estilo);

    BancadaRegistos b(true);
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), peso, modo);
    b.ecra.campos[Txt::DataEntrada] = data;
    b.ecra.campos[Txt::HoraEntrada] = hora;
    const auto antes = b.ecra.campos;

    b.gravacao->GravarPrimeiraPesagem();

    if (dataGuardada.isEmpty()) {
        QCOMPARE(b.t.mensagens.caixas.size(), 1);
        QCOMPARE(b.t.mensagens.caixas[0].texto, caixa);
        QCOMPARE(b.t.mensagens.caixas[0].estilo, estilo);
        QCOMPARE(b.t.mensagens.caixas[0].titulo, QStringLiteral("Atenção"));
        QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 0);
        QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 0);
        QVERIFY(b.t.impressora.pedidos.isEmpty());
        QCOMPARE(b.ecra.limpezas, 0);
        QVERIFY(b.ecra.campos == antes);  // the operator can correct the value
        QCOMPARE(b.estacao().UltimaPesagem, 0);
        return;
    }
    QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));
    const QList<QVariantMap> linhas = BancadaRegistos::linhas(b.bd());
    QCOMPARE(linhas.size(), 1);
    CONFERIR(linhas[0], {{"Tipo de pesagem", "P"}, {"Data de entrada", dataGuardada}, {"Hora de entrada", horaGuardada},
                         {"Peso á entrada", peso}});
    QCOMPARE(b.estacao().UltimaPesagem, 1);
    QCOMPARE(b.ecra.DataPrimeiraPesagem(), QDateTime::fromString(dataGuardada, QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    // The tail: the ticket printed, the screen started over and the grid read.
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), QStringLiteral("doc_pri.rpt"));
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).absolutePath(), QFileInfo(b.t.pasta()).absoluteFilePath());
    QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Pesagem} = 1"));
    QCOMPARE(p.Destino, 1);
    QCOMPARE(p.Copias, qint16(1));
    QCOMPARE(b.ecra.limpezas, 1);
    QCOMPARE(b.ecra.activos.value(MnuOpc::ApagarPrimeiraPesagem, true), false);
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), QString());
    QCOMPARE(b.grelha->modelo().rowCount(), 0);  // "Guias" shows no 'P' row
}

void TesteGravacaoPesagens::primeiraGuardaOsCamposComoEstao()
{
    BancadaRegistos b;
    b.primeira(QStringLiteral("ab12 "), QStringLiteral("12-ab-34"), QStringLiteral("14200"), QStringLiteral("PM"));
    b.ecra.campos[Txt::DataEntrada] = QStringLiteral("05-12-2026");
    b.ecra.campos[Txt::HoraEntrada] = QStringLiteral("14:30");
    b.ecra.campos[Txt::Produto] = QString();
    b.gravacao->GravarPrimeiraPesagem();

    // Nothing trimmed or changed in case; an empty box is the empty text, not Null.
    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Código da viatura", "ab12 "}, {"Viatura", "12-ab-34"}, {"Entidade", "Quinta D'Ouro"},
              {"Transportador", "Transportes Rápidos"}, {"Produto", ""}, {"Local de descarga", "Obra"},
              {"Observações", "Sem lona"}, {"Báscula de entrada", "PM"}, {"Operador", "Maria"},
              {"Número de pesagem", {}}, {"Peso á saída", {}}, {"Báscula de saída", {}}, {"Data de saída", {}},
              {"Hora de saída", {}}, {"Peso líquido", {}}, {"Empresa", {}}});
}

void TesteGravacaoPesagens::primeiraNaCopiaComNumeroProprio()
{
    BancadaRegistos b(true);
    // The backup numbers its rows by itself.
    Consulta::executar(b.backup(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\") VALUES ('A')"));
    Consulta::executar(b.backup(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\") VALUES ('A')"));
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("14200"));
    b.gravacao->GravarPrimeiraPesagem();

    QCOMPARE(b.estacao().UltimaPesagem, 1);
    QVariantMap principal = BancadaRegistos::linha(b.bd(), 1);
    QVariantMap copia = BancadaRegistos::linha(b.backup(), 3);
    QVERIFY(!copia.isEmpty());
    principal.remove(QStringLiteral("Pesagem"));
    copia.remove(QStringLiteral("Pesagem"));
    QCOMPARE(copia, principal);
}

void TesteGravacaoPesagens::modoManualDesligadoSoQuandoMarcado()
{
    BancadaRegistos b;
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("14200"), QStringLiteral("PM"));
    b.ecra.campos[Txt::DataEntrada] = QStringLiteral("05-12-2026");
    b.ecra.campos[Txt::HoraEntrada] = QStringLiteral("14:30");
    b.ecra.marcados[MnuOpc::PesagemManual] = true;
    b.ecra.lblPMVisivel = true;
    b.ecra.pesagemManual = true;
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(b.ecra.mnuOpcMarcado(MnuOpc::PesagemManual), false);
    QCOMPARE(b.ecra.lblPMVisivel, false);
    QCOMPARE(b.ecra.pesagemManual, false);

    // Without the check mark the three stay as they were.
    b.primeira(QStringLiteral("CD34"), QStringLiteral("34-CD-56"), QStringLiteral("9000"));
    b.ecra.lblPMVisivel = true;
    b.ecra.pesagemManual = true;
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(b.ecra.lblPMVisivel, true);
    QCOMPARE(b.ecra.pesagemManual, true);
}

void TesteGravacaoPesagens::segundaNumeraCadaTipo_data()
{
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("contador");
    QTest::addColumn<QString>("documento");
    QTest::newRow("Entrada") << int(OpcaoDocumento::Entrada) << "E" << "Entrada" << "doc_seg_e.rpt";
    QTest::newRow("Guia") << int(OpcaoDocumento::Guia) << "G" << "Guia" << "doc_seg_g.rpt";
    QTest::newRow("Talão") << int(OpcaoDocumento::Talao) << "T" << "Talão" << "doc_seg_t.rpt";
}

void TesteGravacaoPesagens::segundaNumeraCadaTipo()
{
    QFETCH(int, opcao);
    QFETCH(QString, tipo);
    QFETCH(QString, contador);
    QFETCH(QString, documento);

    BancadaRegistos b(true);
    const QStringList codigos = {QStringLiteral("AB12"), QStringLiteral("CD34"), QStringLiteral("EF56")};
    for (const QString& c : codigos) {
        b.primeira(c, c + QStringLiteral("-PT"), QStringLiteral("12000"));
        b.gravacao->GravarPrimeiraPesagem();
    }
    b.t.impressora.pedidos.clear();
    for (int i = 0; i < codigos.size(); ++i) {
        b.segunda(codigos[i], codigos[i] + QStringLiteral("-PT"), QStringLiteral("12000"), QStringLiteral("31500"),
                  opcao);
        b.gravacao->GravarSegundaPesagem();
        QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));

        // The pending row itself is completed, with the next number of its kind.
        QCOMPARE(b.estacao().UltimaPesagem, i + 1);
        CONFERIR(BancadaRegistos::linha(b.bd(), i + 1),
                 {{"Tipo de pesagem", tipo}, {"Número de pesagem", i + 1}, {"Peso á saída", 31500},
                  {"Peso líquido", 19500}, {"Báscula de saída", "B2"}, {"Data de entrada", "2026-12-05 09:15:00"},
                  {"Hora de entrada", "09:15"}, {"Data de saída", "2026-12-05 14:30:00"}, {"Hora de saída", "14:30"}});
        QCOMPARE(BancadaRegistos::contador(b.bd(), contador), i + 1);
        QCOMPARE(b.gravacao->TipoDocumento, tipo);
        QCOMPARE(b.gravacao->NumeroDocumento, i + 1);

        const PedidoRelatorio& p = b.t.impressora.pedidos.at(i);
        QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), documento);
        QCOMPARE(p.FormulaSeleccao, QStringLiteral("{Pesagens.Pesagem} = %1").arg(i + 1));
    }
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 3);
    for (const QString& outro : {QStringLiteral("Entrada"), QStringLiteral("Guia"), QStringLiteral("Talão")}) {
        if (outro != contador)
            QCOMPARE(BancadaRegistos::contador(b.bd(), outro), 0);
        QCOMPARE(BancadaRegistos::contador(b.backup(), outro), 0);  // the backup's counters never move
    }

    // The backup holds the same documents on its own rows.
    const QList<QVariantMap> principal = BancadaRegistos::linhas(b.bd());
    const QList<QVariantMap> copia = BancadaRegistos::linhas(b.backup());
    QCOMPARE(copia.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVariantMap a = principal[i], c = copia[i];
        a.remove(QStringLiteral("Pesagem"));
        c.remove(QStringLiteral("Pesagem"));
        QCOMPARE(c, a);
    }
}

void TesteGravacaoPesagens::segundaContinuaOContador()
{
    BancadaRegistos b(true);
    Consulta::executar(b.bd(), QStringLiteral("UPDATE Empresas SET Guia = 41 WHERE Empresa = 1"));
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"));
    b.gravacao->GravarPrimeiraPesagem();
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("9000"),
              OpcaoDocumento::Guia);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(BancadaRegistos::contador(b.bd(), QStringLiteral("Guia")), 42);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Número de pesagem", 42}});
    CONFERIR(BancadaRegistos::linha(b.backup(), 1), {{"Número de pesagem", 42}, {"Tipo de pesagem", "G"}});
}

void TesteGravacaoPesagens::segundaSemPendenteAcrescentaLinha()
{
    BancadaRegistos b(true);
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"));
    b.gravacao->GravarPrimeiraPesagem();
    // Another plate typed: no pending row matches code and plate together.
    b.segunda(QStringLiteral("AB12"), QStringLiteral("99-ZZ-99"), QStringLiteral("12000"), QStringLiteral("20000"),
              OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();

    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 2);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "P"}});
    CONFERIR(BancadaRegistos::linha(b.bd(), 2), {{"Tipo de pesagem", "E"}, {"Número de pesagem", 1}, {"Peso á entrada", 12000}});
    QCOMPARE(b.estacao().UltimaPesagem, 2);
    QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 2);
    CONFERIR(BancadaRegistos::linha(b.backup(), 1), {{"Tipo de pesagem", "P"}});
    CONFERIR(BancadaRegistos::linha(b.backup(), 2), {{"Tipo de pesagem", "E"}});
}

void TesteGravacaoPesagens::segundaCompletaAPendenteMaisAntiga()
{
    BancadaRegistos b;
    for (int i = 0; i < 2; ++i) {
        b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QString::number(12000 + i));
        b.gravacao->GravarPrimeiraPesagem();
    }
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("30000"),
              OpcaoDocumento::Talao);
    b.gravacao->GravarSegundaPesagem();
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "T"}});
    CONFERIR(BancadaRegistos::linha(b.bd(), 2), {{"Tipo de pesagem", "P"}});
    QCOMPARE(b.estacao().UltimaPesagem, 1);
}

void TesteGravacaoPesagens::liquidoEADiferencaAbsoluta_data()
{
    QTest::addColumn<QString>("primeiro");
    QTest::addColumn<QString>("segundo");
    QTest::addColumn<int>("liquido");
    QTest::newRow("sai mais pesado") << "12000" << "15400" << 3400;
    QTest::newRow("sai mais leve") << "15400" << "12000" << 3400;
    QTest::newRow("iguais") << "15000" << "15000" << 0;
}

void TesteGravacaoPesagens::liquidoEADiferencaAbsoluta()
{
    QFETCH(QString, primeiro);
    QFETCH(QString, segundo);
    QFETCH(int, liquido);
    BancadaRegistos b;
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), primeiro, segundo, OpcaoDocumento::Guia);
    b.gravacao->GravarSegundaPesagem();
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Peso líquido", liquido}});
}

void TesteGravacaoPesagens::segundaManualSemPesoEPrimeira_data()
{
    QTest::addColumn<QString>("pesoSaida");
    QTest::newRow("vazio") << "";
    QTest::newRow("zero") << "0";
}

void TesteGravacaoPesagens::segundaManualSemPesoEPrimeira()
{
    QFETCH(QString, pesoSaida);
    BancadaRegistos b(true);
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), pesoSaida,
              OpcaoDocumento::Guia, QStringLiteral("SM"));
    b.ecra.b1 = QStringLiteral("PM");
    b.ecra.campos[Txt::DataEntrada] = QStringLiteral("04-12-2026");
    b.ecra.campos[Txt::HoraEntrada] = QStringLiteral("08:10");
    // The exit date is not used, so it need not be valid.
    b.ecra.campos[Txt::DataSaida] = QString();
    b.gravacao->GravarSegundaPesagem();

    QVERIFY2(b.t.mensagens.caixas.isEmpty(), qPrintable(b.t.mensagens.caixas.value(0).texto));
    QCOMPARE(b.ecra.modo, QStringLiteral("PM"));
    QCOMPARE(BancadaRegistos::contador(b.bd(), QStringLiteral("Guia")), 0);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "P"}, {"Data de entrada", "2026-12-04 08:10:00"},
                                                 {"Báscula de entrada", "PM"}, {"Número de pesagem", {}}});
    QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 1);
    // The first save's own tail, once.
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(QFileInfo(b.t.impressora.pedidos[0].FicheiroRelatorio).fileName(), QStringLiteral("doc_pri.rpt"));
    QCOMPARE(b.ecra.limpezas, 1);
}

void TesteGravacaoPesagens::recusasNadaEscrevem_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("pesoEntrada");
    QTest::addColumn<QString>("pesoSaida");
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("dataSaida");
    QTest::addColumn<QString>("caixa");
    QTest::addColumn<int>("estilo");

    const int guia = OpcaoDocumento::Guia;
    QTest::newRow("sem tipo") << "SP" << "12000" << "30000" << int(OpcaoDocumento::Nenhuma) << ""
                              << "Seleccione o tipo de documento" << 48;
    QTest::newRow("sem 1º peso") << "SP" << "" << "30000" << guia << "" << "Peso da 1a.Pesagem inválido ou em falta" << 48;
    QTest::newRow("sem 2º peso") << "SP" << "12000" << "" << guia << "" << "Peso da 2a.Pesagem inválido ou em falta" << 48;
    QTest::newRow("data impossível") << "SM" << "12000" << "30000" << guia << "30-02-2026"
                                     << "Data ou hora da 2a.Pesagem inválida" << 48;
    QTest::newRow("sem data") << "SM" << "12000" << "30000" << guia << "" << "Data ou hora da 2a.Pesagem inválida" << 48;
    QTest::newRow("modo PP") << "PP" << "12000" << "30000" << guia << "" << "Erro ao tentar gravar segunda pesagem" << 16;
    QTest::newRow("sem modo") << "" << "12000" << "30000" << guia << "" << "Erro ao tentar gravar segunda pesagem" << 16;
}

void TesteGravacaoPesagens::recusasNadaEscrevem()
{
    QFETCH(QString, modo);
    QFETCH(QString, pesoEntrada);
    QFETCH(QString, pesoSaida);
    QFETCH(int, opcao);
    QFETCH(QString, dataSaida);
    QFETCH(QString, caixa);
    QFETCH(int, estilo);

    BancadaRegistos b(true);
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"));
    b.gravacao->GravarPrimeiraPesagem();
    b.t.impressora.pedidos.clear();
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd());
    const QList<QVariantMap> antesCopia = BancadaRegistos::linhas(b.backup());

    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), pesoEntrada, pesoSaida, opcao, modo);
    b.ecra.campos[Txt::DataSaida] = dataSaida;
    b.ecra.campos[Txt::HoraSaida] = QStringLiteral("10:00");
    const int limpezas = b.ecra.limpezas;
    const auto ecraAntes = b.ecra.campos;
    b.gravacao->GravarSegundaPesagem();

    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QCOMPARE(b.t.mensagens.caixas[0].texto, caixa);
    QCOMPARE(b.t.mensagens.caixas[0].estilo, estilo);
    QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
    QCOMPARE(BancadaRegistos::linhas(b.backup()), antesCopia);
    for (const QString& c : {QStringLiteral("Entrada"), QStringLiteral("Guia"), QStringLiteral("Talão")})
        QCOMPARE(BancadaRegistos::contador(b.bd(), c), 0);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
    QCOMPARE(b.ecra.limpezas, limpezas);
    QVERIFY(b.ecra.campos == ecraAntes);
}

void TesteGravacaoPesagens::falhaDepoisDoContadorNaoGastaNumero()
{
    BancadaRegistos b(true);
    Consulta::executar(b.bd(), QStringLiteral("UPDATE Empresas SET Talão = 7 WHERE Empresa = 1"));
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"));
    b.gravacao->GravarPrimeiraPesagem();
    const qint32 anterior = b.estacao().UltimaPesagem;
    QCOMPARE(anterior, 1);
    b.t.impressora.pedidos.clear();
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd());

    // The row write fails after the counter was advanced, as a crash or a full disk would.
    for (const char* quando : {"UPDATE", "INSERT"})
        Consulta::executar(b.bd(), QStringLiteral("CREATE TRIGGER falha_%1 BEFORE %1 ON Pesagens "
                                                  "BEGIN SELECT RAISE(ABORT, 'falha forçada'); END")
                                       .arg(QLatin1String(quando)));
    for (const QString& matricula : {QStringLiteral("12-AB-34"), QStringLiteral("outra")}) {
        b.t.mensagens.caixas.clear();
        b.segunda(QStringLiteral("AB12"), matricula, QStringLiteral("12000"), QStringLiteral("30000"),
                  OpcaoDocumento::Talao);
        const int limpezas = b.ecra.limpezas;
        b.gravacao->GravarSegundaPesagem();

        QCOMPARE(b.t.mensagens.caixas.size(), 1);
        QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(ErroPesagens + QStringLiteral("\n\n(")));
        QVERIFY(b.t.mensagens.caixas[0].texto.contains(QStringLiteral("falha forçada")));
        QCOMPARE(b.t.mensagens.caixas[0].estilo, 48);
        QVERIFY(b.t.mensagens.caixas[0].titulo.startsWith(QStringLiteral("Erro ")));
        QCOMPARE(BancadaRegistos::contador(b.bd(), QStringLiteral("Talão")), 7);
        QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
        QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 1);
        QVERIFY(b.t.impressora.pedidos.isEmpty());
        QCOMPARE(b.estacao().UltimaPesagem, 0);
        QCOMPARE(b.ecra.limpezas, limpezas);
    }

    // Once the fault is gone the number taken is the one that was never used.
    Consulta::executar(b.bd(), QStringLiteral("DROP TRIGGER falha_UPDATE"));
    Consulta::executar(b.bd(), QStringLiteral("DROP TRIGGER falha_INSERT"));
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("30000"),
              OpcaoDocumento::Talao);
    b.gravacao->GravarSegundaPesagem();
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Número de pesagem", 8}});
    QCOMPARE(BancadaRegistos::contador(b.bd(), QStringLiteral("Talão")), 8);
}

void TesteGravacaoPesagens::semLinhaDaEmpresaNadaEscreve()
{
    BancadaRegistos b;
    Consulta::executar(b.bd(), QStringLiteral("DELETE FROM Empresas"));
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("30000"),
              OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(ErroPesagens));
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 0);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
}

void TesteGravacaoPesagens::falhaNaCopiaNaoDesfazAPrincipal()
{
    BancadaRegistos b(true);
    for (const char* quando : {"UPDATE", "INSERT"})
        Consulta::executar(b.backup(), QStringLiteral("CREATE TRIGGER falha_%1 BEFORE %1 ON Pesagens "
                                                      "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END")
                                           .arg(QLatin1String(quando)));
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"));
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 1);
    QVERIFY(b.t.mensagens.caixas[0].texto.startsWith(QStringLiteral("Erro no acesso à tabela de primeiras pesagens\n\n(")));

    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("12000"), QStringLiteral("30000"),
              OpcaoDocumento::Guia);
    b.gravacao->GravarSegundaPesagem();
    QCOMPARE(b.t.mensagens.caixas.size(), 2);
    QVERIFY(b.t.mensagens.caixas[1].texto.startsWith(ErroPesagens + QStringLiteral("\n\n(")));
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
    b.primeira(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("31500"));
    b.gravacao->GravarPrimeiraPesagem();
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd(), QStringLiteral("Viaturas")), 1);
    CONFERIR(BancadaRegistos::linhas(b.bd(), QStringLiteral("Viaturas"))[0],
             {{"Peso de tara", 31500}, {"Peso bruto", {}}, {"Operador", "Maria"}});

    b.t.relogio.momento = b.t.relogio.momento.addSecs(3600);
    b.segunda(QStringLiteral("AB12"), QStringLiteral("12-AB-34"), QStringLiteral("31500"), QStringLiteral("12000"),
              OpcaoDocumento::Entrada);
    b.gravacao->GravarSegundaPesagem();
    CONFERIR(BancadaRegistos::linhas(b.bd(), QStringLiteral("Viaturas"))[0],
             {{"Peso de tara", 12000}, {"Peso bruto", 31500}, {"Data", "2026-12-05 15:30:00"}, {"Hora", "15:30"}});
    QCOMPARE(b.t.mensagens.caixas.size(), 1);  // only the new-vehicle question
}

QTEST_GUILESS_MAIN(TesteGravacaoPesagens)
#include "tst_GravacaoPesagens.moc"
