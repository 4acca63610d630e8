#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What the station asks of the computer itself. The real implementation, which
// can power the machine off and set its clock, is linked into the program only;
// tests get a fake.
class ServicoSistema
{
public:
    virtual ~ServicoSistema() = default;

    // Ends the program with the given exit status once control returns to the event loop.
    virtual void TerminarPrograma(int estado) = 0;

    // Powers the computer off. Returns false with the reason when refused.
    virtual bool DesligarComputador(QString* erro = nullptr) = 0;

    // Sets the system date and time. Returns false with the reason when refused.
    virtual bool AcertarDataHora(const QDateTime& momento, QString* erro = nullptr) = 0;

    // Starts another program without waiting for it; false when it cannot start.
    virtual bool IniciarPrograma(const QString& programa, const QStringList& argumentos = {}) = 0;
};
