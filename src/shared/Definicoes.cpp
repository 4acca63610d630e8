#include "shared/Definicoes.h"

namespace Seccoes {
QString Indicador(int b)
{
    return QStringLiteral("IndicadorB%1").arg(b + 1);
}
QString LeitorPrincipal(int b)
{
    return QStringLiteral("LeitorPrincipalB%1").arg(b + 1);
}
QString LeitorSecundario(int b)
{
    return QStringLiteral("LeitorSecundarioB%1").arg(b + 1);
}
}  // namespace Seccoes
