#pragma once

#include "platform/ConfiguracaoSerie.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

class FicheiroPerfil;

// One serial port, used the way the station has always used its ports: a
// port number, a settings string, open or closed, the bytes waiting, read
// them all, write. The number names a device through the settings file's
// [PortasSerie] section (caminhoPortaSerie). Handshaking is never applied. A
// port that reports a read or resource error (an adapter pulled out, the far
// end of a pty gone) is closed at once, or it would flood the event loop,
// and opened again by vigiar while it is wanted open.
class PortaSerie
{
public:
    // Ticks between two quiet attempts to open again a port that closed.
    static constexpr int TicksReabertura = 20;

    explicit PortaSerie(const FicheiroPerfil& ini);
    PortaSerie(const PortaSerie&) = delete;
    PortaSerie& operator=(const PortaSerie&) = delete;

    // Throws Erro 8002 for a number below 1; the port then has no number.
    void setCommPort(int numero);

    // Throws Erro 380 for a text that is not a settings string; the port
    // keeps the settings it had ("9600,n,8,1" at first).
    void setSettings(const QString& definicoes);

    // A port with no number (its number was refused, and said so) stays
    // closed without a word. Opening throws Erro: 8002 no such device, 8005
    // the device is in use (or may not be opened), 8015 any other refusal.
    void setPortOpen(bool aberta);
    bool PortOpen() const { return m_porta.isOpen(); }

    // One tick of the port's bridge. A port asked open (since the last
    // setPortOpen(false)) that is closed, because it failed to open or closed
    // on an error, is opened again on every TicksReabertura-th such tick; a
    // failure is kept quiet, so a device that comes back is read again.
    void vigiar();

    qint64 InBufferCount() const;
    QByteArray Input();
    // False when the port is closed or refuses the bytes.
    bool Output(const QByteArray& dados);

private:
    void aplicarConfiguracao();

    const FicheiroPerfil& m_ini;
    QSerialPort m_porta;
    int m_numero = 0;
    bool m_pedida = false;             // asked open, and not closed on purpose since
    int m_ticksFechada = 0;            // ticks closed since the last attempt
    ConfiguracaoSerie m_configuracao;  // "9600,n,8,1" until set
};
