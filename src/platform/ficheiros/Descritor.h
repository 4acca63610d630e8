#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <cerrno>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

// An open file descriptor, closed when it goes; a move hands it on.
struct Descritor
{
    int fd = -1;
    Descritor() = default;
    Descritor(const Descritor&) = delete;
    Descritor& operator=(const Descritor&) = delete;
    Descritor(Descritor&& outro) noexcept : fd(std::exchange(outro.fd, -1)) {}
    Descritor& operator=(Descritor&& outro) noexcept
    {
        if (this != &outro) {
            fechar();
            fd = std::exchange(outro.fd, -1);
        }
        return *this;
    }
    ~Descritor() { fechar(); }
    void fechar()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// A system call made again while a signal interrupts it.
template <typename F> auto semInterrupcao(F chamada)
{
    decltype(chamada()) r;
    do
        r = chamada();
    while (r < 0 && errno == EINTR);
    return r;
}

// Whole-file reads and writes on a descriptor, the folders they need, and
// the locks that give their writers turns; each gives 0 or the errno of the
// call that failed.
namespace Descritores {

// Writes all of `bytes` from the start of the file.
int escreverTudo(int fd, const QByteArray& bytes);

// The file's first `tamanho` bytes (fewer when it is shorter).
int lerTudo(int fd, off_t tamanho, QByteArray& bytes);

// The whole file: EFBIG, and nothing read, when it is longer than `maximo`.
int lerFicheiro(int fd, qint64 maximo, QByteArray& bytes);

// Syncs a folder, so that names made or removed in it outlast a power cut.
int sincronizarPasta(int pasta);

// Makes each missing folder of `caminho`, for its user only, its name synced
// in the folder above it.
int criarPastas(const QByteArray& caminho);

// Opens the file `nome` of the folder `pasta` (never a link followed, never
// waiting on a device): for writing too when `escrita` is Sim, when it may
// be when Talvez (read-only where the system refuses the writing), else for
// reading. -1 with errno on failure.
enum class Escrita { Nao, Sim, Talvez };
int abrirNaPasta(int pasta, const QByteArray& nome, Escrita escrita);

// Takes the lock of the file open as `fd`, exclusive (`tipo` LOCK_EX) or
// shared (LOCK_SH), waiting for its holder until `prazo`: EWOULDBLOCK when
// the wait runs out (nobody hangs on a stuck program).
int bloquear(int fd, int tipo, const QDeadlineTimer& prazo);

// The provisional names of `provisorio`, in the order a new file takes
// them: the name itself, then a few made from it that only this user's runs
// take ("<provisorio>-<user's number>-1"...). Always the same, so that what a
// run cut short left at them is found by looking them up, never by reading
// the folder, whatever others put in it.
QList<QByteArray> nomesProvisorios(const QByteArray& provisorio);

// Removes the entry `nome` of `pasta` where it is what a run of this user's
// cut short leaves: a regular file of this user's with one link; never
// another user's entry, a link or a folder. True when it went.
bool tirarResto(int pasta, const QByteArray& nome);

// The name `nome` of `pasta` still leads to the file open as `fd`: nobody
// put another entry there meanwhile (in a folder where others make files).
bool mesmoFicheiro(int pasta, const QByteArray& nome, int fd);

// Tests only: false makes every new file take a provisional name, as on a
// file system without nameless files.
extern bool ficheirosSemNome;

}  // namespace Descritores
