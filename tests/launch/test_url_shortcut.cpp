#include "support/ProcessSupport.h"

#include "launch/OpenUrlShortcut.h"
#include "platform/dialog/MessageBox.h"

namespace {
constexpr int kWaitMs = 10000;

class UrlShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousHandler = SetMessageBoxHandler(
            [this](const MessageBoxCall& call) { messages.push_back(call.text); });
    }
    void TearDown() override {
        SetMessageBoxHandler(previousHandler);
        EXPECT_TRUE(messages.isEmpty());
    }
    void writeShortcut(const char* name, const QByteArray& url) {
        dir.write(name, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    }
    // Every opener started has ended and been reaped; returns the arguments of each, sorted.
    QList<QStringList> openers() {
        EXPECT_TRUE(QTest::qWaitFor([] { return allChildrenReaped(); }, kWaitMs));
        QList<QStringList> args;
        for (const QString& record : records(dir, QStringLiteral("opener.")))
            args.push_back(recordedArgs(dir, record));
        std::sort(args.begin(), args.end());
        return args;
    }

    ScopedWorkDir dir;
    ScopedEnv opener{"GOMCFG_URL_OPENER", "'" + testScript("record_args.sh") + "' --new-window"};
    MessageBoxHandler previousHandler;
    QStringList messages;
};

TEST_F(UrlShortcutTest, TheUrlIsHandedOverAsOneArgument) {
    const QByteArray url = "https://example.org/a b?x=1&y=$(touch pwned);`touch pwned2`|cat";
    writeShortcut("gthome.url", url);
    OpenUrlShortcut(HomePageShortcut);
    EXPECT_EQ(openers(), QList<QStringList>({{"--new-window", QString::fromLatin1(url)}}));
    EXPECT_FALSE(dir.exists("pwned"));
    EXPECT_FALSE(dir.exists("pwned2"));
}

TEST_F(UrlShortcutTest, EachClickStartsOneOpenerAndAllAreReaped) {
    writeShortcut("gthome.url", "http://home.example/");
    writeShortcut("gthelp.url", "file:///usr/share/doc/help.html");
    for (int i = 0; i < 3; ++i)
        OpenUrlShortcut(HomePageShortcut);
    OpenUrlShortcut(HelpFilesShortcut);
    const QStringList home{"--new-window", "http://home.example/"};
    const QStringList help{"--new-window", "file:///usr/share/doc/help.html"};
    EXPECT_EQ(openers(), QList<QStringList>({help, home, home, home}));
    EXPECT_FALSE(hasZombieChildren());
}

TEST_F(UrlShortcutTest, SchemesAreMatchedInAnyCase) {
    writeShortcut("gthome.url", "HTTPS://Example.org/");
    OpenUrlShortcut(HomePageShortcut);
    writeShortcut("gthome.url", "File:///tmp/x");
    OpenUrlShortcut(HomePageShortcut);
    writeShortcut("gthome.url", "hTtP://x");
    OpenUrlShortcut(HomePageShortcut);
    EXPECT_EQ(openers().size(), 3);
}

TEST_F(UrlShortcutTest, OtherSchemesMissingShortcutsAndMissingKeysStartNothing) {
    const QByteArray refused[] = {"javascript:alert(1)",
                                  "ftp://example.org/",
                                  "mailto:a@b.c",
                                  "notepad.exe",
                                  "-e",
                                  "//example.org/",
                                  "",
                                  "x-http://a",
                                  "http"};
    for (const QByteArray& url : refused) {
        writeShortcut("gthome.url", url);
        OpenUrlShortcut(HomePageShortcut);
    }
    OpenUrlShortcut(HelpFilesShortcut); // no such file
    dir.write("gthelp.url", "[Other]\r\nURL=http://wrong.section/\r\n");
    OpenUrlShortcut(HelpFilesShortcut);
    dir.write("gthelp.url", "[InternetShortcut]\r\nIconIndex=0\r\n");
    OpenUrlShortcut(HelpFilesShortcut);
    EXPECT_TRUE(openers().isEmpty());
}

TEST_F(UrlShortcutTest, ShortcutIsReadFromTheCurrentDirectory) {
    ScopedWorkDir settingsDir;
    settingsDir.write("gthome.url", "[InternetShortcut]\r\nURL=http://wrong.example/\r\n");
    ScopedWorkDir current;
    ScopedEnv winDir("GOMCFG_WINDIR", QFile::encodeName(settingsDir.path()));
    current.write("gthome.url", "[InternetShortcut]\r\nURL=http://right.example/\r\n");
    OpenUrlShortcut(HomePageShortcut);
    ASSERT_TRUE(QTest::qWaitFor([] { return allChildrenReaped(); }, kWaitMs));
    const QStringList found = records(current, QStringLiteral("opener."));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(recordedArgs(current, found.front()),
              QStringList({"--new-window", "http://right.example/"}));
}

TEST_F(UrlShortcutTest, OpenerThatCannotStartIsIgnored) {
    writeShortcut("gthome.url", "http://example.org/");
    for (const char* command : {"/nonexistent/opener", "\"unclosed"}) {
        ScopedEnv broken("GOMCFG_URL_OPENER", command);
        OpenUrlShortcut(HomePageShortcut);
    }
    EXPECT_TRUE(openers().isEmpty());
}
} // namespace
