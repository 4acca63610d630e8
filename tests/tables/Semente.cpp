#include "Semente.h"

#include "shared/Esquema.h"
#include "data/Consulta.h"

#include "platform/Erro.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace Semente {

qint64 inserir(const QSqlDatabase& db, const QString& tabela, const Valores& valores)
{
    QStringList campos;
    QStringList marcas;
    QVariantList dados;
    for (const auto& [campo, valor] : valores) {
        campos << Esquema::citar(campo);
        marcas << QStringLiteral("?");
        dados << valor;
    }
    QSqlQuery q = Consulta::executar(db,
                                     QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                         .arg(Esquema::citar(tabela), campos.join(u", "), marcas.join(u", ")),
                                     dados);
    return q.lastInsertId().toLongLong();
}

void codigo(const QSqlDatabase& db, const QString& tabela, const QString& codigo, const QVariant& nome)
{
    const Tabela* t = Esquema::tabela(tabela);
    inserir(db, tabela, {{t->campos.at(0).nome, codigo}, {t->campos.at(1).nome, nome}});
}

void muitasViaturas(const QSqlDatabase& db, int quantas)
{
    Consulta::Transaccao transaccao(db);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Viaturas VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 1; i <= quantas; ++i) {
        const QString n = QString::number(i).rightJustified(6, u'0');
        q.addBindValue(QString(u'V' + n));
        q.addBindValue(QStringLiteral("%1-%2-%3").arg(n.left(2), n.mid(2, 2), n.right(2)));
        for (int p = 0; p < 5; ++p) {
            q.addBindValue(QStringLiteral("C%1%2").arg(p).arg(i % 1000));
            q.addBindValue(QStringLiteral("Nome da parte %1 número %2").arg(p).arg(i % 1000));
        }
        q.addBindValue(10000 + i % 5000);
        q.addBindValue(30000 + i % 9000);
        q.addBindValue(QStringLiteral("2026-01-02 03:04:05"));
        q.addBindValue(QStringLiteral("03:04"));
        q.addBindValue(QStringLiteral("Supervisor"));
        if (!q.exec())
            Erros::lancarSql(q.lastError());
    }
    transaccao.confirmar();
}

}  // namespace Semente
