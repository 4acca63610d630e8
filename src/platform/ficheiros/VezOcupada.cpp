#include "platform/ficheiros/VezOcupada.h"

#include "platform/Erro.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <cerrno>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// The processes that hold a lock on the entry, by /proc/locks' lines
// ("1: FLOCK  ADVISORY  WRITE 4711 08:01:1234 0 EOF"); a waiting one ("->")
// holds nothing, an open file description's lock (-1) names no process.
QList<pid_t> donos(const struct stat& estado)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return {};
    const QByteArray entrada = QByteArray::number(major(estado.st_dev), 16).rightJustified(2, '0') + ':'
                               + QByteArray::number(minor(estado.st_dev), 16).rightJustified(2, '0') + ':'
                               + QByteArray::number(quint64(estado.st_ino));
    QList<pid_t> pids;
    for (const QByteArray& linha : locks.readAll().split('\n')) {
        const QList<QByteArray> campos = linha.simplified().split(' ');
        if (campos.size() < 6 || campos[1] == "->" || campos[5] != entrada)
            continue;
        bool ok = false;
        const pid_t pid = campos[4].toInt(&ok);
        if (ok && pid > 0 && pid != ::getpid() && !pids.contains(pid))
            pids << pid;
    }
    return pids;
}

// "o processo 4711 (python3, do utilizador nobody)", or nothing once it is gone; the
// program names itself, so its name is shown as any text another user chooses.
QString processo(pid_t pid)
{
    const QString pasta = QStringLiteral("/proc/") + QString::number(pid);
    struct stat st
    {
    };
    QFile comm(pasta + QStringLiteral("/comm"));
    if (::stat(QFile::encodeName(pasta).constData(), &st) != 0 || !comm.open(QIODevice::ReadOnly))
        return {};
    return QStringLiteral("o processo %1 (%2, do utilizador %3)")
        .arg(pid)
        .arg(DescricaoEntrada::paraMostrar(QString::fromLocal8Bit(comm.readAll().trimmed()), DescricaoEntrada::NomeMaximo),
             Utilizadores::nome(st.st_uid));
}

}  // namespace

namespace VezOcupada {

QString razao(const struct stat& estado, const QByteArray& caminho)
{
    QStringList quem;
    for (const pid_t pid : donos(estado)) {
        const QString p = processo(pid);
        if (!p.isEmpty())
            quem << p + QStringLiteral(" tem a vez em ") + QFile::decodeName(caminho);
    }
    if (quem.isEmpty())
        return Erros::razaoSistema(EWOULDBLOCK);
    return QStringLiteral("O ficheiro está a ser usado por outro programa: ") + quem.join(QStringLiteral("; "));
}

}  // namespace VezOcupada
