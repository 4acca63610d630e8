#include "data/EscritorLinha.h"

#include "data/Consulta.h"
#include "data/ModGlobalCampos.h"
#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "shared/Esquema.h"

#include <QStringList>

EscritorLinha::EscritorLinha(const QSqlDatabase& db, const QString& tabela, const Relogio& relogio)
    : m_db(db),
      m_tabela(Esquema::tabela(tabela)),
      m_relogio(relogio)
{
    Q_ASSERT_X(m_tabela, "EscritorLinha", "table not in the schema");
}

void EscritorLinha::definir(const QString& campo, const QVariant& valor)
{
    const Campo* c = m_tabela ? m_tabela->campo(campo) : nullptr;
    if (!c)
        Erros::lancarCampoEmFalta(campo);

    QVariant convertido;
    if (valor.isValid()) {
        switch (c->tipo) {
        case TipoCampo::Contador:
        case TipoCampo::Numero: convertido = ModGlobal::VarLong(valor); break;
        case TipoCampo::Byte: convertido = Conversoes::CByte(ModGlobal::VarLong(valor)); break;
        case TipoCampo::Data: convertido = Conversoes::dataParaBd(ModGlobal::VarData(valor, m_relogio)); break;
        case TipoCampo::Texto:
        case TipoCampo::Digitos:
        case TipoCampo::Memo: {
            const QString texto = ModGlobal::VarTexto(valor);
            if (c->tamanho > 0 && texto.size() > c->tamanho)
                Erros::lancar(Erros::CampoPequeno);
            if (c->tipo == TipoCampo::Digitos) {
                for (QChar ch : texto) {
                    if (ch < u'0' || ch > u'9')
                        Erros::lancarTiposIncompativeis();
                }
            }
            convertido = texto;
            break;
        }
        }
    }

    for (auto& par : m_valores) {
        if (par.first == c->nome) {
            par.second = convertido;
            return;
        }
    }
    m_valores.append({c->nome, convertido});
}

QString EscritorLinha::instrucaoInserir(QVariantList& valores) const
{
    QStringList nomes, marcas;
    for (const auto& [nome, valor] : m_valores) {
        nomes << Esquema::citar(nome);
        marcas << QStringLiteral("?");
        valores << valor;
    }
    const QString tabela = Esquema::citar(m_tabela->nome);
    return nomes.isEmpty()
               ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tabela)
               : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(tabela, nomes.join(u", "), marcas.join(u", "));
}

qint64 EscritorLinha::inserir()
{
    QVariantList valores;
    const QString sql = instrucaoInserir(valores);
    QSqlQuery q = Consulta::executar(m_db, sql, valores);
    const Campo& chave = m_tabela->chave();
    if (chave.tipo == TipoCampo::Contador)
        return q.lastInsertId().toLongLong();
    for (const auto& [nome, valor] : m_valores) {
        if (nome == chave.nome)
            return valor.toLongLong();
    }
    return q.lastInsertId().toLongLong();
}

void EscritorLinha::inserirOuActualizar(const QList<std::pair<QString, QVariant>>& soAoActualizar)
{
    if (m_valores.isEmpty()) {
        inserir();  // no key to meet: refused as a plain insert is
        return;
    }
    // The key's own column as conflict target: it compares as the key does
    // (without regard to letter case), so "ab12" meets "AB12".
    const QString chave = m_tabela->chave().nome;
    QVariantList valores;
    QString sql = instrucaoInserir(valores);
    QStringList atribuicoes;
    for (const auto& [nome, valor] : m_valores) {
        if (nome != chave)
            atribuicoes << QStringLiteral("%1 = excluded.%1").arg(Esquema::citar(nome));
    }
    for (const auto& [nome, valor] : soAoActualizar) {
        const Campo* c = m_tabela->campo(nome);
        if (!c)
            Erros::lancarCampoEmFalta(nome);
        atribuicoes << Esquema::citar(c->nome) + QStringLiteral(" = ?");
        valores << valor;
    }
    sql +=
        QStringLiteral(" ON CONFLICT (%1) DO ").arg(Esquema::citar(chave))
        + (atribuicoes.isEmpty() ? QStringLiteral("NOTHING") : QStringLiteral("UPDATE SET ") + atribuicoes.join(u", "));
    Consulta::executar(m_db, sql, valores);
}

void EscritorLinha::actualizar(const QVariant& chave)
{
    if (m_valores.isEmpty())
        return;
    QStringList atribuicoes;
    QVariantList valores;
    for (const auto& [nome, valor] : m_valores) {
        atribuicoes << Esquema::citar(nome) + QStringLiteral(" = ?");
        valores << valor;
    }
    valores << chave;
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
            .arg(Esquema::citar(m_tabela->nome), atribuicoes.join(u", "), Esquema::citar(m_tabela->chave().nome));
    QSqlQuery q = Consulta::executar(m_db, sql, valores);
    if (q.numRowsAffected() < 1)
        Erros::lancar(3021, QStringLiteral("Não existe registo actual"));
}
