#include "data/LeituraEmFatias.h"

#include "data/Consulta.h"
#include "shared/Esquema.h"

#include <QElapsedTimer>

#include <algorithm>
#include <optional>

namespace LeituraEmFatias {

namespace {

// A slice of about 5 ms, of so many index entries (or keys) at least and at most.
constexpr qint64 AlvoNs = 5'000'000;
constexpr qint64 EntradasIniciais = 1024;
constexpr qint64 EntradasMinimas = 64;
constexpr qint64 EntradasMaximas = 65536;

// The file's index that orders `tabela` by `campo` alone; empty when it has none.
QString indiceDe(const QSqlDatabase& db, const QString& tabela, const QString& campo)
{
    for (const Indice& i : Esquema::indices()) {
        if (i.tabela.compare(tabela, Qt::CaseInsensitive) != 0 || i.campos.size() != 1
            || i.campos.first().compare(campo, Qt::CaseInsensitive) != 0)
            continue;
        // A file made before the index was is walked by key.
        QSqlQuery q = Consulta::executar(
            db, QStringLiteral("SELECT 1 FROM main.sqlite_master WHERE type = 'index' AND name = ?"), {i.nome});
        return q.next() ? i.nome : QString();
    }
    return {};
}

// A part of a WHERE clause and the values of its '?'.
struct Trecho
{
    QString onde;
    QVariantList valores;
};

// Where a slice starts, in the index's order of (value, key): the walk goes
// from one such place to the next, each slice ending where the next starts.
struct Inicio
{
    enum class Onde {
        NoValor,       // among the entries of `valor` (every key, by key) after the key `depoisDe`, or from its first
        DesdeValor,    // at `valor` and the values above it: a period's start
        AcimaDoValor,  // at the values above `valor`
        Fim,           // nowhere: the walk is over
    };
    Onde onde = Onde::Fim;
    QVariant valor;
    std::optional<qint64> depoisDe;
};

// The walk and the statements that take it one slice on. By an index, it
// alternates between the entries of one value (in key order, so many rows of
// one value never make one long statement) and the values above it (up to
// the next slice's last value); by key, it walks the keys alone.
class Passeio
{
public:
    Passeio(const QSqlDatabase& db, const QString& tabela, qint64 ultimaChave)
        : m_db(db),
          m_origem(QStringLiteral("main.") + Esquema::citar(tabela) + QStringLiteral(" NOT INDEXED")),
          m_ultimaChave(ultimaChave),
          m_inicio{Inicio::Onde::NoValor, {}, {}}
    {}

    void porIndice(const QString& tabela, const QString& indice, const Intervalo& intervalo)
    {
        m_origem = QStringLiteral("main.%1 INDEXED BY %2").arg(Esquema::citar(tabela), Esquema::citar(indice));
        m_coluna = Esquema::citar(intervalo.campo);
        m_ate = intervalo.ate;
        m_inicio = {intervalo.umValor() ? Inicio::Onde::NoValor : Inicio::Onde::DesdeValor, intervalo.de, {}};
    }

    bool acabou() const { return m_inicio.onde == Inicio::Onde::Fim; }

    // The next slice's part of the WHERE clause; `cheia` when it holds as
    // many entries as were asked (its pace then sizes the next one).
    Trecho proxima(bool& cheia)
    {
        const Inicio inicio = m_inicio;
        m_inicio = fimDe(inicio, cheia);
        return entre(inicio, m_inicio);
    }

    QString origem() const { return m_origem; }

    // The next slice's size from the pace of the last full one: by half or double at most.
    void ajustar(qint64 ns)
    {
        const qint64 proposta = m_entradas * AlvoNs / std::max<qint64>(ns, 1);
        m_entradas =
            std::clamp(proposta, std::max(m_entradas / 2, EntradasMinimas), std::min(m_entradas * 2, EntradasMaximas));
    }

private:
    using Onde = Inicio::Onde;

    // Where the slice that starts at `inicio` ends, and so where the next one
    // starts: after its last entry when it holds as many as were asked
    // (`cheia`); otherwise, past the value, or at the walk's end.
    Inicio fimDe(const Inicio& inicio, bool& cheia) const
    {
        if (inicio.onde == Onde::NoValor) {
            Trecho limite = entre(inicio, {});
            limite.valores << m_entradas - 1;
            QSqlQuery q =
                Consulta::executar(m_db,
                                   QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY rowid LIMIT 1 OFFSET ?")
                                       .arg(m_origem, limite.onde),
                                   limite.valores);
            cheia = q.next();
            if (cheia)
                return {Onde::NoValor, inicio.valor, q.value(0).toLongLong()};
            // The value is done: the values above it, up to the period's end, next.
            if (m_coluna.isEmpty() || m_ate.isNull())
                return {};
            return {Onde::AcimaDoValor, inicio.valor, {}};
        }
        QSqlQuery q = Consulta::executar(m_db,
                                         QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 LIMIT 1 OFFSET ?")
                                             .arg(m_coluna, m_origem, valores(inicio)),
                                         {inicio.valor, m_ate, m_entradas - 1});
        cheia = q.next();
        if (cheia)
            // The values below that one; its entries next, by key.
            return {Onde::NoValor, q.value(0), {}};
        return {};
    }

    // The entries from `inicio` to where `fim` starts (the walk's end when it is Fim).
    Trecho entre(const Inicio& inicio, const Inicio& fim) const
    {
        Trecho t;
        QStringList partes;
        if (inicio.onde == Onde::NoValor) {
            if (!m_coluna.isEmpty()) {
                partes << m_coluna + QStringLiteral(" = ?");
                t.valores << inicio.valor;
            }
            if (inicio.depoisDe) {
                partes << QStringLiteral("rowid > ?");
                t.valores << *inicio.depoisDe;
            }
            // Up to the key after which the value's next slice starts, else the last one stored.
            partes << QStringLiteral("rowid <= ?");
            t.valores << (fim.onde == Onde::NoValor ? *fim.depoisDe : m_ultimaChave);
        } else {
            // Below the value whose entries the next slice takes, else the period's end.
            partes << valores(inicio) << QStringLiteral("rowid <= ?");
            t.valores << inicio.valor << (fim.onde == Onde::NoValor ? fim.valor : m_ate) << m_ultimaChave;
        }
        t.onde = partes.join(QStringLiteral(" AND "));
        return t;
    }

    // The values from or above the start's one, below the next slice's first value or the period's end.
    QString valores(const Inicio& inicio) const
    {
        return QStringLiteral("%1 %2 ? AND %1 < ?").arg(m_coluna, inicio.onde == Onde::DesdeValor ? u">=" : u">");
    }

    QSqlDatabase m_db;
    QString m_origem;
    QString m_coluna;  // quoted; empty when walking by key
    const qint64 m_ultimaChave;
    QVariant m_ate;  // the period's end; Null for one value
    Inicio m_inicio;
    qint64 m_entradas = EntradasIniciais;
};

}  // namespace

void percorrer(const QSqlDatabase& db, const QString& inicio, const QString& tabela, const QString& condicao,
               const QVariantList& valores, const QList<Intervalo>& intervalos,
               const std::function<bool(QSqlQuery& fatia)>& fatia)
{
    // A lone MAX of the key is one look down the table: rows stored from now on are not read.
    qint64 ultimaChave = 0;
    {
        QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT MAX(rowid) FROM main.") + Esquema::citar(tabela));
        if (!q.next() || q.value(0).isNull())
            return;
        ultimaChave = q.value(0).toLongLong();
    }
    Passeio passeio(db, tabela, ultimaChave);
    // The first field with an index of its own: a period before one value,
    // as a value may hold most of the table.
    const auto porIndice = [&](bool periodo) {
        for (const Intervalo& i : intervalos) {
            const QString indice = i.umValor() == periodo ? QString() : indiceDe(db, tabela, i.campo);
            if (!indice.isEmpty()) {
                passeio.porIndice(tabela, indice, i);
                return true;
            }
        }
        return false;
    };
    porIndice(true) || porIndice(false);
    const QString resto = condicao.isEmpty() ? QString() : QStringLiteral(" AND (") + condicao + u')';
    QElapsedTimer relogio;
    while (!passeio.acabou()) {
        relogio.start();
        bool cheia = false;
        const Trecho trecho = passeio.proxima(cheia);
        bool seguir = true;
        {
            QSqlQuery q = Consulta::executar(db,
                                             inicio + QStringLiteral(" FROM ") + passeio.origem()
                                                 + QStringLiteral(" WHERE ") + trecho.onde + resto,
                                             trecho.valores + valores);
            seguir = fatia(q);
            Consulta::verificarFim(q);
        }
        if (!seguir)
            return;
        if (cheia)
            passeio.ajustar(relogio.nsecsElapsed());
    }
}

}  // namespace LeituraEmFatias
