#pragma once

#include "platform/store/PrivateProfile.h"

#include <QString>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

// The store's writer helper (tests/store/profile_writer.cpp) in a process of its own.

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

// Another process that takes the writers' lock on a directory and keeps it until release().
class LockHolder {
public:
    explicit LockHolder(const QString& dir) {
        int in[2], out[2];
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        m_pid = startWriter({"hold", dir.toStdString()}, in[0], out[1]);
        ::close(in[0]);
        ::close(out[1]);
        m_release = in[1];
        std::string said;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            said += c;
        ::close(out[0]);
        EXPECT_EQ(said, "locked");
    }
    ~LockHolder() {
        release();
        EXPECT_EQ(exitStatus(m_pid), 0) << "the holder gave up the lock before it was released";
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    void release() {
        if (m_release >= 0)
            ::close(m_release);
        m_release = -1;
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
};

// Sets how long saves wait for another writer's lock while it lives.
class LockWaitScope {
public:
    explicit LockWaitScope(std::chrono::milliseconds wait) { SetProfileLockWaitForTesting(wait); }
    ~LockWaitScope() { SetProfileLockWaitForTesting(kProfileLockWait); }
    LockWaitScope(const LockWaitScope&) = delete;
    LockWaitScope& operator=(const LockWaitScope&) = delete;
};
