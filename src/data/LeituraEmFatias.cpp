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

// Where the walk stands and the statements that take it one slice on. By an
// index, it alternates between the entries of one value (in key order, so
// many rows of one value never make one long statement) and the values above
// it (up to the next slice's last value); by key, it walks the keys alone.
class Passeio
{
public:
    Passeio(const QSqlDatabase& db, const QString& tabela, qint64 ultimaChave) : m_db(db), m_ultimaChave(ultimaChave)
    {
        m_origem = QStringLiteral("main.") + Esquema::citar(tabela) + QStringLiteral(" NOT INDEXED");
    }

    void porIndice(const QString& tabela, const QString& indice, const Intervalo& intervalo)
    {
        m_origem = QStringLiteral("main.%1 INDEXED BY %2").arg(Esquema::citar(tabela), Esquema::citar(indice));
        m_coluna = Esquema::citar(intervalo.campo);
        m_valor = intervalo.de;
        m_ate = intervalo.ate;
        m_fase = intervalo.umValor() ? Fase::NumValor : Fase::AcimaDe;
        m_inclusivo = true;
    }

    bool acabou() const { return m_fase == Fase::Fim; }

    // The next slice's part of the WHERE clause; `cheia` when it holds as
    // many entries as were asked (its pace then sizes the next one).
    Trecho proxima(bool& cheia)
    {
        cheia = false;
        if (m_fase == Fase::NumValor) {
            Trecho limite = noValor(std::nullopt);
            limite.valores << m_entradas - 1;
            QSqlQuery q =
                Consulta::executar(m_db,
                                   QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY rowid LIMIT 1 OFFSET ?")
                                       .arg(m_origem, limite.onde),
                                   limite.valores);
            if (q.next()) {
                const qint64 ultima = q.value(0).toLongLong();
                Trecho t = noValor(ultima);
                m_depoisDe = ultima;
                cheia = true;
                return t;
            }
            Trecho t = noValor(std::nullopt);
            // The value is done: the values above it, up to the period's end, next.
            m_fase = m_coluna.isEmpty() || m_ate.isNull() ? Fase::Fim : Fase::AcimaDe;
            m_inclusivo = false;
            return t;
        }
        const QString sobre = QStringLiteral("%1 %2 ? AND %1 < ?").arg(m_coluna, m_inclusivo ? u">=" : u">");
        QSqlQuery q = Consulta::executar(
            m_db,
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %1 LIMIT 1 OFFSET ?").arg(m_coluna, m_origem, sobre),
            {m_valor, m_ate, m_entradas - 1});
        Trecho t{sobre + QStringLiteral(" AND rowid <= ?"), {m_valor, m_ate, m_ultimaChave}};
        if (q.next()) {
            // The values below the last one; the entries of that one next, by key.
            m_valor = q.value(0);
            t.valores[1] = m_valor;
            m_fase = Fase::NumValor;
            m_depoisDe.reset();
            cheia = true;
        } else {
            m_fase = Fase::Fim;
        }
        return t;
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
    enum class Fase { NumValor, AcimaDe, Fim };

    // The entries of the current value (every key, when the walk is by key)
    // after the last one read, up to the key `ate` or the last one stored.
    Trecho noValor(std::optional<qint64> ate) const
    {
        Trecho t;
        QStringList partes;
        if (!m_coluna.isEmpty()) {
            partes << m_coluna + QStringLiteral(" = ?");
            t.valores << m_valor;
        }
        if (m_depoisDe) {
            partes << QStringLiteral("rowid > ?");
            t.valores << *m_depoisDe;
        }
        partes << QStringLiteral("rowid <= ?");
        t.valores << ate.value_or(m_ultimaChave);
        t.onde = partes.join(QStringLiteral(" AND "));
        return t;
    }

    QSqlDatabase m_db;
    QString m_origem;
    QString m_coluna;  // quoted; empty when walking by key
    qint64 m_ultimaChave;
    Fase m_fase = Fase::NumValor;
    QVariant m_valor;
    QVariant m_ate;
    bool m_inclusivo = true;
    std::optional<qint64> m_depoisDe;
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
