#pragma once

#include "platform/Sistema.h"

// The computer's own services on Linux: logind powers it off and timedated
// sets its clock, both over the system bus, and nothing else ever does (no
// raw system call, no command). Linked into the program only, never into a
// test; and it refuses to act under the offscreen platform that tests use.
class SistemaLinux : public ServicoSistema
{
public:
    void TerminarPrograma(int estado) override;
    bool DesligarComputador(QString* erro = nullptr) override;
    bool AcertarDataHora(const QDateTime& momento, QString* erro = nullptr) override;
    bool IniciarPrograma(const QString& programa, const QStringList& argumentos = {}) override;
};
