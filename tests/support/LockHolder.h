#pragma once

#include "platform/store/PrivateProfile.h"
#include "support/StoreSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

// Another process that takes the writers' lock on a directory and keeps it until release().
class LockHolder {
public:
    explicit LockHolder(const std::string& dir) {
        int in[2], out[2];
        EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        m_pid = startWriter({"hold", dir}, in[0], out[1]);
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
