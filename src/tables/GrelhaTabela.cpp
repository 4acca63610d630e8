#include "tables/GrelhaTabela.h"

#include "data/Consulta.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/Mensagens.h"
#include "shared/Esquema.h"

#include <QSqlRecord>
#include <QTime>

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
    const QString x = a.toString(), y = b.toString();
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t cx = x[i].unicode(), cy = y[i].unicode();
        if (cx >= u'A' && cx <= u'Z')
            cx += 32;
        if (cy >= u'A' && cy <= u'Z')
            cy += 32;
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

// Null as plain Null: a typed empty one would be bound as an empty text.
QVariant valorLido(const QVariant& v)
{
    return v.isNull() ? QVariant() : v;
}
}  // namespace

GrelhaTabela::GrelhaTabela(const QSqlDatabase& db, Definicao definicao, ServicoMensagens& mensagens, QObject* pai)
    : QAbstractTableModel(pai), m_db(db), m_def(std::move(definicao)), m_tabela(Esquema::tabela(m_def.tabela)),
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

bool GrelhaTabela::resolverPendente()
{
    if (m_editada < 0)
        return true;
    if (m_mensagens.MsgBox(QStringLiteral("Gravar ?"), Estilo::SimNao | Estilo::Pergunta, m_def.titulo) != Resposta::Sim) {
        desfazer();
        return true;
    }
    return gravar();
}

bool GrelhaTabela::recusa(const QString& mensagem)
{
    m_mensagens.MsgBox(mensagem, Estilo::Exclamacao, m_def.titulo);
    return false;
}

void GrelhaTabela::desfazer()
{
    const int l = m_editada;
    m_editada = -1;
    if (m_nova) {
        beginRemoveRows({}, l, l);
        m_linhas.removeAt(l);
        endRemoveRows();
        if (m_linha > l)
            --m_linha;
    } else {
        m_linhas[l].valores = m_originais;
        Q_EMIT dataChanged(index(l, 0), index(l, columnCount() - 1));
    }
    m_nova = false;
    definirActual(m_linha, m_coluna);
}

bool GrelhaTabela::gravar()
{
    const int l = m_editada;
    QVariantList v = m_linhas[l].valores;
    if (validar) {
        const QString motivo = validar(v, m_nova ? QVariantList() : m_originais);
        if (!motivo.isEmpty())
            return recusa(motivo);
    }
    if (antesDeGravar)
        antesDeGravar(v);

    const QString tabela = Esquema::citar(m_tabela->nome);
    Linha lida;
    const bool feito = Passo(m_mensagens, m_def.cabecalhoErro, [&] {
        QStringList nomes;
        QVariantList valores;
        for (int i = 0; i < v.size(); ++i) {
            const Campo& c = m_tabela->campos[i];
            if (c.chave && c.eTexto() && v[i].isNull())
                Erros::lancar(3058, QStringLiteral("O campo %1 não pode ficar vazio").arg(c.nome));
            if (c.tipo == TipoCampo::Contador)
                continue;  // given by the database
            nomes << Esquema::citar(c.nome);
            valores << v[i];
        }
        qint64 rowid = m_linhas[l].rowid;
        if (m_nova) {
            QStringList marcas(nomes.size(), QStringLiteral("?"));
            rowid = Consulta::executar(m_db,
                                       QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                           .arg(tabela, nomes.join(u", "), marcas.join(u", ")),
                                       valores)
                        .lastInsertId()
                        .toLongLong();
        } else {
            valores << rowid;
            const QSqlQuery q = Consulta::executar(
                m_db, QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(tabela, nomes.join(QStringLiteral(" = ?, "))),
                valores);
            if (q.numRowsAffected() < 1)
                Erros::lancar(3021, QStringLiteral("Não existe registo actual"));
        }
        QSqlQuery q = Consulta::executar(m_db, QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid = ?").arg(tabela), {rowid});
        lida.rowid = rowid;
        if (q.next()) {
            for (int i = 0; i < v.size(); ++i)
                lida.valores << valorLido(q.value(i + 1));
        } else {
            lida.valores = v;
        }
    });
    if (!feito)
        return false;
    m_linhas[l] = lida;
    m_editada = -1;
    m_nova = false;
    Q_EMIT dataChanged(index(l, 0), index(l, columnCount() - 1));
    return true;
}

void GrelhaTabela::Novo(int coluna)
{
    if (resolverPendente())
        definirActual(registos(), coluna);
}

void GrelhaTabela::Apagar()
{
    const int l = m_linha;
    if (l >= registos())
        return;
    if (m_editada >= 0 && m_editada != l && !resolverPendente())
        return;
    if (m_editada == l && m_nova) {  // never written: only given up
        desfazer();
    } else {
        if (validarApagar) {
            const QString motivo = validarApagar(m_editada == l ? m_originais : m_linhas[l].valores);
            if (!motivo.isEmpty()) {
                recusa(motivo);
                return;
            }
        }
        const bool feito = Passo(m_mensagens, m_def.cabecalhoErro, [&] {
            Consulta::executar(m_db,
                               QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Esquema::citar(m_tabela->nome)),
                               {m_linhas[l].rowid});
        });
        if (!feito)
            return;
        m_editada = -1;
        beginRemoveRows({}, l, l);
        m_linhas.removeAt(l);
        endRemoveRows();
    }
    definirActual(l < registos() ? l : registos() - 1, m_coluna);
}

void GrelhaTabela::ApagarComPergunta()
{
    if (m_linha >= registos())
        return;
    if (m_mensagens.MsgBox(QStringLiteral("Apagar ?"), Estilo::SimNao | Estilo::Pergunta, m_def.titulo) == Resposta::Sim)
        Apagar();
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
    const QString resposta = m_mensagens.InputBox(QStringLiteral("Procurar em ") + m_def.colunas[c].legenda, m_def.titulo);
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
            const auto d = Conversoes::dataDeBd(v.toString());
            if (d && Conversoes::dataZero().msecsTo(*d) / 86400000.0 == numero)
                return l;
        } else if (v.toDouble() == numero) {
            return l;
        }
    }
    return -1;
}

bool GrelhaTabela::converter(int coluna, const QVariant& entrada, QVariant& saida)
{
    const Campo& campo = m_tabela->campos[coluna];
    const ColunaGrelha& col = m_def.colunas[coluna];
    QString texto = entrada.toString();
    if (col.limite > 0)
        texto.truncate(col.limite);
    saida = QVariant();
    if (texto.trimmed().isEmpty())
        return true;  // an empty cell is Null
    switch (campo.tipo) {
    case TipoCampo::Contador:
    case TipoCampo::Numero:
    case TipoCampo::Byte: {
        bool ok = false;
        const qlonglong n = texto.trimmed().toLongLong(&ok);
        if (!ok || n > std::numeric_limits<qint32>::max() || (campo.tipo == TipoCampo::Byte && (n < 0 || n > 255)))
            return recusa(QStringLiteral("Valor incorrecto"));
        saida = n;
        return true;
    }
    case TipoCampo::Data:
        if (!PassoSilencioso([&] { saida = Conversoes::dataParaBd(Conversoes::CDate(texto)); }))
            return recusa(QStringLiteral("Data incorrecta"));
        return true;
    case TipoCampo::Texto:
    case TipoCampo::Digitos:
    case TipoCampo::Memo:
        break;
    }
    if (col.regra == RegraTecla::Hora) {
        const QTime t = QTime::fromString(texto, QStringLiteral("H:mm"));
        if (!t.isValid())
            return recusa(QStringLiteral("Hora incorrecta"));
        texto = t.toString(QStringLiteral("HH:mm"));
    }
    saida = texto;
    return true;
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

bool GrelhaTabela::setData(const QModelIndex& indice, const QVariant& valor, int papel)
{
    if (!indice.isValid() || papel != Qt::EditRole || !(flags(indice) & Qt::ItemIsEditable))
        return false;
    int l = indice.row();
    const int c = indice.column();
    if (m_editada >= 0 && l != m_editada) {
        const int antes = registos();
        const int editada = m_editada;
        if (!resolverPendente())
            return false;
        if (registos() < antes && l > editada)
            --l;
    }
    QVariant v;
    if (!converter(c, valor, v))
        return false;
    if (l >= registos()) {
        if (v.isNull())
            return false;  // nothing typed on the new-row line
        // The new-row line becomes the new row; a fresh one follows it.
        l = registos();
        beginInsertRows({}, l + 1, l + 1);
        Linha nova{0, QVariantList(columnCount())};
        if (!m_def.campoFiltro.isEmpty())
            nova.valores[int(m_tabela->nomesCampos().indexOf(m_def.campoFiltro))] = m_def.valorFiltro;
        m_linhas << nova;
        endInsertRows();
        m_editada = l;
        m_nova = true;
        m_originais.clear();
    } else if (m_editada != l) {
        m_editada = l;
        m_nova = false;
        m_originais = m_linhas[l].valores;
    }
    m_linhas[l].valores[c] = v;
    Q_EMIT dataChanged(index(l, 0), index(l, columnCount() - 1));
    if (m_linha != l)
        definirActual(l, c);
    return true;
}
