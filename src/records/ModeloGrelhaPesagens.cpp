#include "records/ModeloGrelhaPesagens.h"

#include "data/Consulta.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"

#include <QSqlQuery>

namespace {

const Tabela& pesagens()
{
    return *Esquema::tabela(Esquema::Pesagens);
}

QString campo(int coluna)
{
    return Esquema::citar(pesagens().campos.at(coluna).nome);
}

// The conditions every statement of a load shares: the rows numbered above
// the bound, of the kind asked for. While a field is walked, a leading "+"
// keeps SQLite on that field's index rather than the row number (which the
// index holds, so it may still bound the rows of one value).
enum class Via { Qualquer, DoCampo, DoCampoComChave };
QString filtro(const ModeloGrelhaPesagens::Pedido& p, QVariantList& valores, Via indice = Via::Qualquer)
{
    // One kind is walked along the index of the kind and the field, every
    // kind along the field's own index (see Esquema::indiceOrdemGrelha).
    const bool semChave = indice == Via::DoCampo;
    QString f = (semChave ? QStringLiteral("+") : QString()) + campo(0) + QStringLiteral(" > ?");
    valores << p.acimaDe;
    if (!p.tipo.isNull()) {
        f += QStringLiteral(" AND ") + Esquema::citar(QStringLiteral("Tipo de pesagem")) + QStringLiteral(" = ?");
        valores << p.tipo;
    }
    return f;
}

QString seleccao()
{
    return QStringLiteral("SELECT * FROM ") + Esquema::citar(Esquema::Pesagens) + QStringLiteral(" WHERE ");
}

}  // namespace

ModeloGrelhaPesagens::ModeloGrelhaPesagens(QObject* pai) : QAbstractTableModel(pai) {}

QString ModeloGrelhaPesagens::nomeCampo(int coluna)
{
    return pesagens().campos.value(coluna).nome;
}

void ModeloGrelhaPesagens::definirPaginacao(int tamanhoPagina, int limiteOrdenacaoDirecta)
{
    m_tamanhoPagina = std::max(1, tamanhoPagina);
    m_limiteDirecta = std::max(0, limiteOrdenacaoDirecta);
}

void ModeloGrelhaPesagens::carregar(const QSqlDatabase& db, const Pedido& pedido)
{
    const QSqlDatabase anterior = m_db;
    m_db = db;
    Posicao pos;
    QVector<Linha> primeira;
    try {
        primeira = lerPagina(pedido, pos);
    } catch (const Erro&) {
        m_db = anterior;
        throw;
    }
    beginResetModel();
    m_pedido = pedido;
    m_pos = pos;
    m_linhas = std::move(primeira);
    endResetModel();
}

bool ModeloGrelhaPesagens::canFetchMore(const QModelIndex& pai) const
{
    return !pai.isValid() && m_pos.iniciada && !m_pos.fim;
}

void ModeloGrelhaPesagens::fetchMore(const QModelIndex& pai)
{
    if (!canFetchMore(pai))
        return;
    QVector<Linha> novas;
    try {
        novas = lerPagina(m_pedido, m_pos);
    } catch (const Erro&) {
        m_pos.fim = true;  // a file that stops answering ends the list where it is
        return;
    }
    if (novas.isEmpty())
        return;
    beginInsertRows({}, int(m_linhas.size()), int(m_linhas.size() + novas.size() - 1));
    m_linhas += novas;
    endInsertRows();
}

QVector<ModeloGrelhaPesagens::Linha> ModeloGrelhaPesagens::lerPagina(const Pedido& pedido, Posicao& pos) const
{
    if (!pos.iniciada) {
        pos.iniciada = true;
        pos.directa = pedido.coluna > 0 && resultadoPequeno(pedido);
        if (pedido.coluna > 0 && !pos.directa)
            garantirIndice(pedido.coluna, !pedido.tipo.isNull());
    }
    if (pos.fim)
        return {};
    if (pedido.coluna <= 0)
        return lerPelaChave(pedido, pos, m_tamanhoPagina);
    if (pos.directa)
        return lerDirecta(pedido, pos, m_tamanhoPagina);
    return lerPorValores(pedido, pos, m_tamanhoPagina);
}

namespace {

QVector<QVector<QVariant>> lerLinhas(const QSqlDatabase& db, const QString& sql, const QVariantList& valores)
{
    QVector<QVector<QVariant>> linhas;
    const int colunas = int(pesagens().campos.size());
    Consulta::paraCadaLinha(db, sql, valores, [&](const QSqlQuery& q) {
        QVector<QVariant> v(colunas);
        for (int c = 0; c < colunas; ++c)
            v[c] = q.value(c);
        linhas << std::move(v);
        return true;
    });
    return linhas;
}

}  // namespace

// Newest first (or oldest first), on from the last row read.
QVector<ModeloGrelhaPesagens::Linha> ModeloGrelhaPesagens::lerPelaChave(const Pedido& pedido, Posicao& pos,
                                                                        int quantas) const
{
    QVariantList valores;
    QString sql = seleccao() + filtro(pedido, valores);
    if (pos.lidas > 0) {
        sql +=
            QStringLiteral(" AND ") + campo(0) + (pedido.descendente ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
        valores << pos.ultimaPesagem;
    }
    sql += QStringLiteral(" ORDER BY ") + campo(0)
           + (pedido.descendente ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + QStringLiteral(" LIMIT ?");
    valores << quantas;
    QVector<Linha> linhas = lerLinhas(m_db, sql, valores);
    if (linhas.size() < quantas)
        pos.fim = true;
    if (!linhas.isEmpty())
        pos.ultimaPesagem = linhas.last().at(0).toLongLong();
    pos.lidas += int(linhas.size());
    return linhas;
}

// A small result sorted in one statement, a page at a time.
QVector<ModeloGrelhaPesagens::Linha> ModeloGrelhaPesagens::lerDirecta(const Pedido& pedido, Posicao& pos,
                                                                      int quantas) const
{
    QVariantList valores;
    const QString sql = seleccao() + filtro(pedido, valores) + QStringLiteral(" ORDER BY ") + campo(pedido.coluna)
                        + (pedido.descendente ? QStringLiteral(" DESC, ") : QStringLiteral(" ASC, ")) + campo(0)
                        + QStringLiteral(" DESC LIMIT ? OFFSET ?");
    valores << quantas << pos.lidas;
    QVector<Linha> linhas = lerLinhas(m_db, sql, valores);
    if (linhas.size() < quantas)
        pos.fim = true;
    pos.lidas += int(linhas.size());
    return linhas;
}

bool ModeloGrelhaPesagens::resultadoPequeno(const Pedido& pedido) const
{
    QVariantList valores;
    const QString sql = QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM ") + Esquema::citar(Esquema::Pesagens)
                        + QStringLiteral(" WHERE ") + filtro(pedido, valores) + QStringLiteral(" LIMIT ?)");
    valores << m_limiteDirecta + 1;
    qint64 n = 0;
    Consulta::paraCadaLinha(m_db, sql, valores, [&](const QSqlQuery& q) {
        n = q.value(0).toLongLong();
        return false;
    });
    return n <= m_limiteDirecta;
}

// A large result walked along the field's index: the rows of one value of the
// field newest first, then the next value; Null comes first going up and last
// going down, as ORDER BY puts it.
QVector<ModeloGrelhaPesagens::Linha> ModeloGrelhaPesagens::lerPorValores(const Pedido& pedido, Posicao& pos,
                                                                         int quantas) const
{
    QVector<Linha> linhas;
    while (linhas.size() < quantas) {
        if (!pos.grupoIniciado || pos.lidas < 0) {
            if (!proximoGrupo(pedido, pos)) {
                pos.fim = true;
                break;
            }
        }
        QVariantList valores;
        QString sql = seleccao() + campo(pedido.coluna);
        if (pos.grupoNulo) {
            sql += QStringLiteral(" IS NULL");
        } else {
            sql += QStringLiteral(" = ?");
            valores << pos.valorGrupo;
        }
        sql += QStringLiteral(" AND ") + filtro(pedido, valores, Via::DoCampoComChave);
        if (pos.lidas > 0) {
            sql += QStringLiteral(" AND ") + campo(0) + QStringLiteral(" < ?");
            valores << pos.ultimaPesagem;
        }
        const int pedidas = quantas - int(linhas.size());
        sql += QStringLiteral(" ORDER BY ") + campo(0) + QStringLiteral(" DESC LIMIT ?");
        valores << pedidas;
        const QVector<Linha> grupo = lerLinhas(m_db, sql, valores);
        linhas += grupo;
        if (grupo.size() < pedidas) {
            pos.lidas = -1;  // this value has no more rows
        } else {
            pos.lidas = 1;
            pos.ultimaPesagem = grupo.last().at(0).toLongLong();
        }
    }
    return linhas;
}

bool ModeloGrelhaPesagens::proximoGrupo(const Pedido& pedido, Posicao& pos) const
{
    const QString c = campo(pedido.coluna);
    const QString tabela = Esquema::citar(Esquema::Pesagens);
    auto existeNulo = [&] {
        QVariantList valores;
        bool existe = false;
        Consulta::paraCadaLinha(m_db,
                                QStringLiteral("SELECT 1 FROM ") + tabela + QStringLiteral(" WHERE ") + c
                                    + QStringLiteral(" IS NULL AND ") + filtro(pedido, valores, Via::DoCampo)
                                    + QStringLiteral(" LIMIT 1"),
                                valores, [&](const QSqlQuery&) { return !(existe = true); });
        return existe;
    };
    // The next value of the field in the direction of the sort, after `depois` (none: the first).
    auto valorSeguinte = [&](const QVariant* depois) {
        QVariantList valores;
        QString sql = QStringLiteral("SELECT ") + c + QStringLiteral(" FROM ") + tabela + QStringLiteral(" WHERE ") + c;
        if (depois) {
            sql += pedido.descendente ? QStringLiteral(" < ?") : QStringLiteral(" > ?");
            valores << *depois;
        } else {
            sql += QStringLiteral(" IS NOT NULL");
        }
        sql += QStringLiteral(" AND ") + filtro(pedido, valores, Via::DoCampo) + QStringLiteral(" ORDER BY ") + c
               + (pedido.descendente ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + QStringLiteral(" LIMIT 1");
        QVariant v;
        Consulta::paraCadaLinha(m_db, sql, valores, [&](const QSqlQuery& q) {
            v = q.value(0);
            return false;
        });
        return v;
    };
    auto escolher = [&](bool nulo, const QVariant& valor) {
        pos.grupoIniciado = true;
        pos.grupoNulo = nulo;
        pos.valorGrupo = valor;
        pos.lidas = 0;
        return true;
    };

    const bool primeiro = !pos.grupoIniciado;
    if (!primeiro && pos.grupoNulo && pedido.descendente)
        return false;  // Null was the last value
    if (primeiro && !pedido.descendente && existeNulo())
        return escolher(true, {});
    const QVariant v = valorSeguinte(primeiro || pos.grupoNulo ? nullptr : &pos.valorGrupo);
    if (v.isValid())
        return escolher(false, v);
    if (pedido.descendente && existeNulo())
        return escolher(true, {});
    return false;
}

// A database made before the grid sorted this way gets the field's index the
// first time the field is walked; a file that cannot take it is read without.
void ModeloGrelhaPesagens::garantirIndice(int coluna, bool porTipo) const
{
    const Indice* indice = Esquema::indiceOrdemGrelha(nomeCampo(coluna), porTipo);
    if (!indice || m_indicesVerificados.contains(indice->nome))
        return;
    m_indicesVerificados.insert(indice->nome);
    try {
        Consulta::executar(m_db, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                     .arg(Esquema::citar(indice->nome), Esquema::citar(Esquema::Pesagens),
                                          Consulta::listaCampos(indice->campos)));
    } catch (const Erro&) {}
}

int ModeloGrelhaPesagens::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_linhas.size());
}

int ModeloGrelhaPesagens::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(pesagens().campos.size());
}

qint64 ModeloGrelhaPesagens::pesagem(int linha) const
{
    return linha >= 0 && linha < m_linhas.size() ? m_linhas[linha].at(0).toLongLong() : 0;
}

QVariant ModeloGrelhaPesagens::valor(int linha, int coluna) const
{
    if (linha < 0 || linha >= m_linhas.size())
        Erros::lancar(Erros::ItemNaoEncontrado, QStringLiteral("Não existe registo actual"));
    const Linha& v = m_linhas[linha];
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
    if (!indice.isValid() || indice.column() >= columnCount() || indice.row() >= m_linhas.size())
        return {};
    const Campo& campo = pesagens().campos[indice.column()];
    if (papel == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment((campo.eInteiro() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    if (papel != Qt::DisplayRole)
        return {};
    const QVariant v = valor(indice.row(), indice.column());
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
