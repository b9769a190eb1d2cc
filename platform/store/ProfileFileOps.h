#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>

// The system calls through which a profile save writes, flushes and replaces a file. Tests hand
// in their own (through ProfileIo) to make a save fail part-way, e.g. with ENOSPC or EIO; each
// behaves like its POSIX namesake: -1 with errno set on failure.
struct ProfileFileOps {
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};

inline constexpr ProfileFileOps kSystemFileOps{&::write, &::fsync, &std::rename};

// How long a write waits for other writers of the same file or directory, and a read for a
// save under way.
inline constexpr std::chrono::milliseconds kProfileLockWait{5000};

// How a user of the store reaches the disk: the calls a save makes and how long it waits. Whoever
// owns a session or runs a command holds one and hands it down; tests hand in their own.
struct ProfileIo {
    const ProfileFileOps* ops = &kSystemFileOps; // must outlive every use
    std::chrono::milliseconds lockWait = kProfileLockWait;
};

inline constexpr ProfileIo kSystemProfileIo{};
