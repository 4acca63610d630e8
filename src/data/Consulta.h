#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

// Runs one statement with bound values and returns the query, positioned
// before its first row; a failure throws Erro with the database's code. Values
// go in as they are, except that an empty text is bound as the empty text
// (never as Null), a date as the stored text form, and QVariant() as Null.
namespace Consulta {

QSqlQuery executar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {});

// Runs a statement that its connection (LigacaoBd) keeps prepared and hands
// `ler` each row until it returns false; the statement is reset before this
// returns, so no read stays open on the file. For routines that run the same few statements
// many times (a vehicle's identification, the grid's pages): preparing costs
// more than a look-up by an index. A failure throws Erro.
void paraCadaLinha(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
                   const std::function<bool(const QSqlQuery&)>& ler);

// Throws Erro when the rows of `q` ended on a failure (an interruption among
// them): rows so read are not all the statement's rows.
void verificarFim(const QSqlQuery& q);

// The first row of such a statement; std::nullopt when it has none.
std::optional<QSqlRecord> primeiraLinha(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {});

// Field names quoted and joined for a SELECT list: "Código da viatura", "Viatura".
QString listaCampos(const QStringList& campos);

// The value bound for a C++ value, with the rules above.
QVariant valorParaBd(const QVariant& valor);

// A LIKE pattern for the rows whose text starts with `prefixo`, to be used with
// ESCAPE '\'. The typed text's own % _ and \ match only themselves.
QString padraoPrefixo(const QString& prefixo);

// Statements of a transaction: BEGIN IMMEDIATE takes the write lock at once,
// so the busy timeout applies to it rather than to the commit.
class Transaccao
{
public:
    explicit Transaccao(const QSqlDatabase& db);
    ~Transaccao();  // rolls back when not committed
    void confirmar();
    Transaccao(const Transaccao&) = delete;
    Transaccao& operator=(const Transaccao&) = delete;

private:
    QSqlDatabase m_db;
    bool m_aberta = false;
};

}  // namespace Consulta
