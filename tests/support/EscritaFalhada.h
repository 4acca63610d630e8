#pragma once

#include "platform/ficheiros/GravacaoFicheiro.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/resource.h>

// Real failing writes, for the settings file's tests.

// While it lives, no file of this process may grow past `bytes`: the write
// that would pass it fails with EFBIG, as a full disk fails it with ENOSPC
// (SIGXFSZ, which would end the process, is ignored meanwhile). Any user may
// lower the limit and raise it back.
class LimiteTamanhoFicheiros
{
public:
    explicit LimiteTamanhoFicheiros(qint64 bytes);
    ~LimiteTamanhoFicheiros();
    LimiteTamanhoFicheiros(const LimiteTamanhoFicheiros&) = delete;
    LimiteTamanhoFicheiros& operator=(const LimiteTamanhoFicheiros&) = delete;

private:
    rlimit m_antes{};
    struct sigaction m_sinal{};
};

// A small file system of its own (tmpfs), mounted in a mount namespace of this
// process so that it is gone when the process ends, whatever happens. Mounting
// needs root: ok() is false otherwise.
class DiscoPequeno
{
public:
    DiscoPequeno();
    ~DiscoPequeno();
    DiscoPequeno(const DiscoPequeno&) = delete;
    DiscoPequeno& operator=(const DiscoPequeno&) = delete;

    bool ok() const { return m_montado; }
    QString pasta() const { return m_pasta.path(); }
    QString caminho(const QString& nome) const { return m_pasta.filePath(nome); }
    // Fills what is left of it with one file, so that any further byte fails with ENOSPC.
    void encher() const;

private:
    QTemporaryDir m_pasta;
    bool m_montado = false;
};

// Makes a file or folder immutable for as long as it lives: it cannot be
// changed, nor a name in it made, removed or replaced, by root either.
// ok() is false when the file system does not allow it.
class Imutavel
{
public:
    explicit Imutavel(const QString& caminho);
    ~Imutavel();
    Imutavel(const Imutavel&) = delete;
    Imutavel& operator=(const Imutavel&) = delete;
    bool ok() const { return m_ok; }

private:
    bool mudar(bool sim);
    QString m_caminho;
    bool m_ok = false;
};

// A child process running `corpo`. It dies with the test process, and is
// killed and reaped when this goes: a failed check leaves no process behind.
class ProcessoFilho
{
public:
    explicit ProcessoFilho(const std::function<void()>& corpo);
    ~ProcessoFilho() { matar(); }
    Q_DISABLE_COPY(ProcessoFilho)
    int esperar(int opcoes = 0);  // waitpid's status; -1 when there is none (yet)
    void matar();

private:
    pid_t m_pid;
    bool m_terminou = false;
};

// In a child process: the next write past `limite` bytes of a file is cut
// there, and the process killed by the file size limit's own signal.
void morrerAoPassar(qint64 limite);

// In a child process: its save into the file itself ends at `passo`, killed
// (SIGKILL), or killed within the write that follows once `limite` bytes are
// in, or stopped there (SIGSTOP: a save stuck halfway).
void acabarNoPasso(GravacaoFicheiro::Passo passo, qint64 limite = 0, bool parar = false);
