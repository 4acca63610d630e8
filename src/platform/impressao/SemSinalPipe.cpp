#include "platform/impressao/SemSinalPipe.h"

#include <pthread.h>

SemSinalPipe::SemSinalPipe()
{
    sigemptyset(&m_pipe);
    sigaddset(&m_pipe, SIGPIPE);
    sigset_t pendentes;
    sigpending(&pendentes);
    m_jaPendente = sigismember(&pendentes, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &m_pipe, &m_antes);
}

SemSinalPipe::~SemSinalPipe()
{
    if (!m_jaPendente) {
        const timespec nada{};
        while (sigtimedwait(&m_pipe, nullptr, &nada) == SIGPIPE) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &m_antes, nullptr);
}
