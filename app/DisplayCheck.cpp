#include "app/DisplayCheck.h"

#include "res/Strings.h"

#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::string_view Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string FirstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0).trimmed().toStdString();
}

// Why one platform plugin did not start, in the user's terms.
std::string PluginFailure(const QString& plugin, bool found, bool xConnectFailed,
                          const std::string& lastWarning, std::string_view display,
                          std::string_view waylandDisplay) {
    if (plugin == QLatin1String("xcb") && xConnectFailed)
        return display.empty() ? "DISPLAY is not set (use a desktop session or ssh -X)"
                               : "X display '" + std::string(display) + "' cannot be opened";
    if (plugin == QLatin1String("wayland")) {
        if (!found)
            return "Qt has no Wayland plugin (package qt6-wayland)";
        // libwayland's default when WAYLAND_DISPLAY is unset.
        const std::string_view name = waylandDisplay.empty() ? "wayland-0" : waylandDisplay;
        return "Wayland display '" + std::string(name) + "' cannot be opened";
    }
    const std::string name = plugin.toStdString();
    if (!found)
        return "Qt has no " + name + " plugin";
    return "Qt's " + name + " plugin did not start" +
           (lastWarning.empty() ? "" : ": " + lastWarning);
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
    std::fprintf(stderr, "%s: %s\n%s: %s\n", kExecutableName,
                 NoDisplayReason(*g_held, text, Env("DISPLAY"), Env("WAYLAND_DISPLAY")).c_str(),
                 kExecutableName, NoDisplayAlternatives().c_str());
    std::fflush(stderr);
    std::_Exit(kExitNoDisplay);
}

} // namespace

std::string NoDisplayReason(const QList<PlatformStartGuard::HeldMessage>& held,
                            const QString& fatalText, std::string_view display,
                            std::string_view waylandDisplay) {
    // Qt reports each plugin it gave up on, after the warnings that say why.
    static const QRegularExpression attempt(
        QStringLiteral("^Could not (find|load) the Qt platform plugin \"([^\"]+)\""));
    std::vector<std::string> failures;
    std::string lastWarning;
    bool xConnectFailed = false;
    bool xDisplayRefused = false; // the X server named in DISPLAY did not answer
    for (const PlatformStartGuard::HeldMessage& m : held) {
        const QRegularExpressionMatch match = attempt.match(m.text);
        if (!match.hasMatch()) {
            if (m.category && std::strcmp(m.category, "qt.qpa.xcb") == 0 &&
                m.text.startsWith(QLatin1String("could not connect to display")))
                xConnectFailed = true;
            else if (m.type == QtWarningMsg || m.type == QtCriticalMsg)
                lastWarning = FirstLine(m.text);
            continue;
        }
        const QString plugin = match.captured(2);
        xDisplayRefused = plugin == QLatin1String("xcb") && xConnectFailed && !display.empty();
        failures.push_back(PluginFailure(plugin, match.captured(1) == QLatin1String("load"),
                                         xConnectFailed, lastWarning, display, waylandDisplay));
        lastWarning.clear();
        xConnectFailed = false;
    }
    if (failures.empty()) {
        // A plugin that gives up by itself says why in its fatal message; Qt's own one says
        // only that none could start, so then the last warning before it is the better reason.
        const std::string fatal = FirstLine(fatalText);
        std::string why = lastWarning.empty() ? "no Qt platform plugin could start" : lastWarning;
        if (!fatal.empty() && !fatalText.contains(QLatin1String("no Qt platform plugin")))
            why = fatal;
        return "cannot open display: " + why;
    }
    if (failures.size() == 1 && xDisplayRefused)
        return "cannot open display '" + std::string(display) + "'";
    std::string reason = "cannot open display: ";
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (i > 0)
            reason += i + 1 == failures.size() ? ", and " : ", ";
        reason += failures[i];
    }
    return reason;
}

std::string NoDisplayAlternatives() {
    return "without a display: gomcfgctl (commands for scripts) or gomcfgtui (the sheet in a "
           "terminal)";
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
