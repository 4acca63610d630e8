#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <utility>

class Relogio;
struct Tabela;

// Writes one row of a table, field by field. Each field is checked as it is
// set, against the schema: a name the table lacks is Erro 3265, a value of the
// wrong kind 13, a number out of range 6, a text longer than its field 3163.
// A field that fails stays unset, so a save can report it and go on with the
// next field. The row is then inserted or updated with the fields that were set.
class EscritorLinha
{
public:
    EscritorLinha(const QSqlDatabase& db, const QString& tabela, const Relogio& relogio);

    // Sets a field from a screen or row value; QVariant() stores Null.
    void definir(const QString& campo, const QVariant& valor);

    bool vazio() const { return m_valores.isEmpty(); }

    // Inserts a new row and returns its key (the new number of a counted key).
    qint64 inserir();

    // Inserts a new row or, when a row with its key is there already (another
    // station added it since it was looked for), updates that row instead, in
    // one statement: the fields that were set but the key, then `soAoActualizar`,
    // the fields only an update writes.
    void inserirOuActualizar(const QList<std::pair<QString, QVariant>>& soAoActualizar = {});

    // Updates, in the row whose key is `chave`, the fields that were set.
    // A row that is not there is a failure.
    void actualizar(const QVariant& chave);

private:
    // INSERT of the fields set, their values appended to `valores`.
    QString instrucaoInserir(QVariantList& valores) const;

    QSqlDatabase m_db;
    const Tabela* m_tabela;
    const Relogio& m_relogio;
    QList<std::pair<QString, QVariant>> m_valores;
};
