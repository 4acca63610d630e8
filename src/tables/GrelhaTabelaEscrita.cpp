// Writing the grid's rows: a typed value checked and converted, the
// "Gravar ?" of a changed row, the row written or given up, deletes.
#include "tables/GrelhaTabela.h"

#include "data/Consulta.h"
#include "data/Passo.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/Mensagens.h"
#include "shared/Esquema.h"

#include <QTime>
#include <numeric>

bool GrelhaTabela::resolverPendente()
{
    if (m_editada < 0)
        return true;
    if (m_mensagens.MsgBox(QStringLiteral("Gravar ?"), Estilo::SimNao | Estilo::Pergunta, m_def.titulo)
        != Resposta::Sim) {
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

namespace {

bool mesmoValor(const QVariant& a, const QVariant& b)
{
    return a.isNull() == b.isNull() && (a.isNull() || a == b);
}

}  // namespace

// Another station shares the file, and the weighings go on while the table
// is open: a row is written only where it still is as the grid read it,
// found by its key as read (a rowid alone is reused after a delete, and would
// land on another record), with `colunas` as read. Run inside the write's
// transaction, so nothing changes between this look and the write.
qint64 GrelhaTabela::localizarComoLida(const QVariantList& lidos, const QList<int>& colunas, const QString& nada) const
{
    const Campo& chave = m_tabela->chave();
    const int k = int(&chave - m_tabela->campos.data());
    QSqlQuery q = Consulta::executar(m_db,
                                     QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 = ?")
                                         .arg(Esquema::citar(m_tabela->nome), Esquema::citar(chave.nome)),
                                     {lidos.value(k)});
    if (!q.next())
        Erros::lancar(Erros::RegistoApagado,
                      Erros::descricaoPadrao(Erros::RegistoApagado) + QStringLiteral(". ") + nada + u'.');
    for (const int i : colunas) {
        if (!mesmoValor(valorLido(q.value(i + 1)), lidos[i]))
            Erros::lancar(Erros::RegistoAlterado,
                          Erros::descricaoPadrao(Erros::RegistoAlterado) + QStringLiteral(". ") + nada
                              + QStringLiteral(": feche a tabela e volte a abri-la para o ver como está agora."));
    }
    return q.value(0).toLongLong();
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

qint64 GrelhaTabela::inserirLinha(const QVariantList& v)
{
    QStringList nomes, marcas;
    QVariantList valores;
    for (int i = 0; i < v.size(); ++i) {
        if (m_tabela->campos[i].tipo == TipoCampo::Contador)
            continue;  // given by the database
        nomes << Esquema::citar(m_tabela->campos[i].nome);
        marcas << QStringLiteral("?");
        valores << v[i];
    }
    return Consulta::executar(m_db,
                              QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(Esquema::citar(m_tabela->nome), nomes.join(u", "), marcas.join(u", ")),
                              valores)
        .lastInsertId()
        .toLongLong();
}

// Only the columns the operator changed are compared and written: every
// weighing rewrites its vehicle's tare, date, time and operator, and another
// station may edit another column of the same row; both stand. The same
// column changed by both is refused. The grid's filter is compared too: a
// pending weighing completed meanwhile is no longer one to edit.
qint64 GrelhaTabela::actualizarLinha(const QVariantList& digitados, const QVariantList& v)
{
    QList<int> comparar;
    QStringList atribuicoes;
    QVariantList valores;
    for (int i = 0; i < v.size(); ++i) {
        if (!mesmoValor(digitados[i], m_originais[i]) || m_tabela->campos[i].nome == m_def.campoFiltro)
            comparar << i;
        // What the operator typed, and what antesDeGravar stamped on the row.
        if (!mesmoValor(v[i], m_originais[i]) && m_tabela->campos[i].tipo != TipoCampo::Contador) {
            atribuicoes << Esquema::citar(m_tabela->campos[i].nome) + QStringLiteral(" = ?");
            valores << v[i];
        }
    }
    const qint64 rowid = localizarComoLida(m_originais, comparar, QStringLiteral("Nada foi gravado"));
    valores << rowid;
    if (!atribuicoes.isEmpty())
        Consulta::executar(m_db,
                           QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                               .arg(Esquema::citar(m_tabela->nome), atribuicoes.join(u", ")),
                           valores);
    return rowid;
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
        for (int i = 0; i < v.size(); ++i) {
            const Campo& c = m_tabela->campos[i];
            if (c.chave && c.eTexto() && v[i].isNull())
                Erros::lancar(3058, QStringLiteral("O campo %1 não pode ficar vazio").arg(c.nome));
        }
        Consulta::Transaccao transaccao(m_db);
        const qint64 rowid = m_nova ? inserirLinha(v) : actualizarLinha(m_linhas[l].valores, v);
        {
            QSqlQuery q = Consulta::executar(
                m_db, QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid = ?").arg(tabela), {rowid});
            lida.rowid = rowid;
            if (q.next()) {
                for (int i = 0; i < v.size(); ++i)
                    lida.valores << valorLido(q.value(i + 1));
            } else {
                lida.valores = v;
            }
        }
        transaccao.confirmar();
    });
    if (!feito)
        return false;
    m_linhas[l] = lida;
    m_editada = -1;
    m_nova = false;
    Q_EMIT dataChanged(index(l, 0), index(l, columnCount() - 1));
    return true;
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
        const QVariantList lidos = m_editada == l ? m_originais : m_linhas[l].valores;
        if (validarApagar) {
            const QString motivo = validarApagar(lidos);
            if (!motivo.isEmpty()) {
                recusa(motivo);
                return;
            }
        }
        const bool feito = Passo(m_mensagens, m_def.cabecalhoErro, [&] {
            Consulta::Transaccao transaccao(m_db);
            QList<int> todas(lidos.size());
            std::iota(todas.begin(), todas.end(), 0);
            const qint64 rowid = localizarComoLida(lidos, todas, QStringLiteral("Nada foi apagado"));
            Consulta::executar(
                m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Esquema::citar(m_tabela->nome)), {rowid});
            transaccao.confirmar();
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
    if (m_mensagens.MsgBox(QStringLiteral("Apagar ?"), Estilo::SimNao | Estilo::Pergunta, m_def.titulo)
        == Resposta::Sim)
        Apagar();
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
    case TipoCampo::Memo: break;
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
