#pragma once

#include "support/FimDeInstrucao.h"

#include <QtGlobal>
#include <atomic>

// Counts the steps of SQLite's virtual machine that the statements of every
// connection opened while it lives take: what a reading visits, without
// timing it. Statements of connections opened before it are not counted.
class PassosSqlite
{
public:
    PassosSqlite();

    // The steps of the statements finished since the start or the last zerar().
    qint64 total() const { return m_passos; }
    void zerar() { m_passos = 0; }

private:
    std::atomic<qint64> m_passos{0};
    FimDeInstrucao m_fim;
};
