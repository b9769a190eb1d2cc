#pragma once

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// This process's children as /proc shows them, without Qt, for every layer's tests.

struct ChildInfo {
    pid_t pid;
    char state;
};

// A /proc file's text, or "" once its process is gone: a read then fails with ESRCH, which
// the standard streams would throw.
inline std::string procFile(const std::filesystem::path& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, std::size_t(got));
    ::close(fd);
    return got < 0 ? std::string() : text;
}

// The processes whose parent is this process.
inline std::vector<ChildInfo> childrenOfThisProcess() {
    std::vector<ChildInfo> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string line = procFile(entry.path() / "stat");
        // "pid (comm) state ppid ...": comm may hold spaces and parentheses.
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close + 4 >= line.size())
            continue;
        const char state = line[close + 2];
        if (std::stol(line.substr(close + 4)) == ::getpid())
            children.push_back({static_cast<pid_t>(std::stol(name)), state});
    }
    return children;
}

inline bool hasZombieChildren() {
    for (const ChildInfo& child : childrenOfThisProcess()) {
        if (child.state == 'Z')
            return true;
    }
    return false;
}

// Every child started has ended and been reaped.
inline bool allChildrenReaped() {
    return childrenOfThisProcess().empty();
}

// Polls condition until it holds or timeout passes; says whether it held.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
