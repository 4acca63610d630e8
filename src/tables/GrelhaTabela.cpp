// The grid over a table: the rows read, the current cell, the position and
// the buttons' states, sorting and searching. Writing is in GrelhaTabelaEscrita.
#include "tables/GrelhaTabela.h"

#include "data/Consulta.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "shared/Esquema.h"

namespace {

// The database's order of two values of a column: Null first, numbers by
// value, text with A to Z folded to a to z (the schema's NOCASE).
int compararValores(const QVariant& a, const QVariant& b, bool texto)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    if (!texto) {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return Conversoes::compararSemMaiusculas(a.toString(), b.toString());
}

}  // namespace

QVariant GrelhaTabela::valorLido(const QVariant& v)
{
    // Null as plain Null: a typed empty one would be bound as an empty text.
    return v.isNull() ? QVariant() : v;
}

GrelhaTabela::GrelhaTabela(const QSqlDatabase& db, Definicao definicao, ServicoMensagens& mensagens, QObject* pai)
    : QAbstractTableModel(pai),
      m_db(db),
      m_def(std::move(definicao)),
      m_tabela(Esquema::tabela(m_def.tabela)),
      m_mensagens(mensagens)
{
    Q_ASSERT_X(m_tabela && m_tabela->campos.size() == m_def.colunas.size(), "GrelhaTabela",
               "one column per field of a table of the schema");
}

bool GrelhaTabela::ler(QList<Linha>& linhas, Erro& erro) const
{
    QString sql = QStringLiteral("SELECT rowid, * FROM ") + Esquema::citar(m_tabela->nome);
    QVariantList valores;
    if (!m_def.campoFiltro.isEmpty()) {
        sql += QStringLiteral(" WHERE %1 = ?").arg(Esquema::citar(m_def.campoFiltro));
        valores << m_def.valorFiltro;
    }
    sql += QStringLiteral(" ORDER BY rowid");  // the order rows were added
    return PassoSilencioso(
        [&] {
            QSqlQuery q = Consulta::executar(m_db, sql, valores);
            const int campos = int(m_tabela->campos.size());
            while (q.next()) {
                Linha l{q.value(0).toLongLong(), {}};
                l.valores.reserve(campos);
                for (int i = 0; i < campos; ++i)
                    l.valores << valorLido(q.value(i + 1));
                linhas << l;
            }
        },
        &erro);
}

bool GrelhaTabela::abrir()
{
    QList<Linha> linhas;
    Erro erro;
    if (!ler(linhas, erro)) {
        MostrarErroBd(m_mensagens, m_def.cabecalhoErro, erro);
        return false;
    }
    beginResetModel();
    m_linhas = std::move(linhas);
    m_editada = -1;
    endResetModel();
    definirActual(0, m_coluna);
    return true;
}

QVariant GrelhaTabela::valor(int linha, int coluna) const
{
    if (linha < 0 || linha >= registos() || coluna < 0 || coluna >= columnCount())
        return {};
    return m_linhas[linha].valores[coluna];
}

QString GrelhaTabela::textoPosicao() const
{
    return m_def.prefixo + QString::number(posicao()) + QStringLiteral(" de ") + QString::number(registos());
}

GrelhaTabela::Botoes GrelhaTabela::botoes() const
{
    const int n = registos();
    const int p = posicao();
    return {p != 0, p != 0 && p <= n, n >= 2, n >= 2, n >= 1};
}

QString GrelhaTabela::textoOrdem() const
{
    return m_descendente ? QStringLiteral("Descendente") : QStringLiteral("Ascendente");
}

void GrelhaTabela::definirActual(int linha, int coluna)
{
    m_linha = std::clamp(linha, 0, registos());
    m_coluna = std::clamp(coluna, 0, std::max(0, columnCount() - 1));
    Q_EMIT actualMudou();
}

bool GrelhaTabela::irPara(int linha, int coluna)
{
    if (m_editada >= 0 && linha != m_editada) {
        const int editada = m_editada;
        const int antes = registos();
        if (!resolverPendente()) {
            definirActual(editada, coluna);
            return false;
        }
        if (registos() < antes && linha > editada)
            --linha;  // the new row given up was above
    }
    definirActual(linha, coluna);
    return true;
}

void GrelhaTabela::Novo(int coluna)
{
    if (resolverPendente())
        definirActual(registos(), coluna);
}

void GrelhaTabela::OrdenarColuna(int coluna)
{
    if (coluna < 0 || coluna >= columnCount() || !resolverPendente())
        return;
    // Every row is in memory: sorted here in the order the database would
    // give them (Null first, text without regard to the case of A to Z, then
    // in insertion order), without reading 20,000 rows again.
    {
        CursorOcupadoGuarda ocupado(m_mensagens);
        const bool texto = m_tabela->campos[coluna].eTexto();
        const bool desc = m_descendente;
        beginResetModel();
        std::stable_sort(m_linhas.begin(), m_linhas.end(), [&](const Linha& a, const Linha& b) {
            int r = compararValores(a.valores[coluna], b.valores[coluna], texto);
            if (r == 0)
                r = a.rowid < b.rowid ? -1 : (a.rowid > b.rowid ? 1 : 0);
            return desc ? r > 0 : r < 0;
        });
        endResetModel();
    }
    definirActual(0, coluna);
    Q_EMIT reordenado();
}

void GrelhaTabela::Procurar()
{
    const int c = m_coluna;
    const QString resposta =
        m_mensagens.InputBox(QStringLiteral("Procurar em ") + m_def.colunas[c].legenda, m_def.titulo);
    if (resposta.isEmpty() || !resolverPendente())
        return;
    const int l = procurarLinha(c, resposta);
    if (l >= 0)
        definirActual(l, c);
}

int GrelhaTabela::procurarLinha(int coluna, const QString& resposta) const
{
    const Campo& campo = m_tabela->campos[coluna];
    const double numero = campo.eTexto() ? 0 : Conversoes::Val(resposta);
    for (int l = 0; l < registos(); ++l) {
        const QVariant& v = m_linhas[l].valores[coluna];
        if (v.isNull())
            continue;
        if (campo.eTexto()) {
            if (QString::compare(v.toString(), resposta, Qt::CaseInsensitive) == 0)
                return l;
        } else if (campo.tipo == TipoCampo::Data) {
            // A date against a number is a day count from 30-12-1899.
            if (Conversoes::numeroDeData(v.toString()) == numero)
                return l;
        } else if (v.toDouble() == numero) {
            return l;
        }
    }
    return -1;
}

int GrelhaTabela::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : registos() + 1;
}

int GrelhaTabela::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_def.colunas.size());
}

QVariant GrelhaTabela::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid())
        return {};
    const ColunaGrelha& col = m_def.colunas[indice.column()];
    if (papel == Qt::TextAlignmentRole)
        return QVariant::fromValue(col.alinhamento | Qt::AlignVCenter);
    const QVariant v = valor(indice.row(), indice.column());
    if (papel == Qt::DisplayRole)
        return Colunas::texto(col.formato, v);
    if (papel == Qt::EditRole)
        return col.formato == FormatoColuna::DataGeral ? Colunas::texto(col.formato, v) : v;
    return {};
}

QVariant GrelhaTabela::headerData(int seccao, Qt::Orientation orientacao, int papel) const
{
    if (papel != Qt::DisplayRole)
        return {};
    if (orientacao == Qt::Vertical)
        return seccao == registos() ? QStringLiteral("*") : QString();
    if (seccao < 0 || seccao >= columnCount())
        return {};
    const QString& legenda = m_def.colunas[seccao].legenda;
    return legenda.isEmpty() ? m_tabela->campos[seccao].nome : legenda;
}

Qt::ItemFlags GrelhaTabela::flags(const QModelIndex& indice) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (indice.isValid() && !m_def.colunas[indice.column()].soLeitura)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GrelhaTabela::comandoDaGrelha(int Index, int colunaNovo)
{
    switch (Index) {
    case 0: Novo(colunaNovo); return true;
    case 1: Apagar(); return true;
    case 2:
        alternarOrdem();
        OrdenarColuna(colunaActual());
        return true;
    case 3: Procurar(); return true;
    default: return false;
    }
}
