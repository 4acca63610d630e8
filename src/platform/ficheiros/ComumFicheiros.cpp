#include "platform/ficheiros/ComumFicheiros.h"

Q_LOGGING_CATEGORY(diarioFicheiros, "zumarel.ficheiros")

namespace GravacaoFicheiro {
void (*aoPasso)(Passo) = nullptr;
}
