#include "platform/ficheiros/VezOcupada.h"

#include "platform/Erro.h"
#include "platform/ficheiros/DescricaoEntrada.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/sysmacros.h>

namespace {

// The holders a box names; the rest it counts (hundreds of readers could share the turn).
constexpr qsizetype Nomeados = 3;

// The bound on the readings of /proc/locks (see tomadores).
constexpr int LeiturasMaximas = 10;

// The entry as the system's lock lines give it: "08:01:1234".
QByteArray identificador(const struct stat& estado)
{
    return QByteArray::number(major(estado.st_dev), 16).rightJustified(2, '0') + ':'
           + QByteArray::number(minor(estado.st_dev), 16).rightJustified(2, '0') + ':'
           + QByteArray::number(quint64(estado.st_ino));
}

// The process named by a lock line ("1: FLOCK  ADVISORY  WRITE 4711 08:01:1234 0 EOF")
// of a flock granted on the entry, else 0. Only a flock keeps a save from its
// turn (fcntl's locks and leases do not touch it); a waiting one ("->") holds
// nothing, and an open file description's lock (-1) names no process.
pid_t tomadoPor(const QByteArray& linha, const QByteArray& entrada)
{
    const QList<QByteArray> campos = linha.simplified().split(' ');
    if (campos.size() < 6 || campos[1] != "FLOCK" || campos[5] != entrada)
        return 0;
    bool ok = false;
    const pid_t pid = campos[4].toInt(&ok);
    return ok && pid > 0 ? pid : 0;
}

// The processes /proc/locks names for the entry's flocks: each the one that
// TOOK its lock, which may since have ended (a process it started keeps the
// lock) and had its number given to another. The system gives the list a
// page at a time, each from its place in a list that other processes' locks
// enter and leave meanwhile, so one reading may skip lines: it is read again
// until a reading adds no process.
QList<pid_t> tomadores(const QByteArray& entrada)
{
    QList<pid_t> pids;
    for (int leitura = 0; leitura < LeiturasMaximas; ++leitura) {
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            break;
        const qsizetype antes = pids.size();
        for (const QByteArray& linha : locks.readAll().split('\n')) {
            const pid_t pid = tomadoPor(linha, entrada);
            if (pid > 0 && pid != ::getpid() && !pids.contains(pid))
                pids << pid;
        }
        if (leitura > 0 && pids.size() == antes)
            break;
    }
    return pids;
}

// A file of /proc/<pid> whole (its size is not told beforehand); nothing where it may not be read.
QByteArray lerProc(int pasta, const char* nome)
{
    Descritor f;
    f.fd = ::openat(pasta, nome, O_RDONLY | O_CLOEXEC);
    QByteArray bytes;
    char bloco[4096];
    ssize_t n = 0;
    while (f.fd >= 0 && (n = semInterrupcao([&] { return ::read(f.fd, bloco, sizeof bloco); })) > 0)
        bytes.append(bloco, n);
    return bytes;
}

// Whether one of the process's open files holds a flock on the entry, as its
// /proc/<pid>/fdinfo shows (the lock lines of an open file description are
// shown by every process that has it open). The system shows these only to
// the process's own user and to root: another user's holder goes unconfirmed.
bool segura(int processo, const QByteArray& entrada)
{
    const int fdinfo = ::openat(processo, "fdinfo", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdinfo < 0)
        return false;
    DIR* pasta = ::fdopendir(fdinfo);
    if (!pasta) {
        ::close(fdinfo);
        return false;
    }
    bool achou = false;
    while (const dirent* e = ::readdir(pasta)) {
        if (e->d_name[0] == '.')
            continue;
        for (const QByteArray& linha : lerProc(fdinfo, e->d_name).split('\n'))
            achou = achou || (linha.startsWith("lock:") && tomadoPor(linha.mid(5), entrada) != 0);
        if (achou)
            break;
    }
    ::closedir(pasta);
    return achou;
}

// The process's real user: who started it, a set-user-ID program's too (the
// owner of /proc/<pid> is root for such a program).
uid_t utilizador(int processo)
{
    for (const QByteArray& linha : lerProc(processo, "status").split('\n'))
        if (linha.startsWith("Uid:"))
            return uid_t(linha.mid(4).simplified().split(' ').value(0).toUInt());
    return uid_t(-1);
}

// "o processo 4711 (python3, do utilizador nobody)" where the process holds a
// lock on the entry, else nothing. All is read through one handle on
// /proc/<pid>, so the program and user told are of the process that holds it.
// The program names itself, so its name is shown as any text another user chooses.
QString detentor(pid_t pid, const QByteArray& entrada)
{
    Descritor processo;
    processo.fd = ::open(QByteArray("/proc/" + QByteArray::number(pid)).constData(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (processo.fd < 0 || !segura(processo.fd, entrada))
        return {};
    const QByteArray programa = lerProc(processo.fd, "comm").trimmed();
    return QStringLiteral("o processo %1 (%2, do utilizador %3)")
        .arg(pid)
        .arg(DescricaoEntrada::paraMostrar(QString::fromLocal8Bit(programa), DescricaoEntrada::NomeMaximo),
             Utilizadores::nome(utilizador(processo.fd)));
}

}  // namespace

namespace VezOcupada {

QString razao(const struct stat& estado, const QByteArray& caminho)
{
    const QByteArray entrada = identificador(estado);
    const QString onde = QStringLiteral(" tem a vez em ") + QFile::decodeName(caminho);
    QStringList quem;
    qsizetype mais = 0;
    for (const pid_t pid : tomadores(entrada)) {
        const QString p = detentor(pid, entrada);
        if (p.isEmpty())
            continue;
        if (quem.size() < Nomeados)
            quem << p + onde;
        else
            ++mais;
    }
    if (quem.isEmpty())
        return Erros::razaoSistema(EWOULDBLOCK);
    if (mais == 1)
        quem << QStringLiteral("e mais 1 processo tem a vez");
    else if (mais > 1)
        quem << QStringLiteral("e mais %1 processos têm a vez").arg(mais);
    return QStringLiteral("O ficheiro está a ser usado por outro programa: ") + quem.join(QStringLiteral("; "));
}

}  // namespace VezOcupada
