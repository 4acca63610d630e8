#include "admin/RegistosOperadores.h"

#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "shared/Esquema.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace RegistosOperadores {

const QString CabecalhoErro = QStringLiteral("Erro no acesso à tabela de operadores");

QList<RegistoOperador> ler(const Estacao& estacao)
{
    const QString operador = QStringLiteral("Operador");
    const QString codigo = QStringLiteral("Código de acesso");
    const QString nivel = QStringLiteral("Nivel");
    QSqlQuery q =
        Consulta::executar(estacao.bd(), QStringLiteral("SELECT rowid, ") + Esquema::citar(operador)
                                             + QStringLiteral(", ") + Esquema::citar(codigo) + QStringLiteral(", ")
                                             + Esquema::citar(nivel) + QStringLiteral(" FROM ")
                                             + Esquema::citar(Esquema::Operadores) + QStringLiteral(" ORDER BY rowid"));
    QList<RegistoOperador> linhas;
    while (q.next()) {
        const QSqlRecord r = q.record();
        linhas << RegistoOperador{q.value(0).toLongLong(), ModGlobal::LerCampoTexto(r, operador),
                                  ModGlobal::LerCampoTexto(r, codigo), ModGlobal::LerCampoByte(r, nivel)};
    }
    return linhas;
}

bool iguais(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

}  // namespace RegistosOperadores
