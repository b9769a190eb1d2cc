#include "tui/TuiTerminal.h"

#include "tui/TuiLayout.h"

#include <curses.h>
#include <langinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {
// Written by the signal handler, which can reach nothing else.
volatile std::sig_atomic_t g_endSignal = 0;

void onEndSignal(int signal) {
    g_endSignal = signal;
}

// SIGQUIT too: its default would leave the terminal as the sheet set it, and a core file.
constexpr int kEndSignals[4] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

// Esc alone must not wait long to be told from the start of a key's sequence.
constexpr int kEscapeDelayMs = 25;
// Reading keys wakes up this often, so a signal is seen even where a read is restarted.
constexpr int kKeyTimeoutMs = 200;
// Pairs 1 and 2: greyed on 16 colours and on 8.
constexpr short kGreyPair = 1;
constexpr short kBlackPair = 2;
constexpr short kBrightBlack = 8;

bool colourWanted() {
    const char* noColor = std::getenv("NO_COLOR");
    return has_colors() && !(noColor && *noColor);
}

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

constexpr int kCtrlPageUpCode = 0x7000;
constexpr int kCtrlPageDownCode = 0x7001;
} // namespace

TuiTerminal::TuiTerminal() {
    for (int i = 0; i < 4; ++i) {
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
    if (colourWanted()) {
        start_color();
        use_default_colors();
        if (COLORS >= 16)
            init_pair(kGreyPair, kBrightBlack, -1);
        init_pair(kBlackPair, COLOR_BLACK, -1);
    }
    if (MouseReportingWanted(std::getenv("TERM"), std::getenv("STY"))) {
        mouseinterval(0);
        mousemask(BUTTON1_PRESSED, nullptr);
    }
    m_ctrlPageUp = defineKey("kPRV5", "\033[5;5~", kCtrlPageUpCode);
    m_ctrlPageDown = defineKey("kNXT5", "\033[6;5~", kCtrlPageDownCode);
}

TuiTerminal::~TuiTerminal() {
    if (m_open) {
        mousemask(0, nullptr);
        curs_set(1);
        endwin();
    }
    for (int i = 0; i < 4; ++i)
        sigaction(kEndSignals[i], &m_previous[i], nullptr);
}

std::optional<TerminalInput> TuiTerminal::inputFor(int code) const {
    if (code >= 0 && code < 256)
        return TerminalInput{std::nullopt, static_cast<unsigned char>(code)};
    if (code == m_ctrlPageUp)
        return TerminalInput{KeyName::CtrlPageUp};
    if (code == m_ctrlPageDown)
        return TerminalInput{KeyName::CtrlPageDown};
    switch (code) {
    case KEY_BTAB:
        return TerminalInput{KeyName::BackTab};
    case KEY_ENTER:
        return TerminalInput{KeyName::Enter};
    case KEY_BACKSPACE:
        return TerminalInput{KeyName::Backspace};
    case KEY_UP:
        return TerminalInput{KeyName::Up};
    case KEY_DOWN:
        return TerminalInput{KeyName::Down};
    case KEY_LEFT:
        return TerminalInput{KeyName::Left};
    case KEY_RIGHT:
        return TerminalInput{KeyName::Right};
    case KEY_PPAGE:
        return TerminalInput{KeyName::PageUp};
    case KEY_NPAGE:
        return TerminalInput{KeyName::PageDown};
    case KEY_F(1):
        return TerminalInput{KeyName::F1};
    case KEY_MOUSE:
        return TerminalInput{KeyName::Mouse};
    case KEY_RESIZE:
        return TerminalInput{KeyName::Resize};
    default:
        return std::nullopt;
    }
}

TuiKey TuiTerminal::readKey(TuiKeyDecoder& decoder) const {
    for (;;) {
        if (g_endSignal != 0)
            throw Ended{};
        if (std::optional<TuiKey> key = decoder.next(false))
            return *key;
        // The rest of a key that has begun comes at once, or not at all.
        timeout(decoder.empty() ? kKeyTimeoutMs : kEscapeDelayMs);
        const int code = getch();
        if (code == ERR) {
            if (std::optional<TuiKey> key = decoder.next(true))
                return *key;
            continue;
        }
        if (std::optional<TerminalInput> input = inputFor(code))
            decoder.push(*input);
    }
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

unsigned long GreyedAttributes() {
    switch (GreyedLookFor(COLORS, colourWanted())) {
    case GreyedLook::BrightBlack:
        return COLOR_PAIR(kGreyPair);
    case GreyedLook::BoldBlack:
        return COLOR_PAIR(kBlackPair) | A_BOLD;
    case GreyedLook::Underlined:
        break;
    }
    return A_DIM | A_UNDERLINE;
}
