#include "platform/store/AtomicFile.h"

#include "platform/store/FileLock.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string_view>

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

// How often open() looks again when the file it locked was replaced meanwhile by another writer.
constexpr int kLockAttempts = 100;

// Rounded up: a writer that keeps the lock is waited for the whole time, not a moment less.
std::chrono::milliseconds left(std::chrono::steady_clock::time_point deadline) {
    return std::max(std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(
                                                      deadline - std::chrono::steady_clock::now()));
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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
    const auto deadline = std::chrono::steady_clock::now() + m_lockWait;
    return (!m_baseName.empty() || failWith(EISDIR)) && openDirectory(deadline) &&
           lockAndReadTarget(deadline);
}

bool AtomicFile::openDirectory(std::chrono::steady_clock::time_point deadline) {
    m_dir = DirectoryOf(m_path);
    m_dirFd = UniqueFd(::open(m_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    if (!m_dirFd.valid() || ::fstat(m_dirFd.get(), &st) != 0 || !writable(m_dir, st.st_mode))
        return false;
    const int locked = LockWithin(m_dirFd.get(), LOCK_EX, left(deadline));
    // A file system without flock on directories still gets an atomic replace, only no
    // protection against a concurrent writer's lost update.
    m_locked = locked == 0;
    return locked == 0 || LockingUnsupported(errno);
}

// The directory's lock keeps out writers through this name; the file's lock those through its
// other hard links, in other directories too. A writer that held it may have renamed a new file
// over the name meanwhile, and then that one is locked instead.
bool AtomicFile::lockAndReadTarget(std::chrono::steady_clock::time_point deadline) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        m_targetFd = UniqueFd(::openat(m_dirFd.get(), m_baseName.c_str(),
                                       O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        if (!m_targetFd.valid())
            return errno == ENOENT;
        if (::fstat(m_targetFd.get(), &m_target) != 0)
            return false;
        if (!S_ISREG(m_target.st_mode))
            return failWith(S_ISDIR(m_target.st_mode) ? EISDIR : EINVAL);
        if (!writable(m_path, m_target.st_mode))
            return false;
        if (LockWithin(m_targetFd.get(), LOCK_EX, left(deadline)) != 0 &&
            !LockingUnsupported(errno))
            return false;
        if (!stillNamed(m_target))
            continue;
        m_exists = true;
        m_attributes = FileAttributes::of(m_targetFd.get(), m_target);
        return ReadAllFromFd(m_targetFd.get(), static_cast<std::size_t>(m_target.st_size),
                             m_contents);
    }
    return failWith(EWOULDBLOCK);
}

// Whether the name still leads to file, and not to one another program put there since.
bool AtomicFile::stillNamed(const struct stat& file) const {
    struct stat now {};
    return ::fstatat(m_dirFd.get(), m_baseName.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameFile(now, file);
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
    const UniqueFd target(::open(m_path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!target.valid() || ::fstat(target.get(), &st) != 0)
        return false;
    // Replaced since we locked it, by a program that ignores our lock.
    if (!sameFile(st, m_target))
        return failWith(ESTALE);
    std::size_t size = 0;
    for (const std::string_view piece : pieces)
        size += piece.size();
    if (!putCopy(m_contents))
        return false;
    // The old bytes go back when the new ones could not be written whole, or went to a file
    // that another program has replaced meanwhile; only once they are on disk does the copy go.
    const auto undo = [&](int error) {
        if (overwrite(target.get(), {m_contents}, m_contents.size()) &&
            m_ops.fsync(target.get()) == 0)
            removeCopy();
        return failWith(error);
    };
    if (!overwrite(target.get(), pieces, size) || m_ops.fsync(target.get()) != 0)
        return undo(errno);
    if (!stillNamed(m_target))
        return undo(ESTALE);
    m_contentsWritten = true;
    return removeCopy();
}

// The copy gets its name only once it is whole and on disk, and the file is touched only once
// that name is on disk too. It is the writer's alone: it may hold what others may not read.
bool AtomicFile::putCopy(std::string_view bytes) {
    std::string tempName;
    UniqueFd temp = createTemp(tempName, 0600);
    if (!temp.valid())
        return false;
    const std::string copyName = SaveCopyFileName(m_baseName);
    // A default ACL of the directory gives a new file an access ACL of its own.
    const bool private_ = (::fremovexattr(temp.get(), "system.posix_acl_access") == 0 ||
                           errno == ENODATA || errno == ENOTSUP) &&
                          ::fchmod(temp.get(), 0600) == 0;
    if (!private_ || !writeAll(temp.get(), {bytes}) || m_ops.fsync(temp.get()) != 0 ||
        !temp.close() ||
        m_ops.rename((m_dir + "/" + tempName).c_str(), (m_dir + "/" + copyName).c_str()) != 0) {
        const int error = errno;
        ::unlinkat(m_dirFd.get(), tempName.c_str(), 0);
        return failWith(error);
    }
    m_copyName = copyName;
    if (m_ops.fsync(m_dirFd.get()) != 0) {
        const int error = errno;
        removeCopy();
        return failWith(error);
    }
    return true;
}

bool AtomicFile::removeCopy() const {
    return ::unlinkat(m_dirFd.get(), m_copyName.c_str(), 0) == 0 && m_ops.fsync(m_dirFd.get()) == 0;
}
