// A PDF file written as the station writes one, in a process of its own
// whose file system has no hard links and no nameless files (as FAT and
// some network shares): the kernel refuses them here, by a seccomp filter
// this process alone carries. With "sem-renomear", a rename that does not
// replace is refused too.
//
//   ajudante_pdf <sem-ligacoes|sem-renomear> <base> <numero> <bytes>
//
// It makes the file, writes <bytes> bytes into it, says "aberto" and waits
// for a line: "concluir" names it ("nome <path> <1 when the named file is
// the one written, 0 for a copy>", or "falha <reason>"); the end of its
// input ends it without a name.

#include "platform/impressao/FicheiroPdf.h"

#include <QFile>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <vector>

namespace {

#if defined(__x86_64__)
#define ARQUITECTURA AUDIT_ARCH_X86_64
#elif defined(__aarch64__)
#define ARQUITECTURA AUDIT_ARCH_AARCH64
#endif

// The calls refused, and how: links, nameless files, and perhaps renames.
bool recusar(bool renomear)
{
#ifdef ARQUITECTURA
    const auto recusa = [](int e) { return sock_filter BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | unsigned(e)); };
    const auto seFor = [](unsigned nr) { return sock_filter BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, nr, 0, 1); };
    std::vector<sock_filter> f = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ARQUITECTURA, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        seFor(__NR_linkat), recusa(EPERM),
#ifdef __NR_link
        seFor(__NR_link), recusa(EPERM),
#endif
    };
    if (renomear)
        f.insert(f.end(), {seFor(__NR_renameat2), recusa(EINVAL)});
    // openat with O_TMPFILE: not supported.
    f.insert(f.end(), {BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
                       BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
                       BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, __O_TMPFILE & ~O_DIRECTORY, 0, 1), recusa(EOPNOTSUPP),
                       BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)});
    const sock_fprog programa{static_cast<unsigned short>(f.size()), f.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programa) == 0;
#else
    (void)renomear;
    return false;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    const std::string modo = argv[1];
    if (!recusar(modo == "sem-renomear")) {
        std::cout << "sem filtro" << std::endl;
        return 3;
    }
    FicheiroPdf pdf(QFile::decodeName(argv[2]), std::atoi(argv[3]));
    if (!pdf.abrir()) {
        std::cout << "falha " << pdf.falha().toStdString() << std::endl;
        return 1;
    }
    QByteArray dados(std::atoll(argv[4]), 'p');
    for (qsizetype i = 0; i < dados.size(); ++i)
        dados[i] = char('a' + i % 26);
    pdf.write(dados);
    std::cout << "aberto" << std::endl;
    std::string linha;
    if (!std::getline(std::cin, linha) || linha != "concluir")
        return 0;
    if (!pdf.concluir()) {
        std::cout << "falha " << pdf.falha().toStdString() << std::endl;
        return 1;
    }
    struct stat escrito{}, nomeado{};
    ::fstat(pdf.descritor(), &escrito);
    ::stat(QFile::encodeName(pdf.caminho()).constData(), &nomeado);
    std::cout << "nome " << pdf.caminho().toStdString() << ' ' << (escrito.st_ino == nomeado.st_ino) << std::endl;
    return 0;
}
