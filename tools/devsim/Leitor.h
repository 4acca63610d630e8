#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class Transporte;

// A card reader and the traffic light that shares its port: answers the
// station's polls with the card presented, and keeps the light command it
// was last given.
class Leitor : public QObject
{
    Q_OBJECT

public:
    // `nome` such as "b1p"; it and the time fill the frame's 14 free characters.
    Leitor(QString nome, Transporte& transporte, QObject* pai = nullptr);

    const QString& nome() const { return m_nome; }
    Transporte& transporte() { return m_transporte; }

    // A card at the reader: reported at the next poll (or at once), once or
    // at every poll while it stays.
    void apresentar(const QByteArray& codigo, bool imediato, bool repetir);
    void retirar();
    QByteArray cartao() const { return m_cartao; }

    // "VERMELHO", "VERDE" or "-" before any command.
    QString semaforo() const;
    int comandos() const { return m_comandos; }
    qint64 intervaloMs() const { return m_intervalo; }
    int polls() const { return m_polls; }

Q_SIGNALS:
    void registo(const QString& linha);

private:
    void receber(const QByteArray& dados);
    void enviarCartao();

    QString m_nome;
    Transporte& m_transporte;
    QByteArray m_entrada;
    QByteArray m_cartao;
    bool m_repetir = false;
    QByteArray m_semaforo;
    int m_comandos = 0;
    int m_polls = 0;
    qint64 m_intervalo = 0;
    QElapsedTimer m_ultimoComando;
};
