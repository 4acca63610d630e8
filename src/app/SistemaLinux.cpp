#include "app/SistemaLinux.h"

#include "platform/Erro.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QProcess>

namespace {

constexpr int EsperaMs = 30000;              // logind may wait on an authorisation
constexpr int EsperaAutorizacaoMs = 120000;  // an operator typing a password for timedated

bool recusar(QString* erro, const QString& razao)
{
    if (erro)
        *erro = razao;
    return false;
}

// One call on the system bus, waited for; false with the reason on any
// refusal. An interactive call may ask the operator to authorise it; the
// station's timers keep running meanwhile.
bool chamar(const QString& servico, const QString& objecto, const QString& interface, const QString& metodo,
            const QVariantList& argumentos, bool interactivo, QString* erro)
{
    // The offscreen platform is the tests' and CI's: the machine is never theirs to stop or re-time.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return recusar(erro, QStringLiteral("Serviço do sistema recusado na plataforma offscreen"));
    QDBusConnection barramento = QDBusConnection::systemBus();
    if (!barramento.isConnected())
        return recusar(erro, QStringLiteral("Sem ligação ao barramento do sistema (D-Bus)"));
    QDBusMessage pedido = QDBusMessage::createMethodCall(servico, objecto, interface, metodo);
    pedido.setArguments(argumentos);
    pedido.setInteractiveAuthorizationAllowed(interactivo);
    const QDBusMessage resposta = barramento.call(pedido, interactivo ? QDBus::BlockWithGui : QDBus::Block,
                                                  interactivo ? EsperaAutorizacaoMs : EsperaMs);
    if (resposta.type() != QDBusMessage::ReplyMessage)
        return recusar(erro, Erros::razaoServico(resposta.errorName(), resposta.errorMessage()));
    return true;
}

}  // namespace

void SistemaLinux::TerminarPrograma(int estado)
{
    // Queued, so it also ends a program whose event loop has not started yet
    // (QCoreApplication::exit does nothing then) and every loop running when it comes.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [estado] { QCoreApplication::exit(estado); }, Qt::QueuedConnection);
}

bool SistemaLinux::DesligarComputador(QString* erro)
{
    // PowerOff(interactive = false): no authorisation prompt; a refusal comes back as an error.
    return chamar(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                  QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"), {QVariant(false)},
                  false, erro);
}

bool SistemaLinux::AcertarDataHora(const QDateTime& momento, QString* erro)
{
    if (!momento.isValid())
        return recusar(erro, QStringLiteral("Data ou hora inválida"));
    // SetTime(usec_utc, relative = false, interactive = true): the clock is set
    // on purpose by an operator, who may be asked to authorise it.
    const qlonglong microsegundos = momento.toMSecsSinceEpoch() * 1000;
    return chamar(QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
                  QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"),
                  {QVariant(microsegundos), QVariant(false), QVariant(true)}, true, erro);
}

bool SistemaLinux::IniciarPrograma(const QString& programa, const QStringList& argumentos)
{
    return QProcess::startDetached(programa, argumentos);
}
