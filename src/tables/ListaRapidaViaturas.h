#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The quick list that drops down under the plate field while the vehicle code
// field is typed in: the plates that begin with the typed text.
namespace ListaRapidaViaturas {

// The rows for the text of the vehicle code field: the distinct plates of the
// pending first weighings that begin with it, then the distinct plates of the
// vehicles table that begin with it, each trimmed and left out when empty. A
// plate in both lists is listed twice. The text is trimmed first; an empty one
// gives no rows. The case of the letters A to Z is ignored (an accented letter
// matches only itself) and every typed character (% _ ' * ...) matches only
// itself. A query that fails adds no rows; nothing is thrown.
QStringList linhas(const QSqlDatabase& db, const QString& textoCampo);

// The list shows at most this many rows at once; more rows scroll.
constexpr int MaximoLinhasVisiveis = 18;

}  // namespace ListaRapidaViaturas
