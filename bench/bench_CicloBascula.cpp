// How long one tick of a bridge takes on a real station: the weighing screen,
// the saves and the grid plugged in as the main window plugs them, a database
// made by bench_criarbd, and links fed by the benchmark (a whole indicator
// frame and a card frame before each tick). Two kinds of tick:
//   cartao_novo  a new card at the loaded bridge with a level-4 operator
//                logged in: the code goes to the screen, which looks the
//                vehicle and its pending weighing up in the database;
//   mesmo_cartao the card read before: weight, display and lights only.
// The screen is cleared between ticks, outside the time taken.
//   bench_ciclobascula PESAGENS.mdb [ticks]     (default 2000)
// Prints the median and the 99th percentile of each, and last a JSON object.
#include "BancadaBasculas.h"
#include "DadosBench.h"

#include "data/BaseDadosEstacao.h"
#include "screen/EcraPesagem.h"
#include "screen/MontagemPrincipal.h"
#include "startup/ModGlobalIni.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Medida
{
    double mediana = 0;
    double p99 = 0;
};

Medida medir(std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    const auto em = [&](double q) {
        return double(ns[std::min(ns.size() - 1, size_t(q * double(ns.size())))]) / 1000.0;
    };
    return {em(0.5), em(0.99)};
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: bench_ciclobascula PESAGENS.mdb [ticks]   (made by bench_criarbd)\n");
        return 2;
    }
    const QString base = QString::fromLocal8Bit(argv[1]);
    const int ticks = argc > 2 ? QByteArray(argv[2]).toInt() : 2000;

    EstacaoTeste t(false);
    Estacao& estacao = *t.estacao;
    ModGlobal::LerDefinicoes(estacao.Ini(), t.pasta(), estacao.Def);
    try {
        estacao.Bd = BaseDadosEstacao::abrir(base);
    } catch (const Erro& e) {
        std::fprintf(stderr, "bench_ciclobascula: %s\n", qPrintable(e.descricao));
        return 1;
    }
    estacao.Acesso.NivelAcesso = 4;
    estacao.Acesso.NomeOperador = QStringLiteral("Maria");
    estacao.Def.LPLigado[0] = true;
    t.mensagens.aoMostrar = [](const MensagensFalsas::Caixa&) { return Resposta::Nao; };

    LigacoesFalsas io;
    io.portaAberta[0][Canal::Indicador] = io.portaAberta[0][Canal::LeitorP] = true;
    EcraPesagem ecra(estacao);
    MontagemPrincipal montagem(estacao, ecra, io);
    LigacaoBasculas& basculas = montagem.basculas();
    basculas.definirSeparador(u'.');
    EstadoBascula& b1 = basculas.estado(0);

    QSqlQuery q(estacao.bd());
    q.exec(QStringLiteral("SELECT count(*) FROM Viaturas"));
    const int viaturas = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    if (viaturas < 1) {
        std::fprintf(stderr, "bench_ciclobascula: no vehicles in %s\n", argv[1]);
        return 1;
    }

    const QByteArray trama = tramaPeso(12340);
    QElapsedTimer relogio;
    auto tique = [&](const QByteArray& cartao) {
        io.chegar(0, Canal::Indicador, trama);
        io.chegar(0, Canal::LeitorP, tramaCartao(cartao));
        io.escritas.clear();
        ++io.tick;
        relogio.start();
        basculas.tmr_Timer(0);
        return relogio.nsecsElapsed();
    };
    // The bridge loaded first, so a card is taken.
    for (int k = 0; k < 5; ++k)
        tique("");

    std::vector<qint64> novo, mesmo;
    int identificadas = 0;
    for (int k = 0; k < ticks; ++k) {
        ecra.LimparEcra();
        ecra.setModoPesagem(QString());
        const QByteArray codigo = DadosBench::codigo(1 + (k * 7919) % viaturas).toLatin1();
        novo.push_back(tique(codigo));
        if (!ecra.ModoPesagem().isEmpty())
            ++identificadas;
        mesmo.push_back(tique(codigo));
    }
    if (identificadas != ticks || b1.PesoActual != 12340) {
        std::fprintf(stderr, "bench_ciclobascula: %d of %d cards identified, weight %d\n", identificadas, ticks,
                     int(b1.PesoActual));
        return 1;
    }

    const Medida n = medir(novo), m = medir(mesmo);
    QTextStream saida(stdout);
    saida << base << ": " << viaturas << " vehicles; " << ticks
          << " ticks of each kind (B1: a whole frame, one reader)\n";
    saida << "  cartao_novo   median " << n.mediana << " µs, 99th percentile " << n.p99 << " µs"
          << "   (the vehicle and its pending weighing looked up)\n";
    saida << "  mesmo_cartao  median " << m.mediana << " µs, 99th percentile " << m.p99 << " µs\n";
    QJsonObject r;
    r[QStringLiteral("tique_cartao_novo_mediana_us")] = qRound(n.mediana * 10) / 10.0;
    r[QStringLiteral("tique_cartao_novo_p99_us")] = qRound(n.p99 * 10) / 10.0;
    r[QStringLiteral("tique_mesmo_cartao_mediana_us")] = qRound(m.mediana * 10) / 10.0;
    r[QStringLiteral("tique_mesmo_cartao_p99_us")] = qRound(m.p99 * 10) / 10.0;
    saida << QJsonDocument(r).toJson(QJsonDocument::Compact) << "\n";
    return 0;
}
