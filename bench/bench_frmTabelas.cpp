// How long the table editor takes on a vehicles table of 20,000 rows: the
// whole window opened and shown, a sort by the plate, and a search that finds
// the last row. Run by hand (QT_QPA_PLATFORM=offscreen); prints the times.

#include "Semente.h"

#include "support/EstacaoTeste.h"
#include "tables/frmTabelas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    const int viaturas = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    QTextStream saida(stdout);

    EstacaoTeste t;
    t.abrirBaseDados();
    Semente::muitasViaturas(t.estacao->bd(), viaturas);
    const EntradaTabela& viaturasEntrada = *CatalogoTabelas::entrada(QStringLiteral("Tabela de viaturas"));

    for (int vez = 1; vez <= 3; ++vez) {
        QElapsedTimer r;
        r.start();
        frmTabelas janela(*t.estacao, viaturasEntrada);
        janela.logica().Form_Load();
        janela.show();
        const qint64 abrir = r.restart();

        GrelhaTabela& g = janela.logica().grelha();
        g.irPara(0, 1);
        janela.logica().cmd_Click(2);  // Descendente by the plate
        const qint64 ordenar = r.restart();

        const QString ultima = g.valor(g.registos() - 1, 1).toString();
        t.mensagens.textos << ultima;
        janela.logica().cmd_Click(3);
        const qint64 procurar = r.elapsed();

        saida << "vez " << vez << ": " << g.registos() << " viaturas; abrir " << abrir << " ms, ordenar " << ordenar
              << " ms, procurar até à última (" << (g.linhaActual() + 1) << ") " << procurar << " ms\n";
        saida.flush();
    }
    return 0;
}
