#pragma once

#include "platform/ConsultasPreparadas.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// One open SQLite database file, under a connection name of its own. Opening
// never creates a file: a path that does not exist, a file that is not a
// database, or a database that lacks the tables asked for is an open failure
// (thrown as Erro) and the file is left as it was.
class LigacaoBd
{
public:
    struct Exigencias
    {
        QStringList tabelas;   // tables the file must hold
        int idAplicacao = 0;   // the file's mark; a file marked by another program is refused
        bool escrita = false;  // a file this process cannot write (the file or its folder) is refused
    };

    static std::unique_ptr<LigacaoBd> abrir(const QString& caminho, const Exigencias& exigencias);

    // Opens a file that may not exist yet, for the installation step that makes it.
    static std::unique_ptr<LigacaoBd> criar(const QString& caminho);

    ~LigacaoBd();
    LigacaoBd(const LigacaoBd&) = delete;
    LigacaoBd& operator=(const LigacaoBd&) = delete;

    QSqlDatabase db() const;
    const QString& caminho() const { return m_caminho; }

    // While it lives, a statement of the connection stops, failing as
    // interrupted, within a few thousand steps of `parar` answering true; a
    // watch set before it still counts. Long work in a thread of its own is
    // so cancelled from another (through an atomic flag). Where Qt's driver
    // runs another SQLite than the program's, statements run to their end
    // and the work stops between them.
    class Interrupcao
    {
    public:
        Interrupcao(LigacaoBd& ligacao, std::function<bool()> parar);
        ~Interrupcao();
        Interrupcao(const Interrupcao&) = delete;
        Interrupcao& operator=(const Interrupcao&) = delete;

    private:
        LigacaoBd& m_ligacao;
        std::function<bool()> m_anterior;
    };

    // The statements this connection keeps prepared.
    ConsultasPreparadas& preparadas() { return m_preparadas; }
    // The LigacaoBd that opened the connection `db` names; nullptr for a
    // connection made otherwise.
    static LigacaoBd* de(const QSqlDatabase& db);
    // Those of the connection `db` names, when a LigacaoBd opened it; none for
    // a connection made otherwise.
    static ConsultasPreparadas* preparadasDe(const QSqlDatabase& db);

private:
    LigacaoBd(QString caminho, QString nome);
    // Asked every few thousand steps of a statement; returns the function it replaces.
    std::function<bool()> interromperQuando(std::function<bool()> parar);
    static std::unique_ptr<LigacaoBd> ligar(const QString& caminho, bool podeCriar);

    QString m_caminho;
    QString m_nome;
    ConsultasPreparadas m_preparadas;
    std::function<bool()> m_parar;
    bool m_mesmaBiblioteca = false;
};

// True when two paths name one file: the same text, or (when both exist) the
// same file reached through another form (relative, "..", a link, letter case
// on a mount that ignores it).
bool mesmoFicheiro(const QString& a, const QString& b);
