#pragma once

#include <QString>

// Tells the log (zumarel.ficheiros), once at start, when the program folder
// or its settings file may be written by any user of the computer (every
// folder on its way lets others through, and it lets them write): whoever
// may write them chooses the station's settings (its database, its ports)
// and, while the settings file is missing, makes it. Nothing when neither may.
void AvisarEscritaPorTodos(const QString& pastaPrograma, const QString& ficheiroDefinicoes);
