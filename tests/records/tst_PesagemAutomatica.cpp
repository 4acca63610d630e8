#include "BancadaRegistos.h"

#include "records/PesagemAutomatica.h"
#include "shared/EstadoBascula.h"

#include <QtTest>

namespace {

using Preparar = std::function<void(BancadaRegistos&)>;

void pendente(BancadaRegistos& b, const QString& codigo, const QVariant& peso)
{
    Consulta::executar(b.bd(),
                       "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, \"Peso á entrada\", "
                       "\"Báscula de entrada\", \"Data de entrada\", \"Hora de entrada\", Operador) VALUES ('P', ?, "
                       "'12-AB-34', ?, 'B1', '2026-12-05 08:00:00', '08:00', 'Maria')",
                       {codigo, peso});
}

EstadoBascula cartao(const QString& codigo, qint32 peso)
{
    EstadoBascula bascula;
    bascula.CodigoCartao = codigo;
    bascula.UltimoCartao = "ANTES";
    bascula.PesoActual = peso;
    return bascula;
}

}  // namespace

Q_DECLARE_METATYPE(Preparar)

class TestePesagemAutomatica : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quemTrataOCartao_data();
    void quemTrataOCartao();
    void linhaEDocumento_data();
    void linhaEDocumento();
    void falhaNaBaseDeDadosParaTudo();
    void documentoQueNaoImprime();
};

void TestePesagemAutomatica::quemTrataOCartao_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<bool>("noEcra");  // typed in for the operator
    QTest::addColumn<int>("linhas");   // recorded by itself
    QTest::newRow("nível 3, ecrã parado") << 3 << "" << "AB12CD34" << true << 0;
    QTest::newRow("nível 3, só espaços") << 3 << "" << "        " << true << 0;
    QTest::newRow("sem operador") << 0 << "" << "ZZ99" << false << 1;
    QTest::newRow("nível 1") << 1 << "" << "ZZ99" << false << 1;
    for (const char* m : {"PP", "SP", "PM", "SM"})
        QTest::addRow("nível 3, %s", m) << 3 << m << "ZZ99" << false << 1;
    QTest::newRow("sem operador, só espaços") << 0 << "" << "        " << false << 0;
}

void TestePesagemAutomatica::quemTrataOCartao()
{
    QFETCH(int, nivel);
    QFETCH(QString, modo);
    QFETCH(QString, codigo);
    QFETCH(bool, noEcra);
    QFETCH(int, linhas);
    BancadaRegistos b;
    b.entrar(nivel);
    b.ecra.modo = modo;
    EstadoBascula bascula = cartao(codigo, 30000);
    QString codigoAoTeclar;
    b.ecra.aoTeclar = [&](int, int) { codigoAoTeclar = b.ecra.txt(Txt::CodigoViatura); };

    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    // As if typed: the code in field 0, then Enter there.
    using Teclas = QList<std::pair<int, int>>;
    QCOMPARE(b.ecra.teclas, (noEcra ? Teclas{{0, 13}} : Teclas()));
    QCOMPARE(codigoAoTeclar, noEcra ? codigo : QString());
    QCOMPARE(b.ecra.txt(Txt::CodigoViatura), noEcra ? codigo : QString());
    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), linhas);
    // Remembered, so the same stay of the vehicle starts nothing more.
    QCOMPARE(bascula.UltimoCartao, noEcra || linhas ? codigo : "ANTES");
    QCOMPARE(bascula.CapturarPeso, linhas == 1);
    if (!linhas)
        QVERIFY(b.t.impressora.pedidos.isEmpty());
}

void TestePesagemAutomatica::linhaEDocumento_data()
{
    QTest::addColumn<Preparar>("preparar");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<int>("Index");
    QTest::addColumn<QStringList>("linhas");  // the table afterwards: the named fields of each row
    QTest::addColumn<int>("pesagem");         // the row of the document
    QTest::addColumn<QString>("documento");
    QTest::addColumn<int>("copias");

    const auto pendentes = [](const QList<int>& pesos, const char* codigo = "AB12") {
        return Preparar([=](BancadaRegistos& b) {
            for (int p : pesos)
                pendente(b, codigo, p);
        });
    };
    const auto tara = [](const QVariant& peso, const QVariant& data) {
        return Preparar([=](BancadaRegistos& b) {
            b.estacao().Def.DuasPesagens = false;
            b.viaturaNaFicha("AB12", peso, data);
        });
    };
    // The vehicle's pending first weighing is closed as a Talão, without a number; leaves heavier, at B2.
    QTest::newRow("completa a pendente")
        << Preparar([](BancadaRegistos& b) {
               b.estacao().Def.CopiasTalao = 2;
               pendente(b, "AB12", 12000);
           })
        << "AB12" << 1
        << QStringList{"Tipo de pesagem=T|Número de pesagem=<nulo>|Peso á entrada=12000|Báscula de entrada=B1|"
                       "Peso á saída=31500|Báscula de saída=A2|Data de saída=2026-12-05 14:30:00|Hora de saída=14:30|"
                       "Peso líquido=19500|Operador=Automático"}
        << 1 << "doc_seg_t.rpt" << 2;
    QTest::newRow("duas pendentes: a mais antiga")
        << pendentes({42000, 13000}) << "AB12" << 0 << QStringList{"Tipo de pesagem=T|Peso líquido=10500", "Tipo de pesagem=P"}
        << 1 << "doc_seg_t.rpt" << 1;
    // Trailing blanks are part of the code, letter case is not.
    QTest::newRow("espaços no fim") << pendentes({12000}, "AB'12") << "AB'12   " << 0
                                    << QStringList{"Tipo de pesagem=P", "Código da viatura=AB'12   "} << 2 << "doc_pri.rpt" << 1;
    QTest::newRow("minúsculas") << pendentes({12000}, "AB'12") << "ab'12" << 0 << QStringList{"Tipo de pesagem=T"} << 1
                                << "doc_seg_t.rpt" << 1;
    QTest::newRow("na ficha, duas pesagens")
        << Preparar([](BancadaRegistos& b) {
               b.estacao().Def.CopiasPrimeiraPesagem = 3;
               b.viaturaNaFicha("AB12", 11000, "2026-01-02 10:20:00");
           })
        << "AB12" << 0
        << QStringList{"Tipo de pesagem=P|Viatura=12-AB-34|Entidade=Quinta D'Ouro|Local de descarga=Obra|"
                       "Peso á entrada=31500|Báscula de entrada=A1|Data de entrada=2026-12-05 14:30:00|"
                       "Operador=Automático|Peso á saída=<nulo>|Observações=<nulo>"}
        << 1 << "doc_pri.rpt" << 3;
    // One weighing against the stored tare, dated by the tare's date, not its time field.
    const QString contraATara = "Tipo de pesagem=T|Número de pesagem=<nulo>|Báscula de entrada=FV|Peso á saída=31500|"
                                "Báscula de saída=A2|Operador=Automático|Peso á entrada=%1|Data de entrada=%2|"
                                "Hora de entrada=%3|Peso líquido=%4";
    QTest::newRow("tara com data") << tara(11000, "2026-01-02 10:20:00") << "AB12" << 1
                                   << QStringList{contraATara.arg("11000", "2026-01-02 10:20:00", "10:20", "20500")} << 1
                                   << "doc_seg_t.rpt" << 1;
    QTest::newRow("tara sem data") << tara(34000, QVariant()) << "AB12" << 1
                                   << QStringList{contraATara.arg("34000", "2026-12-05 14:30:00", "14:30", "2500")} << 1
                                   << "doc_seg_t.rpt" << 1;
    QTest::newRow("sem tara") << tara(QVariant(), QVariant()) << "AB12" << 1
                              << QStringList{contraATara.arg("0", "2026-12-05 14:30:00", "14:30", "31500")} << 1
                              << "doc_seg_t.rpt" << 1;
    // A code not on file: the code and the entry weighing only; the count as configured, even 0.
    QTest::newRow("código desconhecido")
        << Preparar([](BancadaRegistos& b) { b.estacao().Def.CopiasPrimeiraPesagem = 0; }) << "ZZ99" << 0
        << QStringList{"Tipo de pesagem=P|Código da viatura=ZZ99|Peso á entrada=31500|Báscula de entrada=A1|"
                       "Operador=<nulo>|Viatura=<nulo>"}
        << 1 << "doc_pri.rpt" << 0;
}

void TestePesagemAutomatica::linhaEDocumento()
{
    QFETCH(Preparar, preparar);
    QFETCH(QString, codigo);
    QFETCH(int, Index);
    QFETCH(QStringList, linhas);
    QFETCH(int, pesagem);
    QFETCH(QString, documento);
    QFETCH(int, copias);
    BancadaRegistos b(true);
    b.entrar(0);
    preparar(b);
    const QList<QVariantMap> viaturas = BancadaRegistos::linhas(b.bd(), "Viaturas");
    EstadoBascula bascula = cartao(codigo, 31500);

    PesagemAutomatica(b.estacao(), b.ecra, bascula, Index);

    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), linhas.size());
    for (int i = 0; i < linhas.size(); ++i)
        QCOMPARE(BancadaRegistos::campos(BancadaRegistos::linha(b.bd(), i + 1), linhas[i]), linhas[i].split(u'|'));
    // Neither the backup, the vehicle file nor the counters are touched.
    QCOMPARE(BancadaRegistos::contarLinhas(b.backup()), 0);
    QCOMPARE(BancadaRegistos::linhas(b.bd(), "Viaturas"), viaturas);
    for (const char* c : {"Entrada", "Guia", "Talão"})
        QCOMPARE(BancadaRegistos::contador(b.bd(), c), 0);

    QCOMPARE(b.estacao().UltimaPesagem, pesagem);
    QCOMPARE(b.t.impressora.pedidos.size(), 1);
    const PedidoRelatorio& p = b.t.impressora.pedidos[0];
    QCOMPARE(QFileInfo(p.FicheiroRelatorio).fileName(), documento);
    QCOMPARE(std::tuple(p.FormulaSeleccao, p.Destino, p.Copias),
             std::tuple(QString("{Pesagens.Pesagem} = %1").arg(pesagem), 1, qint16(copias)));
    QCOMPARE(b.estacao().Def.UltimoDocPesagem, pesagem);
    QCOMPARE(b.ultimoDocNoFicheiro(-1), pesagem);
    QVERIFY(b.ecra.activos.isEmpty());  // "Último &Documento" is not touched here
    QVERIFY(b.t.mensagens.caixas.isEmpty());
}

void TestePesagemAutomatica::falhaNaBaseDeDadosParaTudo()
{
    BancadaRegistos b;
    b.entrar(0);
    pendente(b, "AB12", 12000);
    b.estacao().UltimaPesagem = 1;
    b.estacao().Def.UltimoDocPesagem = 1;
    Consulta::executar(b.bd(), "CREATE TRIGGER falha BEFORE UPDATE ON Pesagens "
                               "BEGIN SELECT RAISE(ABORT, 'falha forçada'); END");
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd());
    EstadoBascula bascula = cartao("AB12", 30000);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("card \"AB12\" not recorded.*falha forçada"));
    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    // No second row, no reprint of the previous document, not a word.
    QCOMPARE(BancadaRegistos::linhas(b.bd()), antes);
    QVERIFY(b.t.impressora.pedidos.isEmpty());
    QVERIFY(b.t.mensagens.caixas.isEmpty());
    QCOMPARE(b.estacao().UltimaPesagem, 0);
    QCOMPARE(b.estacao().Def.UltimoDocPesagem, 1);
    QCOMPARE(b.ultimoDocNoFicheiro(-1), -1);
}

// A weighing whose document the print system does not take stays recorded,
// as the last document, and the box says the document did not print.
void TestePesagemAutomatica::documentoQueNaoImprime()
{
    BancadaRegistos b(true);
    b.entrar(0);
    b.t.impressora.estado = EstadoRelatorio::FalhaImpressao;
    b.t.impressora.falha = {ErroImpressora, QStringLiteral("A impressora fila não aceitou o trabalho: recusa")};
    EstadoBascula bascula = cartao("ZZ99", 31500);

    PesagemAutomatica(b.estacao(), b.ecra, bascula, 0);

    QCOMPARE(BancadaRegistos::contarLinhas(b.bd()), 1);
    QCOMPARE(b.estacao().UltimaPesagem, 1);
    QCOMPARE(b.ultimoDocNoFicheiro(-1), 1);
    QCOMPARE(b.t.mensagens.vistas(),
             QStringList{"Erro 482 48 O documento não foi impresso\n\n(A impressora fila não aceitou o trabalho: recusa)"});
}

QTEST_GUILESS_MAIN(TestePesagemAutomatica)
#include "tst_PesagemAutomatica.moc"
