#include "reporting/ComposicaoRelatorio.h"

#include "data/Consulta.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <kainjow/mustache.hpp>

namespace mu = kainjow::mustache;

namespace {

std::string utf8(const QString& s)
{
    return s.toStdString();
}

// What every template may show: the title, the printing time, the
// selection's lines, the company and the partials.
mu::data vistaGeral(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                    const ValoresEmpresa& empresa, const QDateTime& agora, bool vazio)
{
    mu::data selecao{mu::data::type::list};
    for (const QString& linha : seleccao.descricao)
        selecao.push_back(mu::data(utf8(linha)));
    mu::data e{mu::data::type::object};
    for (const auto& [nome, valor] : empresa)
        e.set(utf8(nome), utf8(valor));

    mu::data vista{mu::data::type::object};
    vista.set("titulo", utf8(definicao.titulo));
    vista.set("subtitulo", utf8(definicao.subtitulo));
    vista.set("impresso_em", utf8(agora.toString(QStringLiteral("dd-MM-yyyy HH:mm"))));
    vista.set("selecao", selecao);
    vista.set("vazio", mu::data(vazio));
    vista.set("empresa", e);
    for (auto it = definicao.parciais.cbegin(); it != definicao.parciais.cend(); ++it) {
        const std::string texto = utf8(it.value());
        vista.set(utf8(it.key()), mu::data(mu::partial([texto] { return texto; })));
    }
    return vista;
}

QString renderizar(const QString& modelo, const mu::data& vista, bool html)
{
    mu::mustache m(utf8(modelo));
    if (!html)
        m.set_custom_escape([](const std::string& s) { return s; });
    const std::string texto = m.render(vista);
    if (!m.is_valid())
        throw Erro{0, QStringLiteral("modelo: ") + QString::fromStdString(m.error_message())};
    return QString::fromStdString(texto);
}

// A document holds a few weighings: each row is one object of the view.
RelatorioComposto compor(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                         const QSqlDatabase& db, const QDateTime& agora)
{
    const Tabela& tabela = *Esquema::tabela(definicao.tabela);
    const ConsultaRelatorio consulta = consultaRelatorio(definicao, seleccao);
    // Only the fields the template shows are read.
    QList<const Campo*> campos;
    QStringList colunas{Esquema::citar(tabela.chave().nome)};
    for (const Campo& c : tabela.campos) {
        if (definicao.etiquetas.contains(c.nome)) {
            campos << &c;
            colunas << Esquema::citar(c.nome);
        }
    }
    const QString sql = QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                        + Esquema::citar(tabela.nome) + consulta.onde() + QStringLiteral(" ORDER BY ")
                        + consulta.ordem.join(QStringLiteral(", "));

    mu::data registos{mu::data::type::list};
    int n = 0;
    QSqlQuery q = Consulta::executar(db, sql, consulta.valores);
    while (q.next()) {
        mu::data registo{mu::data::type::object};
        for (int i = 0; i < campos.size(); ++i)
            registo.set(utf8(campos[i]->nome),
                        utf8(textoCampo(*campos[i], q.value(i + 1), definicao.pesos.contains(campos[i]->nome))));
        registo.set("primeiro", mu::data(n == 0));
        registos.push_back(registo);
        ++n;
    }
    q.finish();

    mu::data vista = vistaGeral(definicao, seleccao, lerEmpresa(db), agora, n == 0);
    vista.set("registos", registos);
    return {renderizar(definicao.modelo, vista, true), n};
}

}  // namespace

ConsultaRelatorio consultaRelatorio(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao)
{
    ConsultaRelatorio c;
    QStringList condicoes;
    for (const FormulaSeleccao::Clausula* clausula : {&definicao.filtro, &seleccao}) {
        if (!clausula->condicao.isEmpty()) {
            condicoes << u'(' + clausula->condicao + u')';
            c.valores << clausula->valores;
            c.intervalos << clausula->intervalos;
        }
    }
    c.condicao = condicoes.join(QStringLiteral(" AND "));
    for (const auto& [campo, desc] : definicao.ordem)
        c.ordem << Esquema::citar(campo) + (desc ? QStringLiteral(" DESC") : QString());
    c.ordem << Esquema::citar(Esquema::tabela(definicao.tabela)->chave().nome);
    return c;
}

QString textoCampo(const Campo& campo, const QVariant& v, bool peso)
{
    if (v.isNull())
        return {};
    if (campo.tipo == TipoCampo::Data) {
        // The stored form "yyyy-MM-dd HH:mm:ss" read by hand: a long report has thousands.
        const QString t = v.toString();
        if (t.size() == 19 && t[4] == u'-' && t[7] == u'-' && t[10] == u' ')
            return t.mid(8, 2) + u'-' + t.mid(5, 2) + u'-' + t.left(4);
        if (const auto d = Conversoes::dataDeBd(t))
            return d->toString(QStringLiteral("dd-MM-yyyy"));
        return t;
    }
    if (peso)
        return Conversoes::textoPeso(v.toLongLong());
    return v.toString();
}

ValoresEmpresa lerEmpresa(const QSqlDatabase& db)
{
    QSqlQuery q =
        Consulta::executar(db, QStringLiteral("SELECT * FROM %1 WHERE %2 = 1")
                                   .arg(Esquema::citar(Esquema::Empresas), Esquema::citar(QStringLiteral("Empresa"))));
    const bool existe = q.next();
    ValoresEmpresa valores;
    for (const auto& [nome, campo] : DefinicaoRelatorio::camposEmpresa())
        valores.append({nome, existe ? q.record().value(campo).toString() : QString()});
    return valores;
}

QString comporCabecalho(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                        const ValoresEmpresa& empresa, const QDateTime& agora, bool vazio)
{
    return renderizar(definicao.modelo, vistaGeral(definicao, seleccao, empresa, agora, vazio), true);
}

QString comporTexto(const QString& modelo, const QList<std::pair<QString, QString>>& valores)
{
    mu::data vista{mu::data::type::object};
    for (const auto& [nome, valor] : valores)
        vista.set(utf8(nome), utf8(valor));
    return renderizar(modelo, vista, false);
}

std::optional<RelatorioComposto> comporRelatorio(const DefinicaoRelatorio& definicao,
                                                 const FormulaSeleccao::Clausula& seleccao, const QSqlDatabase& db,
                                                 const QDateTime& agora, QString* erro)
{
    try {
        return compor(definicao, seleccao, db, agora);
    } catch (const Erro& e) {
        if (erro)
            *erro = e.descricao;
    }
    return std::nullopt;
}
