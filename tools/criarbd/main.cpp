// Makes an empty station database at the path given, unless a file is there.
#include "data/BaseDadosEstacao.h"
#include "platform/Erro.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {
const char* const Uso = "uso: zumarel-criarbd [--] <ficheiro da base de dados>\n";
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream erro(stderr);
    // Options are refused rather than taken for a file name; "--" ends them,
    // for a file whose name begins with "-".
    QCommandLineParser opcoes;
    const QCommandLineOption ajuda(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    opcoes.addOption(ajuda);
    if (!opcoes.parse(app.arguments())) {
        erro << opcoes.errorText() << '\n' << Uso;
        return 2;
    }
    if (opcoes.isSet(ajuda)) {
        QTextStream(stdout) << Uso;
        return 0;
    }
    if (opcoes.positionalArguments().size() != 1) {
        erro << Uso;
        return 2;
    }
    const QString caminho = opcoes.positionalArguments().constFirst();
    try {
        if (BaseDadosEstacao::criarSeAusente(caminho))
            QTextStream(stdout) << "Base de dados criada: " << caminho << '\n';
    } catch (const Erro& e) {
        erro << "Erro " << e.numero << ": " << e.descricao << '\n';
        return 1;
    }
    return 0;
}
