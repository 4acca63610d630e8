#pragma once

#include "Transporte.h"

#include <QSocketNotifier>
#include <memory>

// A serial device seen by the station through a link such as DIR/COM3 to a
// pty's slave. The pty is raw with echo off before the link exists, and its
// slave stays open here so that bytes written before the station opens it wait.
class PtySimulada final : public Transporte
{
    Q_OBJECT

public:
    // False (with the reason in `erro`) when the pty or the link cannot be made.
    PtySimulada(const QString& ligacao, QObject* pai = nullptr);
    ~PtySimulada() override;

    bool abrir(QString* erro);
    void escrever(const QByteArray& dados) override;
    bool ligado() const override { return m_mestre >= 0; }
    QString descricao() const override;
    void cair() override;
    void reabrir() override;

private:
    void ler();
    void fechar();

    QString m_ligacao;
    QString m_escravoNome;
    int m_mestre = -1;
    int m_escravo = -1;
    std::unique_ptr<QSocketNotifier> m_aviso;
};
