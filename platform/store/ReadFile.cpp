#include "platform/store/ReadFile.h"

#include "platform/store/InPlaceBackup.h"
#include "platform/store/SaveFileNames.h"
#include "platform/store/UniqueFd.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace {

// How often a reader tries for the file while somebody else locks it, a millisecond apart: an
// in-place save of ours holds it only with its copy in place, so this only waits out the moment
// between two saves, or a program of somebody else's that locks the file.
constexpr int kLockAttempts = 20;

} // namespace

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

bool ReadRegularFile(const std::string& path, std::string& out, bool* interrupted) {
    out.clear();
    if (interrupted)
        *interrupted = false;
    // The copy is beside the file a link leads to; most files are no link, and this finds out
    // without a call of its own.
    std::string real = path;
    UniqueFd fd(::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid() && errno == ELOOP) {
        if (!ResolveLinks(real))
            return false;
        fd = UniqueFd(::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    }
    if (!fd.valid())
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    const std::string backupPath = DirectoryOf(real) + "/" + BackupFileName(BaseNameOf(real));
    for (int attempt = 0;; ++attempt) {
        // The shared lock keeps an in-place save out while we read (it ends with fd). Without
        // flock, or when a program not ours holds the file, it is read as it is.
        if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK ||
            attempt == kLockAttempts) {
            if (!ReadAllFromFd(fd.get(), static_cast<std::size_t>(st.st_size), out))
                return false;
            const auto backup = InPlaceBackup::load(AT_FDCWD, backupPath);
            if (backup && backup->isFor(st)) {
                if (!backup->isWhole(out))
                    out = backup->oldBytes(); // left half-written by a save that was killed
                if (interrupted)
                    *interrupted = true;
            }
            return true;
        }
        // An in-place save holds the file; its copy of the old bytes is whole meanwhile.
        if (const auto backup = InPlaceBackup::load(AT_FDCWD, backupPath);
            backup && backup->isFor(st)) {
            out = backup->oldBytes();
            return true;
        }
        const timespec pause{0, 1'000'000};
        ::nanosleep(&pause, nullptr);
    }
}
