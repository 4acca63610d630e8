#include "platform/SistemaLinux.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>

namespace {

bool chamar(const QString& servico, const QString& objecto, const QString& interface, const QString& metodo,
            const QVariantList& argumentos, QString* erro)
{
    QDBusInterface i(servico, objecto, interface, QDBusConnection::systemBus());
    if (!i.isValid()) {
        if (erro)
            *erro = i.lastError().message();
        return false;
    }
    const QDBusMessage resposta = i.callWithArgumentList(QDBus::Block, metodo, argumentos);
    if (resposta.type() == QDBusMessage::ErrorMessage) {
        if (erro)
            *erro = resposta.errorMessage();
        return false;
    }
    return true;
}

}  // namespace

void SistemaLinux::TerminarPrograma(int estado)
{
    QCoreApplication::exit(estado);
}

bool SistemaLinux::DesligarComputador(QString* erro)
{
    return chamar(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                  QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"),
                  {QVariant(false)}, erro);
}

bool SistemaLinux::AcertarDataHora(const QDateTime& momento, QString* erro)
{
    const qlonglong microsegundos = momento.toMSecsSinceEpoch() * 1000;
    return chamar(QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
                  QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"),
                  {QVariant(microsegundos), QVariant(false), QVariant(true)}, erro);
}

bool SistemaLinux::IniciarPrograma(const QString& programa, const QStringList& argumentos)
{
    return QProcess::startDetached(programa, argumentos);
}
