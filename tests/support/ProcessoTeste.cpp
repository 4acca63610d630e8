#include "support/ProcessoTeste.h"

#include <QProcess>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void terminarComOTeste(QProcess& processo, int sinal)
{
    const pid_t teste = ::getpid();
    processo.setChildProcessModifier([teste, sinal] {
        ::prctl(PR_SET_PDEATHSIG, sinal);
        if (::getppid() != teste)  // the test was already gone before the line above
            ::raise(sinal);
    });
}
