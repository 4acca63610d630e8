#pragma once

#include <QList>
#include <utility>

// From now on, the kernel answers each system call `chamadas` names (its
// number, as in <sys/syscall.h>) of this process with the errno beside it,
// as a file system that lacks what the call does answers it (FAT makes no
// hard links; some network shares keep no extended attributes). It cannot
// be undone: for a child process. With `semNome` other than 0, opening a
// nameless file (O_TMPFILE) fails with that errno, as on a file system that
// makes none. False where the filter cannot be put.
bool recusarChamadas(const QList<std::pair<long, int>>& chamadas, int semNome = 0);
