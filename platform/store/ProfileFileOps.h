#pragma once

#include <sys/types.h>

#include <cstddef>

// The system calls through which a profile save writes, flushes and replaces a file. Tests swap
// them (SetProfileFileOpsForTesting) to make a save fail part-way, e.g. with ENOSPC or EIO; each
// behaves like its POSIX namesake: -1 with errno set on failure.
struct ProfileFileOps {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
