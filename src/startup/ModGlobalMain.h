#pragma once

#include <functional>

class Estacao;

namespace ModGlobal {

// The two windows start-up hands over to. They belong to layers above this
// one, so the program gives them as callables.
struct JanelasArranque
{
    // Loads the main window without showing it: its load (ports, timers, grid) runs now.
    std::function<void()> CarregarPrincipal;
    // Shows the login without waiting for it.
    std::function<void()> MostrarAcesso;
};

// Exit status of a program that found no database it could open.
constexpr int SaidaSemBaseDados = 1;

// The program's start, in one pass: the settings record read from the file,
// the main database and, when the backup path names another file, the backup
// database opened, the failed-login count cleared, the main window loaded
// hidden and the login shown. Returns 0 when the event loop should now run.
// When no database can be opened, not even the default one, it shows one box
// (style 16) with the database's error, loads no window and returns
// SaidaSemBaseDados.
int Main(Estacao& estacao, const JanelasArranque& janelas);

}  // namespace ModGlobal
