#include "ServidorTcp.h"

ServidorTcp::ServidorTcp(QObject* pai) : Transporte(pai)
{
    connect(&m_servidor, &QTcpServer::newConnection, this, &ServidorTcp::novaLigacao);
}

bool ServidorTcp::escutar(const QHostAddress& endereco, quint16 porta, QString* erro)
{
    if (!endereco.isLoopback()) {
        if (erro)
            *erro = endereco.toString() + QStringLiteral(": só endereços locais (127.x.x.x)");
        return false;
    }
    if (!m_servidor.listen(endereco, porta)) {
        if (erro)
            *erro = m_servidor.errorString();
        return false;
    }
    return true;
}

void ServidorTcp::novaLigacao()
{
    while (QTcpSocket* s = m_servidor.nextPendingConnection()) {
        if (m_cliente)
            m_cliente->abort();
        m_cliente = s;
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(s, &QTcpSocket::readyRead, this, [this, s] {
            const QByteArray dados = s->readAll();
            if (s == m_cliente)
                Q_EMIT recebido(dados);
        });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
}

void ServidorTcp::escrever(const QByteArray& dados)
{
    if (ligado())
        m_cliente->write(dados);
}

bool ServidorTcp::ligado() const
{
    return m_cliente && m_cliente->state() == QAbstractSocket::ConnectedState;
}

QString ServidorTcp::descricao() const
{
    return QStringLiteral("tcp %1:%2%3")
        .arg(m_servidor.serverAddress().toString())
        .arg(m_servidor.serverPort())
        .arg(ligado() ? QStringLiteral(" (ligado)") : QString());
}

void ServidorTcp::cair()
{
    if (m_cliente)
        m_cliente->abort();
}
