#include "support/PassosSqlite.h"

#include <sqlite3.h>

PassosSqlite::PassosSqlite()
    : m_fim([this](sqlite3_stmt* instrucao) {
          // Its steps since it was last reset.
          m_passos += sqlite3_stmt_status(instrucao, SQLITE_STMTSTATUS_VM_STEP, 1);
      })
{}
