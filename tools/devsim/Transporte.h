#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Where a simulated device meets the station: a pty behind a stable link, or
// a TCP listener on the loopback.
class Transporte : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void escrever(const QByteArray& dados) = 0;
    // The station is there to hear (a TCP client connected; a pty is always there).
    virtual bool ligado() const = 0;
    virtual QString descricao() const = 0;
    // The line goes dead: the pty's far end closes, the TCP connection drops.
    virtual void cair() = 0;
    // A dead pty comes back (a new one behind the same link).
    virtual void reabrir() = 0;

Q_SIGNALS:
    void recebido(const QByteArray& dados);
};
