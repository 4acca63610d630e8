#pragma once

#include <QtGlobal>

// Counts the steps of SQLite's virtual machine that the statements of every
// connection opened while it lives take: what a reading visits, without
// timing it. Statements of connections opened before it are not counted.
class PassosSqlite
{
public:
    PassosSqlite();
    ~PassosSqlite();
    PassosSqlite(const PassosSqlite&) = delete;
    PassosSqlite& operator=(const PassosSqlite&) = delete;

    // The steps of the statements finished since the start or the last zerar().
    qint64 total() const;
    void zerar();
};
