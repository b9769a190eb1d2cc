#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The start-up guard holds Qt's messages back while QApplication starts; Qt may log from its
// own threads meanwhile, and nothing may be lost or crash when the guard ends under them.

namespace {

std::atomic<int> g_received{0};

void CountMessage(QtMsgType, const QMessageLogContext&, const QString&) {
    ++g_received;
}

// Installs the counting handler while it lives.
class CountingHandler {
public:
    CountingHandler() : m_previous(qInstallMessageHandler(CountMessage)) { g_received = 0; }
    ~CountingHandler() { qInstallMessageHandler(m_previous); }
    CountingHandler(const CountingHandler&) = delete;
    CountingHandler& operator=(const CountingHandler&) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace

TEST(StartGuard, HeldMessagesAndLaterOnesReachThePreviousHandler) {
    const CountingHandler counting;
    {
        const PlatformStartGuard guard;
        qWarning("held while Qt starts");
        EXPECT_EQ(g_received, 0);
    }
    EXPECT_EQ(g_received, 1);
    qWarning("after the start");
    EXPECT_EQ(g_received, 2);
}

TEST(StartGuard, AnotherThreadLoggingWhileTheGuardEndsLosesNothing) {
    const CountingHandler counting;
    std::atomic<bool> stop{false};
    std::atomic<int> sent{0};
    const auto log = [&] {
        while (!stop) {
            qWarning("from a Qt thread");
            ++sent;
            std::this_thread::yield();
        }
    };
    std::thread loggers[] = {std::thread(log), std::thread(log)};
    while (sent == 0)
        std::this_thread::yield();
    // A message that waits for the guard's lock while the guard ends must not find it gone.
    for (int round = 0; round < 2000; ++round) {
        const PlatformStartGuard guard;
        std::this_thread::yield();
    }
    stop = true;
    for (std::thread& logger : loggers)
        logger.join();
    EXPECT_EQ(g_received, sent);
}
