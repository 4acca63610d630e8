#include "data/Consulta.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"

#include <QDateTime>
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
        return Conversoes::dataParaBd(QDateTime(valor.toDate(), QTime(0, 0)));
    default:
        return valor;
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
