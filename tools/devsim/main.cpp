// zumarel-devsim: the devices of a weighbridge site (weight indicators, card
// readers and traffic lights) over ptys and loopback TCP, so the station runs
// without hardware. See `zumarel-devsim --help` and the console's "ajuda".
#include "EntradaComandos.h"
#include "Simulador.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTime>
#include <csignal>
#include <unistd.h>

namespace {
const char* const Uso = "Uso: zumarel-devsim --dir PASTA [--b1 MODELO:LIGAÇÃO] [--b2 MODELO:LIGAÇÃO]\n"
                        "                    [--reader b1p=com3,b1s=com5,b2p=com4,b2s=com6]\n"
                        "                    [--period MS] [--tcp-port PORTA] [--comandos FIFO]\n"
                        "  MODELO   berkel | wtronix (tramas contínuas) | matrix (responde a pedidos)\n"
                        "  LIGAÇÃO  comN (uma pty em PASTA/COMn) | tcp[=ENDEREÇO[:PORTA]] (só 127.x.x.x;\n"
                        "           B1 127.0.0.1, B2 127.0.0.2, porta 3002 por defeito; 0 escolhe uma livre)\n"
                        "  --period intervalo das tramas contínuas (100 ms)\n"
                        "  --comandos um pipe com nome de onde também se lêem comandos\n"
                        "Depois de arrancar escreve as linhas [PortasSerie] para o Lorvane.ini e \"pronto\";\n"
                        "os comandos (\"ajuda\") lêem-se da entrada padrão.\n";

// The signal only writes a byte; the event loop, woken by it, ends the
// program, so the links are taken away on the way out.
int sinalizacao[2] = {-1, -1};
void terminarComSinal(int)
{
    const char c = 0;
    [[maybe_unused]] const ssize_t n = ::write(sinalizacao[1], &c, 1);
}
}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream saida(stdout);
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        saida << Uso;
        return 0;
    }
    if (::pipe(sinalizacao) != 0)
        return 1;
    QSocketNotifier aviso(sinalizacao[0], QSocketNotifier::Read);
    QObject::connect(&aviso, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGTERM, terminarComSinal);
    std::signal(SIGINT, terminarComSinal);
    // A reader that goes away (the station, or whoever reads the console)
    // must not end the simulator.
    std::signal(SIGPIPE, SIG_IGN);

    Simulador sim;
    QString erro;
    if (!sim.configurar(args, &erro)) {
        QTextStream(stderr) << "zumarel-devsim: " << erro << '\n' << Uso;
        return 2;
    }
    const auto escrever = [&saida](const QString& texto) {
        saida << texto;
        saida.flush();
    };
    QObject::connect(&sim, &Simulador::registo, &app, [&](const QString& linha) {
        escrever(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz ")) + linha + u'\n');
    });
    QObject::connect(&sim, &Simulador::terminar, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    EntradaComandos consola;
    consola.lerEntradaPadrao();
    QObject::connect(&consola, &EntradaComandos::linha, &app, [&](const QString& l) { escrever(sim.executar(l)); });
    EntradaComandos fifo;
    const int k = args.indexOf(QStringLiteral("--comandos"));
    if (k > 0) {
        if (!fifo.abrirFifo(args.value(k + 1), &erro)) {
            QTextStream(stderr) << "zumarel-devsim: " << erro << '\n';
            return 2;
        }
        QObject::connect(&fifo, &EntradaComandos::linha, &app, [&](const QString& l) { escrever(sim.executar(l)); });
    }

    escrever(sim.apresentacao() + QStringLiteral("pronto\n"));
    return app.exec();
}
