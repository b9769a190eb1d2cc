// What the terminal's input means to the sheet, without a terminal: bytes and named keys to keys,
// keys to what the sheet and a message box do.
#include "platform/process/LaunchCommands.h"
#include "tui/TuiKeys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TerminalInput byte(unsigned char b) {
    return {std::nullopt, b};
}

TerminalInput named(KeyName name) {
    return {name, 0};
}

TuiKey character(char32_t c, bool alt = false) {
    return {KeyName::Character, c, alt};
}

// Every key the decoder makes of input, the terminal going quiet after it.
std::vector<TuiKey> decode(const std::vector<TerminalInput>& input, bool utf8 = true) {
    TuiKeyDecoder decoder(utf8);
    for (const TerminalInput& i : input)
        decoder.push(i);
    std::vector<TuiKey> keys;
    while (std::optional<TuiKey> key = decoder.next(true))
        keys.push_back(*key);
    EXPECT_TRUE(decoder.empty());
    return keys;
}

} // namespace

TEST(TuiKeyDecoder, AltDigitsArriveAsEscPrefixOrAsTheEighthBitInAnyLocale) {
    const std::vector<TuiKey> alt3{character('3', true)};
    EXPECT_EQ(decode({byte(27), byte('3')}), alt3);
    // xterm's default (eightBitInput): Alt+3 is U+00B3, bytes c2 b3 in UTF-8, b3 in Latin-1.
    EXPECT_EQ(decode({byte(0xC2), byte(0xB3)}), alt3);
    EXPECT_EQ(decode({byte(0xB3)}, false), alt3);
    for (char digit = '1'; digit <= '6'; ++digit) {
        EXPECT_EQ(SheetCommandFor(character(char32_t(digit), true), FocusKind::CheckBox, true),
                  (SheetCommand{SheetAction::SelectTab, digit - '1'}));
    }
    // Several keys in one read (a fast typist, tmux send-keys) are several keys.
    EXPECT_EQ(decode({byte(0xC2), byte(0xB5), byte('\t'), byte(27), byte('1')}),
              (std::vector<TuiKey>{character('5', true), character('\t'), character('1', true)}));
}

TEST(TuiKeyDecoder, EscAloneIsEscOnlyOnceTheTerminalGoesQuiet) {
    TuiKeyDecoder decoder(true);
    decoder.push(byte(27));
    EXPECT_EQ(decoder.next(false), std::nullopt); // may be Alt+something still on its way
    EXPECT_EQ(decoder.next(true), (TuiKey{KeyName::Escape}));
    EXPECT_TRUE(decoder.empty());
    // Half a character waits for the rest; cut short for good, each of its bytes reads as U+FFFD.
    decoder.push(byte(0xC2));
    EXPECT_EQ(decoder.next(false), std::nullopt);
    decoder.push(byte(0xB1));
    EXPECT_EQ(decoder.next(false), character('1', true));
    EXPECT_EQ(decode({byte(0xE2), byte(0x82)}),
              (std::vector<TuiKey>{character(0xFFFD), character(0xFFFD)}));
    EXPECT_EQ(decode({byte(0xFF), byte('a')}),
              (std::vector<TuiKey>{character(0xFFFD), character('a')}));
    EXPECT_EQ(decode({named(KeyName::Up), byte(27), named(KeyName::F1)}),
              (std::vector<TuiKey>{{KeyName::Up}, {KeyName::F1, 0, true}}));
}

TEST(TuiKeyDecoder, GnuScreenGetsNoMouseReportingSoOneEscCancels) {
    EXPECT_FALSE(MouseReportingWanted("screen", "1234.pts-0.host"));
    EXPECT_FALSE(MouseReportingWanted("screen.xterm-256color", "1234.pts-0.host"));
    EXPECT_TRUE(MouseReportingWanted("screen", nullptr)); // tmux with TERM=screen
    EXPECT_TRUE(MouseReportingWanted("tmux-256color", nullptr));
    EXPECT_TRUE(
        MouseReportingWanted("xterm", "1234.pts-0.host")); // screen's STY leaked into an xterm
}

TEST(SheetCommandFor, KeysDoWhatTheFocusedControlTakes) {
    using enum SheetAction;
    const auto on = [](const TuiKey& key, FocusKind focus) {
        return SheetCommandFor(key, focus, true).action;
    };
    EXPECT_EQ(on({KeyName::Escape}, FocusKind::NumberBox), Cancel);
    EXPECT_EQ(on({KeyName::Enter}, FocusKind::CheckBox), Ok);
    EXPECT_EQ(on(character('\r'), FocusKind::NumberBox), Ok);
    EXPECT_EQ(on({KeyName::Enter}, FocusKind::PushButton), ActivateFocused);
    EXPECT_EQ(on({KeyName::Enter}, FocusKind::SheetButton), PressFocusedButton);
    EXPECT_EQ(on(character(' '), FocusKind::SheetButton), PressFocusedButton);
    EXPECT_EQ(on(character(' '), FocusKind::CheckBox), ActivateFocused);
    EXPECT_EQ(on({KeyName::Down}, FocusKind::WeaponList), PickNext);
    EXPECT_EQ(on({KeyName::Up}, FocusKind::Preview), ScrollUp);
    EXPECT_EQ(on({KeyName::Down}, FocusKind::CheckBox), FocusNext);
    EXPECT_EQ(on(character('\t'), FocusKind::CheckBox), FocusNext);
    EXPECT_EQ(on({KeyName::BackTab}, FocusKind::CheckBox), FocusPrevious);
    EXPECT_EQ(on({KeyName::CtrlPageDown}, FocusKind::NumberBox), NextTab);
    EXPECT_EQ(on({KeyName::CtrlPageUp}, FocusKind::NumberBox), PreviousTab);
    EXPECT_EQ(on({KeyName::F1}, FocusKind::None), Help);
    // Digits and Backspace edit a number box and nothing else; letters pick a weapon.
    EXPECT_EQ(SheetCommandFor(character('7'), FocusKind::NumberBox, true),
              (SheetCommand{TypeDigit, '7'}));
    EXPECT_EQ(on(character('7'), FocusKind::WeaponList), None);
    EXPECT_EQ(on(character(127), FocusKind::NumberBox), EraseDigit);
    EXPECT_EQ(on({KeyName::Backspace}, FocusKind::CheckBox), None);
    EXPECT_EQ(SheetCommandFor(character('R'), FocusKind::WeaponList, true),
              (SheetCommand{PickByLetter, 'r'}));
    EXPECT_EQ(on(character('r', true), FocusKind::WeaponList), None);
    EXPECT_EQ(on(character('7', true), FocusKind::CheckBox), None); // no seventh tab
    // Too small a terminal: only Esc leaves, and a resize is still seen.
    EXPECT_EQ(SheetCommandFor({KeyName::Escape}, FocusKind::CheckBox, false).action, Cancel);
    EXPECT_EQ(SheetCommandFor({KeyName::Enter}, FocusKind::CheckBox, false).action, None);
    EXPECT_EQ(SheetCommandFor({KeyName::F1}, FocusKind::CheckBox, false).action, None);
    EXPECT_EQ(SheetCommandFor({KeyName::Resize}, FocusKind::CheckBox, false).action, Redraw);
}

TEST(BoxCommandFor, ButtonsByKeysAndFirstLetters) {
    using enum BoxAction;
    const std::vector<std::string> question{"Yes", "No", "Cancel"};
    EXPECT_EQ(BoxCommandFor({KeyName::Escape}, question).action, Cancel);
    EXPECT_EQ(BoxCommandFor({KeyName::Enter}, question).action, Choose);
    EXPECT_EQ(BoxCommandFor(character(' '), question).action, Choose);
    EXPECT_EQ(BoxCommandFor(character('n'), question), (BoxCommand{ChooseIndex, 1}));
    EXPECT_EQ(BoxCommandFor(character('Y'), question), (BoxCommand{ChooseIndex, 0}));
    EXPECT_EQ(BoxCommandFor(character('x'), question).action, None);
    EXPECT_EQ(BoxCommandFor(character('y', true), question).action, None);
    EXPECT_EQ(BoxCommandFor({KeyName::Right}, question).action, NextButton);
    EXPECT_EQ(BoxCommandFor({KeyName::BackTab}, question).action, PreviousButton);
    EXPECT_EQ(BoxCommandFor({KeyName::PageDown}, question).action, PageDown);
}

TEST(TerminalEditorCommand, VisualThenEditorThenTheSystemsEditorWithTheFileLast) {
    const auto words = [](std::initializer_list<const char*> w) {
        return std::vector<std::string>(w.begin(), w.end());
    };
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("VISUAL", "  ", 1);
    setenv("EDITOR", "'my editor' -w", 1);
    EXPECT_EQ(TerminalEditorCommand("allow.cfg"), words({"my editor", "-w", "allow.cfg"}));
    setenv("VISUAL", "nano", 1);
    EXPECT_EQ(TerminalEditorCommand("deny.cfg"), words({"nano", "deny.cfg"}));
    setenv("VISUAL", "'nano", 1); // an unclosed quote starts nothing
    EXPECT_TRUE(TerminalEditorCommand("deny.cfg").empty());
    unsetenv("VISUAL");
    unsetenv("EDITOR");
    setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(TerminalEditorCommand("gomble_motd.txt"), words({"vi", "gomble_motd.txt"}));
    setenv("PATH", savedPath.c_str(), 1);
}
