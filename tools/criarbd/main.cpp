// Makes an empty station database at the path given, unless a file is there.
#include "platform/Erro.h"
#include "data/BaseDadosEstacao.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream erro(stderr);
    if (argc != 2) {
        erro << "uso: zumarel-criarbd <ficheiro da base de dados>\n";
        return 2;
    }
    const QString caminho = QString::fromLocal8Bit(argv[1]);
    try {
        if (BaseDadosEstacao::criarSeAusente(caminho))
            QTextStream(stdout) << "Base de dados criada: " << caminho << '\n';
    } catch (const Erro& e) {
        erro << "Erro " << e.numero << ": " << e.descricao << '\n';
        return 1;
    }
    return 0;
}
