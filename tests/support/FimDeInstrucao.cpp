#include "support/FimDeInstrucao.h"

#include <QMutex>
#include <sqlite3.h>

namespace {

using Funcao = std::function<void(sqlite3_stmt*)>;

// A statement may end in another thread while the watch goes away: it keeps the function it took.
QMutex guarda;
std::shared_ptr<const Funcao> actual;

int terminou(unsigned tipo, void*, void* instrucao, void*)
{
    guarda.lock();
    const std::shared_ptr<const Funcao> f = actual;
    guarda.unlock();
    if (f && tipo == SQLITE_TRACE_PROFILE)
        (*f)(static_cast<sqlite3_stmt*>(instrucao));
    return 0;
}

int aoAbrir(sqlite3* ligacao, const char**, const sqlite3_api_routines*)
{
    return sqlite3_trace_v2(ligacao, SQLITE_TRACE_PROFILE, terminou, nullptr);
}

void (*const entrada)() = reinterpret_cast<void (*)()>(&aoAbrir);

}  // namespace

FimDeInstrucao::FimDeInstrucao(std::function<void(sqlite3_stmt*)> aoTerminar)
{
    const QMutexLocker trinco(&guarda);
    actual = std::make_shared<const Funcao>(std::move(aoTerminar));
    sqlite3_auto_extension(entrada);
}

FimDeInstrucao::~FimDeInstrucao()
{
    const QMutexLocker trinco(&guarda);
    sqlite3_cancel_auto_extension(entrada);
    actual.reset();
}
