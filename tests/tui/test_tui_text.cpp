// Text and boxes on any size of terminal, without a terminal.
#include "settings/SettingsFile.h"
#include "tui/TuiLayout.h"
#include "tui/TuiText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(WrapText, BreaksAtBlanksAndNeverInsideACharacter) {
    EXPECT_EQ(WrapText("Please enter a whole number from 0 to 1000.", 20),
              (Lines{"Please enter a whole", "number from 0 to", "1000."}));
    EXPECT_EQ(WrapText("one\n\ntwo\n\n", 10), (Lines{"one", "", "two"}));
    EXPECT_EQ(WrapText("abcdefgh", 3), (Lines{"abc", "def", "gh"}));
    // Counted in characters: "é" is two bytes and one column.
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9\xC3\xA9 x", 3), (Lines{"\xC3\xA9\xC3\xA9\xC3\xA9", "x"}));
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 3),
              (Lines{"\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
}

TEST(WrapText, EndsOnAnyWidthAndAnyBytes) {
    // A message box on a terminal 8 columns wide or less once asked for width 0 or less, and
    // the wrapping never ended.
    const std::string help(2000, 'x');
    for (const int width : {-100, -1, 0, 1}) {
        const Lines lines = WrapText(help + " y\n\xFF\xFE\xC3", width);
        EXPECT_EQ(lines.size(), help.size() + 1 + 3) << width;
    }
    EXPECT_EQ(BoxTextWidth(8), 1);
    EXPECT_EQ(BoxTextWidth(0), 1);
    EXPECT_EQ(BoxTextWidth(80), 68);
    EXPECT_EQ(BoxTextWidth(200), 68);
}

TEST(PlaceBox, StaysOnTheTerminalHoweverSmall) {
    for (const int columns : {1, 3, 8, 9, 40, 80, 300}) {
        for (const int lines : {1, 2, 5, 24, 100}) {
            const BoxPlacement box = PlaceBox(lines, columns, 50);
            SCOPED_TRACE(std::to_string(columns) + "x" + std::to_string(lines));
            EXPECT_GE(box.frame.row, 0);
            EXPECT_GE(box.frame.col, 0);
            EXPECT_LE(box.frame.row + box.frame.height, lines);
            EXPECT_LE(box.frame.col + box.frame.width, columns);
            EXPECT_GE(box.shownLines, 1);
            EXPECT_GE(box.textWidth, 1);
        }
    }
    const BoxPlacement normal = PlaceBox(24, 80, 3);
    EXPECT_EQ(normal.frame.width, 72);
    EXPECT_EQ(normal.frame.height, 7); // frame, blank, three lines... and the buttons' row
    EXPECT_EQ(normal.shownLines, 3);
    EXPECT_EQ(PlaceBox(24, 80, 100).shownLines, 18);
}

TEST(GreyedLookFor, NeverFaintAloneWhichXtermShowsAsPlainText) {
    EXPECT_EQ(GreyedLookFor(256, true), GreyedLook::BrightBlack); // tmux-256color, xterm-256color
    EXPECT_EQ(GreyedLookFor(16, true), GreyedLook::BrightBlack);
    EXPECT_EQ(GreyedLookFor(8, true), GreyedLook::BoldBlack);     // xterm, screen, linux
    EXPECT_EQ(GreyedLookFor(256, false), GreyedLook::Underlined); // NO_COLOR
    EXPECT_EQ(GreyedLookFor(0, true), GreyedLook::Underlined);    // vt100
}

TEST(PreviewLines, LineEndsOfEitherKindAndNoTrailingEmptyLine) {
    EXPECT_EQ(PreviewLines("Put Your\r\nWelcome Message\r\nHere\r\n"),
              (Lines{"Put Your", "Welcome Message", "Here"}));
    EXPECT_EQ(PreviewLines("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_TRUE(PreviewLines("").empty());
}

TEST(SettingsFilePath, DirThenFileThenTheSheetsOwnChoice) {
    setenv("GOMCFG_WINDIR", "/srv/gomble", 1);
    EXPECT_EQ(SettingsFilePath("/srv/a/", std::nullopt), "/srv/a/GombleTroveII.ini");
    EXPECT_EQ(SettingsFilePath("rel", std::nullopt), "rel/GombleTroveII.ini");
    // A bare name is in the current directory, never in $GOMCFG_WINDIR.
    EXPECT_EQ(SettingsFilePath(std::nullopt, "test.ini"), "./test.ini");
    EXPECT_EQ(SettingsFilePath(std::nullopt, "sub/test.ini"), "sub/test.ini");
    EXPECT_EQ(SettingsFilePath(std::nullopt, std::nullopt), "/srv/gomble/GombleTroveII.ini");
    unsetenv("GOMCFG_WINDIR");
    EXPECT_EQ(SettingsFilePath(std::nullopt, std::nullopt), "./GombleTroveII.ini");
}
