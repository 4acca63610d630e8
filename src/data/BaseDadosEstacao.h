#pragma once

#include "platform/LigacaoBd.h"

#include <QString>
#include <memory>

// The weighings database as a file: opening an existing one, and the
// installation step that makes an empty one from the schema.
namespace BaseDadosEstacao {

// The operator every new database holds, so a site can log in the first time.
inline const QString OperadorInicial = QStringLiteral("Supervisor");
inline const QString CodigoInicial = QStringLiteral("zumarel");
constexpr int NivelInicial = 4;

// Opens a station database, shared and read-write. A missing file, a file that
// is not a database, one without the station's tables, or one this process
// cannot write ("só de leitura": the file or its folder) throws Erro; the file
// is left as it was.
std::unique_ptr<LigacaoBd> abrir(const QString& caminho);

// Makes an empty station database at `caminho`: every table, the company row 1
// with its counters at 0, and the initial operator. Throws Erro when the file
// already exists or cannot be made; a half-made file never stays behind.
void criar(const QString& caminho);

// The installation step: makes the database when none is there. Returns true
// when it made one.
bool criarSeAusente(const QString& caminho);

}  // namespace BaseDadosEstacao
