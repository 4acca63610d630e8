#pragma once

#include "platform/gui/ImpressoraQt.h"
#include "reporting/MotorRelatorios.h"
#include "support/EstacaoTeste.h"
#include "support/PedidoTeste.h"
#include "support/ServidorImpressao.h"

#include <QDir>
#include <QFile>
#include <memory>

// The station's report engine over a test station's database, on a machine
// with no print system: what it prints goes into PDF files in "impressos".
struct MotorTeste
{
    explicit MotorTeste(EstacaoTeste& t)
        : saida(t.relogio, t.mensagens),
          motor(std::make_unique<MotorRelatorios>([&t] { return t.estacao->bd(); }, t.relogio, saida))
    {
        saida.lugaresImpressao = {};
    }

    // Prints go to the default queue of this print server of the test's own,
    // found as the station finds its print system.
    static void imprimirEm(ImpressoraQt& saida, const ServidorImpressao& servidor)
    {
        saida.lugaresImpressao = servidor.lugares();
    }
    void imprimirEm(const ServidorImpressao& servidor) { imprimirEm(saida, servidor); }

    // A request for one of the shipped definitions.
    static PedidoRelatorio pedido(const QString& definicao, const QString& formula, int destino = DestinoRelatorio::Impressora, int copias = 1)
    {
        return pedidoTeste(definicao, formula, destino, copias);
    }

    // The shipped definitions and their partials in the station's program
    // folder, as the build puts them: where the windows name them.
    static void copiarDefinicoes(EstacaoTeste& t)
    {
        const QDir origem(QStringLiteral(ZUMAREL_RELATORIOS));
        QDir(t.pasta()).mkpath(QStringLiteral("partials"));
        QStringList ficheiros = origem.entryList({QStringLiteral("*.rpt")}, QDir::Files);
        for (const QString& f : QDir(origem.filePath(QStringLiteral("partials"))).entryList(QDir::Files))
            ficheiros << QStringLiteral("partials/") + f;
        for (const QString& f : ficheiros)
            QFile::copy(origem.filePath(f), t.caminho(f));
    }

    ImpressoraQt saida;
    std::unique_ptr<MotorRelatorios> motor;
};
