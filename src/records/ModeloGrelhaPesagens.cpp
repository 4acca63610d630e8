#include "records/ModeloGrelhaPesagens.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"
#include "data/Consulta.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

const Tabela& pesagens()
{
    return *Esquema::tabela(Esquema::Pesagens);
}

// The cache keeps at most this many rows; past it, it starts again.
constexpr int MaximoEmCache = 4096;

}  // namespace

ModeloGrelhaPesagens::ModeloGrelhaPesagens(QObject* pai) : QAbstractTableModel(pai) {}

QString ModeloGrelhaPesagens::nomeCampo(int coluna)
{
    return pesagens().campos.value(coluna).nome;
}

void ModeloGrelhaPesagens::carregar(const QSqlDatabase& db, const QString& condicao, const QVariantList& valores,
                                    const QString& ordem)
{
    const QString chave = Esquema::citar(pesagens().chave().nome);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(chave, Esquema::citar(Esquema::Pesagens));
    if (!condicao.isEmpty())
        sql += QStringLiteral(" WHERE ") + condicao;
    if (!ordem.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + ordem;
    QSqlQuery q = Consulta::executar(db, sql, valores);
    QVector<qint64> lidas;
    while (q.next())
        lidas.append(q.value(0).toLongLong());

    beginResetModel();
    m_db = db;
    m_pesagens = std::move(lidas);
    m_cache.clear();
    endResetModel();
}

int ModeloGrelhaPesagens::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_pesagens.size());
}

int ModeloGrelhaPesagens::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(pesagens().campos.size());
}

void ModeloGrelhaPesagens::lerPagina(int linha) const
{
    if (m_cache.size() > MaximoEmCache)
        m_cache.clear();
    const int inicio = linha - linha % TamanhoPagina;
    const int fim = std::min<int>(inicio + TamanhoPagina, m_pesagens.size());
    QStringList marcas;
    QVariantList chaves;
    for (int i = inicio; i < fim; ++i) {
        if (m_cache.contains(m_pesagens[i]))
            continue;
        marcas << QStringLiteral("?");
        chaves << m_pesagens[i];
    }
    if (chaves.isEmpty())
        return;
    const QString chave = Esquema::citar(pesagens().chave().nome);
    QSqlQuery q = Consulta::executar(
        m_db,
        QStringLiteral("SELECT * FROM %1 WHERE %2 IN (%3)").arg(Esquema::citar(Esquema::Pesagens), chave, marcas.join(u',')),
        chaves);
    const int colunas = columnCount();
    while (q.next()) {
        QVector<QVariant> valores(colunas);
        for (int c = 0; c < colunas; ++c)
            valores[c] = q.value(c);
        m_cache.insert(valores[0].toLongLong(), std::move(valores));
    }
    // A row deleted since the load shows empty.
    for (const QVariant& k : chaves) {
        if (!m_cache.contains(k.toLongLong()))
            m_cache.insert(k.toLongLong(), QVector<QVariant>(colunas));
    }
}

const QVector<QVariant>& ModeloGrelhaPesagens::linha(int linha) const
{
    if (linha < 0 || linha >= m_pesagens.size())
        Erros::lancar(Erros::ItemNaoEncontrado, QStringLiteral("Não existe registo actual"));
    auto it = m_cache.constFind(m_pesagens[linha]);
    if (it == m_cache.constEnd()) {
        lerPagina(linha);
        it = m_cache.constFind(m_pesagens[linha]);
    }
    return *it;
}

QVariant ModeloGrelhaPesagens::valor(int linha, int coluna) const
{
    const QVector<QVariant>& v = this->linha(linha);
    if (coluna < 0 || coluna >= v.size())
        Erros::lancar(Erros::ItemNaoEncontrado);
    return v[coluna].isNull() ? QVariant() : v[coluna];
}

QVariant ModeloGrelhaPesagens::valor(int linha, const QString& campo) const
{
    const Campo* c = pesagens().campo(campo);
    if (!c)
        Erros::lancarCampoEmFalta(campo);
    return valor(linha, int(c - pesagens().campos.data()));
}

QVariant ModeloGrelhaPesagens::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || indice.column() >= columnCount())
        return {};
    const Campo& campo = pesagens().campos[indice.column()];
    if (papel == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment((campo.eInteiro() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    if (papel != Qt::DisplayRole)
        return {};
    QVariant v;
    try {
        v = valor(indice.row(), indice.column());
    } catch (const Erro&) {
        return {};  // a row that cannot be read shows empty
    }
    if (!v.isValid())
        return {};
    if (campo.tipo == TipoCampo::Data) {
        if (const auto d = Conversoes::dataDeBd(v.toString()))
            return d->toString(QStringLiteral("dd-MM-yyyy"));
    }
    return v;
}

QVariant ModeloGrelhaPesagens::headerData(int seccao, Qt::Orientation orientacao, int papel) const
{
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || seccao < 0 || seccao >= columnCount())
        return QAbstractTableModel::headerData(seccao, orientacao, papel);
    return pesagens().campos[seccao].legenda;
}
