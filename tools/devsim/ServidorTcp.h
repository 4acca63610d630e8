#pragma once

#include "Transporte.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A TCP indicator: listens on a loopback address and talks to the newest
// client, dropping the one before.
class ServidorTcp : public Transporte
{
    Q_OBJECT

public:
    explicit ServidorTcp(QObject* pai = nullptr);

    // Loopback addresses only.
    bool escutar(const QHostAddress& endereco, quint16 porta, QString* erro);
    quint16 porta() const { return m_servidor.serverPort(); }

    void escrever(const QByteArray& dados) override;
    bool ligado() const override;
    QString descricao() const override;
    void cair() override;
    void reabrir() override {}

private:
    void novaLigacao();

    QTcpServer m_servidor;
    QPointer<QTcpSocket> m_cliente;
};
