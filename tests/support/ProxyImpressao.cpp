#include "support/ProxyImpressao.h"

#include <QDir>
#include <QLocalSocket>

// One connection carried: what its client brought, and whether it went silent.
struct ProxyImpressao::Ligacao
{
    qint64 trazido = 0;
    bool muda = false;
};

ProxyImpressao::ProxyImpressao(const QString& servidor, const QString& pasta) : m_destino(servidor)
{
    connect(&m_servidor, &QLocalServer::newConnection, this, &ProxyImpressao::ligar);
    m_servidor.listen(QDir(pasta).filePath(QStringLiteral("intermediario.sock")));
}

ProxyImpressao::~ProxyImpressao()
{
    // The connections close with nothing listening: their handlers use what goes before them.
    for (QLocalSocket* ligacao : m_servidor.findChildren<QLocalSocket*>())
        ligacao->disconnect();
}

void ProxyImpressao::ligar()
{
    while (QLocalSocket* cliente = m_servidor.nextPendingConnection()) {
        auto* servidor = new QLocalSocket(cliente);
        // A local socket: taken at once, or never.
        servidor->connectToServer(m_destino);
        servidor->waitForConnected(1000);
        auto ligacao = std::make_shared<Ligacao>();
        ++m_ligacoes;
        connect(cliente, &QLocalSocket::readyRead, this, [this, cliente, servidor, ligacao] {
            QByteArray dados = cliente->readAll();
            if (ligacao->muda)
                return;
            if (!m_aEspera.count(ligacao.get()) && !m_aEspera.empty())
                ++m_sobrepostos;
            m_aEspera.insert(ligacao.get());
            if (m_limite >= 0 && !m_emudecida && ligacao->trazido + dados.size() > m_limite) {
                dados.truncate(m_limite - ligacao->trazido);
                ligacao->muda = m_emudecida = true;
            }
            ligacao->trazido += dados.size();
            servidor->write(dados);
        });
        connect(servidor, &QLocalSocket::readyRead, this, [this, cliente, servidor, ligacao] {
            const QByteArray dados = servidor->readAll();
            if (ligacao->muda)
                return;
            m_aEspera.erase(ligacao.get());
            cliente->write(dados);
        });
        connect(servidor, &QLocalSocket::disconnected, cliente, [cliente, ligacao] {
            if (!ligacao->muda)
                cliente->disconnectFromServer();
        });
        connect(cliente, &QLocalSocket::disconnected, this, [this, cliente, ligacao] {
            m_aEspera.erase(ligacao.get());
            cliente->deleteLater();
        });
    }
}
