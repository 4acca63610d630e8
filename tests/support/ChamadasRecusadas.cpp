#include "support/ChamadasRecusadas.h"

#include <cstddef>
#include <fcntl.h>
#include <sys/syscall.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <vector>

bool recusarChamadas(const QList<std::pair<long, int>>& chamadas, int semNome)
{
#if defined(__x86_64__)
    // Calls of another architecture are let through; each named call gets its errno.
    std::vector<sock_filter> filtro{
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    for (const auto& [numero, erro] : chamadas) {
        filtro.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(numero), 0, 1));
        filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (__u32(erro) & SECCOMP_RET_DATA)));
    }
    if (semNome != 0) {
        // openat whose flags ask for a nameless file.
        filtro.insert(filtro.end(),
                      {BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
                       BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
                       BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, __O_TMPFILE & ~O_DIRECTORY, 0, 1),
                       BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (__u32(semNome) & SECCOMP_RET_DATA))});
    }
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog programa{static_cast<unsigned short>(filtro.size()), filtro.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programa) == 0;
#else
    Q_UNUSED(chamadas);
    Q_UNUSED(semNome);
    return false;
#endif
}
