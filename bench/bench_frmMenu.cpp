// How long the look-up list takes to open on a vehicles table of 50,000 rows:
// from the moment the weighing screen makes the window until it is painted.
// Run by hand (QT_QPA_PLATFORM=offscreen); prints the times.

#include "DestinoFalso.h"
#include "Semente.h"
#include "TitulosTeste.h"

#include "support/EstacaoTeste.h"
#include "tables/ListaEscolha.h"
#include "tables/frmMenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    const int viaturas = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;
    QTextStream saida(stdout);

    EstacaoTeste t;
    t.abrirBaseDados();
    Semente::muitasViaturas(t.estacao->bd(), viaturas);

    for (int vez = 1; vez <= 3; ++vez) {
        DestinoFalso destino;
        t.estacao->Acesso.TituloMenu = Viat;
        QElapsedTimer relogio;
        relogio.start();
        frmMenu janela(*t.estacao, destino);
        const qint64 preenchida = relogio.elapsed();
        janela.show();
        janela.grab();  // lays out and paints the list
        const qint64 mostrada = relogio.elapsed();
        saida << "abertura " << vez << ": " << janela.logica().NumeroLinhas() << " viaturas, lista preenchida em "
              << preenchida << " ms, janela pintada em " << mostrada << " ms\n";
        saida.flush();
        janela.reject();
    }
    return 0;
}
