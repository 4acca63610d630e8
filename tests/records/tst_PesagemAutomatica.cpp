#include "BancadaRegistos.h"

#include "records/PesagemAutomatica.h"
#include "shared/EstadoBascula.h"

#include <QtTest>

namespace {

void pendente(BancadaRegistos& b, const QString& codigo, const QVariant& peso, const QString& bascula = QStringLiteral("B1"))
{
    Consulta::executar(b.bd(),
                       QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, "
                                      "\"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", "
                                      "\"Hora de entrada\", Operador) VALUES ('P', ?, '12-AB-34', ?, ?, "
                                      "'2026-12-05 08:00:00', '08:00', 'Maria')"),
                       {codigo, peso, bascula});
}

}  // namespace

class TestePesagemAutomatica : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entregaAoEcra_data();
    void entregaAoEcra();
    void estradaAutomaticaPeloNivelEModo_data();
    void estradaAutomaticaPeloNivelEModo();
    void completaPendenteComoTalao();
    void duasPendentesSoAMaisAntiga();
    void viaturaComDuasPesagens();
    void viaturaContraATara_data();
    void viaturaContraATara();
    void codigoDesconhecido();
    void codigoDeEspacosNadaFaz();
    void codigoComPlicaEEspacosNoFim();
    void falhaNaBaseDeDadosParaTudo();
};

void TestePesagemAutomatica::entregaAoEcra_data()
{
    QTest::addColumn<QString>("codigo");
    QTest::newRow("cartão") << "AB12CD34";
    QTest::newRow("só espaços") << "        ";
}

void TestePesagemAutomatica::entregaAoEcra()
{
    QFETCH(QString, codigo);
    BancadaRegistos b;
    b.entrar(3);
    pendente(b, codigo, 12000);
    EstadoBascula bascula;
    bascula.CodigoCartao = codigo;
    bascula.PesoActual = 30000;
    QString codigoAoTeclar;
    b.ecra.aoTeclar = [&](int, int) { codigoAoTeclar = b.ecra.txt(Txt::CodigoViatura); };

    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    // As if typed: the code in field 0, then Enter there.
    QCOMPARE(b.ecra.teclas, (QList<std::pair<int, int>>{{0, 13}}));
    QCOMPARE(codigoAoTeclar, codigo);
    // Remembered, so the same stay of the vehicle starts nothing more.
    QCOMPARE(bascula.UltimoCartao, codigo);
    QCOMPARE(bascula.CapturarPeso, false);
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    QCOMPARE(BancadaRegistos::linhas(b.bd())[0].value("Tipo de pesagem").toString(), QStringLiteral("P"));
    QVERIFY(b.t.impressora.pedidos.isEmpty());
}

void TestePesagemAutomatica::estradaAutomaticaPeloNivelEModo_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("modo");
    QTest::newRow("sem operador") << 0 << "";
    QTest::newRow("nível 1") << 1 << "";
    for (const char* m : {"PP", "SP", "PM", "SM"})
        QTest::newRow(qPrintable(QStringLiteral("nível 3, %1").arg(m))) << 3 << m;
}

void TestePesagemAutomatica::estradaAutomaticaPeloNivelEModo()
{
    QFETCH(int, nivel);
    QFETCH(QString, modo);
    BancadaRegistos b;
    b.entrar(nivel);
    b.ecra.modo = modo;
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("ZZ99");
    bascula.PesoActual = 18000;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);
    QVERIFY(b.ecra.teclas.isEmpty());
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), QString());
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    QCOMPARE(bascula.UltimoCartao, QStringLiteral("ZZ99"));
    QCOMPARE(bascula.CapturarPeso, true);
}

void TestePesagemAutomatica::completaPendenteComoTalao()
{
    BancadaRegistos b(true);
    b.entrar(0);
    b.estacao().Def.CopiasTalao = 2;
    pendente(b, QStringLiteral("AB12"), 12000);
    Consulta::executar(b.backup(), QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\") "
                                                  "VALUES ('P', 'AB12')"));
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("AB12");
    bascula.PesoActual = 31500;  // leaves heavier, at B2

    PesagemAutomatica(b.estacao(), b.ecra, bascula, 1);

    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Tipo de pesagem", "T"}, {"Número de pesagem", {}}, {"Peso á entrada", 12000},
              {"Báscula de entrada", "B1"}, {"Peso á saída", 31500}, {"Báscula de saída", "A2"},
              {"Data de saída", "2026-12-05 14:30:00"}, {"Hora de saída", "14:30"}, {"Peso líquido", 19500},
              {"Operador", "Automático"}});
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    for (const QString& c : {QStringLiteral("Entrada"), QStringLiteral("Guia"), QStringLiteral("Talão")})
        QCOMPARE(BancadaRegistos::contador(b.bd(), c), 0);
    // The backup keeps its pending row as it was.
    QCOMPARE(BancadaRegistos::linha(b.backup(), 1).value("Tipo de pesagem").toString(), QStringLiteral("P"));

    QCOMPARE(b.estacao().UltimaPesagem, 1);
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(QFileInfo(b.t.impressora.pedidos[0].FicheiroRelatorio).fileName(), QStringLiteral("doc_seg_t.rpt"));
    QCOMPARE(b.t.impressora.pedidos[0].FormulaSeleccao, QStringLiteral("{Pesagens.Pesagem} = 1"));
    QCOMPARE(b.t.impressora.pedidos[0].Destino, 1);
    QCOMPARE(b.t.impressora.pedidos[0].Copias, qint16(2));
    QCOMPARE(b.estacao().Def.UltimoDocPesagem, 1);
    QCOMPARE(b.ultimoDocNoFicheiro(-1), 1);
    QVERIFY(b.ecra.activos.isEmpty());  // "Último &Documento" is not touched here
    QVERIFY(b.t.mensagens.caixas.isEmpty());
}

void TestePesagemAutomatica::duasPendentesSoAMaisAntiga()
{
    BancadaRegistos b;
    b.entrar(0);
    pendente(b, QStringLiteral("AB12"), 12000);
    pendente(b, QStringLiteral("AB12"), 13000);
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("AB12");
    bascula.PesoActual = 9000;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "T"}, {"Peso líquido", 3000}});
    CONFERIR(BancadaRegistos::linha(b.bd(), 2), {{"Tipo de pesagem", "P"}});
}

void TestePesagemAutomatica::viaturaComDuasPesagens()
{
    BancadaRegistos b;
    b.entrar(1);
    b.estacao().Def.DuasPesagens = true;
    b.estacao().Def.CopiasPrimeiraPesagem = 3;
    b.viaturaNaFicha(QStringLiteral("AB12"), 11000, QStringLiteral("2026-01-02 10:20:00"));
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("AB12");
    bascula.PesoActual = 12500;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Tipo de pesagem", "P"}, {"Viatura", "12-AB-34"}, {"Entidade", "Quinta D'Ouro"},
              {"Local de descarga", "Obra"}, {"Peso á entrada", 12500}, {"Báscula de entrada", "A1"},
              {"Data de entrada", "2026-12-05 14:30:00"}, {"Operador", "Automático"}, {"Peso á saída", {}},
              {"Observações", {}}});
    QCOMPARE(QFileInfo(b.t.impressora.pedidos.value(0).FicheiroRelatorio).fileName(), QStringLiteral("doc_pri.rpt"));
    QCOMPARE(b.t.impressora.pedidos.value(0).Copias, qint16(3));
    // The vehicle file is not touched.
    QCOMPARE(BancadaRegistos::linhas(b.bd(), QStringLiteral("Viaturas"))[0].value("Peso de tara").toLongLong(), 11000);
}

void TestePesagemAutomatica::viaturaContraATara_data()
{
    QTest::addColumn<QVariant>("tara");
    QTest::addColumn<QVariant>("data");
    QTest::addColumn<QString>("dataEntrada");
    QTest::addColumn<QString>("horaEntrada");
    QTest::addColumn<qint64>("liquido");
    // The entry time comes from the tare's date, not from its time field.
    QTest::newRow("tara com data") << QVariant(11000) << QVariant("2026-01-02 10:20:00") << "2026-01-02 10:20:00"
                                   << "10:20" << qint64(1500);
    QTest::newRow("sem data") << QVariant(14000) << QVariant() << "2026-12-05 14:30:00" << "14:30" << qint64(1500);
    QTest::newRow("sem tara") << QVariant() << QVariant() << "2026-12-05 14:30:00" << "14:30" << qint64(12500);
}

void TestePesagemAutomatica::viaturaContraATara()
{
    QFETCH(QVariant, tara);
    QFETCH(QVariant, data);
    QFETCH(QString, dataEntrada);
    QFETCH(QString, horaEntrada);
    QFETCH(qint64, liquido);
    BancadaRegistos b;
    b.entrar(0);
    b.estacao().Def.DuasPesagens = false;
    b.estacao().Def.CopiasTalao = 1;
    b.viaturaNaFicha(QStringLiteral("AB12"), tara, data);
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("AB12");
    bascula.PesoActual = 12500;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 1);

    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Tipo de pesagem", "T"}, {"Número de pesagem", {}}, {"Peso á entrada", tara.isNull() ? 0 : tara},
              {"Báscula de entrada", "FV"}, {"Data de entrada", dataEntrada}, {"Hora de entrada", horaEntrada},
              {"Peso á saída", 12500}, {"Báscula de saída", "A2"}, {"Peso líquido", liquido},
              {"Operador", "Automático"}});
    QCOMPARE(QFileInfo(b.t.impressora.pedidos.value(0).FicheiroRelatorio).fileName(), QStringLiteral("doc_seg_t.rpt"));
}

void TestePesagemAutomatica::codigoDesconhecido()
{
    BancadaRegistos b;
    b.entrar(0);
    b.estacao().Def.CopiasPrimeiraPesagem = 0;
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("ZZ99");
    bascula.PesoActual = 8000;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    CONFERIR(BancadaRegistos::linha(b.bd(), 1),
             {{"Tipo de pesagem", "P"}, {"Código da viatura", "ZZ99"}, {"Peso á entrada", 8000},
              {"Báscula de entrada", "A1"}, {"Operador", {}}, {"Viatura", {}}});
    // The count goes as configured, even 0; the document is still the last one.
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    QCOMPARE(b.t.impressora.pedidos[0].Copias, qint16(0));
    QCOMPARE(b.ultimoDocNoFicheiro(-1), 1);
}

void TestePesagemAutomatica::codigoDeEspacosNadaFaz()
{
    BancadaRegistos b;
    b.entrar(0);
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("        ");
    bascula.UltimoCartao = QStringLiteral("ANTES");
    bascula.PesoActual = 8000;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);
    QCOMPARE(bascula.UltimoCartao, QStringLiteral("ANTES"));
    QCOMPARE(bascula.CapturarPeso, false);
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 0);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
}

void TestePesagemAutomatica::codigoComPlicaEEspacosNoFim()
{
    BancadaRegistos b;
    b.entrar(0);
    pendente(b, QStringLiteral("AB'12"), 12000);
    EstadoBascula bascula;
    // Trailing blanks are part of the code: "AB'12   " is not "AB'12".
    bascula.CodigoCartao = QStringLiteral("AB'12   ");
    bascula.PesoActual = 8000;
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "P"}});
    CONFERIR(BancadaRegistos::linha(b.bd(), 2), {{"Código da viatura", "AB'12   "}});

    bascula.CodigoCartao = QStringLiteral("ab'12");  // letter case is not
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);
    CONFERIR(BancadaRegistos::linha(b.bd(), 1), {{"Tipo de pesagem", "T"}});
}

void TestePesagemAutomatica::falhaNaBaseDeDadosParaTudo()
{
    BancadaRegistos b;
    b.entrar(0);
    pendente(b, QStringLiteral("AB12"), 12000);
    b.estacao().UltimaPesagem = 1;
    b.estacao().Def.UltimoDocPesagem = 1;
    Consulta::executar(b.bd(), QStringLiteral("CREATE TRIGGER falha BEFORE UPDATE ON Pesagens "
                                              "BEGIN SELECT RAISE(ABORT, 'falha forçada'); END"));
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd());
    EstadoBascula bascula;
    bascula.CodigoCartao = QStringLiteral("AB12");
    bascula.PesoActual = 30000;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("card \"AB12\" not recorded.*falha forçada")));
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    // No second row, no reprint of the previous document, not a word.
    QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
    QVERIFY(b.t.mensagens.caixas.isEmpty());
    QCOMPARE(b.estacao().UltimaPesagem, 0);
    QCOMPARE(b.estacao().Def.UltimoDocPesagem, 1);
    QCOMPARE(b.ultimoDocNoFicheiro(-1), -1);
}

QTEST_GUILESS_MAIN(TestePesagemAutomatica)
#include "tst_PesagemAutomatica.moc"
