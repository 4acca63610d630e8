#include "data/LeituraEmFatias.h"

#include "data/Consulta.h"
#include "platform/Erro.h"
#include "platform/LigacaoBd.h"

#include <QElapsedTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace LeituraEmFatias {

namespace {

// How long the first look may take to find the selected rows' keys.
constexpr qint64 PrazoLimitesMs = 10;
// A slice of about 5 ms.
constexpr qint64 AlvoNs = 5'000'000;

using Limites = std::pair<qint64, qint64>;

Limites ler(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery q = Consulta::executar(db, sql, valores);
    if (q.next() && !q.value(0).isNull())
        return {q.value(0).toLongLong(), q.value(1).toLongLong()};
    return {0, -1};
}

// The selected rows' keys, when the database finds them within the time
// given; std::nullopt when it would take longer (many rows: the walk of
// the whole table costs no more then).
std::optional<Limites> limitesRapidos(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    LigacaoBd* ligacao = LigacaoBd::de(db);
    if (!ligacao)
        return ler(db, sql, valores);
    QElapsedTimer relogio;
    relogio.start();
    try {
        const LigacaoBd::Interrupcao prazo(*ligacao, [&] { return relogio.hasExpired(PrazoLimitesMs); });
        return ler(db, sql, valores);
    } catch (const Erro&) {
        // Stopped for any other reason (a cancellation among them): the caller's to know.
        if (!relogio.hasExpired(PrazoLimitesMs))
            throw;
        return std::nullopt;
    }
}

}  // namespace

void percorrer(const QSqlDatabase& db, const QString& inicio, const QString& tabela, const QString& condicao,
               const QVariantList& valores, const std::function<void(QSqlQuery& fatia)>& fatia)
{
    const QString chaves = QStringLiteral("SELECT MIN(rowid), MAX(rowid) FROM main.") + tabela;
    std::optional<Limites> limites;
    if (!condicao.isEmpty())
        limites = limitesRapidos(db, chaves + QStringLiteral(" WHERE ") + condicao, valores);
    if (!limites)
        limites = ler(db, chaves, {});
    // Walked by key, with no index: a slice costs what it holds, whatever
    // the condition.
    QString sql = inicio + QStringLiteral(" FROM main.%1 NOT INDEXED WHERE rowid BETWEEN ? AND ?").arg(tabela);
    if (!condicao.isEmpty())
        sql += QStringLiteral(" AND (") + condicao + u')';
    qint64 largura = 1024;
    QElapsedTimer relogio;
    for (qint64 de = limites->first; de <= limites->second;) {
        const qint64 ate = std::min(limites->second, de + largura - 1);
        relogio.start();
        {
            QSqlQuery q = Consulta::executar(db, sql, QVariantList{de, ate} + valores);
            fatia(q);
        }
        const qint64 ns = std::max<qint64>(relogio.nsecsElapsed(), 1);
        de = ate + 1;
        // The next slice sized on this one's pace, by half or double at most.
        largura = std::clamp(largura * AlvoNs / ns, std::max<qint64>(largura / 2, 64), largura * 2);
    }
}

}  // namespace LeituraEmFatias
