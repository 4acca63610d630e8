#pragma once

#include "Tramas.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

class Transporte;

// A weight indicator of one bridge: the load on it (possibly on its way to a
// new value), its zero, unit, mode and stability, the faults it is told to
// show, and its protocol: continuous frames (layout A) or an answer to each
// poll (layout U), and the zero command.
class Indicador : public QObject
{
    Q_OBJECT

public:
    enum class Modelo { Berkel, WeighTronix, Matrix };

    struct Falhas
    {
        bool calado = false;      // sends nothing
        int lixo = 0;             // bytes of garbage (never STX) before each frame
        bool partido = false;     // each frame in two writes, 30 ms apart
        bool sobrecarga = false;  // "--------" in the weight field
        bool instavel = false;    // always in motion
        bool liquido = false;     // net mode
        Tramas::Unidade unidade = Tramas::Unidade::Kg;
    };

    Indicador(QString nome, Modelo modelo, Transporte& transporte, int periodoMs, QObject* pai = nullptr);

    const QString& nome() const { return m_nome; }
    Modelo modelo() const { return m_modelo; }
    static QString nomeModelo(Modelo m);
    Transporte& transporte() { return m_transporte; }

    // The load now, at once; or on its way there over `ms`.
    void definirPeso(qint32 kg);
    void rampa(qint32 kg, int ms);
    // Zero at the indicator's own keys (the station's zero command asks the same).
    bool zerar(bool pelaEstacao);

    Falhas falhas;
    qint32 capacidade = 60000;

    qint32 mostrado() const;  // the weight on the display, kg
    bool estavel() const;
    QByteArray ultimoRecebido() const { return m_ultimoRecebido; }
    int tramasEnviadas() const { return m_tramas; }

Q_SIGNALS:
    void registo(const QString& linha);

private:
    void receber(const QByteArray& dados);
    void periodo();
    void enviarTrama();
    Tramas::Leitura leitura() const;
    void mudou();

    QString m_nome;
    Modelo m_modelo;
    Transporte& m_transporte;
    QTimer m_temporizador;
    QRandomGenerator m_aleatorio{7};

    qint32 m_carga = 0;   // on the bridge, kg
    qint32 m_zero = 0;    // what the display takes away
    qint32 m_origem = 0;  // the ramp's start and end, and its time
    qint32 m_destino = 0;
    int m_duracaoRampa = 0;
    QElapsedTimer m_rampa;
    QElapsedTimer m_desdeMudanca;  // stable 1.5 s after the last change
    QByteArray m_entrada;
    QByteArray m_ultimoRecebido;
    int m_tramas = 0;
};
