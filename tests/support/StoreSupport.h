#pragma once

#include "platform/store/PrivateProfile.h"
#include "support/WorkDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Helpers for the private-profile tests, without Qt; every file lives in a WorkDir.
inline constexpr const char* kIni = "test.ini";

inline std::string profileString(const char* section, const char* key,
                                 const char* defaultValue = "<default>", DWORD size = 1024,
                                 const char* file = kIni) {
    std::vector<char> buffer(size + 1, '#');
    const DWORD length =
        GetPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    EXPECT_LT(length, size);
    EXPECT_EQ(buffer[length], '\0');
    return std::string(buffer.data(), length);
}

inline void putBytes(const WorkDir& dir, const std::string& bytes, const std::string& name = kIni) {
    dir.write(name, bytes);
}

inline std::string bytesOf(const WorkDir& dir, const std::string& name = kIni) {
    return dir.read(name);
}

// UTF-16LE with the FF FE mark, as Windows programs save "Unicode" text. The units are taken as
// they are, lone surrogates included.
inline std::string utf16LeFile(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

inline std::set<std::string> entriesOf(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

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

// Saves through io() fail as faults says while it lives: through an io of its own, or through
// target, the io a sheet or session was given before.
class FaultScope {
public:
    explicit FaultScope(const Faults& faults) : FaultScope(m_own, faults) {}
    FaultScope(ProfileIo& target, const Faults& faults) : m_target(target) {
        fault_detail::faults = faults;
        fault_detail::writes = fault_detail::fsyncs = 0;
        m_target.ops = &fault_detail::kOps;
    }
    ~FaultScope() { m_target.ops = &kSystemFileOps; }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

    const ProfileIo& io() const { return m_target; }

private:
    ProfileIo m_own;
    ProfileIo& m_target;
};

// The writer process of tests/store/profile_writer.cpp.

// Starts the writer with args, stdin and stdout as given (-1: /dev/null). Only
// async-signal-safe calls happen between fork and exec.
inline pid_t startWriter(const std::vector<std::string>& args, int in, int out) {
    std::vector<char*> argv;
    std::string program = GOMCFG_PROFILE_WRITER;
    argv.push_back(program.data());
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::dup2(in >= 0 ? in : devNull, STDIN_FILENO) < 0 ||
            ::dup2(out >= 0 ? out : devNull, STDOUT_FILENO) < 0)
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(devNull);
    return pid;
}

inline int exitStatus(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs the writer to its end; its exit status and what it printed.
inline std::pair<int, std::string> runWriter(const std::vector<std::string>& args) {
    int out[2];
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    const pid_t pid = startWriter(args, -1, out[1]);
    ::close(out[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, std::size_t(n));
    ::close(out[0]);
    return {exitStatus(pid), said};
}

// The user the tests that give up root run as: nobody, with kGames as its supplementary group.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNogroup = 65534;
inline constexpr gid_t kGames = 60;

// The writer's arguments for running args as nobody.
inline std::vector<std::string> asNobody(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"as", std::to_string(kNobody), std::to_string(kNogroup), std::to_string(kGames)});
    return args;
}
