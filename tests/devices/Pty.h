#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for a serial device: the station opens the
// slave's path, the test plays the device on the master. Raw with echo off
// from the start (a cooked pty would turn CR into LF and echo bytes back);
// the test keeps a slave descriptor open so early bytes are not lost.
class Pty
{
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool valido() const { return m_mestre >= 0; }
    QString caminho() const { return m_caminho; }

    void escrever(const QByteArray& dados);
    // Everything the station has written so far (read without waiting).
    QByteArray recebido();
    // The far end goes away, as a pulled adapter does.
    void fecharMestre();

private:
    int m_mestre = -1;
    int m_escravo = -1;
    QString m_caminho;
    QByteArray m_recebido;
};
