#pragma once

#include "platform/ficheiros/Descritor.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <sys/stat.h>

// Where a file's text is, with the turn on it taken (see GravacaoFicheiro.h):
// the real file its path leads to (Percurso: every link on the way made by
// this program's user, the administrator or the owner of the folder it sits
// in), its folder open and locked, the file open and locked too, so that its
// writers take turns through any of its names, and readers share the turn.
struct SitioFicheiro
{
    QByteArray caminho;  // the real file's absolute path, no link in it
    Descritor pasta;
    QByteArray nome;  // its name in the folder
    Descritor ficheiro;
    bool existe = false;
    struct stat actual
    {
    };
    QDeadlineTimer prazo;  // the end of every wait of this turn
    // Why it could not be opened, or is no file of text, where the errno alone does not say.
    QString razao;

    // Opens the file at `caminho` for reading, or for writing when
    // `escrita`, and takes the turn: exclusive (`tipo` LOCK_EX) or shared
    // (LOCK_SH). 0, or the errno of the step that failed (EWOULDBLOCK: the
    // wait ran out; `caminho` is then known).
    int abrir(const QString& caminho, int tipo, bool escrita);

    // The folder the real path `caminho` is in.
    static QByteArray pastaDe(const QByteArray& caminho);

private:
    // The file could not be opened for writing (`escrita`) or reading: `e`,
    // and, where the system refused it, the words that name the file and its owner.
    int recusado(int e, bool escrita);

    // The turn on `fd` (the folder or the file at `onde`) was not given: `e`,
    // and, for a save that waited in vain, the words that name who holds it.
    int vezRecusada(int e, int fd, const QByteArray& onde, bool escrita);
};
