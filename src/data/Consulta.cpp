#include "data/Consulta.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/LigacaoBd.h"
#include "shared/Esquema.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QSqlError>

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
        return Conversoes::dataParaBd(valor.toDate().startOfDay());
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

void paraCadaLinha(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
                   const std::function<bool(const QSqlQuery&)>& ler)
{
    ConsultasPreparadas* preparadas = LigacaoBd::preparadasDe(db);
    QSqlQuery* q = preparadas ? preparadas->tomar(db, sql) : nullptr;
    if (!q) {
        // A connection that keeps no statements, or this one asked for while
        // its rows are being read: a fresh one.
        QSqlQuery nova = executar(db, sql, valores);
        while (nova.next() && ler(nova)) {}
        verificarFim(nova);
        return;
    }
    const auto devolver = qScopeGuard([&] { preparadas->devolver(sql); });
    for (int i = 0; i < valores.size(); ++i)
        q->bindValue(i, valorParaBd(valores[i]));
    if (!q->exec())
        Erros::lancarSql(q->lastError());
    while (q->next() && ler(*q)) {}
    verificarFim(*q);
}

void verificarFim(const QSqlQuery& q)
{
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
