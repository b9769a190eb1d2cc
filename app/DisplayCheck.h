#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <string>

// Qt aborts when its platform plugin cannot open the display. These two turn that into one
// clear line on stderr and an exit status of 1.

// Opens and closes the X display when Qt is going to use X; returns why it cannot be
// opened, or an empty string when it can or when another platform is chosen.
std::string CheckDisplay();

// For the platforms CheckDisplay cannot probe: while it lives, a fatal message (Qt's "no
// platform plugin could be initialized") prints the one line and exits, and other messages
// are held back and passed on when it ends, so a successful start stays as quiet as before.
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

inline constexpr int kExitNoDisplay = 1;
