#include "support/ProcessoTeste.h"

#include <QProcess>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void terminarComOTeste(QProcess& processo)
{
    const pid_t teste = ::getpid();
    processo.setChildProcessModifier([teste] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != teste)  // the test was already gone before the line above
            ::raise(SIGTERM);
    });
}
