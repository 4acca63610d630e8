#pragma once

#include <QByteArray>
#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

// An open file descriptor, closed when it goes.
struct Descritor
{
    int fd = -1;
    Descritor() = default;
    Descritor(const Descritor&) = delete;
    Descritor& operator=(const Descritor&) = delete;
    ~Descritor()
    {
        if (fd >= 0)
            ::close(fd);
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

// Whole-file reads and writes on a descriptor, and the folders they need;
// each gives 0 or the errno of the call that failed.
namespace Descritores {

// Writes all of `bytes` from the start of the file.
int escreverTudo(int fd, const QByteArray& bytes);

// The file's first `tamanho` bytes (fewer when it is shorter).
int lerTudo(int fd, off_t tamanho, QByteArray& bytes);

// Syncs a folder, so that names made or removed in it outlast a power cut.
int sincronizarPasta(int pasta);

// Makes each missing folder of `caminho`, for its user only, its name synced
// in the folder above it.
int criarPastas(const QByteArray& caminho);

}  // namespace Descritores
