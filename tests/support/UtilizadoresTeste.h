#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>

// The settings file's tests as other users of the same computer: files
// given to a user and group, their lists and attributes looked at, and work
// done in a child process that gave up root for another user.

// The entry at `caminho` itself (a link not followed).
struct stat estado(const QString& caminho);

// Owner, group and permission bits, as "uid:gid 0644".
QString donoEModo(const QString& caminho);

// Gives the entry to "user:group" (names, or numbers the user database may
// not know) with the mode `modo` (a test failure when a name is missing).
void mudarDono(const QString& caminho, const QString& donoGrupo, mode_t modo);

// Every entry of the folder, hidden ones included, by name.
QStringList conteudoPasta(const QString& pasta);

// The file's access control list, as getfacl shows it, and the value of its attribute `nome`.
QString atributos(const QString& caminho, const QByteArray& nome);

// setfacl -m `entrada`: its exit code.
int darListaAcesso(const QString& caminho, const QString& entrada);

// Whether the files of `pasta` take user attributes and access control lists (a tmpfs may take neither).
bool aceitaAtributos(const QString& pasta);

// Runs `acao` in a child process that gives up root for `quem`: a user
// name, then "+" and each supplementary group ("bin+users"), with the state
// folder `estado` (none when it is empty) and no home. What it returns, or
// "morto" when the child was killed.
QByteArray comoUtilizador(const QString& quem, const QByteArray& estado, const std::function<QByteArray()>& acao);

// Writes [Postos] chave=1 to the file: "ok", or why the write failed.
QByteArray gravarChave(const QString& caminho, const QString& chave);

// Makes `estados` the folder of every user's state folder (each named by the
// user's number, as gravarComo gives it), this process's own among them.
void usarPastasEstado(const QString& estados);

// The same as `quem` (see comoUtilizador), with a state folder of its own in `estados`.
QString gravarComo(const QString& quem, const QString& caminho, const QString& chave, const QString& estados);
