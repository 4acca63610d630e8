// Random bytes (fixed seeds, so every run is the same) into the parsers and
// the whole cycle: nothing crashes, and no invalid frame ever gives a valid
// reading.
#include "BancadaBasculas.h"
#include "devices/ProtocoloIndicador.h"
#include "devices/ProtocoloLeitor.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

using namespace ProtocoloIndicador;

namespace {

// Bytes that matter to the protocols, often; any byte, sometimes.
QByteArray bytesAleatorios(QRandomGenerator& r, int maximo)
{
    static const QByteArray alfabeto("\x02\r\n 0123456789-+.eEkgKGlbtoNSUMR\t\0", 34);
    QByteArray b;
    const int n = int(r.bounded(maximo + 1));
    for (int k = 0; k < n; ++k)
        b.append(r.bounded(3) ? alfabeto[int(r.bounded(alfabeto.size()))] : char(r.bounded(256)));
    return b;
}

// A frame that varies in each field around the accepted values.
QByteArray tramaQuaseValida(QRandomGenerator& r, Layout layout)
{
    QByteArray t = layout == Layout::A ? tramaA(QByteArray::number(int(r.bounded(-99999, 999999))).rightJustified(8, ' '))
                                       : tramaU(QByteArray::number(int(r.bounded(-99999, 999999))).rightJustified(8, ' '));
    const int mudancas = int(r.bounded(3));
    for (int k = 0; k < mudancas; ++k)
        t[int(r.bounded(t.size()))] = char(r.bounded(256));
    return t;
}

// Independently of the parser: is this frame good in every field?
bool tramaBoa(Layout layout, const QByteArray& t)
{
    const bool a = layout == Layout::A;
    if (t.size() != comprimentoTrama(layout) || t[0] != STX)
        return false;
    const QByteArray unidade = t.mid(9, 2);
    const char fim = t.back();
    const bool unidadeOk = unidade == (a ? "kg" : "KG") || unidade == "lb" || unidade == "to";
    const bool fimOk = a ? (fim == '\r' || fim == '\n') : (fim == '\r' || fim == ' ');
    const char estab = a ? t[12] : t[11];
    const bool estabOk = a ? (estab == 'S' || estab == 'U') : (estab == ' ' || estab == 'M');
    const bool modoOk = !a || t[11] == 'G' || t[11] == 'N';
    bool digito = false;
    for (char c : t.mid(1, 8))
        digito = digito || (c >= '0' && c <= '9');
    return unidadeOk && fimOk && estabOk && modoOk && digito;
}

}  // namespace

class TesteAleatorio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void camposDePeso();
    void tramas_data();
    void tramas();
    void leitores();
    void cicloCompleto();
};

void TesteAleatorio::camposDePeso()
{
    QRandomGenerator r(20261205);
    for (int k = 0; k < 200000; ++k) {
        const QByteArray campo = bytesAleatorios(r, 12);
        const std::optional<qint32> v = valorPeso(campo);
        if (!v)
            continue;
        bool digito = false;
        for (char c : campo)
            digito = digito || (c >= '0' && c <= '9');
        QVERIFY2(digito, campo.toHex().constData());
    }
}

void TesteAleatorio::tramas_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::newRow("A") << Layout::A;
    QTest::newRow("U") << Layout::U;
}

void TesteAleatorio::tramas()
{
    QFETCH(Layout, layout);
    QRandomGenerator r(layout == Layout::A ? 1 : 2);
    QElapsedTimer tempo;
    tempo.start();
    int validas = 0;
    for (int k = 0; k < 100000 && tempo.elapsed() < 30000; ++k) {
        EstadoBascula e;
        e.PesoActual = 77;
        QByteArray buffer = bytesAleatorios(r, 20);
        if (r.bounded(2))
            buffer += tramaQuaseValida(r, layout);
        buffer += bytesAleatorios(r, 8);
        e.BufferIndicador = buffer;
        const qsizetype p = buffer.indexOf(STX);
        const QByteArray trama = p >= 0 ? buffer.mid(p, comprimentoTrama(layout)) : QByteArray();
        const bool tomada = LerTrama(layout, e, 50, 0, u'.');
        QCOMPARE(tomada, trama.size() == comprimentoTrama(layout));
        if (!e.ErroIndicador) {
            QVERIFY2(tramaBoa(layout, trama), buffer.toHex().constData());
            QVERIFY(tomada);
        }
        if (e.PesoValido) {
            QVERIFY(e.MensagemIndicador.isEmpty());
            ++validas;
        }
        if (!tomada)
            QCOMPARE(e.PesoActual, 77);
    }
    QVERIFY(validas > 1000);  // the generator does reach good frames
}

void TesteAleatorio::leitores()
{
    QRandomGenerator r(3);
    for (int k = 0; k < 100000; ++k) {
        const QByteArray buffer = bytesAleatorios(r, 60);
        const ProtocoloLeitor::Exame x = ProtocoloLeitor::examinar(buffer);
        const qsizetype p = buffer.indexOf('R');
        if (x.codigo) {
            QVERIFY(p >= 0 && buffer.size() >= p + 24);
            QCOMPARE(x.codigo->size(), 8);
            QVERIFY(!x.descartar);
        } else {
            QVERIFY(p < 0 || buffer.size() < p + 24);
        }
    }
}

void TesteAleatorio::cicloCompleto()
{
    // Both bridges, random models and links, random bytes on every port and
    // socket, random operator states: the cycle's own invariants hold.
    QRandomGenerator r(4);
    const QStringList modelos = {"Avery Berkel", "Utilcel Matrix II", "Avery Weigh-Tronix", "outro"};
    const QStringList modos = {"", "PP", "SP", "PM", "SM"};
    for (int ronda = 0; ronda < 40; ++ronda) {
        BancadaBasculas b;
        b.def().Ciclos = qint16(r.bounded(0, 6));
        for (int i = 0; i < 2; ++i) {
            b.def().IndLigado[i] = r.bounded(4) != 0;
            b.def().IndModelo[i] = modelos[int(r.bounded(modelos.size()))];
            b.def().ComunicacaoIP[i] = r.bounded(2);
            b.def().LPLigado[i] = b.def().LSLigado[i] = true;
            b.def().LPTemporizacao[i] = qint16(r.bounded(0, 4));
            for (auto& aberta : b.io.portaAberta[i])
                aberta = r.bounded(5) != 0;
        }
        b.ecra.aoPesagemAutomatica = [&](int i) { b.e(i).UltimoCartao = b.e(i).CodigoCartao; };
        for (int k = 0; k < 500; ++k) {
            const int i = int(r.bounded(2));
            b.estacao.estacao->Acesso.NivelAcesso = quint8(r.bounded(5));
            b.ecra.modo = modos[int(r.bounded(modos.size()))];
            b.e(i).CapturarPeso = r.bounded(8) == 0;
            b.io.estado[i] = r.bounded(2) ? EstadoTcp::Ligado : EstadoTcp::Fechado;
            for (int c = 0; c < 3; ++c) {
                QByteArray dados = bytesAleatorios(r, 30);
                if (c == 0 && r.bounded(2))
                    dados += tramaQuaseValida(r, r.bounded(2) ? Layout::A : Layout::U);
                if (c > 0 && r.bounded(4) == 0)
                    dados += tramaCartao(bytesAleatorios(r, 8));
                b.io.chegar(i, Canal::Tipo(c), dados);
            }
            if (r.bounded(3) == 0)
                b.ligacao->sck_DataArrival(i, bytesAleatorios(r, 30));
            if (r.bounded(10) == 0)
                b.ligacao->mnuSmfB1_Click(int(r.bounded(3)));
            b.tick(i);
            for (int j = 0; j < 2; ++j) {
                const EstadoBascula& e = b.e(j);
                if (e.PesoValido)
                    QVERIFY(!e.ErroIndicador && e.MensagemIndicador.isEmpty());
                if (j == i && e.ErroIndicador)
                    QVERIFY(e.PesoActual == 0 && !e.PesoValido);
                QVERIFY(e.BufferIndicador.size() <= 512 || b.def().ComunicacaoIP[j]);
                QVERIFY(e.BufferLeitorP.size() <= ProtocoloLeitor::LimiteBuffer);
                QVERIFY(e.BufferLeitorS.size() <= ProtocoloLeitor::LimiteBuffer);
                QVERIFY(e.ComandoEnviado.isEmpty() || e.ComandoEnviado == "HO0001" || e.ComandoEnviado == "HO0003");
            }
        }
    }
}

QTEST_GUILESS_MAIN(TesteAleatorio)
#include "tst_Aleatorio.moc"
