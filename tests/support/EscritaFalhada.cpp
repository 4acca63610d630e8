#include "support/EscritaFalhada.h"

#include <QFile>
#include <QtTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

LimiteTamanhoFicheiros::LimiteTamanhoFicheiros(qint64 bytes)
{
    struct sigaction ignorar{};
    ignorar.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignorar, &m_sinal);
    ::getrlimit(RLIMIT_FSIZE, &m_antes);
    rlimit limite = m_antes;
    limite.rlim_cur = rlim_t(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limite) != 0)
        qFatal("setrlimit(RLIMIT_FSIZE) refused");
}

LimiteTamanhoFicheiros::~LimiteTamanhoFicheiros()
{
    ::setrlimit(RLIMIT_FSIZE, &m_antes);
    ::sigaction(SIGXFSZ, &m_sinal, nullptr);
}

namespace {
// Once per process: mounts made from now on are this process's own.
bool namespacePropria()
{
    static const bool feito = ::unshare(CLONE_NEWNS) == 0
                              && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return feito;
}
}  // namespace

DiscoPequeno::DiscoPequeno()
{
    m_montado = m_pasta.isValid() && namespacePropria()
                && ::mount("zumarel-teste", QFile::encodeName(m_pasta.path()).constData(), "tmpfs", 0,
                           "size=256k,mode=0755") == 0;
}

DiscoPequeno::~DiscoPequeno()
{
    if (m_montado)
        ::umount2(QFile::encodeName(m_pasta.path()).constData(), MNT_DETACH);
}

void DiscoPequeno::encher() const
{
    const int fd = ::open(QFile::encodeName(caminho(QStringLiteral("enchimento"))).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    const QByteArray bloco(4096, 'x');
    while (::write(fd, bloco.constData(), size_t(bloco.size())) > 0) {
    }
    // The last partial page too.
    while (::write(fd, "x", 1) > 0) {
    }
    ::close(fd);
}

Imutavel::Imutavel(const QString& caminho) : m_caminho(caminho)
{
    m_ok = mudar(true);
}

Imutavel::~Imutavel()
{
    if (m_ok)
        mudar(false);
}

bool Imutavel::mudar(bool sim)
{
    const int fd = ::open(QFile::encodeName(m_caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int atributos = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &atributos) == 0;
    atributos = sim ? (atributos | FS_IMMUTABLE_FL) : (atributos & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &atributos) == 0;
    ::close(fd);
    return ok;
}

ProcessoFilho::ProcessoFilho(const std::function<void()>& corpo) : m_pid(::fork())
{
    if (m_pid != 0)
        return;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Nothing may go back into the test from here: it would run on as a second test.
    try {
        corpo();
    } catch (...) {
        ::_exit(3);
    }
    ::_exit(0);
}

int ProcessoFilho::esperar(int opcoes)
{
    int estado = -1;
    if (::waitpid(m_pid, &estado, opcoes) != m_pid)
        return -1;
    m_terminou = WIFEXITED(estado) || WIFSIGNALED(estado);
    return estado;
}

void ProcessoFilho::matar()
{
    if (m_pid > 0 && !m_terminou && ::kill(m_pid, SIGKILL) == 0)
        ::waitpid(m_pid, nullptr, 0);
    m_terminou = true;
}

void morrerAoPassar(qint64 limite)
{
    const rlimit semCore{0, 0}, tamanho{rlim_t(limite), RLIM_INFINITY};
    ::setrlimit(RLIMIT_CORE, &semCore);
    ::signal(SIGXFSZ, SIG_DFL);
    ::setrlimit(RLIMIT_FSIZE, &tamanho);
}

namespace {
GravacaoFicheiro::Passo passoFinal;
qint64 limiteFinal = 0;
bool pararNoFinal = false;
}  // namespace

void acabarNoPasso(GravacaoFicheiro::Passo passo, qint64 limite, bool parar)
{
    passoFinal = passo;
    limiteFinal = limite;
    pararNoFinal = parar;
    GravacaoFicheiro::aoPasso = [](GravacaoFicheiro::Passo p) {
        if (p == passoFinal && pararNoFinal)
            ::raise(SIGSTOP);
        else if (p == passoFinal && limiteFinal > 0)
            morrerAoPassar(limiteFinal);
        else if (p == passoFinal)
            ::raise(SIGKILL);
    };
}
