#include "data/Consulta.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"

#include <QDateTime>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>

#include <memory>

namespace Consulta {

QVariant valorParaBd(const QVariant& valor)
{
    switch (valor.typeId()) {
    case QMetaType::QString:
        if (valor.toString().isNull())
            return QVariant(QStringLiteral(""));
        return valor;
    case QMetaType::QDateTime:
        if (valor.isNull())
            return QVariant();
        return Conversoes::dataParaBd(valor.toDateTime());
    case QMetaType::QDate:
        if (valor.isNull())
            return QVariant();
        return Conversoes::dataParaBd(QDateTime(valor.toDate(), QTime(0, 0)));
    default: return valor;
    }
}

QSqlQuery executar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        Erros::lancarSql(q.lastError());
    for (const QVariant& v : valores)
        q.addBindValue(valorParaBd(v));
    if (!q.exec())
        Erros::lancarSql(q.lastError());
    return q;
}

namespace {

struct Preparada
{
    QSqlQuery consulta;
    bool emUso = false;
};

// The statements kept per connection (by its driver), dropped with the driver.
// Never destroyed itself: a connection may outlive the program's statics.
using Preparadas = QHash<QString, std::shared_ptr<Preparada>>;
QHash<const QSqlDriver*, Preparadas>& guardadas()
{
    static auto* todas = new QHash<const QSqlDriver*, Preparadas>;
    return *todas;
}

std::shared_ptr<Preparada> preparada(const QSqlDatabase& db, const QString& sql)
{
    const QSqlDriver* driver = db.driver();
    auto& todas = guardadas();
    auto ligacao = todas.find(driver);
    if (ligacao == todas.end()) {
        ligacao = todas.insert(driver, {});
        QObject::connect(driver, &QObject::destroyed, [driver] { guardadas().remove(driver); });
    }
    std::shared_ptr<Preparada>& p = (*ligacao)[sql];
    if (!p) {
        auto nova = std::make_shared<Preparada>(Preparada{QSqlQuery(db), false});
        nova->consulta.setForwardOnly(true);
        if (!nova->consulta.prepare(sql))
            Erros::lancarSql(nova->consulta.lastError());
        p = nova;
    }
    return p;
}

}  // namespace

void paraCadaLinha(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
                   const std::function<bool(const QSqlQuery&)>& ler)
{
    std::shared_ptr<Preparada> p = preparada(db, sql);
    if (p->emUso) {
        // The same statement asked for while its rows are being read: a fresh one.
        QSqlQuery q = executar(db, sql, valores);
        while (q.next() && ler(q)) {}
        return;
    }
    QSqlQuery& q = p->consulta;
    p->emUso = true;
    struct Fim
    {
        Preparada& p;
        ~Fim()
        {
            p.consulta.finish();
            p.emUso = false;
        }
    } fim{*p};
    for (int i = 0; i < valores.size(); ++i)
        q.bindValue(i, valorParaBd(valores[i]));
    if (!q.exec())
        Erros::lancarSql(q.lastError());
    while (q.next() && ler(q)) {}
    if (q.lastError().isValid())
        Erros::lancarSql(q.lastError());
}

std::optional<QSqlRecord> primeiraLinha(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    std::optional<QSqlRecord> r;
    paraCadaLinha(db, sql, valores, [&](const QSqlQuery& q) {
        r = q.record();
        return false;
    });
    return r;
}

QString listaCampos(const QStringList& campos)
{
    QStringList citados;
    citados.reserve(campos.size());
    for (const QString& c : campos)
        citados << Esquema::citar(c);
    return citados.join(QStringLiteral(", "));
}

QString padraoPrefixo(const QString& prefixo)
{
    QString p;
    p.reserve(prefixo.size() + 1);
    for (QChar c : prefixo) {
        if (c == u'%' || c == u'_' || c == u'\\')
            p.append(u'\\');
        p.append(c);
    }
    p.append(u'%');
    return p;
}

Transaccao::Transaccao(const QSqlDatabase& db) : m_db(db)
{
    executar(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    m_aberta = true;
}

Transaccao::~Transaccao()
{
    if (m_aberta) {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void Transaccao::confirmar()
{
    executar(m_db, QStringLiteral("COMMIT"));
    m_aberta = false;
}

}  // namespace Consulta
