#include "support/PassosSqlite.h"

#include <atomic>
#include <sqlite3.h>

namespace {

std::atomic<bool> contar{false};
std::atomic<qint64> passos{0};

// At the end of each statement: its steps since it was last reset.
int terminou(unsigned tipo, void*, void* instrucao, void*)
{
    if (tipo == SQLITE_TRACE_PROFILE && contar)
        passos += sqlite3_stmt_status(static_cast<sqlite3_stmt*>(instrucao), SQLITE_STMTSTATUS_VM_STEP, 1);
    return 0;
}

int aoAbrir(sqlite3* ligacao, const char**, const sqlite3_api_routines*)
{
    sqlite3_trace_v2(ligacao, SQLITE_TRACE_PROFILE, terminou, nullptr);
    return SQLITE_OK;
}

void (*const entrada)() = reinterpret_cast<void (*)()>(&aoAbrir);

}  // namespace

PassosSqlite::PassosSqlite()
{
    passos = 0;
    contar = true;
    sqlite3_auto_extension(entrada);
}

PassosSqlite::~PassosSqlite()
{
    contar = false;
    sqlite3_cancel_auto_extension(entrada);
}

qint64 PassosSqlite::total() const
{
    return passos;
}

void PassosSqlite::zerar()
{
    passos = 0;
}
