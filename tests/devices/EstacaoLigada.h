#pragma once

#include "EcraBasculaFalso.h"
#include "devices/LigacaoBasculas.h"
#include "platform/LigacoesQt.h"
#include "support/EstacaoTeste.h"

#include <QByteArray>
#include <memory>

// A station whose bridges' cycles run on the real links, with the settings
// file given, read as at start, and a fake screen. Ticks are driven by the test.
struct EstacaoLigada
{
    explicit EstacaoLigada(const QByteArray& ini);

    EstadoBascula& e(int b) { return ligacao->estado(b); }

    EstacaoTeste estacao{false};
    std::unique_ptr<LigacoesQt> io;
    EcraBasculaFalso ecra;
    std::unique_ptr<LigacaoBasculas> ligacao;
};
