#include "reporting/ComposicaoRelatorio.h"

#include "platform/Conversoes.h"
#include "shared/Esquema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <kainjow/mustache.hpp>

namespace mu = kainjow::mustache;

namespace {

struct FalhaComposicao
{
    QString motivo;
};

std::string utf8(const QString& s)
{
    return s.toStdString();
}

QSqlQuery executar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw FalhaComposicao{q.lastError().text()};
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec())
        throw FalhaComposicao{q.lastError().text()};
    return q;
}

QString textoCampo(const Campo& campo, const QVariant& v, bool peso)
{
    if (v.isNull())
        return {};
    if (campo.tipo == TipoCampo::Data) {
        if (const auto d = Conversoes::dataDeBd(v.toString()))
            return d->toString(QStringLiteral("dd-MM-yyyy"));
        return v.toString();
    }
    if (peso)
        return textoPeso(v.toLongLong());
    return v.toString();
}

// The company row 1; blank lines when it is missing.
mu::data empresa(const QSqlDatabase& db)
{
    QSqlQuery q = executar(db,
                           QStringLiteral("SELECT * FROM %1 WHERE %2 = 1")
                               .arg(Esquema::citar(Esquema::Empresas), Esquema::citar(QStringLiteral("Empresa"))),
                           {});
    const bool existe = q.next();
    mu::data e{mu::data::type::object};
    for (const auto& [nome, campo] : DefinicaoRelatorio::camposEmpresa())
        e.set(utf8(nome), utf8(existe ? q.record().value(campo).toString() : QString()));
    return e;
}

RelatorioComposto compor(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                         const QSqlDatabase& db, const QDateTime& agora)
{
    const Tabela& tabela = *Esquema::tabela(definicao.tabela);

    QStringList condicoes;
    QVariantList valores;
    for (const FormulaSeleccao::Clausula* c : {&definicao.filtro, &seleccao}) {
        if (!c->condicao.isEmpty()) {
            condicoes << u'(' + c->condicao + u')';
            valores << c->valores;
        }
    }
    QStringList ordem;
    for (const auto& [campo, desc] : definicao.ordem)
        ordem << Esquema::citar(campo) + (desc ? QStringLiteral(" DESC") : QString());
    if (ordem.isEmpty())
        ordem << Esquema::citar(tabela.chave().nome);

    QString sql = QStringLiteral("SELECT * FROM ") + Esquema::citar(tabela.nome);
    if (!condicoes.isEmpty())
        sql += QStringLiteral(" WHERE ") + condicoes.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + ordem.join(QStringLiteral(", "));

    mu::data registos{mu::data::type::list};
    int n = 0;
    QSqlQuery q = executar(db, sql, valores);
    while (q.next()) {
        const QSqlRecord r = q.record();
        mu::data registo{mu::data::type::object};
        for (const Campo& c : tabela.campos)
            registo.set(utf8(c.nome), utf8(textoCampo(c, r.value(c.nome), definicao.pesos.contains(c.nome))));
        registo.set("primeiro", mu::data(n == 0));
        registos.push_back(registo);
        ++n;
    }
    q.finish();

    mu::data selecao{mu::data::type::list};
    for (const QString& linha : seleccao.descricao)
        selecao.push_back(mu::data(utf8(linha)));

    mu::data vista{mu::data::type::object};
    vista.set("titulo", utf8(definicao.titulo));
    vista.set("subtitulo", utf8(definicao.subtitulo));
    vista.set("impresso_em", utf8(agora.toString(QStringLiteral("dd-MM-yyyy HH:mm"))));
    vista.set("selecao", selecao);
    vista.set("vazio", mu::data(n == 0));
    vista.set("registos", registos);
    vista.set("empresa", empresa(db));
    for (auto it = definicao.parciais.cbegin(); it != definicao.parciais.cend(); ++it) {
        const std::string texto = utf8(it.value());
        vista.set(utf8(it.key()), mu::data(mu::partial([texto] { return texto; })));
    }

    mu::mustache modelo(utf8(definicao.modelo));
    const std::string html = modelo.render(vista);
    if (!modelo.is_valid())
        throw FalhaComposicao{QString::fromStdString(modelo.error_message())};
    return {QString::fromStdString(html), n};
}

}  // namespace

QString textoPeso(qint64 quilos)
{
    return Conversoes::agruparMilhares(quilos) + QStringLiteral("\u00A0kg");
}

std::optional<RelatorioComposto> comporRelatorio(const DefinicaoRelatorio& definicao,
                                                 const FormulaSeleccao::Clausula& seleccao, const QSqlDatabase& db,
                                                 const QDateTime& agora, QString* erro)
{
    try {
        return compor(definicao, seleccao, db, agora);
    } catch (const FalhaComposicao& f) {
        if (erro)
            *erro = f.motivo;
        return std::nullopt;
    }
}
