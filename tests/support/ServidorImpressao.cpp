#include "support/ServidorImpressao.h"

#include "support/EstacaoTeste.h"
#include "support/ProcessoTeste.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <cups/cups.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The queue's printer: with no arguments it says what it is; else it writes
// the job (its file, or what comes in) whole into <folder>/trabalho-<job>.pdf.
const QByteArray Impressora = R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct arquivo "Unknown" "Arquivo"'; exit 0; fi
destino="${DEVICE_URI#arquivo:}/trabalho-$1.pdf"
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$destino.novo" && mv "$destino.novo" "$destino"
)";

}  // namespace

ServidorImpressao::ServidorImpressao(Fila fila, bool porDefeito)
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
    const QString executor = QStringLiteral("/usr/lib/cups/daemon/cups-exec");
    const passwd* lp = ::getpwnam("lp");
    if (cupsd.isEmpty() || !QFileInfo::exists(executor)) {
        m_porqueNao = QStringLiteral("CUPS's daemon (cups-daemon) is not installed");
        return;
    }
    if (::geteuid() != 0 || !lp) {
        m_porqueNao = QStringLiteral("a print server of the test's own needs root and the user lp");
        return;
    }
    const QDir d(m_pasta.path());
    // Its jobs run as lp, which goes through the folder and writes the printed files.
    ::chmod(QFile::encodeName(d.path()).constData(), 0755);
    for (const char* pasta : {"spool", "cache", "state", "log", "bin/daemon", "bin/backend", "impressos"})
        d.mkpath(QString::fromLatin1(pasta));
    ::chown(QFile::encodeName(d.filePath(QStringLiteral("impressos"))).constData(), lp->pw_uid, lp->pw_gid);
    const auto em = [&](const char* nome) { return d.filePath(QString::fromLatin1(nome)); };
    escreverFicheiro(em("cups-files.conf"),
                     QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                                    "TempDir %1/spool\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                    "PageLog %1/log/page_log\nPrintcap %1/printcap\nServerBin %1/bin\n"
                                    "User lp\nGroup lp\n")
                         .arg(d.path())
                         .toUtf8());
    escreverFicheiro(em("cupsd.conf"), QStringLiteral("Listen %1\nBrowsing No\nWebInterface No\n"
                                                      "<Location />\nOrder allow,deny\nAllow all\n</Location>\n")
                                           .arg(socket())
                                           .toUtf8());
    const char* marca = porDefeito ? "DefaultPrinter" : "Printer";
    escreverFicheiro(em("printers.conf"),
                     QStringLiteral("<%1 %2>\nDeviceURI arquivo:%3\nState %4\nAccepting %5\n%6</%1>\n")
                         .arg(QString::fromLatin1(marca), nomeFila(), em("impressos"),
                              fila == Fila::Parada ? QStringLiteral("Stopped") : QStringLiteral("Idle"),
                              fila == Fila::Recusa ? QStringLiteral("No") : QStringLiteral("Yes"),
                              fila == Fila::Retem ? QStringLiteral("Option job-hold-until indefinite\n") : QString())
                         .toUtf8());
    QFile::link(executor, em("bin/daemon/cups-exec"));
    escreverFicheiro(em("bin/backend/arquivo"), Impressora);
    ::chmod(QFile::encodeName(em("bin/backend/arquivo")).constData(), 0755);

    m_cupsd.setProgram(cupsd);
    m_cupsd.setArguments({"-f", "-c", em("cupsd.conf"), "-s", em("cups-files.conf")});
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    // Killed, as a stopped daemon would not end on SIGTERM.
    terminarComOTeste(m_cupsd, SIGKILL);
    m_cupsd.start();
    // Ready once its socket takes a connection; gone if it could not start.
    const bool pronto = QTest::qWaitFor(
        [&] {
            if (m_cupsd.state() == QProcess::NotRunning)
                return true;
            QLocalSocket ligacao;
            ligacao.connectToServer(socket());
            return ligacao.waitForConnected(100);
        },
        10000);
    if (!pronto || m_cupsd.state() == QProcess::NotRunning)
        m_porqueNao = QStringLiteral("cupsd did not start: ") + QString::fromLocal8Bit(m_cupsd.readAll())
                      + QString::fromLocal8Bit(lerFicheiro(em("log/error_log")));
}

ServidorImpressao::~ServidorImpressao()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    continuar();
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished();
    }
}

QString ServidorImpressao::impresso(int trabalho) const
{
    return m_pasta.filePath(QStringLiteral("impressos/trabalho-%1.pdf").arg(trabalho));
}

QStringList ServidorImpressao::impressos() const
{
    return QDir(m_pasta.filePath(QStringLiteral("impressos"))).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

QString ServidorImpressao::guardado(int trabalho) const
{
    return m_pasta.filePath(QStringLiteral("spool/d%1-001").arg(trabalho, 5, 10, QLatin1Char('0')));
}

QStringList ServidorImpressao::guardados() const
{
    return QDir(m_pasta.filePath(QStringLiteral("spool"))).entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name);
}

LugaresImpressao ServidorImpressao::lugares() const
{
    LugaresImpressao l;
    l.ambiente.insert(QStringLiteral("CUPS_SERVER"), socket());
    return l;
}

void ServidorImpressao::parar()
{
    ::kill(pid_t(m_cupsd.processId()), SIGSTOP);
    m_parado = true;
}

void ServidorImpressao::continuar()
{
    if (std::exchange(m_parado, false))
        ::kill(pid_t(m_cupsd.processId()), SIGCONT);
}

void ServidorImpressao::matar()
{
    continuar();
    m_cupsd.kill();
    m_cupsd.waitForFinished();
}

int ServidorImpressao::estadoTrabalho(int trabalho) const
{
    http_t* http = httpConnect2(QFile::encodeName(socket()).constData(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                                5000, nullptr);
    if (!http)
        return 0;
    // A check fails in seconds, never waits for ever.
    httpSetTimeout(http, 5, nullptr, nullptr);
    ipp_t* pedido = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/printers/fila");
    ippAddInteger(pedido, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", trabalho);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t* resposta = cupsDoRequest(http, pedido, "/jobs/");
    ipp_attribute_t* estado = resposta ? ippFindAttribute(resposta, "job-state", IPP_TAG_ENUM) : nullptr;
    const int valor = estado ? ippGetInteger(estado, 0) : 0;
    ippDelete(resposta);
    httpClose(http);
    return valor;
}
