#pragma once

#include "screen/EcraPesagem.h"

// Marks the screen busy for as long as it lives (identification, look-ups,
// saves, boxes and windows), on every path out of a routine.
class EcraPesagem::Ocupacao
{
public:
    explicit Ocupacao(EcraPesagem& e) : m_ecra(e) { ++m_ecra.m_ocupado; }
    ~Ocupacao() { --m_ecra.m_ocupado; }
    Ocupacao(const Ocupacao&) = delete;
    Ocupacao& operator=(const Ocupacao&) = delete;

private:
    EcraPesagem& m_ecra;
};
