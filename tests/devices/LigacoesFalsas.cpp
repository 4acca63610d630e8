#include "LigacoesFalsas.h"

QList<QByteArray> LigacoesFalsas::escritoEm(int b, int canal) const
{
    QList<QByteArray> r;
    for (const Escrita& e : escritas) {
        if (e.bascula == b && e.canal == canal)
            r << e.dados;
    }
    return r;
}

void LigacoesFalsas::abrirPorta(int b, Canal::Tipo c)
{
    ++chamadas[b];
    portaAberta[b][c] = true;
}

bool LigacoesFalsas::aberta(int b, Canal::Tipo c) const
{
    ++chamadas[b];
    return portaAberta[b][c];
}

qint64 LigacoesFalsas::bytesEmEspera(int b, Canal::Tipo c) const
{
    ++chamadas[b];
    return portaAberta[b][c] ? entrada[b][c].size() : 0;
}

QByteArray LigacoesFalsas::lerTudo(int b, Canal::Tipo c)
{
    ++chamadas[b];
    if (!portaAberta[b][c])
        return {};
    QByteArray dados;
    dados.swap(entrada[b][c]);
    return dados;
}

bool LigacoesFalsas::escrever(int b, Canal::Tipo c, const QByteArray& dados)
{
    ++chamadas[b];
    if (!portaAberta[b][c] || recusarEscrita)
        return false;
    escritas << Escrita{b, int(c), dados, tick};
    return true;
}

int LigacoesFalsas::estadoTcp(int b) const
{
    ++chamadas[b];
    return estado[b];
}

void LigacoesFalsas::fecharTcp(int b)
{
    ++chamadas[b];
    ++fechos[b];
    estado[b] = EstadoTcp::Fechado;
}

void LigacoesFalsas::religarTcp(int b, const QString& endereco, quint16 porta)
{
    ++chamadas[b];
    religacoes << Religacao{b, endereco, porta, tick};
    estado[b] = EstadoTcp::ALigar;
}

void LigacoesFalsas::enviarTcp(int b, const QByteArray& dados)
{
    ++chamadas[b];
    if (estado[b] == EstadoTcp::Ligado)
        escritas << Escrita{b, -1, dados, tick};
}
