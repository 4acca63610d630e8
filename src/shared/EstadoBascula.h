#pragma once

#include <QByteArray>
#include <QString>

// The device state of one bridge, shared by its reading cycle, the weighing
// screen, the saves and the automatic weighing. Received data stays as bytes
// (one char per byte); only what is shown is text.
struct EstadoBascula
{
    QByteArray BufferIndicador;     // from the indicator, not yet consumed
    int CiclosIndicador = 0;        // ticks without data, connection or frame
    qint32 PesoActual = 0;          // kg; the main window's load sets the capacity
    QString TextoPeso;              // shown in lblP
    QString TextoUnidade;           // lblU: "kg", "lib" or "ton"
    QString TextoModo;              // lblM: "Peso bruto:" or "Peso líquido:"
    QString TextoEstabilidade;      // lblS: "><" stable, ">" unstable
    QString MensagemIndicador;      // lblI; empty when all is well
    bool ErroIndicador = true;      // no valid reading; true until the first frame
    bool PesoValido = false;        // no message and not below the minimum weight
    bool CapturarPeso = false;      // take the next valid reading for a save
    bool PesoCapturado = false;     // a weight was taken: the vehicle may leave
    int ContadorZero = 0;           // automatic zero: ticks with an unchanged small weight
    qint32 PesoReferenciaZero = 0;  // automatic zero: the small weight watched
    QByteArray BufferLeitorP;       // principal card reader
    QByteArray BufferLeitorS;       // secondary card reader
    int CiclosLeitorP = 0;
    int CiclosLeitorS = 0;
    QString CodigoCartao;           // the card code just read
    QString UltimoCartao;           // the last card acted on
    bool SemaforoManual = false;    // lights under manual command
    bool SemaforoVermelho = false;  // lights show red
    qint32 PesoAnterior = 0;        // weight at the previous light decision
    QByteArray ComandoSemaforo;     // light command wanted now
    QByteArray ComandoEnviado;      // light command last written
    int CiclosSemaforo = 0;         // light decisions since the command was last written
};
