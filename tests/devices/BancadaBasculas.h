#pragma once

#include "EcraBasculaFalso.h"
#include "LigacoesFalsas.h"
#include "devices/LigacaoBasculas.h"
#include "support/EstacaoTeste.h"

#include <QByteArray>
#include <memory>

// A station with both bridges' cycles on fake links and a fake screen:
// factory settings (B1 on, serial, model A; B2 off), both indicator ports
// open, nobody logged in, a fixed clock.
struct BancadaBasculas
{
    BancadaBasculas();

    // n ticks of one bridge; the links' log gets the tick numbers.
    void tick(int b, int n = 1);
    // n ticks of each bridge in turn (B1, B2, B1, ...).
    void tickAmbas(int n = 1);
    // n ticks of one bridge, each with its indicator sending this weight first.
    void lerPeso(int b, qint32 peso, int n = 1, char estab = 'S');

    EstadoBascula& e(int b) { return ligacao->estado(b); }
    const VistaBascula& v(int b) const { return ligacao->vista().bascula[b]; }
    Definicoes& def() { return estacao.estacao->Def; }

    EstacaoTeste estacao{false};
    LigacoesFalsas io;
    EcraBasculaFalso ecra;
    std::unique_ptr<LigacaoBasculas> ligacao;
};

// Frames as the indicators send them.
QByteArray tramaA(const QByteArray& peso, const QByteArray& unidade = "kg", char modo = 'G', char estab = 'S',
                  char fim = '\r');
QByteArray tramaU(const QByteArray& peso, const QByteArray& unidade = "KG", char estab = ' ', char fim = '\r');
// A layout-A frame of a whole weight, right-aligned in 8 characters.
QByteArray tramaPeso(qint32 peso, char estab = 'S');
// A card reader's frame with its code at positions 16 to 23.
QByteArray tramaCartao(const QByteArray& codigo);
