#include "platform/LigacaoTcp.h"

#include "platform/Ligacoes.h"

#include <QNetworkProxy>

LigacaoTcp::LigacaoTcp()
{
    m_socket.setProxy(QNetworkProxy::NoProxy);
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
        const QByteArray dados = m_socket.readAll();
        if (DataArrival)
            DataArrival(dados);
    });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_socket, [this] { m_falhou = true; });
}

int LigacaoTcp::State() const
{
    switch (m_socket.state()) {
    case QAbstractSocket::UnconnectedState: return m_falhou ? EstadoTcp::Erro : EstadoTcp::Fechado;
    case QAbstractSocket::HostLookupState: return EstadoTcp::ResolverNome;
    case QAbstractSocket::ConnectingState: return EstadoTcp::ALigar;
    case QAbstractSocket::ConnectedState: return EstadoTcp::Ligado;
    case QAbstractSocket::BoundState: return EstadoTcp::Aberto;
    case QAbstractSocket::ListeningState: return EstadoTcp::AEscutar;
    case QAbstractSocket::ClosingState: return EstadoTcp::AFechar;
    }
    return EstadoTcp::Fechado;
}

void LigacaoTcp::Close()
{
    m_socket.abort();
    m_falhou = false;
}

void LigacaoTcp::Connect(const QString& endereco, quint16 porta)
{
    // A socket that is not unconnected ignores a new connect: abort first.
    Close();
    m_socket.connectToHost(endereco, porta);
}

bool LigacaoTcp::SendData(const QByteArray& dados)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return false;
    return m_socket.write(dados) == dados.size();
}
