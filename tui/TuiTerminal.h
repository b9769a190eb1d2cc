#pragma once

#include "tui/TuiKeys.h"

#include <csignal>
#include <optional>

// The terminal for the sheet, from construction to destruction: the ncurses screen, keys, the
// mouse where the terminal reports it, and handlers that turn SIGTERM, SIGHUP, SIGINT and
// SIGQUIT into a request to end. Whatever way the program leaves, the destructor gives the
// terminal back as it was.
class TuiTerminal {
public:
    TuiTerminal();
    ~TuiTerminal();
    TuiTerminal(const TuiTerminal&) = delete;
    TuiTerminal& operator=(const TuiTerminal&) = delete;

    bool isOpen() const { return m_open; }

    // The signal that asked the program to end, or 0.
    static int EndSignal();

    // The next key, waiting for it; the terminal's input goes through decoder. Throws Ended
    // once a signal asked the program to end.
    TuiKey readKey(TuiKeyDecoder& decoder) const;

    // Thrown from a key read once a signal asked the program to end.
    struct Ended {};

private:
    std::optional<TerminalInput> inputFor(int code) const;

    bool m_open = false;
    int m_ctrlPageUp = -1; // the codes ncurses reports for Ctrl+PgUp and Ctrl+PgDn
    int m_ctrlPageDown = -1;
    struct sigaction m_previous[4] = {};
};

// Whether standard input and output are a terminal that can show the sheet; else the reason.
const char* TerminalUnusable();

// True when text is drawn with the locale's multibyte characters (UTF-8).
bool TerminalIsUtf8();

// The attributes that grey a control on this terminal (see GreyedLook).
unsigned long GreyedAttributes();
