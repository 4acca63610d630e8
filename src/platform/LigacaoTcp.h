#pragma once

#include <QByteArray>
#include <QString>
#include <QTcpSocket>
#include <functional>

// A weight indicator's TCP link, a client socket used the way the station has
// always used it: its state by number (7 = connected), close, connect anew,
// send, and the data that arrives handed on as it comes.
class LigacaoTcp
{
public:
    LigacaoTcp();
    LigacaoTcp(const LigacaoTcp&) = delete;
    LigacaoTcp& operator=(const LigacaoTcp&) = delete;

    // 0 closed (9 after a failure), 4 resolving the name, 6 connecting,
    // 7 connected, 8 closing.
    int State() const;

    // Drops the connection at once.
    void Close();

    // Closes, then connects to the address and port from an ephemeral local port.
    void Connect(const QString& endereco, quint16 porta);

    // Dropped (false) unless connected.
    bool SendData(const QByteArray& dados);

    // Receives what arrives, each time some does.
    std::function<void(const QByteArray&)> DataArrival;

private:
    QTcpSocket m_socket;
    bool m_falhou = false;
};
