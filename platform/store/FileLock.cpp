#include "platform/store/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

// A helper thread blocks on a duplicate of fd (the same open file, so its lock is ours); when we
// stop waiting, it lets the lock go as soon as it gets it.
int LockWithin(int fd, int operation, std::chrono::milliseconds limit) {
    if (::flock(fd, operation | LOCK_NB) == 0)
        return 0;
    if (errno != EWOULDBLOCK || limit.count() <= 0)
        return -1;
    const int waiterFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (waiterFd < 0)
        return -1;
    struct Wait {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool abandoned = false;
        int error = 0;
    };
    const auto wait = std::make_shared<Wait>();
    try {
        std::thread([wait, waiterFd, operation] {
            int result;
            do
                result = ::flock(waiterFd, operation);
            while (result != 0 && errno == EINTR);
            const int error = result == 0 ? 0 : errno;
            const std::lock_guard lock(wait->mutex);
            if (wait->abandoned && result == 0)
                ::flock(waiterFd, LOCK_UN);
            ::close(waiterFd);
            wait->error = error;
            wait->done = true;
            wait->finished.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        ::close(waiterFd);
        errno = EAGAIN;
        return -1;
    }
    std::unique_lock lock(wait->mutex);
    if (!wait->finished.wait_for(lock, limit, [&] { return wait->done; })) {
        wait->abandoned = true;
        errno = EWOULDBLOCK;
        return -1;
    }
    errno = wait->error;
    return wait->error == 0 ? 0 : -1;
}

bool LockingUnsupported(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == EBADF;
}
