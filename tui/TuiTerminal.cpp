#include "tui/TuiTerminal.h"

#include <curses.h>
#include <langinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {
volatile std::sig_atomic_t g_endSignal = 0;

void onEndSignal(int signal) {
    g_endSignal = signal;
}

constexpr int kEndSignals[3] = {SIGTERM, SIGHUP, SIGINT};

// Esc alone must not wait long to be told from the start of a key's sequence.
constexpr int kEscapeDelayMs = 25;
// Reading keys wakes up this often, so a signal is seen even where a read is restarted.
constexpr int kKeyTimeoutMs = 200;

int g_ctrlPageUp = -1;
int g_ctrlPageDown = -1;

// The code ncurses reports for a key: its own where the terminal description names the key,
// else code, bound to the sequence xterm, tmux and screen send.
int defineKey(const char* capability, const char* fallback, int code) {
    const char* sequence = tigetstr(capability);
    if (sequence == nullptr || sequence == reinterpret_cast<const char*>(-1))
        sequence = fallback;
    if (const int known = key_defined(sequence); known > 0)
        return known;
    define_key(sequence, code);
    return code;
}
} // namespace

TuiTerminal::TuiTerminal() {
    for (int i = 0; i < 3; ++i) {
        struct sigaction action {};
        action.sa_handler = onEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: a blocked read returns
        sigaction(kEndSignals[i], &action, &m_previous[i]);
    }
    set_escdelay(kEscapeDelayMs);
    if (!newterm(nullptr, stdout, stdin))
        return;
    m_open = true;
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    timeout(kKeyTimeoutMs);
    curs_set(0);
    if (has_colors() && !std::getenv("NO_COLOR")) {
        start_color();
        use_default_colors();
    }
    mouseinterval(0);
    mousemask(BUTTON1_PRESSED, nullptr);
    g_ctrlPageUp = defineKey("kPRV5", "\033[5;5~", kCtrlPageUp);
    g_ctrlPageDown = defineKey("kNXT5", "\033[6;5~", kCtrlPageDown);
}

TuiTerminal::~TuiTerminal() {
    if (m_open) {
        curs_set(1);
        endwin();
    }
    for (int i = 0; i < 3; ++i)
        sigaction(kEndSignals[i], &m_previous[i], nullptr);
}

int TuiTerminal::CanonicalKey(int key) {
    if (key == g_ctrlPageUp)
        return kCtrlPageUp;
    if (key == g_ctrlPageDown)
        return kCtrlPageDown;
    return key;
}

int TuiTerminal::EndSignal() {
    return g_endSignal;
}

const char* TerminalUnusable() {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
        return "standard input and output are not a terminal";
    const char* term = std::getenv("TERM");
    if (!term || !*term || std::strcmp(term, "dumb") == 0)
        return "the terminal cannot show a full screen (TERM is unset or dumb)";
    return nullptr;
}

bool TerminalIsUtf8() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}
