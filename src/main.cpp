#include "platform/MensagensQt.h"
#include "platform/Relogio.h"
#include "platform/SistemaLinux.h"
#include "startup/Arranque.h"
#include "startup/Estacao.h"

#include <QApplication>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zumarel"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));

    MensagensQt mensagens;
    RelogioSistema relogio;
    SistemaLinux sistema;
    Estacao estacao(QCoreApplication::applicationDirPath(), mensagens, relogio, sistema);

    const ResultadoArranque r = ArrancarDados(estacao);
    QTextStream saida(stdout);
    if (!r.baseDadosAberta) {
        mensagens.MsgBox(QStringLiteral("Não foi possível abrir a base de dados de pesagens\n%1\n\n(%2)")
                             .arg(estacao.Def.BaseDados, r.erroBaseDados.descricao),
                         16, QStringLiteral("Erro ") + QString::number(r.erroBaseDados.numero));
        return 1;
    }
    saida << "Base de dados: " << estacao.Bd->caminho() << '\n';
    saida << "Base de dados de segurança: " << (estacao.temBackup() ? estacao.BdBackup->caminho() : QStringLiteral("nenhuma")) << '\n';
    for (const QString& v : r.valoresFalhados)
        saida << "Valor inválido em Lorvane.ini: " << v << '\n';
    return 0;
}
