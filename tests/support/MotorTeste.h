#pragma once

#include "platform/gui/ImpressoraQt.h"
#include "reporting/MotorRelatorios.h"
#include "support/EstacaoTeste.h"
#include "support/PedidoTeste.h"

#include <memory>

// The station's report engine over a test station's database, on a machine
// with no printer: what it prints goes into PDF files in "impressos".
struct MotorTeste
{
    explicit MotorTeste(EstacaoTeste& t)
        : saida(t.relogio),
          motor(std::make_unique<MotorRelatorios>([&t] { return t.estacao->bd(); }, t.relogio, saida))
    {
        saida.impressoraPorDefeito = [] { return QPrinterInfo(); };
    }

    // A request for one of the shipped definitions.
    static PedidoRelatorio pedido(const QString& definicao, const QString& formula, int destino = DestinoRelatorio::Impressora, int copias = 1)
    {
        return pedidoTeste(definicao, formula, destino, copias);
    }

    ImpressoraQt saida;
    std::unique_ptr<MotorRelatorios> motor;
};
