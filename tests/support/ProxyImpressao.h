#pragma once

#include <QLocalServer>
#include <QString>
#include <memory>
#include <set>

// A go-between of the test's own in front of a print server's socket: each
// connection made to socket() is carried to the server and back as it is,
// and watched. One can be made to go silent in the middle of what it
// brings, as a server that stops answering while a document comes in: from
// then on nothing of it is carried either way, while the other connections
// go on. Lives in the test's thread, which must run its events.
class ProxyImpressao : public QObject
{
public:
    // In front of the server's socket `servidor`, with its own socket in `pasta`.
    ProxyImpressao(const QString& servidor, const QString& pasta);
    ~ProxyImpressao() override;
    ProxyImpressao(const ProxyImpressao&) = delete;
    ProxyImpressao& operator=(const ProxyImpressao&) = delete;

    QString socket() const { return m_servidor.fullServerName(); }
    // The first connection that brings more than `bytes` to the server goes silent there.
    void emudecerApos(qint64 bytes) { m_limite = bytes; }
    bool emudecida() const { return m_emudecida; }
    // The connections made so far.
    int ligacoes() const { return m_ligacoes; }
    // The requests that came while another connection's request was still
    // waiting for its answer: none when the requests go one at a time.
    int sobrepostos() const { return m_sobrepostos; }

private:
    struct Ligacao;
    void ligar();

    QLocalServer m_servidor;
    const QString m_destino;
    qint64 m_limite = -1;
    bool m_emudecida = false;
    int m_ligacoes = 0;
    int m_sobrepostos = 0;
    std::set<const Ligacao*> m_aEspera;  // the connections whose request has no answer yet
};
