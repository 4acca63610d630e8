#pragma once

#include <functional>
#include <memory>

struct sqlite3_stmt;

// Calls `aoTerminar` at the end of each statement of every connection opened
// while it lives, in the statement's own thread, before the statement
// returns. Statements of connections opened before it are not seen. One at a time.
class FimDeInstrucao
{
public:
    explicit FimDeInstrucao(std::function<void(sqlite3_stmt*)> aoTerminar);
    ~FimDeInstrucao();
    FimDeInstrucao(const FimDeInstrucao&) = delete;
    FimDeInstrucao& operator=(const FimDeInstrucao&) = delete;
};
