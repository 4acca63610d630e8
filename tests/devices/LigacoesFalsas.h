#pragma once

#include "platform/Ligacoes.h"

#include <QList>
#include <array>

// Links driven by a test: bytes put in a port wait there until the cycle
// reads them; every write, send and reconnect is logged with the tick it
// happened in (the test sets `tick`).
class LigacoesFalsas : public LigacoesDispositivos
{
public:
    struct Escrita
    {
        int bascula;
        int canal;  // Canal::Tipo, or -1 for the socket
        QByteArray dados;
        int tick;
    };
    struct Religacao
    {
        int bascula;
        QString endereco;
        quint16 porta;
        int tick;
    };

    int tick = 0;
    std::array<std::array<bool, 3>, 2> portaAberta{};
    std::array<std::array<QByteArray, 3>, 2> entrada{};
    std::array<int, 2> estado = {EstadoTcp::Fechado, EstadoTcp::Fechado};
    bool recusarEscrita = false;
    QList<Escrita> escritas;
    QList<Religacao> religacoes;
    std::array<int, 2> fechos = {0, 0};
    mutable std::array<int, 2> chamadas = {0, 0};  // calls into each bridge's links

    void chegar(int b, Canal::Tipo c, const QByteArray& dados) { entrada[b][c] += dados; }
    // What was written to one port (or, with canal -1, sent on the socket).
    QList<QByteArray> escritoEm(int b, int canal) const;

    void definirPorta(int b, Canal::Tipo, int) override { ++chamadas[b]; }
    void definirConfiguracao(int b, Canal::Tipo, const QString&) override { ++chamadas[b]; }
    void abrirPorta(int b, Canal::Tipo c) override;
    void fecharPortas() override { portaAberta = {}; }
    bool aberta(int b, Canal::Tipo c) const override;
    qint64 bytesEmEspera(int b, Canal::Tipo c) const override;
    QByteArray lerTudo(int b, Canal::Tipo c) override;
    bool escrever(int b, Canal::Tipo c, const QByteArray& dados) override;
    int estadoTcp(int b) const override;
    void fecharTcp(int b) override;
    void religarTcp(int b, const QString& endereco, quint16 porta) override;
    void enviarTcp(int b, const QByteArray& dados) override;
};
