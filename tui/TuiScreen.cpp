#include "tui/TuiScreen.h"

#include "platform/process/ChildProcess.h"
#include "platform/process/LaunchCommands.h"
#include "settings/MotdText.h"
#include "settings/WeaponTokens.h"
#include "tui/TuiTerminal.h"
#include "tui/TuiText.h"

#include <curses.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cwchar>

namespace {

constexpr const char* kButtonCaptions[] = {"OK", "Cancel", "Apply", "Help"};

chtype greyed() {
    return chtype(GreyedAttributes());
}

// Draws UTF-8 text from (row, col), at most width cells: in a UTF-8 locale as characters, in any
// other as ASCII with "?" for the rest; control characters show as "?" too.
int drawText(bool utf8, int row, int col, int width, const std::string& text,
             chtype attributes = 0) {
    attron(attributes);
    move(row, col);
    int used = 0;
    for (std::size_t i = 0; i < text.size() && used < width;) {
        const char32_t c = NextCodePoint(text, i);
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

void drawFrame(bool utf8, const CellRect& r, const char* caption, chtype attributes) {
    if (r.height < 2 || r.width < 2)
        return;
    // Underlined lines would look doubled; the caption still shows the mark.
    const chtype lines = attributes & ~chtype(A_UNDERLINE);
    attron(lines);
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
    attroff(lines);
    if (caption && *caption)
        drawText(utf8, r.row, r.col + 1, r.width - 2, caption, attributes);
}

} // namespace

TuiScreen::TuiScreen(SettingsSession& session, const TuiTerminal& terminal)
    : m_terminal(terminal), m_utf8(TerminalIsUtf8()), m_decoder(m_utf8), m_sheet(session, *this),
      m_layout(LINES, COLS, TuiSheet::Templates()) {}

bool TuiScreen::run(int tab) {
    m_sheet.start(tab);
    for (;;) {
        draw();
        const TuiKey key = readKey();
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

TuiKey TuiScreen::readKey() {
    const TuiKey key = m_terminal.readKey(m_decoder);
    if (key.name == KeyName::Resize) {
        m_layout = TuiLayout(LINES, COLS, TuiSheet::Templates());
        clearok(stdscr, TRUE);
    }
    return key;
}

void TuiScreen::switchTab(int tab) {
    if (tab >= 0 && tab < int(m_sheet.pages().size()))
        m_sheet.selectTab(tab);
}

FocusKind TuiScreen::focusKind() const {
    const TuiFocus focus = m_sheet.focus();
    if (focus.onButton)
        return FocusKind::SheetButton;
    if (focus.index < 0)
        return FocusKind::None;
    const TuiControl& control = m_sheet.activePage().controls()[std::size_t(focus.index)];
    if (control.kind() == ControlKind::CheckBox)
        return FocusKind::CheckBox;
    if (control.kind() == ControlKind::PushButton)
        return FocusKind::PushButton;
    if (control.isNumberBox())
        return FocusKind::NumberBox;
    if (control.isWeaponList())
        return FocusKind::WeaponList;
    if (control.isPreview())
        return FocusKind::Preview;
    return FocusKind::None;
}

TuiScreen::Outcome TuiScreen::handleKey(const TuiKey& key) {
    const SheetCommand command = SheetCommandFor(key, focusKind(), m_layout.fits());
    TuiPage& page = m_sheet.activePage();
    const TuiFocus focus = m_sheet.focus();
    TuiControl* control =
        focus.onButton || focus.index < 0 ? nullptr : &page.controls()[std::size_t(focus.index)];
    switch (command.action) {
    case SheetAction::None:
    case SheetAction::Redraw:
        break;
    case SheetAction::Cancel:
        return Outcome::Cancel;
    case SheetAction::Ok:
        return press(SheetButton::Ok);
    case SheetAction::Help:
        return press(SheetButton::Help);
    case SheetAction::PressFocusedButton:
        return press(SheetButton(focus.index));
    case SheetAction::ActivateFocused:
        if (control)
            activateFocused();
        break;
    case SheetAction::FocusNext:
    case SheetAction::FocusPrevious:
        m_sheet.moveFocus(command.action == SheetAction::FocusNext);
        break;
    case SheetAction::SelectTab:
        switchTab(command.value);
        break;
    case SheetAction::PreviousTab:
        switchTab(m_sheet.activeTab() - 1);
        break;
    case SheetAction::NextTab:
        switchTab(m_sheet.activeTab() + 1);
        break;
    case SheetAction::PickPrevious:
    case SheetAction::PickNext: {
        const bool down = command.action == SheetAction::PickNext;
        const int at = control->selection < 0 ? (down ? -1 : kWeaponCount) : control->selection;
        page.pickWeapon(focus.index, std::clamp(at + (down ? 1 : -1), 0, kWeaponCount - 1));
        break;
    }
    case SheetAction::PickByLetter:
        pickByLetter(*control, command.value);
        break;
    case SheetAction::ScrollUp:
    case SheetAction::ScrollDown:
        control->firstLine =
            std::max(0, control->firstLine + (command.action == SheetAction::ScrollDown ? 1 : -1));
        break;
    case SheetAction::TypeDigit:
        page.typeIntoNumber(focus.index, command.value);
        break;
    case SheetAction::EraseDigit:
        page.typeIntoNumber(focus.index, '\b');
        break;
    case SheetAction::Mouse:
        return handleMouse();
    }
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
    const std::vector<std::string> command = TerminalEditorCommand(fileName);
    if (command.empty()) {
        m_note = "Could not start the editor: VISUAL or EDITOR has an unclosed quote";
        return;
    }
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
        drawText(m_utf8, 0, 0, COLS,
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
        drawText(m_utf8, m_layout.tabRow(), col, COLS - col, label,
                 active ? A_REVERSE | A_BOLD : 0);
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
        drawFrame(m_utf8, r, caption, state);
        break;
    case ControlKind::Picture:
        drawFrame(m_utf8, r, nullptr, state);
        break;
    case ControlKind::CheckBox:
        drawText(m_utf8, r.row, r.col, r.width,
                 std::string(control.checked ? "[x] " : "[ ] ") + caption, state);
        break;
    case ControlKind::Static:
        drawText(m_utf8, r.row, r.col, COLS - r.col, caption, state);
        break;
    case ControlKind::PushButton:
        if (control.shortcutFile) {
            // A button is taller than a line: its address goes under its caption.
            drawText(m_utf8, r.row, r.col, COLS - r.col, std::string(caption) + ":", state);
            drawText(m_utf8, r.row + 1, r.col, COLS - r.col, control.text, state);
        } else {
            const std::string label = std::string("[ ") + caption + " ]";
            const int col = r.col + std::max(0, (r.width - int(label.size())) / 2);
            drawText(m_utf8, r.row, col, r.width, label, state);
        }
        break;
    case ControlKind::ComboBox: {
        const char* name = WeaponShownName(control.selection);
        std::string shown = name ? name : "";
        shown.resize(std::size_t(std::max(0, r.width - 4)), ' ');
        drawText(m_utf8, r.row, r.col, r.width, "[" + shown + " v]", state);
        break;
    }
    case ControlKind::Edit:
        if (control.isPreview()) {
            drawFrame(m_utf8, r, nullptr, control.enabled ? 0 : greyed());
            const std::vector<std::string> lines = PreviewLines(control.text);
            for (int line = 0; line < r.height - 2; ++line) {
                const std::size_t at = std::size_t(control.firstLine + line);
                if (at < lines.size())
                    drawText(m_utf8, r.row + 1 + line, r.col + 1, r.width - 2, lines[at],
                             control.enabled ? 0 : greyed());
            }
            if (focused)
                drawText(m_utf8, r.row, r.col + 1, r.width - 2, "Up/Down scroll", A_REVERSE);
        } else {
            const int inner = std::max(1, r.width - 2);
            std::string shown = control.text;
            if (int(shown.size()) > inner)
                shown = shown.substr(shown.size() - std::size_t(inner));
            shown.resize(std::size_t(inner), ' ');
            drawText(m_utf8, r.row, r.col, r.width, "[" + shown + "]", state);
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
        drawText(m_utf8, m_layout.buttonRow(), col, int(labels[i].size()), labels[i], attributes);
        col += int(labels[i].size()) + 1;
    }
}

void TuiScreen::drawStatus() {
    drawText(m_utf8, m_layout.statusRow(), 0, COLS - 1, m_note.empty() ? kKeysHelp : m_note,
             A_BOLD);
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
        const std::vector<std::string> lines = WrapText(text, BoxTextWidth(COLS));
        const BoxPlacement placed = PlaceBox(LINES, COLS, int(lines.size()));
        const CellRect& frame = placed.frame;
        const int shown = std::min(placed.shownLines, int(lines.size()));
        for (int row = 0; row < frame.height; ++row)
            mvhline(frame.row + row, frame.col, ' ', frame.width);
        drawFrame(m_utf8, frame, nullptr, A_BOLD);
        const int textWidth = std::max(0, frame.width - 4);
        firstLine = std::clamp(firstLine, 0, std::max(0, int(lines.size()) - shown));
        for (int line = 0; line < shown && 1 + line < frame.height; ++line)
            drawText(m_utf8, frame.row + 1 + line, frame.col + 2, textWidth,
                     lines[std::size_t(firstLine + line)]);
        if (int(lines.size()) > shown)
            drawText(m_utf8, frame.row, frame.col + 2, textWidth, "Up/Down scroll", A_BOLD);
        std::vector<CellRect> cells;
        int col = frame.col + frame.width - 2;
        for (const std::string& b : buttons)
            col -= int(b.size()) + 5;
        col = std::max(col, 0);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            const std::string label = "[ " + buttons[i] + " ]";
            cells.push_back({frame.row + frame.height - 2, col, 1, int(label.size())});
            drawText(m_utf8, cells.back().row, col, std::max(0, COLS - col), label,
                     int(i) == chosen ? A_REVERSE : 0);
            col += int(label.size()) + 1;
        }
        refresh();
        const BoxCommand command = BoxCommandFor(readKey(), buttons);
        const int count = int(buttons.size());
        switch (command.action) {
        case BoxAction::None:
        case BoxAction::Redraw:
            break;
        case BoxAction::Choose:
            return chosen;
        case BoxAction::ChooseIndex:
            return command.value;
        case BoxAction::Cancel:
            return cancelIndex;
        case BoxAction::NextButton:
            chosen = (chosen + 1) % count;
            break;
        case BoxAction::PreviousButton:
            chosen = (chosen + count - 1) % count;
            break;
        case BoxAction::ScrollUp:
            --firstLine;
            break;
        case BoxAction::ScrollDown:
            ++firstLine;
            break;
        case BoxAction::PageUp:
            firstLine -= shown;
            break;
        case BoxAction::PageDown:
            firstLine += shown;
            break;
        case BoxAction::Mouse: {
            MEVENT event;
            if (getmouse(&event) == OK && (event.bstate & BUTTON1_PRESSED)) {
                for (std::size_t i = 0; i < cells.size(); ++i) {
                    if (cells[i].contains(event.y, event.x))
                        return int(i);
                }
            }
            break;
        }
        }
    }
}
