#pragma once

#include "platform/Erro.h"

#include <QStringList>

class Estacao;

// What the station's data start found.
struct ResultadoArranque
{
    bool baseDadosAberta = false;    // false: no database could be opened, the program cannot go on
    bool caminhoPorDefeito = false;  // the configured database failed; the default one is open
    QStringList valoresFalhados;     // settings that kept their previous value ("Seccao/Chave")
    Erro erroBaseDados;              // why the database could not be opened
};

// The start of a station's data: the log told when the program folder or
// the settings file may be written by anyone, the settings record read from
// the file, the main database opened and, when the backup path names another
// file, the backup database, and the failed-login count cleared. A bad
// settings value affects only itself; a backup that cannot be opened means no
// backup; only a main database that cannot be opened moves to the default
// path (and then no backup is opened). Nothing is written to the settings
// file or created on disk.
ResultadoArranque ArrancarDados(Estacao& estacao);
