#include "BancadaRegistos.h"

#include "platform/Mensagens.h"
#include "records/GravarViatura.h"

#include <QtTest>

namespace {

const QString NovaViatura = QStringLiteral("Deseja gravar a nova viatura em\nTabela de viaturas");
const QString Alterada = QStringLiteral("Os dados da viatura foram alterados\nDeseja gravar as alterações");

QVariantMap viatura(BancadaRegistos& b)
{
    return BancadaRegistos::linhas(b.bd(), "Viaturas").value(0);
}

}  // namespace

class TesteGravarViatura : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void regraDosPesos_data();
    void regraDosPesos();
    void nadaGuardado_data();
    void nadaGuardado();
    void alteracoesComparadasLetraALetra_data();
    void alteracoesComparadasLetraALetra();
    void pesosQueNaoSaoNumeros();
    void outroPostoJuntaAMesmaViatura_data();
    void outroPostoJuntaAMesmaViatura();
};

void TesteGravarViatura::regraDosPesos_data()
{
    QTest::addColumn<bool>("naFicha");
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("primeiro");
    QTest::addColumn<QString>("segundo");
    QTest::addColumn<qint64>("tara");
    QTest::addColumn<QVariant>("bruto");

    for (bool naFicha : {false, true}) {
        const char* onde = naFicha ? "na ficha" : "nova";
        // After a first weighing the tare is its weight; the gross is 0 on file, not written for a new vehicle.
        const QVariant bruto = naFicha ? QVariant(0) : QVariant();
        QTest::addRow("%s PP", onde) << naFicha << "PP" << "14200" << "" << qint64(14200) << bruto;
        QTest::addRow("%s PM", onde) << naFicha << "PM" << "31500" << "" << qint64(31500) << bruto;
        QTest::addRow("%s SP leve-pesado", onde) << naFicha << "SP" << "12000" << "31500" << qint64(12000) << QVariant(31500);
        QTest::addRow("%s SM pesado-leve", onde) << naFicha << "SM" << "31500" << "12000" << qint64(12000) << QVariant(31500);
        QTest::addRow("%s SP iguais", onde) << naFicha << "SP" << "15000" << "15000" << qint64(15000) << QVariant(15000);
    }
}

void TesteGravarViatura::regraDosPesos()
{
    QFETCH(bool, naFicha);
    QFETCH(QString, modo);
    QFETCH(QString, primeiro);
    QFETCH(QString, segundo);
    QFETCH(qint64, tara);
    QFETCH(QVariant, bruto);

    BancadaRegistos b;
    b.entrar(3);
    if (naFicha)
        b.viaturaNaFicha("AB12");
    b.ecra.preencher("AB12", "12-AB-34", primeiro, segundo);
    b.ecra.modo = modo;
    b.t.mensagens.respostas << Resposta::Sim;
    GravarViatura(b.estacao(), b.ecra);

    CONFERIR(viatura(b), {{"Peso de tara", tara}, {"Peso bruto", bruto}, {"Data", "2026-12-05 14:30:00"},
                          {"Hora", "14:30"}, {"Operador", "Maria"}, {"Entidade", "Quinta D'Ouro"}});
    // Only a new vehicle is asked about, with No as the default.
    QCOMPARE(b.t.mensagens.caixas.size(), naFicha ? 0 : 1);
    if (!naFicha) {
        const auto& c = b.t.mensagens.caixas[0];
        QCOMPARE(std::tuple(c.texto, c.titulo, c.estilo), std::tuple(NovaViatura, QString("Tabela de viaturas"), 292));
    }
}

void TesteGravarViatura::nadaGuardado_data()
{
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<bool>("naFicha");
    QTest::newRow("nível 1") << 1 << "AB12" << true;
    QTest::newRow("nível 2") << 2 << "AB12" << true;
    QTest::newRow("só espaços") << 4 << "   " << true;
    // No scripted answer: the default button, No; asked again the next time.
    QTest::newRow("nova, recusada") << 4 << "AB12" << false;
}

void TesteGravarViatura::nadaGuardado()
{
    QFETCH(int, nivel);
    QFETCH(QString, codigo);
    QFETCH(bool, naFicha);
    BancadaRegistos b;
    b.entrar(nivel);
    if (naFicha)
        b.viaturaNaFicha("AB12");
    const QList<QVariantMap> antes = BancadaRegistos::linhas(b.bd(), "Viaturas");
    b.ecra.preencher(codigo, "outra", "9000");
    b.ecra.modo = "PP";
    GravarViatura(b.estacao(), b.ecra);
    GravarViatura(b.estacao(), b.ecra);
    QCOMPARE(b.t.mensagens.caixas.size(), naFicha ? 0 : 2);
    if (!naFicha)
        QCOMPARE(b.t.mensagens.caixas[1].texto, NovaViatura);
    QCOMPARE(BancadaRegistos::linhas(b.bd(), "Viaturas"), antes);
}

void TesteGravarViatura::alteracoesComparadasLetraALetra_data()
{
    QTest::addColumn<int>("campo");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<bool>("pergunta");
    QTest::addColumn<QString>("matriculaGuardada");
    QTest::addColumn<QString>("produtoGuardado");

    QTest::newRow("iguais") << int(Txt::Viatura) << "12-AB-34" << 0 << false << "12-AB-34" << "Areia";
    QTest::newRow("minúsculas, Sim") << int(Txt::Viatura) << "12-ab-34" << int(Resposta::Sim) << true << "12-ab-34" << "Areia";
    QTest::newRow("minúsculas, Não") << int(Txt::Viatura) << "12-ab-34" << int(Resposta::Nao) << true << "12-AB-34" << "Areia";
    QTest::newRow("produto vazio, Sim") << int(Txt::Produto) << "" << int(Resposta::Sim) << true << "12-AB-34" << "";
    QTest::newRow("produto, sem resposta") << int(Txt::Produto) << "Brita" << 0 << true << "12-AB-34" << "Brita";
}

void TesteGravarViatura::alteracoesComparadasLetraALetra()
{
    QFETCH(int, campo);
    QFETCH(QString, valor);
    QFETCH(int, resposta);
    QFETCH(bool, pergunta);
    QFETCH(QString, matriculaGuardada);
    QFETCH(QString, produtoGuardado);

    BancadaRegistos b;
    b.entrar(3);
    b.viaturaNaFicha("AB12");
    // Typed in another case than stored: the same vehicle.
    b.ecra.preencher("ab12", "12-AB-34", "12000", "30000");
    b.ecra.campos[campo] = valor;
    b.ecra.modo = "SP";
    if (resposta)
        b.t.mensagens.respostas << resposta;
    GravarViatura(b.estacao(), b.ecra);

    QCOMPARE(b.t.mensagens.caixas.size(), pergunta ? 1 : 0);
    if (pergunta)
        QCOMPARE(std::tuple(b.t.mensagens.caixas[0].texto, b.t.mensagens.caixas[0].estilo), std::tuple(Alterada, 36));
    // Declined or not, the weights and the moment are rewritten.
    CONFERIR(viatura(b), {{"Código da viatura", "AB12"}, {"Viatura", matriculaGuardada}, {"Produto", produtoGuardado},
                          {"Peso de tara", 12000}, {"Peso bruto", 30000}, {"Operador", "Maria"}});
}

void TesteGravarViatura::pesosQueNaoSaoNumeros()
{
    // Reported, the first taken as the lighter; the rest of the row still stored.
    BancadaRegistos b;
    b.entrar(3);
    b.viaturaNaFicha("AB12");
    b.ecra.preencher("AB12", "12-AB-34", "12000", "x");
    b.ecra.modo = "SP";
    GravarViatura(b.estacao(), b.ecra);
    QCOMPARE(b.t.mensagens.caixas.size(), 2);  // the comparison, then the gross
    for (const auto& c : b.t.mensagens.caixas) {
        QVERIFY(c.texto.startsWith("Erro no acesso à tabela de viaturas\n\n("));
        QCOMPARE(c.estilo, 48);
    }
    CONFERIR(viatura(b), {{"Peso de tara", 12000}, {"Peso bruto", 2}, {"Operador", "Maria"}});
}

void TesteGravarViatura::outroPostoJuntaAMesmaViatura_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<QString>("codigoB");
    QTest::addColumn<QString>("depois");
    QTest::newRow("PP") << "PP" << "AB12" << "Código da viatura=AB12|Peso de tara=14200|Peso bruto=0";
    QTest::newRow("SP, noutra caixa") << "SP" << "ab12" << "Código da viatura=ab12|Peso de tara=12000|Peso bruto=14200";
}

void TesteGravarViatura::outroPostoJuntaAMesmaViatura()
{
    QFETCH(QString, modo);
    QFETCH(QString, codigoB);
    QFETCH(QString, depois);
    BancadaRegistos a, b(false, a.t.caminho("Pesagem.mdb"));
    a.entrar(3);
    b.entrar(3);
    b.t.estacao->Acesso.NomeOperador = "Rui";
    modo == u"PP" ? a.primeira("AB12", "12-AB-34", "14200", modo)
                  : a.segunda("AB12", "12-AB-34", "14200", "12000", OpcaoDocumento::Talao, modo);
    b.primeira(codigoB, "99-ZZ-99", "9000");
    b.t.mensagens.respostas << Resposta::Sim;
    // B saves the same new vehicle and adds it while A's question is open.
    a.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa& c) {
        if (c.estilo == 292)
            b.gravacao->GravarPrimeiraPesagem();
        return 0;
    };
    a.t.mensagens.respostas << Resposta::Sim;
    modo == u"PP" ? a.gravacao->GravarPrimeiraPesagem() : a.gravacao->GravarSegundaPesagem();

    QCOMPARE(a.t.mensagens.caixas.size(), 1);  // the question only
    QCOMPARE(BancadaRegistos::contarLinhas(a.bd()), 2);
    // As A's save leaves a vehicle on file: A's data, weights, moment and operator.
    const QString esperada = depois + "|Viatura=12-AB-34|Operador=Maria";
    QCOMPARE(BancadaRegistos::campos(viatura(a), esperada), esperada.split(u'|'));
}

QTEST_GUILESS_MAIN(TesteGravarViatura)
#include "tst_GravarViatura.moc"
