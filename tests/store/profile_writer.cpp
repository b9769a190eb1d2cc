// A separate writer process for the crash and concurrency tests.
//
//   profile_writer keys FILE SECTION PREFIX COUNT
//       waits for end of file on stdin (so several writers can start together), then writes
//       PREFIX0=0 ... PREFIX<COUNT-1>=<COUNT-1> without flushing to disk (what the writers'
//       lock must prevent happens in the page cache; the flushes would only slow the test
//       down to the disk's pace); exits 0 when every write succeeded.
//   profile_writer loop FILE SECTION KEY [CHUNK [FIRST]]
//       writes KEY=1, KEY=2, ... back to back until killed, printing each number after its
//       write returned. With CHUNK (0: none), every write call puts down CHUNK bytes at most, as
//       on a slow disk, and the values grow and shrink: 1, 2+, 3++, 4+++, 5, 6+ ... With FIRST,
//       the numbers start there.
//   profile_writer hold DIR
//       takes the writers' lock on DIR as a save does, prints "locked" and keeps it until end of
//       file on stdin, or for 20 s at most, so a store that waits for ever fails the test and
//       does not hang it.
//   profile_writer set FILE SECTION KEY VALUE
//       one write; prints "written", or "failed <errno>" and "contents written" when the new
//       text is in the file all the same; exits 0 only when written.
//   profile_writer crash N FILE SECTION KEY VALUE
//       one write that dies of SIGKILL at the save's file call number N (counted from 0 over
//       its writes, flushes and renames): a write puts half its bytes down first, any other
//       call dies before it is made. Exits 0 when the save finished before call N.
//   profile_writer get FILE SECTION KEY DEFAULT
//       prints what a read of the key gives.
//   profile_writer try FILE
//       prints whether this user may open FILE for reading and for writing: "read 0" or
//       "read <errno>", then the same for "write".
//   profile_writer as UID GID GROUP MODE ...
//       runs MODE as that user, with GROUP as its one supplementary group.

#include "platform/store/PrivateProfile.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace {

int noFlush(int) {
    return 0;
}

int writeKeys(const char* file, const char* section, const std::string& prefix, long count) {
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    static constexpr ProfileFileOps kUnflushed{&::write, &noFlush, &::rename};
    const ProfileIo io{.ops = &kUnflushed};
    for (long i = 0; i < count; ++i) {
        const std::string value = std::to_string(i);
        if (!WritePrivateProfileString(section, (prefix + value).c_str(), value.c_str(), file,
                                       io)) {
            std::fprintf(stderr, "write %ld failed\n", i);
            return 1;
        }
    }
    return 0;
}

std::size_t g_chunk = 0;

ssize_t chunkedWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, std::min(size, g_chunk));
}

int writeForever(const char* file, const char* section, const char* key, std::size_t chunk,
                 unsigned long first) {
    static constexpr ProfileFileOps kChunked{&chunkedWrite, &::fsync, &::rename};
    g_chunk = chunk;
    const ProfileIo io = chunk > 0 ? ProfileIo{.ops = &kChunked} : ProfileIo{};
    for (unsigned long i = first;; ++i) {
        const std::string value =
            std::to_string(i) + (chunk > 0 ? std::string(i % 4, '+') : std::string());
        if (!WritePrivateProfileString(section, key, value.c_str(), file, io))
            return 1;
        const std::string line = std::to_string(i) + "\n";
        if (::write(STDOUT_FILENO, line.data(), line.size()) != ssize_t(line.size()))
            return 1;
    }
}

int holdLock(const char* dir) {
    const int fd = ::open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
        return 1;
    if (::write(STDOUT_FILENO, "locked\n", 7) != 7)
        return 1;
    ::alarm(20);
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}

int writeOnce(const char* file, const char* section, const char* key, const char* value) {
    const ProfileEdit edit{key, value, {}};
    const ProfileWriteResult result = WritePrivateProfileKeys(section, {&edit, 1}, file);
    if (result.status == ProfileWriteResult::Status::Written) {
        std::printf("written\n");
        return 0;
    }
    std::printf("failed %d\n%s", result.error, result.contentsWritten ? "contents written\n" : "");
    return 1;
}

long g_callsLeft = 0;

void dieIfDue() {
    if (g_callsLeft-- == 0)
        ::raise(SIGKILL);
}

ssize_t dyingWrite(int fd, const void* data, std::size_t size) {
    if (g_callsLeft == 0) {
        if (size > 1 && ::write(fd, data, size / 2) < 0)
            return -1;
        ::raise(SIGKILL);
    }
    --g_callsLeft;
    return ::write(fd, data, size);
}

int dyingFsync(int fd) {
    dieIfDue();
    return ::fsync(fd);
}

int dyingRename(const char* from, const char* to) {
    dieIfDue();
    return ::rename(from, to);
}

int crashAt(long call, const char* file, const char* section, const char* key, const char* value) {
    static constexpr ProfileFileOps kDying{&dyingWrite, &dyingFsync, &dyingRename};
    g_callsLeft = call;
    return WritePrivateProfileString(section, key, value, file, {.ops = &kDying}) ? 0 : 1;
}

int tryOpen(const char* file) {
    for (const auto& [what, flags] : {std::pair{"read", O_RDONLY}, std::pair{"write", O_WRONLY}}) {
        const int fd = ::open(file, flags | O_CLOEXEC);
        std::printf("%s %d\n", what, fd < 0 ? errno : 0);
        if (fd >= 0)
            ::close(fd);
    }
    return 0;
}

int readKey(const char* file, const char* section, const char* key, const char* defaultValue) {
    char buffer[1024];
    GetPrivateProfileString(section, key, defaultValue, buffer, sizeof buffer, file);
    std::printf("%s\n", buffer);
    return 0;
}

// Gives up root for good: groups first, while we still may.
bool becomeUser(const char* uid, const char* gid, const char* group) {
    const gid_t groups[] = {static_cast<gid_t>(std::strtoul(group, nullptr, 10))};
    return ::setgroups(1, groups) == 0 &&
           ::setgid(static_cast<gid_t>(std::strtoul(gid, nullptr, 10))) == 0 &&
           ::setuid(static_cast<uid_t>(std::strtoul(uid, nullptr, 10))) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 5 && std::string_view(argv[1]) == "as") {
        if (!becomeUser(argv[2], argv[3], argv[4])) {
            std::perror("profile_writer: as");
            return 3;
        }
        argv[4] = argv[0];
        argv += 4;
        argc -= 4;
    }
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "keys" && argc == 6)
        return writeKeys(argv[2], argv[3], argv[4], std::strtol(argv[5], nullptr, 10));
    if (mode == "loop" && argc >= 5 && argc <= 7)
        return writeForever(argv[2], argv[3], argv[4],
                            argc >= 6 ? std::strtoul(argv[5], nullptr, 10) : 0,
                            argc == 7 ? std::strtoul(argv[6], nullptr, 10) : 1);
    if (mode == "try" && argc == 3)
        return tryOpen(argv[2]);
    if (mode == "hold" && argc == 3)
        return holdLock(argv[2]);
    if (mode == "set" && argc == 6)
        return writeOnce(argv[2], argv[3], argv[4], argv[5]);
    if (mode == "crash" && argc == 7)
        return crashAt(std::strtol(argv[2], nullptr, 10), argv[3], argv[4], argv[5], argv[6]);
    if (mode == "get" && argc == 6)
        return readKey(argv[2], argv[3], argv[4], argv[5]);
    std::fprintf(stderr, "usage: profile_writer keys FILE SECTION PREFIX COUNT\n"
                         "       profile_writer loop FILE SECTION KEY [CHUNK [FIRST]]\n"
                         "       profile_writer hold DIR\n"
                         "       profile_writer set FILE SECTION KEY VALUE\n"
                         "       profile_writer crash N FILE SECTION KEY VALUE\n"
                         "       profile_writer get FILE SECTION KEY DEFAULT\n"
                         "       profile_writer try FILE\n"
                         "       profile_writer as UID GID GROUP MODE ...\n");
    return 2;
}
