#include "tui/TuiKeys.h"

#include "tui/TuiText.h"

#include <string_view>

namespace {
constexpr unsigned char kEsc = 27;

// Bytes a UTF-8 character that starts with lead takes in all; 1 for a byte that starts none.
std::size_t utf8Length(unsigned char lead) {
    return lead >= 0xF0 && lead <= 0xF4  ? 4
           : lead >= 0xE0                ? 3
           : lead >= 0xC2 && lead < 0xE0 ? 2
                                         : 1;
}

char32_t asciiLower(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}
} // namespace

std::optional<TuiKey> TuiKeyDecoder::character(std::size_t at, bool paused,
                                               std::size_t& used) const {
    const TerminalInput& first = m_queue[at];
    if (first.named) {
        used = 1;
        return TuiKey{*first.named, 0, false};
    }
    TuiKey key;
    if (!m_utf8 || first.byte < 0x80) {
        used = 1;
        key.character = first.byte;
    } else {
        const std::size_t length = utf8Length(first.byte);
        std::string bytes;
        for (std::size_t k = at; k < m_queue.size() && bytes.size() < length; ++k) {
            if (m_queue[k].named)
                break;
            bytes += char(m_queue[k].byte);
        }
        if (bytes.size() < length && !paused && at + bytes.size() == m_queue.size())
            return std::nullopt; // the rest of the character is on its way
        std::size_t i = 0;
        key.character = NextCodePoint(bytes, i);
        used = i;
    }
    // The eighth bit as Alt: xterm's default for Alt, in any locale.
    if (key.character >= 0xA0 && key.character <= 0xFF) {
        key.character &= 0x7F;
        key.alt = true;
    }
    return key;
}

std::optional<TuiKey> TuiKeyDecoder::next(bool paused) {
    if (m_queue.empty())
        return std::nullopt;
    std::size_t used = 0;
    std::optional<TuiKey> key;
    if (!m_queue.front().named && m_queue.front().byte == kEsc) {
        if (m_queue.size() == 1) {
            if (!paused)
                return std::nullopt;
            m_queue.pop_front();
            return TuiKey{KeyName::Escape, 0, false};
        }
        key = character(1, paused, used);
        if (!key)
            return std::nullopt;
        key->alt = true;
        ++used;
    } else {
        key = character(0, paused, used);
        if (!key)
            return std::nullopt;
    }
    m_queue.erase(m_queue.begin(), m_queue.begin() + long(used));
    return key;
}

SheetCommand SheetCommandFor(const TuiKey& key, FocusKind focus, bool sheetFits) {
    using enum SheetAction;
    if (key.name == KeyName::Resize)
        return {Redraw};
    if (!sheetFits)
        return {key.name == KeyName::Escape ? Cancel : None};
    if (key.alt) {
        if (key.name == KeyName::Character && key.character >= '1' && key.character <= '6')
            return {SelectTab, int(key.character - '1')};
        return {None};
    }
    switch (key.name) {
    case KeyName::Escape:
        return {Cancel};
    case KeyName::Tab:
        return {FocusNext};
    case KeyName::BackTab:
        return {FocusPrevious};
    case KeyName::CtrlPageUp:
        return {PreviousTab};
    case KeyName::CtrlPageDown:
        return {NextTab};
    case KeyName::F1:
        return {Help};
    case KeyName::Mouse:
        return {Mouse};
    case KeyName::Enter:
        if (focus == FocusKind::SheetButton)
            return {PressFocusedButton};
        return {focus == FocusKind::PushButton ? ActivateFocused : Ok};
    case KeyName::Up:
    case KeyName::Down: {
        const bool down = key.name == KeyName::Down;
        if (focus == FocusKind::WeaponList)
            return {down ? PickNext : PickPrevious};
        if (focus == FocusKind::Preview)
            return {down ? ScrollDown : ScrollUp};
        return {down ? FocusNext : FocusPrevious};
    }
    case KeyName::Backspace:
        return {focus == FocusKind::NumberBox ? EraseDigit : None};
    case KeyName::Character:
        break;
    default:
        return {None};
    }
    const char32_t c = key.character;
    if (c == '\t')
        return {FocusNext};
    if (c == '\r' || c == '\n')
        return SheetCommandFor({KeyName::Enter}, focus, sheetFits);
    if (c == 8 || c == 127)
        return SheetCommandFor({KeyName::Backspace}, focus, sheetFits);
    if (c == ' ')
        return {focus == FocusKind::SheetButton ? PressFocusedButton : ActivateFocused};
    if (focus == FocusKind::NumberBox && c >= '0' && c <= '9')
        return {TypeDigit, int(c)};
    const char32_t lower = asciiLower(c);
    if (focus == FocusKind::WeaponList && lower >= 'a' && lower <= 'z')
        return {PickByLetter, int(lower)};
    return {None};
}

BoxCommand BoxCommandFor(const TuiKey& key, std::span<const std::string> buttons) {
    using enum BoxAction;
    if (key.alt)
        return {None};
    switch (key.name) {
    case KeyName::Resize:
        return {Redraw};
    case KeyName::Escape:
        return {Cancel};
    case KeyName::Enter:
        return {Choose};
    case KeyName::Tab:
    case KeyName::Right:
        return {NextButton};
    case KeyName::BackTab:
    case KeyName::Left:
        return {PreviousButton};
    case KeyName::Up:
        return {ScrollUp};
    case KeyName::Down:
        return {ScrollDown};
    case KeyName::PageUp:
        return {PageUp};
    case KeyName::PageDown:
        return {PageDown};
    case KeyName::Mouse:
        return {Mouse};
    case KeyName::Character:
        break;
    default:
        return {None};
    }
    const char32_t c = key.character;
    if (c == '\r' || c == '\n' || c == ' ')
        return {Choose};
    if (c == '\t')
        return {NextButton};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].empty() && asciiLower(c) == asciiLower(char32_t(buttons[i][0])))
            return {ChooseIndex, int(i)};
    }
    return {None};
}

bool MouseReportingWanted(const char* term, const char* screenSession) {
    const bool screen = term && std::string_view(term).starts_with("screen");
    return !(screen && screenSession && *screenSession);
}
