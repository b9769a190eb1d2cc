// A separate writer process for the crash and concurrency tests.
//
//   profile_writer keys FILE SECTION PREFIX COUNT
//       waits for end of file on stdin (so several writers can start together), then writes
//       PREFIX0=0 ... PREFIX<COUNT-1>=<COUNT-1> without flushing to disk (what the writers'
//       lock must prevent happens in the page cache; the flushes would only slow the test
//       down to the disk's pace); exits 0 when every write succeeded.
//   profile_writer loop FILE SECTION KEY
//       writes KEY=1, KEY=2, ... back to back until killed, printing each number after its
//       write returned.
//   profile_writer hold DIR
//       takes the writers' lock on DIR as a save does, prints "locked" and keeps it until end of
//       file on stdin, or for 20 s at most, so a store that waits for ever fails the test and
//       does not hang it.

#include "platform/store/PrivateProfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int noFlush(int) {
    return 0;
}

int writeKeys(const char* file, const char* section, const std::string& prefix, long count) {
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    static constexpr ProfileFileOps kUnflushed{&::write, &noFlush, &::rename};
    SetProfileFileOpsForTesting(&kUnflushed);
    for (long i = 0; i < count; ++i) {
        const std::string value = std::to_string(i);
        if (!WritePrivateProfileString(section, (prefix + value).c_str(), value.c_str(), file)) {
            std::fprintf(stderr, "write %ld failed\n", i);
            return 1;
        }
    }
    return 0;
}

int writeForever(const char* file, const char* section, const char* key) {
    for (unsigned long i = 1;; ++i) {
        const std::string value = std::to_string(i);
        if (!WritePrivateProfileString(section, key, value.c_str(), file))
            return 1;
        const std::string line = value + "\n";
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

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "keys" && argc == 6)
        return writeKeys(argv[2], argv[3], argv[4], std::strtol(argv[5], nullptr, 10));
    if (mode == "loop" && argc == 5)
        return writeForever(argv[2], argv[3], argv[4]);
    if (mode == "hold" && argc == 3)
        return holdLock(argv[2]);
    std::fprintf(stderr, "usage: profile_writer keys FILE SECTION PREFIX COUNT\n"
                         "       profile_writer loop FILE SECTION KEY\n"
                         "       profile_writer hold DIR\n");
    return 2;
}
