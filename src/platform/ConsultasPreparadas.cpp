#include "platform/ConsultasPreparadas.h"

#include "platform/Erro.h"

#include <QSqlError>

QSqlQuery* ConsultasPreparadas::tomar(const QSqlDatabase& db, const QString& sql)
{
    auto i = m_preparadas.find(sql);
    if (i == m_preparadas.end()) {
        auto nova = std::make_unique<Preparada>(Preparada{QSqlQuery(db), false});
        nova->consulta.setForwardOnly(true);
        if (!nova->consulta.prepare(sql))
            Erros::lancarSql(nova->consulta.lastError());
        i = m_preparadas.emplace(sql, std::move(nova)).first;
    }
    Preparada* p = i->second.get();
    if (p->tomada)
        return nullptr;
    p->tomada = true;
    return &p->consulta;
}

void ConsultasPreparadas::devolver(const QString& sql)
{
    if (const auto i = m_preparadas.find(sql); i != m_preparadas.end()) {
        i->second->consulta.finish();
        i->second->tomada = false;
    }
}
