#pragma once

#include "platform/Erro.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The links of both bridges: per bridge a weight indicator's serial port, the
// principal and secondary card readers' serial ports, and the indicator's TCP
// socket. The bridge cycle sees only this; the real one is LigacoesQt.
namespace Canal {
enum Tipo { Indicador = 0, LeitorP = 1, LeitorS = 2 };
}

// The socket states, numbered as the station has always tested them.
namespace EstadoTcp {
constexpr int Fechado = 0;
constexpr int Aberto = 1;
constexpr int AEscutar = 2;
constexpr int ResolverNome = 4;
constexpr int ALigar = 6;
constexpr int Ligado = 7;
constexpr int AFechar = 8;
constexpr int Erro = 9;
}  // namespace EstadoTcp

// The failures a port reports at the load, with the numbers the operator sees.
namespace ErrosPorta {
constexpr int ValorInvalido = 380;       // a settings string that is not one
constexpr int NumeroInvalido = 8002;     // no such port
constexpr int JaAberta = 8005;           // the port is in use
constexpr int FalhaConfiguracao = 8015;  // the device refused to open or be set up
}  // namespace ErrosPorta

class LigacoesDispositivos
{
public:
    virtual ~LigacoesDispositivos() = default;

    // Set-up at the load. Each throws Erro on failure: a port number below 1
    // (8002), a settings string such as "9600,n,8,1" that cannot be read (380;
    // the port keeps its settings), a device that cannot be opened (8002,
    // 8005, 8015). A port whose number was refused is never opened.
    virtual void definirPorta(int bascula, Canal::Tipo canal, int numero) = 0;
    virtual void definirConfiguracao(int bascula, Canal::Tipo canal, const QString& definicoes) = 0;
    virtual void abrirPorta(int bascula, Canal::Tipo canal) = 0;
    // Closes the six ports (the parameters' save before the program ends).
    virtual void fecharPortas() = 0;
    // One tick of a bridge: its ports that closed on a failure are opened
    // again from time to time, quietly (links without such ports do nothing).
    virtual void vigiarPortas(int /*bascula*/) {}

    // Serial ports, as the cycle uses them: a closed port has nothing waiting,
    // gives nothing and takes nothing. `escrever` returns false when the bytes
    // were not taken (closed port or a refused write).
    virtual bool aberta(int bascula, Canal::Tipo canal) const = 0;
    virtual qint64 bytesEmEspera(int bascula, Canal::Tipo canal) const = 0;
    virtual QByteArray lerTudo(int bascula, Canal::Tipo canal) = 0;
    virtual bool escrever(int bascula, Canal::Tipo canal, const QByteArray& dados) = 0;

    // The indicator's socket: its state (EstadoTcp, 7 = connected); close it;
    // close it and connect anew; send (dropped unless connected).
    virtual int estadoTcp(int bascula) const = 0;
    virtual void fecharTcp(int bascula) = 0;
    virtual void religarTcp(int bascula, const QString& endereco, quint16 porta) = 0;
    virtual void enviarTcp(int bascula, const QByteArray& dados) = 0;

    // Who receives what a socket brings, as it arrives (between ticks).
    std::function<void(int bascula, const QByteArray& dados)> aoReceberTcp;
};
