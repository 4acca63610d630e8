// How long one tick of a bridge takes with a whole indicator frame and a
// card frame on each reader (fake links, so only the cycle is measured).
// Built with the tests, run by hand: bench_ciclobascula [ticks]
#include "BancadaBasculas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int ticks = argc > 1 ? QByteArray(argv[1]).toInt() : 200000;
    BancadaBasculas b;
    b.def().IndLigado[1] = true;
    for (int i = 0; i < 2; ++i) {
        b.def().LPLigado[i] = b.def().LSLigado[i] = true;
        b.io.portaAberta[i][Canal::LeitorP] = b.io.portaAberta[i][Canal::LeitorS] = true;
    }
    b.ecra.modo = QStringLiteral("PP");
    b.e(0).UltimoCartao = QStringLiteral("ABC12345");  // the same card: read, not weighed again
    const QByteArray trama = tramaPeso(12340);
    const QByteArray cartao = tramaCartao("ABC12345");

    QElapsedTimer relogio;
    relogio.start();
    for (int k = 0; k < ticks; ++k) {
        b.io.chegar(0, Canal::Indicador, trama);
        b.io.chegar(0, Canal::LeitorP, cartao);
        b.io.chegar(0, Canal::LeitorS, cartao);
        b.io.escritas.clear();
        b.ecra.registo.clear();
        b.ligacao->tmr_Timer(0);
    }
    const qint64 ns = relogio.nsecsElapsed();
    QTextStream(stdout) << ticks << " ticks: " << double(ns) / ticks / 1000.0 << " µs por tick (B1: trama "
                        << "completa, dois leitores, modo PP)\n";
    return b.e(0).PesoActual == 12340 ? 0 : 1;
}
