#include "records/Diario.h"

Q_LOGGING_CATEGORY(diarioRegistos, "zumarel.registos")
