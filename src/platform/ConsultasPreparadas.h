#pragma once

#include <QSqlQuery>
#include <QString>
#include <memory>
#include <unordered_map>

class QSqlDatabase;

// The statements one connection keeps prepared, by their SQL text: each is
// prepared on its first use and run again after. It belongs to its connection
// (LigacaoBd), which Qt lets only one thread use, so it needs no lock and no
// two connections, stations or threads ever share it.
class ConsultasPreparadas
{
public:
    ConsultasPreparadas() = default;
    ConsultasPreparadas(const ConsultasPreparadas&) = delete;
    ConsultasPreparadas& operator=(const ConsultasPreparadas&) = delete;

    // The statement of `sql` on `db`, taken until it is given back; nullptr
    // while it is taken (its rows are being read by a caller further up), so
    // that the caller runs a fresh one. A failure to prepare throws Erro.
    QSqlQuery* tomar(const QSqlDatabase& db, const QString& sql);
    // Gives the statement of `sql` back, reset, so no read stays open on the file.
    void devolver(const QString& sql);

    qsizetype quantas() const { return qsizetype(m_preparadas.size()); }
    // Drops every statement (before the connection closes).
    void esvaziar() { m_preparadas.clear(); }

private:
    struct Preparada
    {
        QSqlQuery consulta;
        bool tomada = false;
    };
    std::unordered_map<QString, std::unique_ptr<Preparada>> m_preparadas;
};
