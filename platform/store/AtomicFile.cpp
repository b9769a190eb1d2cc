#include "platform/store/AtomicFile.h"

#include "platform/store/InPlaceBackup.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

namespace {

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

// A settings file that is a symbolic link stays one: the file it points at is replaced.
bool AtomicFile::open() {
    if (!ResolveLinks(m_path))
        return false;
    m_baseName = BaseNameOf(m_path);
    return (!m_baseName.empty() || failWith(EISDIR)) && openDirectory() &&
           recoverInterruptedSave() && readTarget();
}

bool AtomicFile::openDirectory() {
    m_dir = DirectoryOf(m_path);
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

// An in-place save that did not finish left its copy of the old bytes. Unless the file holds
// the old or the new bytes in whole, the old ones go back; then the copy goes.
bool AtomicFile::recoverInterruptedSave() {
    const auto backup = InPlaceBackup::load(m_dirFd.get(), BackupFileName(m_baseName));
    if (!backup) {
        // Something of somebody else's has the copy's name: only an in-place save needs it.
        m_backupNameTaken = errno == ENOENT ? 0 : errno;
        return true;
    }
    const UniqueFd target(::open(m_path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    // Whether the file needs the copy can't be told otherwise, so both stay.
    if (target.valid() ? ::fstat(target.get(), &st) != 0 : errno != ENOENT)
        return false;
    if (target.valid() && backup->isFor(st)) {
        std::string current;
        if (!ReadAllFromFd(target.get(), std::size_t(st.st_size), current))
            return false;
        const std::string_view old = backup->oldBytes();
        if (!backup->isWhole(current) &&
            !(lockTarget(target.get()) && overwrite(target.get(), {old}, old.size())))
            return false;
        if (m_ops.fsync(target.get()) != 0)
            return false;
        ::flock(target.get(), LOCK_UN);
    }
    removeBackup(); // should it come back after a power cut, the file is whole by then
    return true;
}

// Under the lock no writer of ours is between creating a temporary file and renaming or
// removing it, so every file with one of our temporary names was left by a killed writer.
// Without the lock one may be in use, and it stays.
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
    while (const dirent* entry = ::readdir(dir.get()))
        if (IsTempFileName(entry->d_name, m_baseName))
            ::unlinkat(m_dirFd.get(), entry->d_name, 0);
}

bool AtomicFile::readTarget() {
    const UniqueFd fd(::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return errno == ENOENT;
    if (::fstat(fd.get(), &m_target) != 0)
        return false;
    if (!S_ISREG(m_target.st_mode))
        return failWith(S_ISDIR(m_target.st_mode) ? EISDIR : EINVAL);
    if (!writable(m_path, m_target.st_mode))
        return false;
    m_exists = true;
    m_attributes = FileAttributes::of(fd.get(), m_target);
    return ReadAllFromFd(fd.get(), static_cast<std::size_t>(m_target.st_size), m_contents);
}

UniqueFd AtomicFile::createTemp(std::string& name, mode_t mode) const {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TempFileName(m_baseName);
        UniqueFd fd(
            ::openat(m_dirFd.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd.valid() || errno != EEXIST)
            return fd;
    }
    return UniqueFd();
}

bool AtomicFile::writeAll(int fd, std::initializer_list<std::string_view> pieces) const {
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
    return true;
}

bool AtomicFile::overwrite(int fd, std::initializer_list<std::string_view> pieces,
                           std::size_t size) const {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, pieces) &&
           ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

// Readers of ours take a shared lock on the file; while we hold this one they read the copy.
bool AtomicFile::lockTarget(int fd) const {
    return lockWithin(fd, m_lockWait) == 0 || errno == ENOLCK || errno == EOPNOTSUPP ||
           errno == EINVAL;
}

bool AtomicFile::replace(std::initializer_list<std::string_view> pieces) {
    m_contentsWritten = false;
    removeStaleTemps();
    if (m_exists && (m_target.st_nlink > 1 || !m_attributes.copyable()))
        return replaceInPlace(pieces);
    std::string tempName;
    UniqueFd temp = createTemp(tempName, m_exists ? 0600 : 0666);
    if (!temp.valid())
        return false;
    if (m_exists && !m_attributes.copyTo(temp.get())) {
        temp.close();
        ::unlinkat(m_dirFd.get(), tempName.c_str(), 0);
        return replaceInPlace(pieces);
    }
    const bool filled = writeAll(temp.get(), pieces) && m_ops.fsync(temp.get()) == 0;
    if (!filled || !temp.close() ||
        m_ops.rename((m_dir + "/" + tempName).c_str(), m_path.c_str()) != 0) {
        const int error = errno; // the caller reports why, not the cleanup's errno
        ::unlinkat(m_dirFd.get(), tempName.c_str(), 0);
        return failWith(error);
    }
    m_contentsWritten = true;
    return m_ops.fsync(m_dirFd.get()) == 0;
}

bool AtomicFile::replaceInPlace(std::initializer_list<std::string_view> pieces) {
    if (m_backupNameTaken != 0)
        return failWith(m_backupNameTaken);
    const UniqueFd target(::open(m_path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!target.valid() || ::fstat(target.get(), &st) != 0)
        return false;
    if (st.st_dev != m_target.st_dev || st.st_ino != m_target.st_ino)
        return failWith(EAGAIN); // replaced by a program that ignores our lock
    Checksum sum;
    for (const std::string_view piece : pieces)
        sum.add(piece);
    if (!putBackup(InPlaceBackup::encode(m_target, m_contents, sum.size(), sum.value())))
        return false;
    if (!lockTarget(target.get())) {
        const int error = errno;
        removeBackup();
        return failWith(error);
    }
    if (!overwrite(target.get(), pieces, sum.size()) || m_ops.fsync(target.get()) != 0) {
        const int error = errno;
        // The old bytes go back; the copy stays until they are on disk, to be used by the next
        // reader and writer otherwise.
        if (overwrite(target.get(), {m_contents}, m_contents.size()) &&
            m_ops.fsync(target.get()) == 0) {
            ::flock(target.get(), LOCK_UN);
            removeBackup();
        }
        return failWith(error);
    }
    // Readers that find the file unlocked read it; the copy must outlast the lock.
    ::flock(target.get(), LOCK_UN);
    m_contentsWritten = true;
    return removeBackup();
}

// The copy is renamed into place only once it is whole and on disk, and the file is touched
// only once the rename is on disk too.
bool AtomicFile::putBackup(std::string_view bytes) const {
    std::string tempName;
    UniqueFd temp = createTemp(tempName, 0600);
    if (!temp.valid())
        return false;
    // Readable by whoever may read the file, as far as we can: readers use it while it lasts.
    if (::fchown(temp.get(), -1, m_target.st_gid) == 0)
        ::fchmod(temp.get(), m_target.st_mode & 0666);
    if (!writeAll(temp.get(), {bytes}) || m_ops.fsync(temp.get()) != 0 || !temp.close() ||
        m_ops.rename((m_dir + "/" + tempName).c_str(),
                     (m_dir + "/" + BackupFileName(m_baseName)).c_str()) != 0) {
        const int error = errno;
        ::unlinkat(m_dirFd.get(), tempName.c_str(), 0);
        return failWith(error);
    }
    if (m_ops.fsync(m_dirFd.get()) != 0) {
        const int error = errno;
        ::unlinkat(m_dirFd.get(), BackupFileName(m_baseName).c_str(), 0);
        return failWith(error);
    }
    return true;
}

bool AtomicFile::removeBackup() const {
    return ::unlinkat(m_dirFd.get(), BackupFileName(m_baseName).c_str(), 0) == 0 &&
           m_ops.fsync(m_dirFd.get()) == 0;
}
