#pragma once

#include <chrono>

// flock(operation), LOCK_EX or LOCK_SH, that gives up with EWOULDBLOCK after limit: a stuck
// holder (a hung process, a slow network file system) must not freeze the user interface. The
// wait blocks in the kernel rather than polling, so a busy writer that lets go only for a moment
// between saves cannot keep us out. 0 when locked, else -1 with errno set.
int LockWithin(int fd, int operation, std::chrono::milliseconds limit);

// Whether errno, after a failed LockWithin, says the file system has no flock: the work goes on
// without the lock. NFS, which makes flock a lock of byte ranges, refuses an exclusive one on a
// file opened for reading only with EBADF.
bool LockingUnsupported(int error);
