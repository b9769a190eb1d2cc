#pragma once

#include <csignal>

// The terminal for the sheet, from construction to destruction: the ncurses screen, keys, the
// mouse where the terminal reports it, and handlers that turn SIGTERM, SIGHUP and SIGINT into
// a request to end. Whatever way the program leaves, the destructor gives the terminal back
// as it was.
class TuiTerminal {
public:
    TuiTerminal();
    ~TuiTerminal();
    TuiTerminal(const TuiTerminal&) = delete;
    TuiTerminal& operator=(const TuiTerminal&) = delete;

    bool isOpen() const { return m_open; }

    // The signal that asked the program to end, or 0.
    static int EndSignal();

    // Key codes for Ctrl+PgUp and Ctrl+PgDn on terminals whose description lacks them.
    static constexpr int kCtrlPageUp = 0x7000;
    static constexpr int kCtrlPageDown = 0x7001;
    // key as read, with the terminal's own codes for those two turned into the ones above.
    static int CanonicalKey(int key);

    // Thrown from a key read once a signal asked the program to end.
    struct Ended {};

private:
    bool m_open = false;
    struct sigaction m_previous[3] = {};
};

// Whether standard input and output are a terminal that can show the sheet; else the reason.
const char* TerminalUnusable();

// True when text is drawn with the locale's multibyte characters (UTF-8).
bool TerminalIsUtf8();
