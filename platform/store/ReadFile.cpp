#include "platform/store/ReadFile.h"

#include "platform/store/FileLock.h"
#include "platform/store/UniqueFd.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool ReadAllFromFd(int fd, std::size_t sizeHint, std::string& out) {
    // One spare byte lets the final read see end of file without growing the buffer.
    out.resize(sizeHint > 0 ? sizeHint + 1 : 4096);
    std::size_t filled = 0;
    for (;;) {
        if (filled == out.size())
            out.resize(out.size() * 2);
        const ssize_t n = ::read(fd, out.data() + filled, out.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.clear();
            return false;
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    out.resize(filled);
    return true;
}

bool ReadRegularFile(const std::string& path, std::string& out,
                     std::chrono::milliseconds lockWait) {
    out.clear();
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // The lock ends with fd. A file somebody else keeps locked past the wait is read as it is.
    LockWithin(fd.get(), LOCK_SH, lockWait);
    return ReadAllFromFd(fd.get(), static_cast<std::size_t>(st.st_size), out);
}
