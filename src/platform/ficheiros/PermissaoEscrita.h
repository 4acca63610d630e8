#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// Whether the user `uid` may write the file open as `fd` (`estado`, its
// status), as the system would decide it for a program of that user. For
// this program's own user, by this process's own rights (groups it was
// given at login that the user database may not list included); for any
// other, by the file's access control list where it has one, else by its
// mode, the user's groups as the user database lists them; not where the
// list cannot be read. The administrator may.
bool utilizadorPodeEscrever(uid_t uid, int fd, const struct stat& estado);
