#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

// This process's children as /proc shows them, without Qt, for every layer's tests.

struct ChildInfo {
    pid_t pid;
    char state;
};

// The processes whose parent is this process.
inline std::vector<ChildInfo> childrenOfThisProcess() {
    std::vector<ChildInfo> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        const std::string line{std::istreambuf_iterator<char>(stat), {}};
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
