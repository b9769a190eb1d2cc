#include "app/DisplayCheck.h"

#include "res/Strings.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>

namespace {

std::string_view Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Qt picks X when QT_QPA_PLATFORM names it, or when it is unset outside a Wayland session.
bool QtWillUseX() {
    const std::string_view platform = Env("QT_QPA_PLATFORM");
    if (platform.empty())
        return Env("XDG_SESSION_TYPE") != "wayland";
    return platform == "xcb" || platform.starts_with("xcb:");
}

// The message handler is a plain function, so it finds the guard's list through a global.
// Qt may log from its own threads while it starts.
QList<PlatformStartGuard::HeldMessage>* g_held = nullptr;
QtMessageHandler g_previous = nullptr;
std::mutex g_heldMutex;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(g_heldMutex);
    if (!g_held) {
        // The guard ended while this message waited for the lock: it goes where later ones go.
        const QtMessageHandler previous = g_previous;
        lock.unlock();
        previous(type, context, text);
        return;
    }
    if (type != QtFatalMsg) {
        // The context's strings are literals of the caller, so keeping the pointers is safe.
        g_held->append(
            {type, context.file, context.line, context.function, context.category, text});
        return;
    }
    // Qt's last warning says what failed ("could not connect to display ..."); its fatal text
    // only says that no plugin could be started.
    const QString reason = g_held->isEmpty() ? text : g_held->last().text;
    std::fprintf(stderr, "%s: cannot open display: %s\n", kExecutableName,
                 qPrintable(reason.section(QLatin1Char('\n'), 0, 0)));
    std::fflush(stderr);
    std::_Exit(kExitNoDisplay);
}

} // namespace

std::string CheckDisplay() {
    if (!QtWillUseX())
        return {};
    const std::string_view display = Env("DISPLAY");
    if (display.empty())
        return "cannot open display: DISPLAY is not set; start it in a desktop session or "
               "over ssh -X";
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return "cannot open display '" + std::string(display) + "'";
    return {};
}

PlatformStartGuard::PlatformStartGuard() {
    const std::lock_guard lock(g_heldMutex);
    g_held = &m_held;
    g_previous = qInstallMessageHandler(HoldMessage);
}

PlatformStartGuard::~PlatformStartGuard() {
    {
        const std::lock_guard lock(g_heldMutex);
        qInstallMessageHandler(g_previous);
        g_held = nullptr;
    }
    for (const HeldMessage& m : m_held)
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category),
                          m.text);
}
