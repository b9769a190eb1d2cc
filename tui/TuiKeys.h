#pragma once

#include <deque>
#include <optional>
#include <span>
#include <string>

// Keys without the terminal: what the terminal sends becomes a key, and a key becomes what the
// sheet or a message box does with it. The screen only reads and draws.

// The keys the sheet knows by name; any other key is a character.
enum class KeyName {
    Character,
    Escape,
    Tab,
    BackTab,
    Enter,
    Backspace,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    CtrlPageUp,
    CtrlPageDown,
    F1,
    Mouse,
    Resize,
};

struct TuiKey {
    KeyName name = KeyName::Character;
    char32_t character = 0; // for KeyName::Character
    bool alt = false;       // held with Alt (sent after an Esc, or with the eighth bit set)
    bool operator==(const TuiKey&) const = default;
};

// One thing the terminal gave: a byte of input, or a key its terminal description named.
struct TerminalInput {
    std::optional<KeyName> named;
    unsigned char byte = 0;
};

// Turns the terminal's input into keys. An Esc followed at once by a key is that key with Alt;
// alone it is the Esc key. Characters arrive as UTF-8 in a UTF-8 locale, else one byte each.
// A terminal that sends Alt as the eighth bit (xterm's default) sends Alt+3 as U+00B3 (bytes c2 b3
// in UTF-8): characters U+00A0 to U+00FF read as Alt with the character seven bits make.
class TuiKeyDecoder {
public:
    explicit TuiKeyDecoder(bool utf8) : m_utf8(utf8) {}

    void push(TerminalInput input) { m_queue.push_back(input); }
    bool empty() const { return m_queue.empty(); }
    // The next whole key, or nothing while what is queued may still be the start of one. With
    // paused (nothing more came within the terminal's short wait for the rest of a key), a lone
    // Esc is the Esc key and a character cut short is dropped.
    std::optional<TuiKey> next(bool paused);

private:
    std::optional<TuiKey> character(std::size_t at, bool paused, std::size_t& used) const;

    bool m_utf8;
    std::deque<TerminalInput> m_queue;
};

// What has the keyboard on the sheet, as far as keys care.
enum class FocusKind { None, SheetButton, CheckBox, NumberBox, WeaponList, Preview, PushButton };

enum class SheetAction {
    None,
    Cancel,
    Ok,
    Help,
    PressFocusedButton, // one of OK, Cancel, Apply, Help
    ActivateFocused,    // ticks a check box, runs a button
    FocusNext,
    FocusPrevious,
    SelectTab, // value: the tab
    PreviousTab,
    NextTab,
    PickPrevious, // a weapon list
    PickNext,
    PickByLetter, // value: the letter, lower case
    ScrollUp,     // the preview
    ScrollDown,
    TypeDigit, // value: the digit character
    EraseDigit,
    Mouse,
    Redraw,
};

struct SheetCommand {
    SheetAction action = SheetAction::None;
    int value = 0;
    bool operator==(const SheetCommand&) const = default;
};

// What key does on the sheet with focus where it is. On a terminal too small for the sheet,
// only Esc works (it leaves without saving).
SheetCommand SheetCommandFor(const TuiKey& key, FocusKind focus, bool sheetFits);

enum class BoxAction {
    None,
    Choose,      // the highlighted button
    ChooseIndex, // value: the button
    Cancel,      // the box's cancel button
    NextButton,
    PreviousButton,
    ScrollUp,
    ScrollDown,
    PageUp,
    PageDown,
    Mouse,
    Redraw,
};

struct BoxCommand {
    BoxAction action = BoxAction::None;
    int value = 0;
    bool operator==(const BoxCommand&) const = default;
};

// What key does in a message box or a question with these buttons; a button's first letter
// chooses it.
BoxCommand BoxCommandFor(const TuiKey& key, std::span<const std::string> buttons);

// The status line's reminder of the keys.
inline constexpr const char* kKeysHelp =
    "Tab/S-Tab move Space tick Enter OK Esc cancel Alt+1-6/Ctrl+PgUp/Dn tab F1 help";

// Whether to ask the terminal for mouse clicks. Not in GNU screen (TERM screen..., $STY set): while
// mouse reporting is on there, screen holds back a lone Esc until the next key, so Esc would not
// cancel.
bool MouseReportingWanted(const char* term, const char* screenSession);
