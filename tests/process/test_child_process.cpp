#include "support/ProcessSupport.h"

#include "platform/process/ChildProcess.h"
#include "platform/process/CommandWords.h"
#include "platform/process/ExecutableSearch.h"
#include "platform/process/LaunchCommands.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

namespace {
constexpr int kWaitMs = 10000;

using Words = std::vector<std::string>;

// Runs argv to its end in dir and returns what it wrote to "out".
QByteArray runAndRead(const ScopedWorkDir& dir, const std::vector<std::string>& argv) {
    ChildProcess child = ChildProcess::start(argv);
    EXPECT_TRUE(child.isValid());
    EXPECT_EQ(child.wait(), 0);
    return dir.read("out");
}

// A signal set from /proc/<pid>/status; bit n-1 stands for signal n.
unsigned long long signalSet(const QByteArray& status, const char* field) {
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith(QByteArray(field) + ':'))
            return line.mid(line.indexOf(':') + 1).trimmed().toULongLong(nullptr, 16);
    }
    ADD_FAILURE() << field << " missing";
    return ~0ull;
}

void makeExecutable(const ScopedWorkDir& dir, const QString& name) {
    dir.write(name, "#!/bin/sh\n");
    QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner);
}

TEST(ChildProcess, WaitGivesTheExitStatusAndAnUnknownProgramGivesNoChild) {
    ChildProcess failing = ChildProcess::start({"false"});
    ASSERT_TRUE(failing.isValid());
    const int status = failing.wait();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(failing.isValid());
    EXPECT_EQ(failing.wait(), -1);

    ChildProcess missing = ChildProcess::start({"gomcfg-no-such-program"});
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(missing.wait(), -1);
    EXPECT_FALSE(ChildProcess::start({}).isValid());
    EXPECT_TRUE(allChildrenReaped());
}

TEST(ChildProcess, ChildInheritsOnlyTheStandardDescriptors) {
    ScopedWorkDir dir;
    const int leaked = ::open("/dev/null", O_RDONLY); // deliberately without close-on-exec
    ASSERT_GE(leaked, 0);
    ASSERT_EQ(::fcntl(leaked, F_DUPFD, 77), 77);
    ::close(leaked);
    const QByteArray fds = runAndRead(dir, {"sh", "-c", "ls /proc/$$/fd > out"});
    ::close(77);
    const QList<QByteArray> list = fds.trimmed().split('\n');
    EXPECT_TRUE(list.contains("0") && list.contains("1") && list.contains("2")) << fds.data();
    EXPECT_FALSE(list.contains("77")) << fds.data();
}

TEST(ChildProcess, ChildStartsWithCleanSignalsInASessionOfItsOwn) {
    ScopedWorkDir dir;
    sigset_t usr1;
    sigset_t previousMask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, &previousMask);
    struct sigaction ignore {};
    struct sigaction previousAction {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGUSR2, &ignore, &previousAction);

    // cp reports on itself, before it could change anything.
    const QByteArray status = runAndRead(dir, {"cp", "/proc/self/status", "out"});
    const QByteArray stat = runAndRead(dir, {"cp", "/proc/self/stat", "out"});

    sigaction(SIGUSR2, &previousAction, nullptr);
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    EXPECT_EQ(signalSet(status, "SigBlk"), 0u) << status.data();
    // The C library's own real-time signals may show as ignored; the standard ones must not.
    EXPECT_EQ(signalSet(status, "SigIgn") & 0x7FFFFFFFu, 0u) << status.data();
    // "pid (comm) state ppid pgrp session ..."
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    ASSERT_GT(fields.size(), 3);
    EXPECT_EQ(fields[3], stat.left(stat.indexOf(' '))) << "not a session leader: " << stat.data();
}

TEST(ChildProcess, ChildrenNotWaitedForAreReapedInTheBackground) {
    for (int i = 0; i < 20; ++i)
        ChildProcess::start({"true"}).detach();
    {
        ChildProcess dropped = ChildProcess::start({"true"});
        ChildProcess moved = std::move(dropped);
        ChildProcess replaced = ChildProcess::start({"true"});
        replaced = std::move(moved);
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return allChildrenReaped(); }, kWaitMs));
}

TEST(CommandWords, SplitsOnBlanksAndHonoursQuotes) {
    EXPECT_EQ(SplitCommandWords("  gedit\t--standalone \n"), Words({"gedit", "--standalone"}));
    EXPECT_EQ(SplitCommandWords("'/opt/my editor/run' \"-x y\" 'it\"s'"),
              Words({"/opt/my editor/run", "-x y", "it\"s"}));
    EXPECT_EQ(SplitCommandWords("a'b c'd \"\" ''e"), Words({"ab cd", "", "e"}));
    EXPECT_EQ(SplitCommandWords("no $(expansion) \\n; | *"),
              Words({"no", "$(expansion)", "\\n;", "|", "*"}));
    EXPECT_EQ(SplitCommandWords("   "), Words());
    EXPECT_FALSE(SplitCommandWords("gedit 'open").has_value());
    EXPECT_FALSE(SplitCommandWords("\"").has_value());
}

TEST(ExecutableSearch, LooksForExecutableRegularFilesOnThePath) {
    ScopedWorkDir dir;
    makeExecutable(dir, "tool");
    dir.write("plain", "not executable");
    QDir(dir.path()).mkdir("folder");
    ScopedEnv path("PATH", "/nonexistent:" + QFile::encodeName(dir.path()));
    EXPECT_TRUE(IsExecutableOnPath("tool"));
    EXPECT_FALSE(IsExecutableOnPath("plain"));
    EXPECT_FALSE(IsExecutableOnPath("folder"));
    EXPECT_FALSE(IsExecutableOnPath(""));
    EXPECT_TRUE(IsExecutableOnPath(QFile::encodeName(dir.filePath("tool")).toStdString()));
    EXPECT_FALSE(IsExecutableOnPath("./plain"));
}

TEST(EditorCommand, FirstKnownEditorOnThePathWithItsOptions) {
    ScopedWorkDir dir;
    ScopedEnv editor("GOMCFG_EDITOR");
    ScopedEnv path("PATH", QFile::encodeName(dir.path()));
    EXPECT_EQ(EditorCommand("allow.cfg"), Words());
    makeExecutable(dir, "xedit");
    EXPECT_EQ(EditorCommand("allow.cfg"), Words({"xedit", "allow.cfg"}));
    makeExecutable(dir, "geany");
    makeExecutable(dir, "mousepad");
    EXPECT_EQ(EditorCommand("deny.cfg"), Words({"mousepad", "--disable-server", "deny.cfg"}));
    makeExecutable(dir, "gnome-text-editor");
    EXPECT_EQ(EditorCommand("deny.cfg"), Words({"gnome-text-editor", "--standalone", "deny.cfg"}));

    ScopedEnv blank("GOMCFG_EDITOR", " ");
    EXPECT_EQ(EditorCommand("x"), Words({"gnome-text-editor", "--standalone", "x"}));
    ScopedEnv chosen("GOMCFG_EDITOR", "myedit -w");
    EXPECT_EQ(EditorCommand("x"), Words({"myedit", "-w", "x"}));
    ScopedEnv broken("GOMCFG_EDITOR", "myedit 'x");
    EXPECT_EQ(EditorCommand("x"), Words());
}

TEST(UrlOpener, XdgOpenUnlessAnotherOpenerIsSet) {
    ScopedEnv unset("GOMCFG_URL_OPENER");
    EXPECT_EQ(UrlOpenerCommand("http://a b"), Words({"xdg-open", "http://a b"}));
    ScopedEnv blank("GOMCFG_URL_OPENER", "");
    EXPECT_EQ(UrlOpenerCommand("http://a"), Words({"xdg-open", "http://a"}));
    ScopedEnv chosen("GOMCFG_URL_OPENER", "firefox --new-tab");
    EXPECT_EQ(UrlOpenerCommand("http://a"), Words({"firefox", "--new-tab", "http://a"}));
}
} // namespace
