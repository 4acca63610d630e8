#pragma once

#include <QString>

// The weighing screen's mode `ModoPesagem`: what kind of weighing is being
// entered. The screen sets it when it identifies a vehicle; the bridge cycle
// and the saves act on it.
namespace Modo {
inline const QString Nenhum;                     // no weighing being entered
inline const QString PP = QStringLiteral("PP");  // first weighing read from a bridge
inline const QString SP = QStringLiteral("SP");  // second weighing read from a bridge
inline const QString PM = QStringLiteral("PM");  // manual first weighing
inline const QString SM = QStringLiteral("SM");  // manual second weighing

inline bool ePrimeira(const QString& m)
{
    return m == PP || m == PM;
}
inline bool eSegunda(const QString& m)
{
    return m == SP || m == SM;
}
inline bool eManual(const QString& m)
{
    return m == PM || m == SM;
}
}  // namespace Modo
