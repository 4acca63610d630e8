#include "reporting/ComposicaoRelatorio.h"

#include "platform/Conversoes.h"
#include "reporting/GraficoRelatorio.h"
#include "shared/Esquema.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <vector>

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

// kainjow 4.1 copies every value it is given, and a copy of a list copies all
// it holds: a report of thousands of rows would be copied at every level. The
// lists and objects it owns are not const, so values are moved into them.
void juntar(mu::data& lista, mu::data&& valor)
{
    const_cast<mu::list&>(lista.list_value()).push_back(std::move(valor));
}

void mover(mu::data& objecto, const std::string& nome, mu::data&& valor)
{
    objecto.set(nome, mu::data(false));
    *const_cast<mu::data*>(objecto.get(nome)) = std::move(valor);
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
        // The stored form "yyyy-MM-dd HH:mm:ss" read by hand: a long report has thousands.
        const QString t = v.toString();
        if (t.size() == 19 && t[4] == u'-' && t[7] == u'-' && t[10] == u' ')
            return t.mid(8, 2) + u'-' + t.mid(5, 2) + u'-' + t.left(4);
        if (const auto d = Conversoes::dataDeBd(t))
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

// One group of a grouped report: the rows whose group field is the same
// (letter case of A-Z aside, as the database's DISTINCT sees them).
// Rows handed over in blocks of a few dozen ({{#blocos}}{{#registos}}), so a
// template can lay each block out as a table of its own: the layout of one
// table of thousands of rows grows much faster than the rows.
class Blocos
{
public:
    static constexpr int Linhas = 10;

    void juntar(mu::data&& registo)
    {
        ::juntar(m_actual, std::move(registo));
        if (++m_n == Linhas)
            fechar();
    }
    mu::data lista()
    {
        if (m_n > 0)
            fechar();
        return std::move(m_blocos);
    }

private:
    void fechar()
    {
        mu::data bloco{mu::data::type::object};
        mover(bloco, "registos", std::move(m_actual));
        ::juntar(m_blocos, std::move(bloco));
        m_actual = mu::data{mu::data::type::list};
        m_n = 0;
    }

    mu::data m_blocos{mu::data::type::list};
    mu::data m_actual{mu::data::type::list};
    int m_n = 0;
};

struct Grupo
{
    QString valor;
    int n = 0;
    qint64 liquido = 0;
    Blocos blocos;
};

// The groups in the order of their names as Portuguese sorts them; the rows
// with no name last.
QList<Grupo*> ordenarGrupos(std::vector<Grupo>& grupos)
{
    QCollator colador{QLocale(QLocale::Portuguese, QLocale::Portugal)};
    colador.setCaseSensitivity(Qt::CaseInsensitive);
    QList<Grupo*> ordem;
    for (Grupo& g : grupos)
        ordem << &g;
    std::stable_sort(ordem.begin(), ordem.end(), [&](const Grupo* a, const Grupo* b) {
        if (a->valor.isEmpty() != b->valor.isEmpty())
            return b->valor.isEmpty();
        return colador.compare(a->valor, b->valor) < 0;
    });
    return ordem;
}

// SQLite's NOCASE: only A-Z fold.
QString chaveGrupo(const QString& valor)
{
    QString chave = valor;
    for (QChar& c : chave) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return chave;
}

RelatorioComposto compor(const DefinicaoRelatorio& definicao, const FormulaSeleccao::Clausula& seleccao,
                         const QSqlDatabase& db, const QDateTime& agora)
{
    const Tabela& tabela = *Esquema::tabela(definicao.tabela);
    const bool agrupado = !definicao.grupo.isEmpty();
    const bool comRegistos = definicao.detalhe;
    const Campo* campoLiquido = tabela.campo(QStringLiteral("Peso líquido"));

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

    // Only the fields the template shows, and those the totals need, are read.
    QList<const Campo*> campos;
    int colunaGrupo = -1, colunaLiquido = -1;
    for (const Campo& c : tabela.campos) {
        const bool mostrado = comRegistos && definicao.etiquetas.contains(c.nome);
        const bool grupo = agrupado && c.nome == definicao.grupo;
        const bool liquido = &c == campoLiquido;
        if (!mostrado && !grupo && !liquido)
            continue;
        if (grupo)
            colunaGrupo = int(campos.size());
        if (liquido)
            colunaLiquido = int(campos.size());
        campos << &c;
    }
    QStringList colunas;
    std::vector<std::string> nomes;
    std::vector<bool> pesos;
    for (const Campo* c : campos) {
        colunas << Esquema::citar(c->nome);
        nomes.push_back(utf8(c->nome));
        pesos.push_back(definicao.pesos.contains(c->nome));
    }
    if (colunas.isEmpty())
        colunas << Esquema::citar(tabela.chave().nome);

    QString sql = QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                  + Esquema::citar(tabela.nome);
    if (!condicoes.isEmpty())
        sql += QStringLiteral(" WHERE ") + condicoes.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + ordem.join(QStringLiteral(", "));

    std::vector<Grupo> grupos;
    QHash<QString, qsizetype> indiceGrupos;
    mu::data registos{mu::data::type::list};
    Blocos blocos;
    const bool emBlocos = definicao.etiquetas.contains(QStringLiteral("blocos"));
    int n = 0;
    qint64 liquidoTotal = 0;
    QSqlQuery q = executar(db, sql, valores);
    while (q.next()) {
        const qint64 liquido = colunaLiquido >= 0 ? q.value(colunaLiquido).toLongLong() : 0;
        liquidoTotal += liquido;
        Grupo* grupo = nullptr;
        if (agrupado) {
            const QString valor = q.value(colunaGrupo).toString();
            const QString chave = chaveGrupo(valor);
            auto it = indiceGrupos.constFind(chave);
            if (it == indiceGrupos.cend()) {
                it = indiceGrupos.insert(chave, qsizetype(grupos.size()));
                grupos.emplace_back().valor = valor;
            }
            grupo = &grupos[size_t(*it)];
            ++grupo->n;
            grupo->liquido += liquido;
        }
        if (comRegistos) {
            mu::data registo{mu::data::type::object};
            for (int i = 0; i < campos.size(); ++i)
                registo.set(nomes[i], utf8(textoCampo(*campos[i], q.value(i), pesos[i])));
            registo.set("primeiro", mu::data(n == 0));
            if (grupo)
                grupo->blocos.juntar(std::move(registo));
            else if (emBlocos)
                blocos.juntar(std::move(registo));
            else
                juntar(registos, std::move(registo));
        }
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
    mover(vista, "registos", std::move(registos));
    if (!agrupado && emBlocos)
        mover(vista, "blocos", blocos.lista());
    vista.set("total_n", utf8(QString::number(n)));
    vista.set("total_liquido", utf8(textoPeso(liquidoTotal)));
    if (agrupado) {
        mu::data lista{mu::data::type::list};
        QList<std::pair<QString, qint64>> barras;
        for (Grupo* g : ordenarGrupos(grupos)) {
            const QString nome = g->valor.isEmpty() ? QStringLiteral("(sem identificação)") : g->valor;
            mu::data dados{mu::data::type::object};
            dados.set("valor", utf8(nome));
            dados.set("n", utf8(QString::number(g->n)));
            dados.set("liquido", utf8(textoPeso(g->liquido)));
            mover(dados, "blocos", g->blocos.lista());
            juntar(lista, std::move(dados));
            barras.append({nome, g->liquido});
        }
        mover(vista, "grupos", std::move(lista));
        mu::data graficos{mu::data::type::list};
        if (definicao.grafico) {
            for (const ImagemGrafico& imagem : desenharGrafico(barras)) {
                mu::data dados{mu::data::type::object};
                dados.set("imagem", utf8(imagem.endereco));
                dados.set("largura", utf8(QString::number(imagem.largura)));
                dados.set("altura", utf8(QString::number(imagem.altura)));
                graficos.push_back(dados);
            }
        }
        vista.set("graficos", graficos);
    }
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
