#pragma once

#include "support/FimDeInstrucao.h"

#include <QByteArray>
#include <QString>
#include <atomic>

struct sqlite3;

// Another station that takes the database file for itself (BEGIN EXCLUSIVE)
// as soon as a statement of this process ends: the first one, on a
// connection opened while this lives, whose text starts with `depoisDe`. It
// is taken in that statement's own thread, before the statement returns, so
// whatever that connection runs next finds the file held. Let go when this
// is destroyed.
class FicheiroOcupado
{
public:
    FicheiroOcupado(const QString& ficheiro, const QByteArray& depoisDe);
    ~FicheiroOcupado();

    // True once the file was taken.
    bool ocupado() const { return m_ocupado; }

private:
    sqlite3* m_outro = nullptr;
    std::atomic<bool> m_ocupado{false};
    FimDeInstrucao m_fim;
};
