#include "BancadaBasculas.h"
#include "devices/ProtocoloIndicador.h"
#include "devices/ProtocoloLeitor.h"
#include "shared/EstadoBascula.h"

#include <QtTest>

using namespace ProtocoloIndicador;
namespace M = ProtocoloIndicador::Mensagens;

Q_DECLARE_METATYPE(ProtocoloIndicador::Layout)

class TesteProtocoloIndicador : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One frame read from a bridge state that had a valid 5000 kg reading.
    void trama_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<bool>("tomada");
        QTest::addColumn<int>("peso");
        QTest::addColumn<QString>("texto");  // TextoPeso|TextoUnidade|TextoModo|TextoEstabilidade
        QTest::addColumn<QString>("mensagem");
        QTest::addColumn<bool>("erro");
        QTest::addColumn<bool>("valido");
        QTest::addColumn<QByteArray>("resto");

        const QString ok = u"   12340|kg|Peso bruto:|><"_qs;
        QTest::newRow("A estável bruto") << Layout::A << tramaA("   12340") << true << 12340 << ok << "" << false << true << QByteArray();
        QTest::newRow("A terminada em LF") << Layout::A << tramaA("   12340", "kg", 'G', 'S', '\n') << true << 12340 << ok << "" << false << true << QByteArray();
        QTest::newRow("A terminada em espaço") << Layout::A << tramaA("   12340", "kg", 'G', 'S', ' ') << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A instável") << Layout::A << tramaA("   12340", "kg", 'G', 'U') << true << 12340 << u"   12340|kg|Peso bruto:|>"_qs << M::PesoInstavel << false << false << QByteArray();
        QTest::newRow("A estabilidade em branco") << Layout::A << tramaA("   12340", "kg", 'G', ' ') << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A líquido") << Layout::A << tramaA("   12340", "kg", 'N') << true << 12340 << u"   12340|kg|Peso líquido:|><"_qs << M::ModoLiquido << false << false << QByteArray();
        QTest::newRow("A modo desconhecido") << Layout::A << tramaA("   12340", "kg", 'X') << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A libras") << Layout::A << tramaA("   12340", "lb") << true << 12340 << u"   12340|lib|Peso bruto:|><"_qs << M::UnidadeIncorrecta << false << false << QByteArray();
        QTest::newRow("A toneladas") << Layout::A << tramaA("   12.34", "to") << true << 12 << u"   12.34|ton|Peso bruto:|><"_qs << M::UnidadeIncorrecta << false << false << QByteArray();
        QTest::newRow("A KG não é aceite") << Layout::A << tramaA("   12340", "KG") << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A negativo líquido instável em libras") << Layout::A << tramaA("  -00060", "lb", 'N', 'U') << true << -60 << u"  -00060|lib|Peso líquido:|>"_qs << M::PesoNegativo << false << false << QByteArray();
        QTest::newRow("A no mínimo é válido") << Layout::A << tramaA("     400") << true << 400 << u"     400|kg|Peso bruto:|><"_qs << "" << false << true << QByteArray();
        QTest::newRow("A abaixo do mínimo não") << Layout::A << tramaA("     399") << true << 399 << u"     399|kg|Peso bruto:|><"_qs << "" << false << false << QByteArray();
        QTest::newRow("A sobrecarga não é 0 kg") << Layout::A << tramaA("--------") << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A lixo antes e segunda trama") << Layout::A << "xx" + tramaA("   12340") + tramaA("     100") << true << 12340 << ok << "" << false << true << QByteArray();
        QTest::newRow("A STX solto perde a trama boa") << Layout::A << "\x02zz" + tramaA("   12340") << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("A sem STX") << Layout::A << QByteArray("   12340kgGS\r") << false << 5000 << "" << "" << false << true << QByteArray("   12340kgGS\r");
        QTest::newRow("A incompleta") << Layout::A << tramaA("   12340").left(13) << false << 5000 << "" << "" << false << true << tramaA("   12340").left(13);

        const QString u5 = u"05|kg|Peso bruto:|><"_qs;
        QTest::newRow("U estável") << Layout::U << tramaU("       5") << true << 5 << u5 << "" << false << false << QByteArray();
        QTest::newRow("U milhares agrupados") << Layout::U << tramaU("   12340", "KG", ' ', ' ') << true << 12340 << u"12.340|kg|Peso bruto:|><"_qs << "" << false << true << QByteArray();
        QTest::newRow("U em movimento") << Layout::U << tramaU("   12340", "KG", 'M') << true << 12340 << u"12.340|kg|Peso bruto:|>"_qs << M::PesoInstavel << false << false << QByteArray();
        QTest::newRow("U kg não é aceite") << Layout::U << tramaU("   12340", "kg") << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("U libras") << Layout::U << tramaU("   12340", "lb") << true << 12340 << u"12.340|lib|Peso bruto:|><"_qs << M::UnidadeIncorrecta << false << false << QByteArray();
        QTest::newRow("U terminada em LF") << Layout::U << tramaU("   12340", "KG", ' ', '\n') << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
        QTest::newRow("U negativo") << Layout::U << tramaU("     -60") << true << -60 << u"-60|kg|Peso bruto:|><"_qs << M::PesoNegativo << false << false << QByteArray();
        QTest::newRow("U estabilidade desconhecida") << Layout::U << tramaU("   12340", "KG", 'S') << true << 5000 << "" << M::ErroLeitura << true << false << QByteArray();
    }
    void trama()
    {
        QFETCH(Layout, layout);
        QFETCH(QByteArray, buffer);
        QFETCH(bool, tomada);
        QFETCH(int, peso);
        QFETCH(QString, texto);
        QFETCH(QString, mensagem);
        QFETCH(bool, erro);
        QFETCH(bool, valido);
        QFETCH(QByteArray, resto);

        EstadoBascula e;
        e.PesoActual = 5000;
        e.ErroIndicador = false;
        e.PesoValido = true;
        e.BufferIndicador = buffer;
        QCOMPARE(LerTrama(layout, e, 50, 400, u'.'), tomada);
        QCOMPARE(e.PesoActual, peso);
        QCOMPARE(e.MensagemIndicador, mensagem);
        QCOMPARE(e.ErroIndicador, erro);
        QCOMPARE(e.BufferIndicador, resto);
        if (tomada && !erro) {
            QCOMPARE(QStringList({e.TextoPeso, e.TextoUnidade, e.TextoModo, e.TextoEstabilidade}).join(u'|'), texto);
            QCOMPARE(e.PesoValido, valido);
            QCOMPARE(e.CiclosIndicador, 0);
        }
    }

    void valorPeso_data()
    {
        QTest::addColumn<QByteArray>("campo");
        QTest::addColumn<bool>("lido");
        QTest::addColumn<int>("peso");
        QTest::newRow("brancos e sinal") << QByteArray("   -0012") << true << -12;
        QTest::newRow("branco entre algarismos") << QByteArray("1 234   ") << true << 1234;
        QTest::newRow("12.5 para par") << QByteArray("12.5    ") << true << 12;
        QTest::newRow("-2.5 para par") << QByteArray("    -2.5") << true << -2;
        QTest::newRow("vírgula pára a leitura") << QByteArray("  12,340") << true << 12;
        QTest::newRow("expoente pequeno") << QByteArray("  1.5E3 ") << true << 1500;
        QTest::newRow("texto depois") << QByteArray("  150abc") << true << 150;
        QTest::newRow("maior Long") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("sobrecarga traços") << QByteArray("--------") << false << 0;
        QTest::newRow("OL") << QByteArray("      OL") << false << 0;
        QTest::newRow("em branco") << QByteArray("        ") << false << 0;
        QTest::newRow("só sinal") << QByteArray("       -") << false << 0;
        QTest::newRow("1E10 transborda") << QByteArray("  1E10  ") << false << 0;
        QTest::newRow("acima de 32 bits") << QByteArray("2147483648") << false << 0;
        QTest::newRow("hexadecimal não") << QByteArray("&H1F    ") << false << 0;
        QTest::newRow("inf não") << QByteArray("     inf") << false << 0;
        QTest::newRow("byte nulo pára") << QByteArray("12\0" "45   ", 8) << true << 12;
    }
    void valorPeso()
    {
        QFETCH(QByteArray, campo);
        QFETCH(bool, lido);
        QFETCH(int, peso);
        const std::optional<qint32> v = ProtocoloIndicador::valorPeso(campo);
        QCOMPARE(v.has_value(), lido);
        if (lido)
            QCOMPARE(*v, peso);
    }

    void separadorPtPt()
    {
        // The station's locale groups with a no-break space, never the machine's separator.
        QCOMPARE(separadorMilhares(), QChar(0x00A0));
        QCOMPARE(ProtocoloIndicador::formatarPeso(12340, separadorMilhares()), u"12\u00A0340"_qs);
    }

    void leitor_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QString>("codigo");  // "-" none
        QTest::addColumn<bool>("descartar");
        const QByteArray t = tramaCartao("ABC12345");
        QTest::newRow("trama") << t << "ABC12345" << false;
        QTest::newRow("código com brancos") << tramaCartao("AB12") << "AB12    " << false;
        QTest::newRow("lixo antes do R") << "xx\n" + t << "ABC12345" << false;
        QTest::newRow("sem o 24.º byte") << t.left(23) << "-" << false;
        QTest::newRow("completa pelo 24.º byte qualquer") << t.left(23) + "Z" << "ABC12345" << false;
        QTest::newRow("CR antes do 24.º byte") << QByteArray("R0000\r") << "-" << true;
        QTest::newRow("CR com a trama completa") << t + "\r\r" << "ABC12345" << false;
        QTest::newRow("r pequeno não é trama") << "r" + t.mid(1, 22) << "-" << false;
        QTest::newRow("R falso desloca o código") << "R" + t << "XABC1234" << false;
        QTest::newRow("duas tramas") << t + tramaCartao("ZZZ99999") << "ABC12345" << false;
        QTest::newRow("50 bytes sem trama") << QByteArray(50, 'x') << "-" << false;
        QTest::newRow("51 bytes sem trama") << QByteArray(51, 'x') << "-" << true;
    }
    void leitor()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(QString, codigo);
        QFETCH(bool, descartar);
        const ProtocoloLeitor::Exame r = ProtocoloLeitor::examinar(buffer);
        QCOMPARE(r.codigo.value_or(u"-"_qs), codigo);
        QCOMPARE(r.descartar, descartar);
    }
};

QTEST_GUILESS_MAIN(TesteProtocoloIndicador)
#include "tst_ProtocoloIndicador.moc"
