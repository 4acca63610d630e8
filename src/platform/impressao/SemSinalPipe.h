#pragma once

#include <csignal>

// A write to a socket whose other end has hung up (a print server that
// stopped in the middle of a job) raises SIGPIPE, which would end the
// program: while this lives, in the thread that made it, the write only
// fails (EPIPE). The signals raised meanwhile are taken when it goes; one
// that was pending before stays pending.
class SemSinalPipe
{
public:
    SemSinalPipe();
    ~SemSinalPipe();
    SemSinalPipe(const SemSinalPipe&) = delete;
    SemSinalPipe& operator=(const SemSinalPipe&) = delete;

private:
    sigset_t m_pipe{};
    sigset_t m_antes{};
    bool m_jaPendente = false;
};
