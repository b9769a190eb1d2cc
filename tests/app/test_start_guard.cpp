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

// What Qt logs while it tries its platform plugins one after another (Qt 6.4's wording), and
// the line the user gets from it.
namespace {

using Held = PlatformStartGuard::HeldMessage;

Held Logged(QtMsgType type, const char* category, const char* text) {
    return {type, nullptr, 0, nullptr, category, QString::fromLatin1(text)};
}

const Held kXRefused = Logged(QtWarningMsg, "qt.qpa.xcb", "could not connect to display :5");
const Held kXGivenUp = Logged(QtInfoMsg, "qt.qpa.plugin",
                              "Could not load the Qt platform plugin \"xcb\" in \"\" even though "
                              "it was found.");
const Held kNoWaylandPlugin = Logged(QtWarningMsg, "qt.qpa.plugin",
                                     "Could not find the Qt platform plugin \"wayland\" in \"\"");
const QString kNoPluginStarted = QStringLiteral(
    "This application failed to start because no Qt platform plugin could be initialized. "
    "Reinstalling the application may fix this problem.\n\nAvailable platform plugins are: xcb.");

} // namespace

TEST(NoDisplayReason, NamesTheXDisplayOrItsAbsence) {
    EXPECT_EQ(NoDisplayReason({kXRefused, kXGivenUp}, kNoPluginStarted, ":5", ""),
              "cannot open display ':5'");
    EXPECT_EQ(NoDisplayReason({kXRefused, kXGivenUp}, kNoPluginStarted, "", ""),
              "cannot open display: DISPLAY is not set (use a desktop session or ssh -X)");
}

TEST(NoDisplayReason, NamesEveryPlatformTriedInTurn) {
    // WAYLAND_DISPLAY set and no Wayland plugin: Qt falls back to X, and both are named.
    EXPECT_EQ(NoDisplayReason({kNoWaylandPlugin, kXRefused, kXGivenUp}, kNoPluginStarted, "",
                              "wayland-0"),
              "cannot open display: Qt has no Wayland plugin (package qt6-wayland), and DISPLAY "
              "is not set (use a desktop session or ssh -X)");
    EXPECT_EQ(NoDisplayReason({kNoWaylandPlugin, kXRefused, kXGivenUp}, kNoPluginStarted, ":5",
                              "wayland-0"),
              "cannot open display: Qt has no Wayland plugin (package qt6-wayland), and X "
              "display ':5' cannot be opened");
    // The plugin is there but no compositor answers; libwayland's default name when unset.
    const Held noCompositor =
        Logged(QtWarningMsg, "default", "Failed to create wl_display (No such file or directory)");
    const Held waylandGivenUp = Logged(QtInfoMsg, "qt.qpa.plugin",
                                       "Could not load the Qt platform plugin \"wayland\" in \"\" "
                                       "even though it was found.");
    EXPECT_EQ(NoDisplayReason({noCompositor, waylandGivenUp}, kNoPluginStarted, "", ""),
              "cannot open display: Wayland display 'wayland-0' cannot be opened");
    EXPECT_EQ(NoDisplayReason({noCompositor, waylandGivenUp}, kNoPluginStarted, "", "wl-9"),
              "cannot open display: Wayland display 'wl-9' cannot be opened");
}

TEST(NoDisplayReason, APluginThatFailsForAnotherReasonIsNotBlamedOnTheDisplay) {
    // The X plugin lacks a library it needs: the line must not blame a DISPLAY that is fine.
    const Held missingLibrary = Logged(QtWarningMsg, "qt.qpa.plugin",
                                       "xcb-cursor0 or libxcb-cursor0 is needed to load the Qt "
                                       "xcb platform plugin.");
    EXPECT_EQ(NoDisplayReason({missingLibrary, kXGivenUp}, kNoPluginStarted, ":0", ""),
              "cannot open display: Qt's xcb plugin did not start: xcb-cursor0 or "
              "libxcb-cursor0 is needed to load the Qt xcb platform plugin.");
    // A warning about something else, before another plugin's attempt, is not its reason.
    const Held unrelated =
        Logged(QtWarningMsg, "default", "QStandardPaths: XDG_RUNTIME_DIR not set");
    EXPECT_EQ(NoDisplayReason({unrelated, kXRefused, kXGivenUp}, kNoPluginStarted, ":5", ""),
              "cannot open display ':5'");
}

TEST(NoDisplayReason, WordingItDoesNotKnowFallsBackToWhatQtSaid) {
    // A plugin that ends the start itself (eglfs without a screen) says why in its fatal text.
    const Held unrelated =
        Logged(QtWarningMsg, "default", "QStandardPaths: XDG_RUNTIME_DIR not set");
    EXPECT_EQ(NoDisplayReason({unrelated}, QStringLiteral("Could not find DRM device!"), "", ""),
              "cannot open display: Could not find DRM device!");
    // Qt's own fatal text says nothing useful: the last warning before it does.
    EXPECT_EQ(NoDisplayReason({unrelated, Logged(QtWarningMsg, "qt.qpa.foo", "no foo here\nmore")},
                              kNoPluginStarted, ":0", ""),
              "cannot open display: no foo here");
    EXPECT_EQ(NoDisplayReason({}, kNoPluginStarted, ":0", ""),
              "cannot open display: no Qt platform plugin could start");
}
