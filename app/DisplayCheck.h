#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <string>
#include <string_view>

// Qt aborts when no platform plugin can open a display. The guard turns that into two short
// lines on stderr and an exit status of 1. The display is opened once, by Qt: over ssh -X every
// connection is a network round trip, so nothing probes it beforehand.

// While it lives, a fatal message (Qt's "no platform plugin could be initialized") prints the
// lines and exits, and other messages are held back and passed on when it ends, so a
// successful start stays as quiet as before.
class PlatformStartGuard {
public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;

    struct HeldMessage {
        QtMsgType type;
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };

private:
    QList<HeldMessage> m_held;
};

// What could not be opened, from the messages Qt logged while it tried its platform plugins in
// turn, its fatal message and the values of DISPLAY and WAYLAND_DISPLAY: "cannot open display
// ':3'", "cannot open display: DISPLAY is not set ...". One line, without the program's name.
std::string NoDisplayReason(const QList<PlatformStartGuard::HeldMessage>& held,
                            const QString& fatalText, std::string_view display,
                            std::string_view waylandDisplay);

// The line after the reason: what works without a display.
std::string NoDisplayAlternatives();

inline constexpr int kExitNoDisplay = 1;
