#include "platform/store/AtomicFile.h"

#include "platform/store/ReadFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

namespace {

constexpr int kMaxLinkHops = 40;
constexpr std::size_t kMaxTempBaseLength = 100;

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Temporary files of a file are named ".<name>.<pid>.<counter>.tmp"; this is ".<name>.".
std::string tempStem(const std::string& baseName) {
    return "." + baseName.substr(0, kMaxTempBaseLength) + ".";
}

// The writer's pid when name is one of our temporary names for baseName.
std::optional<pid_t> tempOwner(std::string_view name, const std::string& baseName) {
    const std::string stem = tempStem(baseName);
    if (name.size() < stem.size() + 4 || !name.starts_with(stem) || !name.ends_with(".tmp"))
        return std::nullopt;
    name = name.substr(stem.size(), name.size() - stem.size() - 4);
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '.')
        return std::nullopt;
    const std::string_view counter = name.substr(static_cast<std::size_t>(end - name.data()) + 1);
    if (counter.empty() || counter.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return pid;
}

// Windows refuses to write a read-only file even for an administrator, so the missing write bits
// count here too, not only what access() says (which is always yes for root).
bool writable(const std::string& path, mode_t mode) {
    if ((mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Sets errno and gives false, for failures that no system call reported.
bool failWith(int error) {
    errno = error;
    return false;
}

// flock(LOCK_EX) that gives up with EWOULDBLOCK after limit: a stuck writer (a hung process, a
// slow network file system) must not freeze the user interface, which saves on its own thread.
// The wait blocks in the kernel rather than polling, so a busy writer that lets go only for a
// moment between saves cannot keep us out. A helper thread blocks on a duplicate of fd (the same
// open file, so its lock is ours); when we stop waiting, it lets the lock go as soon as it gets it.
int lockWithin(int fd, std::chrono::milliseconds limit) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return 0;
    if (errno != EWOULDBLOCK)
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
        std::thread([wait, waiterFd] {
            int result;
            do
                result = ::flock(waiterFd, LOCK_EX);
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

} // namespace

AtomicFile::AtomicFile(std::string path, const ProfileFileOps& ops,
                       std::chrono::milliseconds lockWait)
    : m_ops(ops), m_lockWait(lockWait), m_path(std::move(path)) {}

bool AtomicFile::open() {
    return resolveLinks() && (!baseNameOf(m_path).empty() || failWith(EISDIR)) && openDirectory() &&
           readTarget();
}

// A settings file that is a symbolic link stays one: the file it points at is replaced.
bool AtomicFile::resolveLinks() {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(m_path.c_str(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        std::string target(256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(m_path.c_str(), target.data(), target.size());
            if (n < 0)
                return false;
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty())
            return failWith(ENOENT);
        m_path = target.front() == '/' ? target : directoryOf(m_path) + "/" + target;
    }
    return failWith(ELOOP);
}

bool AtomicFile::openDirectory() {
    m_dir = directoryOf(m_path);
    m_dirFd = UniqueFd(::open(m_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (!m_dirFd.valid() || ::fstat(m_dirFd.get(), &st) != 0 || !writable(m_dir, st.st_mode))
        return false;
    const int locked = lockWithin(m_dirFd.get(), m_lockWait);
    // A file system without flock on directories still gets an atomic replace, only no
    // protection against a concurrent writer's lost update.
    m_locked = locked == 0;
    return locked == 0 || errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL;
}

// While we hold the lock no writer of ours is between creating a temporary file and renaming
// it, so one whose process is gone was left by a killed writer. Without the lock, or when the
// pid is alive (maybe reused), it stays: leaving garbage is better than deleting a live file.
void AtomicFile::removeStaleTemps() const {
    if (!m_locked)
        return;
    const int fd = ::fcntl(m_dirFd.get(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(fd), &::closedir);
    if (!dir) {
        ::close(fd);
        return;
    }
    const std::string baseName = baseNameOf(m_path);
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto owner = tempOwner(entry->d_name, baseName);
        if (owner && ::kill(*owner, 0) != 0 && errno == ESRCH)
            ::unlinkat(m_dirFd.get(), entry->d_name, 0);
    }
}

bool AtomicFile::readTarget() {
    const UniqueFd fd(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode))
        return failWith(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (!writable(m_path, st.st_mode))
        return false;
    m_exists = true;
    m_mode = st.st_mode & 07777;
    m_uid = st.st_uid;
    m_gid = st.st_gid;
    return ReadAllFromFd(fd.get(), static_cast<std::size_t>(st.st_size), m_contents);
}

UniqueFd AtomicFile::createTemp(std::string& name) const {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = tempStem(baseNameOf(m_path)) + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + "." + std::to_string(counter++) + ".tmp";
        UniqueFd fd(::openat(m_dirFd.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                             m_exists ? 0600 : 0666));
        if (fd.valid() || errno != EEXIST)
            return fd;
    }
    return UniqueFd();
}

bool AtomicFile::fillTemp(int fd, std::initializer_list<std::string_view> pieces) const {
    if (m_exists) {
        // Without the right to give the file away (EPERM) it stays ours, as any save would.
        if (::fchown(fd, m_uid, m_gid) != 0 && errno != EPERM)
            return false;
        if (::fchmod(fd, m_mode) != 0)
            return false;
    }
    for (std::string_view bytes : pieces) {
        while (!bytes.empty()) {
            const ssize_t n = m_ops.write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            if (n == 0)
                return failWith(EIO);
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    return m_ops.fsync(fd) == 0;
}

bool AtomicFile::replace(std::initializer_list<std::string_view> pieces) {
    removeStaleTemps();
    std::string tempName;
    UniqueFd temp = createTemp(tempName);
    if (!temp.valid())
        return false;
    const bool filled = fillTemp(temp.get(), pieces);
    if (!filled || !temp.close() ||
        m_ops.rename((m_dir + "/" + tempName).c_str(), m_path.c_str()) != 0) {
        const int error = errno; // the caller reports why, not the cleanup's errno
        ::unlinkat(m_dirFd.get(), tempName.c_str(), 0);
        return failWith(error);
    }
    m_replaced = true;
    return m_ops.fsync(m_dirFd.get()) == 0;
}
