#include "tables/ListaRapidaViaturas.h"

#include "data/Consulta.h"
#include "data/Passo.h"
#include "shared/Esquema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace ListaRapidaViaturas {

namespace {

// Appends the trimmed, non-empty plates of one query; a query that fails,
// even half-way, appends none of its rows.
void acrescentar(QStringList& linhas, const QSqlDatabase& db, const QString& sql, const QString& padrao)
{
    QStringList lidas;
    const bool lida = PassoSilencioso([&] {
        Consulta::paraCadaLinha(db, sql, {padrao}, [&](const QSqlQuery& q) {
            const QString viatura = q.value(0).toString().trimmed();
            if (!viatura.isEmpty())
                lidas << viatura;
            return true;
        });
    });
    if (lida)
        linhas << lidas;
}

}  // namespace

QStringList linhas(const QSqlDatabase& db, const QString& textoCampo)
{
    QStringList resultado;
    const QString texto = textoCampo.trimmed();
    if (texto.isEmpty())
        return resultado;

    // The typed text is bound, never joined into the statement, and its
    // pattern characters are escaped: "A%" lists plates beginning with "A%".
    const QString padrao = Consulta::padraoPrefixo(texto);
    const QString viatura = Esquema::citar(QStringLiteral("Viatura"));
    const QString condicao = viatura + QStringLiteral(" LIKE ? ESCAPE '\\'");
    const QString ordem = QStringLiteral(" ORDER BY ") + viatura;

    acrescentar(resultado, db,
                QStringLiteral("SELECT DISTINCT ") + viatura + QStringLiteral(" FROM ")
                    + Esquema::citar(Esquema::Pesagens) + QStringLiteral(" WHERE ") + condicao + QStringLiteral(" AND ")
                    + Esquema::citar(QStringLiteral("Tipo de pesagem")) + QStringLiteral(" = 'P'") + ordem,
                padrao);
    acrescentar(resultado, db,
                QStringLiteral("SELECT DISTINCT ") + viatura + QStringLiteral(" FROM ")
                    + Esquema::citar(Esquema::Viaturas) + QStringLiteral(" WHERE ") + condicao + ordem,
                padrao);
    return resultado;
}

}  // namespace ListaRapidaViaturas
