#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// A print server, as the print system's library reaches it.
struct ServidorCups
{
    QString anfitriao;  // a host's name or address, or the path of a local socket
    int porta = 631;
    int cifra = 0;  // the library's http_encryption_t
    bool local() const { return anfitriao.startsWith(u'/'); }
    // As the operator is told it: the socket's path, or host:port.
    QString nome() const;
};

// Where this machine's print system is described, in the places and the
// order CUPS's own clients read them: the environment, the user's
// ~/.cups/client.conf and lpoptions, those of $CUPS_SERVERROOT (/etc/cups),
// and the usual places of a local server's socket. What is not given is not
// looked at, so a description made empty has no print system at all.
struct LugaresImpressao
{
    QHash<QString, QString> ambiente;  // CUPS_SERVER, CUPS_ENCRYPTION, IPP_PORT, LPDEST, PRINTER
    QString casa;                      // the user's home folder
    QString raizServidor;              // the print system's configuration folder
    QStringList sockets;               // where a local server's socket usually is

    // This process's, as CUPS's clients find them.
    static LugaresImpressao daMaquina();

    // The print server the machine's clients use: the one configured
    // (CUPS_SERVER, else the ServerName of the user's client.conf, else of
    // the system's), else the local one whose socket is at a usual place.
    // None when the machine has no print system at all. It reads a few
    // small files and looks at the sockets' names: nothing goes on the
    // network, so it may run on the window's thread.
    std::optional<ServidorCups> servidor() const;

    // The queue a print goes to when it names one: LPDEST, else PRINTER
    // (but "lp", as CUPS ignores it), else the Default of the user's
    // lpoptions, else of the system's. Empty: the server's own default.
    QString filaNomeada() const;
};
