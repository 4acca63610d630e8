#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

// Command lines from a file descriptor: the terminal (stdin) or a named pipe
// that anyone can write to ("echo 'b1 carga 24000' > devsim.cmd").
class EntradaComandos : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Reads stdin; at its end nothing more is read (the simulator keeps running).
    void lerEntradaPadrao();
    // Makes the named pipe when missing and reads it for as long as the
    // simulator runs, whoever writes to it.
    bool abrirFifo(const QString& caminho, QString* erro);

Q_SIGNALS:
    void linha(const QString& texto);

private:
    void vigiar(int fd);
    void ler();

    int m_fd = -1;
    QByteArray m_resto;
    std::unique_ptr<QSocketNotifier> m_aviso;
};
