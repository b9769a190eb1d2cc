#include "tui/TuiScreen.h"

#include "platform/process/ChildProcess.h"
#include "platform/process/CommandWords.h"
#include "platform/process/ExecutableSearch.h"
#include "settings/MotdText.h"
#include "settings/WeaponTokens.h"
#include "tui/TuiTerminal.h"

#include <curses.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cwchar>

namespace {

constexpr const char* kButtonCaptions[] = {"OK", "Cancel", "Apply", "Help"};
constexpr const char* kKeysHelp =
    "Tab/S-Tab move Space tick Up/Down pick Enter OK Esc cancel Alt+1-6 tab F1 help";

chtype greyed() {
    if (has_colors() && COLORS >= 16 && !std::getenv("NO_COLOR"))
        return COLOR_PAIR(1);
    return A_DIM;
}

void setUpColours() {
    if (has_colors() && COLORS >= 16 && !std::getenv("NO_COLOR"))
        init_pair(1, 8, -1); // bright black: grey on most palettes
}

// Decodes one character of UTF-8 at text[i]; a malformed byte reads as itself.
char32_t nextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3   ? lead & 0x07
                 : extra == 2 ? lead & 0x0F
                 : extra == 1 ? lead & 0x1F
                              : lead;
    for (; extra > 0 && i < text.size(); --extra, ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            break;
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

// Draws UTF-8 text from (row, col), at most width cells: in a UTF-8 locale as characters, in any
// other as ASCII with "?" for the rest; control characters show as "?" too.
int drawText(int row, int col, int width, const std::string& text, chtype attributes = 0) {
    static const bool utf8 = TerminalIsUtf8();
    attron(attributes);
    move(row, col);
    int used = 0;
    for (std::size_t i = 0; i < text.size() && used < width;) {
        const char32_t c = nextCodePoint(text, i);
        if (c >= 0x20 && c < 0x7F) {
            addch(chtype(c));
            ++used;
            continue;
        }
        const wchar_t wide = wchar_t(c);
        const int cells = utf8 && c >= 0xA0 ? wcwidth(wide) : -1;
        if (cells < 0 || used + cells > width) {
            addch('?');
            ++used;
            continue;
        }
        addnwstr(&wide, 1);
        used += cells;
    }
    attroff(attributes);
    return used;
}

void drawFrame(const CellRect& r, const char* caption, chtype attributes) {
    if (r.height < 2 || r.width < 2)
        return;
    attron(attributes);
    const int bottom = r.row + r.height - 1;
    const int right = r.col + r.width - 1;
    mvhline(r.row, r.col + 1, ACS_HLINE, r.width - 2);
    mvhline(bottom, r.col + 1, ACS_HLINE, r.width - 2);
    mvvline(r.row + 1, r.col, ACS_VLINE, r.height - 2);
    mvvline(r.row + 1, right, ACS_VLINE, r.height - 2);
    mvaddch(r.row, r.col, ACS_ULCORNER);
    mvaddch(r.row, right, ACS_URCORNER);
    mvaddch(bottom, r.col, ACS_LLCORNER);
    mvaddch(bottom, right, ACS_LRCORNER);
    attroff(attributes);
    if (caption && *caption)
        drawText(r.row, r.col + 1, r.width - 2, caption, attributes);
}

// Splits text into lines of at most width bytes, breaking at blanks where it can.
std::vector<std::string> wrapped(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        while (int(line.size()) > width) {
            std::size_t cut = line.rfind(' ', std::size_t(width));
            if (cut == std::string::npos || cut == 0)
                cut = std::size_t(width);
            lines.push_back(line.substr(0, cut));
            line.erase(0, line[cut] == ' ' ? cut + 1 : cut);
        }
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

std::vector<std::string> previewLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// The terminal editor of the user: $VISUAL, else $EDITOR, else "editor", else "vi".
std::vector<std::string> editorCommand(const char* fileName) {
    std::vector<std::string> command;
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value)
            continue;
        if (auto words = SplitCommandWords(value); words && !words->empty()) {
            command = std::move(*words);
            break;
        }
    }
    if (command.empty())
        command.push_back(IsExecutableOnPath("editor") ? "editor" : "vi");
    command.push_back(fileName);
    return command;
}

} // namespace

TuiScreen::TuiScreen(SettingsSession& session)
    : m_sheet(session, *this), m_layout(LINES, COLS, TuiSheet::Templates()) {
    setUpColours();
}

bool TuiScreen::run(int tab) {
    m_sheet.start(tab);
    for (;;) {
        draw();
        const int key = readKey();
        if (key == ERR)
            continue;
        m_note.clear();
        switch (handleKey(key)) {
        case Outcome::Stay:
            break;
        case Outcome::Ok:
            return true;
        case Outcome::Cancel:
            return false;
        }
    }
}

int TuiScreen::readKey() {
    for (;;) {
        if (TuiTerminal::EndSignal())
            throw TuiTerminal::Ended{};
        const int key = getch();
        if (key == KEY_RESIZE) {
            m_layout = TuiLayout(LINES, COLS, TuiSheet::Templates());
            clearok(stdscr, TRUE);
            return key;
        }
        if (key != ERR)
            return TuiTerminal::CanonicalKey(key);
        if (!TuiTerminal::EndSignal())
            return ERR;
    }
}

void TuiScreen::switchTab(int tab) {
    if (tab >= 0 && tab < int(m_sheet.pages().size()))
        m_sheet.selectTab(tab);
}

TuiScreen::Outcome TuiScreen::handleKey(int key) {
    if (!m_layout.fits()) {
        // Only leaving works on a screen too small to show the sheet.
        return key == 27 ? Outcome::Cancel : Outcome::Stay;
    }
    TuiPage& page = m_sheet.activePage();
    const TuiFocus focus = m_sheet.focus();
    TuiControl* control =
        focus.onButton || focus.index < 0 ? nullptr : &page.controls()[std::size_t(focus.index)];
    switch (key) {
    case 27: {
        // Alt+key arrives as Esc followed at once by the key.
        nodelay(stdscr, TRUE);
        const int next = getch();
        timeout(200);
        if (next == ERR)
            return Outcome::Cancel;
        if (next >= '1' && next <= '6')
            switchTab(next - '1');
        return Outcome::Stay;
    }
    case '\t':
        m_sheet.moveFocus(true);
        return Outcome::Stay;
    case KEY_BTAB:
        m_sheet.moveFocus(false);
        return Outcome::Stay;
    case TuiTerminal::kCtrlPageUp:
        switchTab(m_sheet.activeTab() - 1);
        return Outcome::Stay;
    case TuiTerminal::kCtrlPageDown:
        switchTab(m_sheet.activeTab() + 1);
        return Outcome::Stay;
    case KEY_F(1):
        return press(SheetButton::Help);
    case KEY_MOUSE:
        return handleMouse();
    case KEY_RESIZE:
        return Outcome::Stay;
    case '\r':
    case '\n':
    case KEY_ENTER:
        if (focus.onButton)
            return press(SheetButton(focus.index));
        if (control && control->kind() == ControlKind::PushButton) {
            activateFocused();
            return Outcome::Stay;
        }
        return press(SheetButton::Ok);
    case ' ':
        if (focus.onButton)
            return press(SheetButton(focus.index));
        activateFocused();
        return Outcome::Stay;
    case KEY_UP:
    case KEY_DOWN: {
        const bool down = key == KEY_DOWN;
        if (control && control->isWeaponList()) {
            const int at = control->selection < 0 ? (down ? -1 : kWeaponCount) : control->selection;
            page.pickWeapon(focus.index, std::clamp(at + (down ? 1 : -1), 0, kWeaponCount - 1));
        } else if (control && control->isPreview()) {
            control->firstLine = std::max(0, control->firstLine + (down ? 1 : -1));
        } else {
            m_sheet.moveFocus(down);
        }
        return Outcome::Stay;
    }
    case KEY_BACKSPACE:
    case 127:
    case 8:
        if (control && control->isNumberBox())
            page.typeIntoNumber(focus.index, '\b');
        return Outcome::Stay;
    default:
        break;
    }
    if (control && control->isNumberBox() && key >= '0' && key <= '9')
        page.typeIntoNumber(focus.index, key);
    else if (control && control->isWeaponList() && key < 128 && std::isalpha(key))
        pickByLetter(*control, key);
    return Outcome::Stay;
}

void TuiScreen::pickByLetter(TuiControl& list, int letter) {
    const int lower = std::tolower(letter);
    for (int step = 1; step <= kWeaponCount; ++step) {
        const int weapon = (std::max(list.selection, -1) + step + kWeaponCount) % kWeaponCount;
        if (std::tolower(static_cast<unsigned char>(WeaponShownName(weapon)[0])) == lower) {
            m_sheet.activePage().pickWeapon(m_sheet.focus().index, weapon);
            return;
        }
    }
}

void TuiScreen::activateFocused() {
    TuiPage& page = m_sheet.activePage();
    const int index = m_sheet.focus().index;
    TuiControl& control = page.controls()[std::size_t(index)];
    if (control.kind() == ControlKind::CheckBox)
        page.click(index);
    else if (control.editsFile && control.enabled)
        runEditor(control.editsFile);
}

TuiScreen::Outcome TuiScreen::press(SheetButton button) {
    switch (button) {
    case SheetButton::Ok:
        return m_sheet.apply() ? Outcome::Ok : Outcome::Stay;
    case SheetButton::Cancel:
        return Outcome::Cancel;
    case SheetButton::Apply:
        if (m_sheet.applyEnabled() && m_sheet.apply() && m_sheet.focus().onButton)
            m_sheet.setFocus({true, int(SheetButton::Ok)});
        return Outcome::Stay;
    case SheetButton::Help:
        message(m_sheet.helpText());
        return Outcome::Stay;
    }
    return Outcome::Stay;
}

TuiScreen::Outcome TuiScreen::handleMouse() {
    MEVENT event;
    if (getmouse(&event) != OK || !(event.bstate & BUTTON1_PRESSED))
        return Outcome::Stay;
    for (std::size_t i = 0; i < m_tabCells.size(); ++i) {
        if (m_tabCells[i].contains(event.y, event.x)) {
            switchTab(int(i));
            return Outcome::Stay;
        }
    }
    for (std::size_t i = 0; i < m_buttonCells.size(); ++i) {
        if (m_buttonCells[i].contains(event.y, event.x)) {
            if (SheetButton(i) == SheetButton::Apply && !m_sheet.applyEnabled())
                return Outcome::Stay;
            m_sheet.setFocus({true, int(i)});
            return press(SheetButton(i));
        }
    }
    TuiPage& page = m_sheet.activePage();
    for (const int index : page.focusOrder()) {
        const TuiControl& control = page.controls()[std::size_t(index)];
        if (!m_layout.place(*control.source).contains(event.y, event.x))
            continue;
        m_sheet.setFocus({false, index});
        if (control.kind() == ControlKind::CheckBox || control.kind() == ControlKind::PushButton)
            activateFocused();
        break;
    }
    return Outcome::Stay;
}

void TuiScreen::runEditor(const char* fileName) {
    const std::vector<std::string> command = editorCommand(fileName);
    def_prog_mode();
    endwin();
    // Keys like Ctrl+C belong to the editor while it runs.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction oldInt {};
    struct sigaction oldQuit {};
    sigaction(SIGINT, &ignore, &oldInt);
    sigaction(SIGQUIT, &ignore, &oldQuit);
    ChildProcess editor = ChildProcess::startInTerminal(command);
    const bool started = editor.isValid();
    editor.wait();
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGQUIT, &oldQuit, nullptr);
    reset_prog_mode();
    clearok(stdscr, TRUE);
    if (!started)
        m_note = "Could not start the editor " + command.front() +
                 " (set VISUAL or EDITOR to a terminal editor)";
    if (std::string_view(fileName) == kMotdFileName)
        m_sheet.reloadPreview(kPreviewFallbackAfterEdit);
}

void TuiScreen::draw() {
    erase();
    curs_set(0);
    if (!m_layout.fits()) {
        drawText(0, 0, COLS,
                 "The terminal is too small: the sheet needs " + std::to_string(kMinColumns) + "x" +
                     std::to_string(kMinLines) + ". Esc leaves without saving.");
        refresh();
        return;
    }
    drawTabs();
    drawPage();
    drawButtons();
    drawStatus();
    refresh();
}

void TuiScreen::drawTabs() {
    m_tabCells.clear();
    int col = 0;
    const auto& pages = m_sheet.pages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::string caption = pages[i].caption();
        while (!caption.empty() && caption.back() == ' ')
            caption.pop_back();
        const std::string label = " " + caption + " ";
        const bool active = int(i) == m_sheet.activeTab();
        m_tabCells.push_back({m_layout.tabRow(), col, 1, int(label.size())});
        drawText(m_layout.tabRow(), col, COLS - col, label, active ? A_REVERSE | A_BOLD : 0);
        col += int(label.size());
        if (i + 1 < pages.size())
            mvaddch(m_layout.tabRow(), col++, ACS_VLINE);
    }
    mvhline(m_layout.tabRow(), col, ACS_HLINE, COLS - col);
}

void TuiScreen::drawPage() {
    const TuiPage& page = m_sheet.activePage();
    const TuiFocus focus = m_sheet.focus();
    // Frames first, so controls inside them draw over their lines.
    for (const TuiControl& control : page.controls()) {
        if (control.kind() == ControlKind::GroupBox || control.kind() == ControlKind::Picture)
            drawControl(control, false);
    }
    for (std::size_t i = 0; i < page.controls().size(); ++i) {
        const TuiControl& control = page.controls()[i];
        if (control.kind() != ControlKind::GroupBox && control.kind() != ControlKind::Picture)
            drawControl(control, !focus.onButton && focus.index == int(i));
    }
}

void TuiScreen::drawControl(const TuiControl& control, bool focused) {
    const CellRect r = m_layout.place(*control.source);
    const chtype state = (control.enabled ? 0 : greyed()) | (focused ? A_REVERSE : 0);
    const char* caption = control.source->caption ? control.source->caption : "";
    switch (control.kind()) {
    case ControlKind::GroupBox:
        drawFrame(r, caption, state);
        break;
    case ControlKind::Picture:
        drawFrame(r, nullptr, state);
        break;
    case ControlKind::CheckBox:
        drawText(r.row, r.col, r.width, std::string(control.checked ? "[x] " : "[ ] ") + caption,
                 state);
        break;
    case ControlKind::Static:
        drawText(r.row, r.col, COLS - r.col, caption, state);
        break;
    case ControlKind::PushButton:
        if (control.shortcutFile) {
            // A button is taller than a line: its address goes under its caption.
            drawText(r.row, r.col, COLS - r.col, std::string(caption) + ":", state);
            drawText(r.row + 1, r.col, COLS - r.col, control.text, state);
        } else {
            const std::string label = std::string("[ ") + caption + " ]";
            const int col = r.col + std::max(0, (r.width - int(label.size())) / 2);
            drawText(r.row, col, r.width, label, state);
        }
        break;
    case ControlKind::ComboBox: {
        const char* name = WeaponShownName(control.selection);
        std::string shown = name ? name : "";
        shown.resize(std::size_t(std::max(0, r.width - 4)), ' ');
        drawText(r.row, r.col, r.width, "[" + shown + " v]", state);
        break;
    }
    case ControlKind::Edit:
        if (control.isPreview()) {
            drawFrame(r, nullptr, control.enabled ? 0 : greyed());
            const std::vector<std::string> lines = previewLines(control.text);
            for (int line = 0; line < r.height - 2; ++line) {
                const std::size_t at = std::size_t(control.firstLine + line);
                if (at < lines.size())
                    drawText(r.row + 1 + line, r.col + 1, r.width - 2, lines[at],
                             control.enabled ? 0 : greyed());
            }
            if (focused)
                drawText(r.row, r.col + 1, r.width - 2, "Up/Down scroll", A_REVERSE);
        } else {
            const int inner = std::max(1, r.width - 2);
            std::string shown = control.text;
            if (int(shown.size()) > inner)
                shown = shown.substr(shown.size() - std::size_t(inner));
            shown.resize(std::size_t(inner), ' ');
            drawText(r.row, r.col, r.width, "[" + shown + "]", state);
        }
        break;
    }
}

void TuiScreen::drawButtons() {
    m_buttonCells.clear();
    const TuiFocus focus = m_sheet.focus();
    std::vector<std::string> labels;
    int total = 0;
    for (const char* caption : kButtonCaptions) {
        labels.push_back(std::string("[ ") + caption + " ]");
        total += int(labels.back().size()) + 1;
    }
    int col = std::max(0, COLS - total);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const bool disabled = SheetButton(i) == SheetButton::Apply && !m_sheet.applyEnabled();
        const bool focused = focus.onButton && focus.index == int(i);
        chtype attributes = disabled ? greyed() : 0;
        if (focused)
            attributes |= A_REVERSE;
        m_buttonCells.push_back({m_layout.buttonRow(), col, 1, int(labels[i].size())});
        drawText(m_layout.buttonRow(), col, int(labels[i].size()), labels[i], attributes);
        col += int(labels[i].size()) + 1;
    }
}

void TuiScreen::drawStatus() {
    drawText(m_layout.statusRow(), 0, COLS - 1, m_note.empty() ? kKeysHelp : m_note, A_BOLD);
}

void TuiScreen::message(const std::string& text) {
    box(text, {"OK"}, 0, 0);
}

TuiDialogs::Answer TuiScreen::ask(const std::string& question) {
    switch (box(question, {"Yes", "No", "Cancel"}, 2, 2)) {
    case 0:
        return Answer::Yes;
    case 1:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

int TuiScreen::box(const std::string& text, const std::vector<std::string>& buttons, int initial,
                   int cancelIndex) {
    int chosen = initial;
    int firstLine = 0;
    for (;;) {
        draw();
        const int width = std::min(COLS - 4, 72);
        const std::vector<std::string> lines = wrapped(text, width - 4);
        const int room = std::max(1, LINES - 6);
        const int shown = std::min(int(lines.size()), room);
        const CellRect frame{(LINES - shown - 4) / 2, (COLS - width) / 2, shown + 4, width};
        for (int row = 0; row < frame.height; ++row)
            mvhline(frame.row + row, frame.col, ' ', frame.width);
        drawFrame(frame, nullptr, A_BOLD);
        firstLine = std::clamp(firstLine, 0, int(lines.size()) - shown);
        for (int line = 0; line < shown; ++line)
            drawText(frame.row + 1 + line, frame.col + 2, width - 4,
                     lines[std::size_t(firstLine + line)]);
        if (int(lines.size()) > shown)
            drawText(frame.row, frame.col + 2, width - 4, "Up/Down scroll", A_BOLD);
        std::vector<CellRect> cells;
        int col = frame.col + frame.width - 2;
        for (const std::string& b : buttons)
            col -= int(b.size()) + 5;
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const std::string label = "[ " + buttons[i] + " ]";
            cells.push_back({frame.row + frame.height - 2, col, 1, int(label.size())});
            drawText(cells.back().row, col, int(label.size()), label,
                     int(i) == chosen ? A_REVERSE : 0);
            col += int(label.size()) + 1;
        }
        refresh();
        const int key = readKey();
        switch (key) {
        case 27: {
            nodelay(stdscr, TRUE);
            const bool alone = getch() == ERR;
            timeout(200);
            if (alone)
                return cancelIndex;
            break;
        }
        case '\r':
        case '\n':
        case KEY_ENTER:
        case ' ':
            return chosen;
        case '\t':
        case KEY_RIGHT:
            chosen = (chosen + 1) % int(buttons.size());
            break;
        case KEY_BTAB:
        case KEY_LEFT:
            chosen = (chosen + int(buttons.size()) - 1) % int(buttons.size());
            break;
        case KEY_UP:
            --firstLine;
            break;
        case KEY_DOWN:
            ++firstLine;
            break;
        case KEY_PPAGE:
            firstLine -= room;
            break;
        case KEY_NPAGE:
            firstLine += room;
            break;
        case KEY_MOUSE: {
            MEVENT event;
            if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED)) {
                for (std::size_t i = 0; i < cells.size(); ++i) {
                    if (cells[i].contains(event.y, event.x))
                        return int(i);
                }
            }
            break;
        }
        default:
            // The first letter of a button answers with it (y, n, c, o).
            for (std::size_t i = 0; i < buttons.size(); ++i) {
                if (key < 128 && std::tolower(key) == std::tolower(buttons[i][0]))
                    return int(i);
            }
            break;
        }
    }
}
