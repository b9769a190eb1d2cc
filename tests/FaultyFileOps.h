#pragma once

#include "platform/PrivateProfile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

// Makes profile saves fail part-way through the store's file-call seam.

// Which calls of a save fail, counted from 0 within the save.
struct Faults {
    int failWrite = -1;
    int interruptWrite = -1;
    int failFsync = -1;
    bool failRename = false;
    std::size_t chunk = SIZE_MAX; // largest write that goes through at once
    // A disk that fills up, in every save: writes stop at this offset of the file and fail there.
    off_t spaceLeft = -1;
    int error = EIO;
};

namespace fault_detail {
inline Faults faults;
inline int writes = 0;
inline int fsyncs = 0;

inline ssize_t write(int fd, const void* data, std::size_t size) {
    const int call = writes++;
    if (call == faults.failWrite || call == faults.interruptWrite) {
        errno = call == faults.failWrite ? faults.error : EINTR;
        return -1;
    }
    size = std::min(size, faults.chunk);
    if (faults.spaceLeft >= 0) {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        if (at >= faults.spaceLeft) {
            errno = faults.error;
            return -1;
        }
        size = std::min(size, std::size_t(faults.spaceLeft - at));
    }
    return ::write(fd, data, size);
}

inline int fsync(int fd) {
    if (fsyncs++ == faults.failFsync) {
        errno = faults.error;
        return -1;
    }
    return ::fsync(fd);
}

inline int rename(const char* from, const char* to) {
    if (faults.failRename) {
        errno = faults.error;
        return -1;
    }
    return std::rename(from, to);
}

inline constexpr ProfileFileOps kOps{&write, &fsync, &rename};
} // namespace fault_detail

// Saves while it lives fail as faults says.
class FaultScope {
public:
    explicit FaultScope(const Faults& faults) {
        fault_detail::faults = faults;
        fault_detail::writes = fault_detail::fsyncs = 0;
        SetProfileFileOpsForTesting(&fault_detail::kOps);
    }
    ~FaultScope() { SetProfileFileOpsForTesting(nullptr); }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;
};
