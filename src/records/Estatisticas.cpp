#include "records/Estatisticas.h"

#include "data/Consulta.h"
#include "data/LeituraEmFatias.h"
#include "platform/Conversoes.h"
#include "shared/Esquema.h"

#include <functional>
#include <set>

namespace Estatisticas {

const QList<Estatistica>& todas()
{
    static const QList<Estatistica> lista = {
        {QStringLiteral("Estatísticas por viatura"), QStringLiteral("Viatura"),
         QStringLiteral(" and {Pesagens.Viatura} = '"), QStringLiteral("viatura"), 2500},
        {QStringLiteral("Estatísticas por cliente ou fornecedor"), QStringLiteral("Entidade"),
         QStringLiteral(" and {Pesagens.Entidade} = '"), QStringLiteral("entidade"), 5000},
        {QStringLiteral("Estatísticas por transportador"), QStringLiteral("Transportador"),
         QStringLiteral(" and {Pesagens.Transportador}='"), QStringLiteral("transportador"), 5000},
        {QStringLiteral("Estatísticas por produto"), QStringLiteral("Produto"),
         QStringLiteral(" and {Pesagens.Produto}='"), QStringLiteral("produto"), 5000},
        {QStringLiteral("Estatísticas por local de carga"), QStringLiteral("Local de carga"),
         QStringLiteral(" and {Pesagens.Local de carga}='"), QStringLiteral("loccarga"), 5000},
        {QStringLiteral("Estatísticas por local de descarga"), QStringLiteral("Local de descarga"),
         QStringLiteral(" and {Pesagens.Local de descarga}='"), QStringLiteral("locdescarga"), 5000},
        {QStringLiteral("Estatísticas por operador"), QStringLiteral("Operador"),
         QStringLiteral(" and {Pesagens.Operador}='"), QStringLiteral("operador"), 5000},
        {QStringLiteral("Pesagens"), {}, {}, QStringLiteral("pesagens"), 0},
    };
    return lista;
}

const Estatistica* porTitulo(const QString& titulo)
{
    for (const Estatistica& e : todas()) {
        if (e.titulo == titulo)
            return &e;
    }
    return nullptr;
}

QString tipoDaOpcao(int opcao)
{
    switch (opcao) {
    case 0: return QStringLiteral("E");
    case 1: return QStringLiteral("G");
    case 2: return QStringLiteral("T");
    default: return {};
    }
}

QString FormulaPeriodo(const Caixas& c)
{
    return QStringLiteral("{Pesagens.Data de saída}") + QStringLiteral(" in Date (") + c[2] + QStringLiteral(", ")
           + c[1] + QStringLiteral(", ") + c[0] + QStringLiteral(")") + QStringLiteral(" to Date (") + c[5]
           + QStringLiteral(", ") + c[4] + QStringLiteral(", ") + c[3] + QStringLiteral(")");
}

QString ConstruirFormula(const Estatistica& e, const Caixas& caixas, const QString& identificacao, int opcao)
{
    QString formula = FormulaPeriodo(caixas);
    const QString aparado = identificacao.trimmed();
    if (e.porPartes() && !aparado.isEmpty() && aparado.toUpper() != u"TODOS") {
        QString nome = identificacao;
        formula += e.clausula + nome.replace(u'\'', QStringLiteral("''")) + u'\'';
    }
    const QString tipo = tipoDaOpcao(opcao);
    if (!tipo.isEmpty())
        formula += QStringLiteral(" and {Pesagens.Tipo de pesagem}='") + tipo + u'\'';
    return formula;
}

QString ficheiroRelatorio(const Estatistica& e, bool soTotais, bool comGrafico)
{
    QString prefixo = QStringLiteral("m_");
    if (e.porPartes()) {
        if (soTotais)
            prefixo = QStringLiteral("t_");
        if (comGrafico)
            prefixo = QStringLiteral("g_");
    }
    return prefixo + e.radical + QStringLiteral(".rpt");
}

namespace {

// A box holding digits only (blanks round them allowed).
std::optional<int> numero(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > 4)
        return std::nullopt;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return t.toInt();
}

std::optional<QDate> data(const QString& dia, const QString& mes, const QString& ano)
{
    const auto d = numero(dia), m = numero(mes), a = numero(ano);
    if (!d || !m || !a)
        return std::nullopt;
    const QDate resultado(Conversoes::anoCompleto(*a), *m, *d);
    if (!resultado.isValid())
        return std::nullopt;
    return resultado;
}

}  // namespace

std::optional<Intervalo> intervalo(const Caixas& c, QString* motivo)
{
    const auto de = data(c[0], c[1], c[2]);
    const auto ate = data(c[3], c[4], c[5]);
    if (!de || !ate) {
        if (motivo) {
            const int i = de ? 3 : 0;
            *motivo = QStringLiteral("A data de %1 não é válida (%2-%3-%4).")
                          .arg(de ? QStringLiteral("fim") : QStringLiteral("inicio"), c[i], c[i + 1], c[i + 2]);
        }
        return std::nullopt;
    }
    // Each day's first moment: midnight, except where the clock skips it.
    return Intervalo{de->startOfDay(), ate->addDays(1).startOfDay()};
}

Identificacoes listar(const QSqlDatabase& db, const Estatistica& e, const Intervalo& periodo, int opcao)
{
    const QString saida = QStringLiteral("Data de saída");
    const QString data = Esquema::citar(saida);
    QString condicao = QStringLiteral("%1 >= ? AND %1 < ?").arg(data);
    const QString inicio = Conversoes::dataParaBd(periodo.inicio), fim = Conversoes::dataParaBd(periodo.fimExclusivo);
    QVariantList valores = {inicio, fim};
    const QString tipo = tipoDaOpcao(opcao);
    if (!tipo.isEmpty()) {
        condicao += QStringLiteral(" AND %1 = ?").arg(Esquema::citar(QStringLiteral("Tipo de pesagem")));
        valores << tipo;
    }
    // The period's rows are read in short slices of the date's index, so no
    // save waits for the whole reading.
    const auto ler = [&](const QString& seleccao, const std::function<bool(QSqlQuery&)>& fatia) {
        LeituraEmFatias::percorrer(db, seleccao, Esquema::Pesagens, condicao, valores, {{saida, inicio, fim}}, fatia);
    };
    Identificacoes r;
    if (!e.porPartes()) {
        // "Pesagens" lists nothing: one row tells that the period has weighings.
        ler(QStringLiteral("SELECT 1"), [&](QSqlQuery& q) {
            r.linhas = q.next() ? 1 : 0;
            return r.linhas == 0;
        });
        return r;
    }
    // The distinct values in the database's order of text.
    std::set<QString, Conversoes::MenorSemMaiusculas> distintos;
    bool nulo = false;
    ler(QStringLiteral("SELECT DISTINCT ") + Esquema::citar(e.campo), [&](QSqlQuery& q) {
        while (q.next()) {
            if (q.value(0).isNull())
                nulo = true;
            else
                distintos.insert(q.value(0).toString());
        }
        return true;
    });
    r.linhas = int(distintos.size()) + (nulo ? 1 : 0);
    r.valores = QStringList(distintos.begin(), distintos.end());
    return r;
}

}  // namespace Estatisticas
