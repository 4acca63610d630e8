#include "admin/LogicaAcerca.h"

#include "data/Estacao.h"
#include "platform/Mensagens.h"
#include "platform/Sistema.h"

#include <QStandardPaths>
#include <QVersionNumber>

#ifndef ZUMAREL_VERSAO
#error "ZUMAREL_VERSAO: the project's version, given by the build"
#endif

const QString LogicaAcerca::TituloJanela = QStringLiteral("Acerca do Zumarel");
const QString LogicaAcerca::MensagemIndisponivel = QStringLiteral("Opção não dispoNiv no momento");

LogicaAcerca::LogicaAcerca(Estacao& estacao)
    : procurar([](const QString& nome) { return QStandardPaths::findExecutable(nome); }),
      m_estacao(estacao)
{}

QString LogicaAcerca::textoVersao(int maior, int menor, int revisao)
{
    return QStringLiteral("Versão %1.%2.%3").arg(maior).arg(menor).arg(revisao);
}

QString LogicaAcerca::versaoPrograma()
{
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(ZUMAREL_VERSAO));
    return textoVersao(v.segmentAt(0), v.segmentAt(1), v.segmentAt(2));
}

void LogicaAcerca::StartSysInfo()
{
    for (const QString& nome : ferramentas) {
        const QString programa = procurar ? procurar(nome) : QString();
        if (programa.isEmpty())
            continue;
        if (m_estacao.sistema.IniciarPrograma(programa))
            return;
        break;  // found but not started: said like nothing found
    }
    m_estacao.mensagens.MsgBox(MensagemIndisponivel, Estilo::SoOK, tituloAplicacao());
}
