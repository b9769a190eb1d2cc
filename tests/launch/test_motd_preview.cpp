#include "support/TestSupport.h"

#include "launch/EditorLauncher.h"
#include "platform/dialog/CEdit.h"
#include "settings/MotdText.h"

#include <QPlainTextEdit>

#include <sys/stat.h>

namespace {
// The preview's text from file bytes, as the sheet shows it.
QString MotdTextFromBytes(std::string_view bytes, bool cut) {
    return QString::fromStdString(MotdUtf8FromBytes(bytes, cut));
}

constexpr const char* kPageFallback = "Put Your\r\nWelcome Message\r\nHere\r\n";
constexpr const char* kEditorFallback = "Put your motd text here...\n";

class MotdPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        preview.Attach(&widget);
        preview.LimitText(1024); // as the page does
    }
    QString shown(const char* fallback = kPageFallback) {
        FillMotdPreview(preview, fallback);
        return preview.GetWindowText();
    }

    ScopedWorkDir dir;
    QPlainTextEdit widget;
    CEdit preview;
};

TEST_F(MotdPreviewTest, EachCallerHasItsOwnFallbackWhenTheFileIsMissing) {
    EXPECT_EQ(shown(kPageFallback), "Put Your\nWelcome Message\nHere\n");
    EXPECT_EQ(widget.document()->blockCount(), 4);
    EXPECT_EQ(shown(kEditorFallback), "Put your motd text here...\n");
    EXPECT_FALSE(dir.exists("gomble_motd.txt"));
}

TEST_F(MotdPreviewTest, NamesThatAreNoRegularFileShowTheFallback) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("gomble_motd.txt"));
    EXPECT_EQ(shown(kEditorFallback), kEditorFallback);
    ASSERT_TRUE(QDir(dir.path()).rmdir("gomble_motd.txt"));
    // A FIFO with no writer would block a plain open.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("gomble_motd.txt")).constData(), 0600), 0);
    EXPECT_EQ(shown(kEditorFallback), kEditorFallback);
}

TEST_F(MotdPreviewTest, ShowsAtMostTheFirst1024BytesAndStopsAtNul) {
    QByteArray longText;
    for (int i = 0; i < 2000; ++i)
        longText += char('a' + i % 26);
    dir.write("gomble_motd.txt", longText);
    EXPECT_EQ(shown(), QString::fromLatin1(longText.left(1024)));
    EXPECT_EQ(dir.read("gomble_motd.txt"), longText);

    dir.write("gomble_motd.txt", QByteArray("0123456789\0after the nul", 24));
    EXPECT_EQ(shown(), "0123456789");
    dir.write("gomble_motd.txt", QByteArray("\0text", 5));
    EXPECT_EQ(shown(), "");
    dir.write("gomble_motd.txt", "");
    EXPECT_EQ(shown(), "");
}

TEST_F(MotdPreviewTest, ReplacesTheWholeTextForGood) {
    widget.setPlainText("something typed\nbefore");
    dir.write("gomble_motd.txt", "new");
    EXPECT_EQ(shown(), "new");
    EXPECT_FALSE(widget.document()->isUndoAvailable());
}

TEST_F(MotdPreviewTest, AllThreeLineEndsBreakLines) {
    dir.write("gomble_motd.txt", "one\r\ntwo\nthree\rfour\r\n\r\nsix");
    EXPECT_EQ(shown(), "one\ntwo\nthree\nfour\n\nsix");
    EXPECT_EQ(widget.document()->blockCount(), 6);
}

TEST(MotdText, Utf8WhenValidElseWindows1252) {
    EXPECT_EQ(MotdTextFromBytes("Gr\xC3\xBC\xC3\x9F"
                                "e \xE2\x82\xAC \xF0\x9F\x98\x80",
                                false),
              QStringLiteral("Grüße € \U0001F600"));
    // Windows-1252, including the 0x80 to 0x9F range that differs from Latin-1.
    EXPECT_EQ(MotdTextFromBytes("caf\xE9 \x80 \x93quoted\x94 \x9F \xFF", false),
              QStringLiteral("café € “quoted” Ÿ ÿ"));
    EXPECT_EQ(MotdTextFromBytes("\x81\x8D\x8F\x90\x9D", false),
              QStringLiteral("\u0081\u008D\u008F\u0090\u009D"));
    // One bad sequence decides for the whole text.
    EXPECT_EQ(MotdTextFromBytes("\xC3\xBC and \xFC", false), QStringLiteral("Ã¼ and ü"));
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    EXPECT_EQ(MotdTextFromBytes("\xC0\xAF", false), QStringLiteral("À¯"));
    EXPECT_EQ(MotdTextFromBytes("\xED\xA0\x80", false), QStringLiteral("í\u00A0€"));
    EXPECT_EQ(MotdTextFromBytes("\xF4\x90\x80\x80", false), QStringLiteral("ô\u0090€€"));
    // A byte-order mark is not shown.
    EXPECT_EQ(MotdTextFromBytes("\xEF\xBB\xBFhi\r\n", false), QStringLiteral("hi\n"));
}

TEST(MotdText, ACharacterSplitByTheCutIsLeftOutOnlyWhenTheFileGoesOn) {
    EXPECT_EQ(MotdTextFromBytes("ok \xE2\x82", true), QStringLiteral("ok "));
    EXPECT_EQ(MotdTextFromBytes("ok \xF0\x9F\x98", true), QStringLiteral("ok "));
    // The same bytes at the true end of the file are Windows-1252 ("café" ends in 0xE9).
    EXPECT_EQ(MotdTextFromBytes("caf\xE9", false), QStringLiteral("café"));
    EXPECT_EQ(MotdTextFromBytes("caf\xE9", true), QStringLiteral("caf"));
    // A bad byte before the cut still means Windows-1252.
    EXPECT_EQ(MotdTextFromBytes("\xE9t\xE9 \xE2\x82", true), QStringLiteral("été â‚"));
}

TEST_F(MotdPreviewTest, Utf8CharacterAcrossTheLimitIsDropped) {
    QByteArray bytes(1022, 'x');
    bytes += "\xE2\x82\xAC tail"; // the euro sign starts at byte 1022
    dir.write("gomble_motd.txt", bytes);
    EXPECT_EQ(shown(), QString(1022, QLatin1Char('x')));
}
} // namespace
