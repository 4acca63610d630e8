#include "support/EstacaoTeste.h"

#include "data/BaseDadosEstacao.h"

#include <QFile>
#include <QtTest>

void escreverFicheiro(const QString& caminho, const QByteArray& conteudo)
{
    QFile f(caminho);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(caminho));
    f.write(conteudo);
}

QByteArray lerFicheiro(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

EstacaoTeste::EstacaoTeste(bool comBaseDados)
{
    estacao = std::make_unique<Estacao>(m_pasta.path(), mensagens, relogio, sistema);
    estacao->impressora = &impressora;
    if (comBaseDados)
        BaseDadosEstacao::criar(caminho(QStringLiteral("Pesagem.mdb")));
}

void EstacaoTeste::escreverIni(const QByteArray& conteudo) const
{
    escreverFicheiro(caminho(QStringLiteral("Lorvane.ini")), conteudo);
}

void EstacaoTeste::abrirBaseDados()
{
    estacao->Def.BaseDados = caminho(QStringLiteral("Pesagem.mdb"));
    estacao->Bd = BaseDadosEstacao::abrir(estacao->Def.BaseDados);
}
