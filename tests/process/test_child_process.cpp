#include "support/ChildProcesses.h"
#include "support/WorkDir.h"

#include "platform/process/ChildProcess.h"
#include "platform/process/CommandWords.h"
#include "platform/process/ExecutableSearch.h"
#include "platform/process/LaunchCommands.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <sstream>

namespace {
constexpr std::chrono::milliseconds kWait{10000};

using Words = std::vector<std::string>;

// Runs argv to its end in dir and returns what it wrote to "out".
std::string runAndRead(const WorkDir& dir, const std::vector<std::string>& argv) {
    ChildProcess child = ChildProcess::start(argv);
    EXPECT_TRUE(child.isValid());
    EXPECT_EQ(child.wait(), 0);
    return dir.read("out");
}

// A signal set from /proc/<pid>/status; bit n-1 stands for signal n.
unsigned long long signalSet(const std::string& status, const std::string& field) {
    std::istringstream lines(status);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(field + ':'))
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    }
    ADD_FAILURE() << field << " missing";
    return ~0ull;
}

// Words split on single spaces, as ls and /proc write them.
Words wordsOf(const std::string& text, char separator) {
    Words words;
    std::istringstream stream(text);
    for (std::string word; std::getline(stream, word, separator);)
        words.push_back(word);
    return words;
}

void makeExecutable(const WorkDir& dir, const std::string& name) {
    dir.write(name, "#!/bin/sh\n");
    ::chmod(dir.filePath(name).c_str(), S_IRUSR | S_IXUSR);
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
    WorkDir dir;
    const int leaked = ::open("/dev/null", O_RDONLY); // deliberately without close-on-exec
    ASSERT_GE(leaked, 0);
    ASSERT_EQ(::fcntl(leaked, F_DUPFD, 77), 77);
    ::close(leaked);
    const std::string fds = runAndRead(dir, {"sh", "-c", "ls /proc/$$/fd > out"});
    ::close(77);
    const Words list = wordsOf(fds, '\n');
    const auto has = [&list](const char* fd) { return std::ranges::count(list, fd) == 1; };
    EXPECT_TRUE(has("0") && has("1") && has("2")) << fds;
    EXPECT_FALSE(has("77")) << fds;
}

TEST(ChildProcess, ChildStartsWithCleanSignalsInASessionOfItsOwn) {
    WorkDir dir;
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
    const std::string status = runAndRead(dir, {"cp", "/proc/self/status", "out"});
    const std::string stat = runAndRead(dir, {"cp", "/proc/self/stat", "out"});

    sigaction(SIGUSR2, &previousAction, nullptr);
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    EXPECT_EQ(signalSet(status, "SigBlk"), 0u) << status;
    // The C library's own real-time signals may show as ignored; the standard ones must not.
    EXPECT_EQ(signalSet(status, "SigIgn") & 0x7FFFFFFFu, 0u) << status;
    // "pid (comm) state ppid pgrp session ..."
    const Words fields = wordsOf(stat.substr(stat.rfind(')') + 2), ' ');
    ASSERT_GT(fields.size(), 3u);
    EXPECT_EQ(fields[3], stat.substr(0, stat.find(' '))) << "not a session leader: " << stat;
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
    EXPECT_TRUE(eventually([] { return allChildrenReaped(); }, kWait));
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
    WorkDir dir;
    makeExecutable(dir, "tool");
    dir.write("plain", "not executable");
    std::filesystem::create_directory(dir.filePath("folder"));
    ScopedEnvVar path("PATH", "/nonexistent:" + dir.path());
    EXPECT_TRUE(IsExecutableOnPath("tool"));
    EXPECT_FALSE(IsExecutableOnPath("plain"));
    EXPECT_FALSE(IsExecutableOnPath("folder"));
    EXPECT_FALSE(IsExecutableOnPath(""));
    EXPECT_TRUE(IsExecutableOnPath(dir.filePath("tool")));
    EXPECT_FALSE(IsExecutableOnPath("./plain"));
}

TEST(EditorCommand, FirstKnownEditorOnThePathWithItsOptions) {
    WorkDir dir;
    ScopedEnvVar editor("GOMCFG_EDITOR", std::nullopt);
    ScopedEnvVar path("PATH", dir.path());
    EXPECT_EQ(EditorCommand("allow.cfg"), Words());
    makeExecutable(dir, "xedit");
    EXPECT_EQ(EditorCommand("allow.cfg"), Words({"xedit", "allow.cfg"}));
    makeExecutable(dir, "geany");
    makeExecutable(dir, "mousepad");
    EXPECT_EQ(EditorCommand("deny.cfg"), Words({"mousepad", "--disable-server", "deny.cfg"}));
    makeExecutable(dir, "gnome-text-editor");
    EXPECT_EQ(EditorCommand("deny.cfg"), Words({"gnome-text-editor", "--standalone", "deny.cfg"}));

    ScopedEnvVar blank("GOMCFG_EDITOR", " ");
    EXPECT_EQ(EditorCommand("x"), Words({"gnome-text-editor", "--standalone", "x"}));
    ScopedEnvVar chosen("GOMCFG_EDITOR", "myedit -w");
    EXPECT_EQ(EditorCommand("x"), Words({"myedit", "-w", "x"}));
    ScopedEnvVar broken("GOMCFG_EDITOR", "myedit 'x");
    EXPECT_EQ(EditorCommand("x"), Words());
}

TEST(UrlOpener, XdgOpenUnlessAnotherOpenerIsSet) {
    ScopedEnvVar unset("GOMCFG_URL_OPENER", std::nullopt);
    EXPECT_EQ(UrlOpenerCommand("http://a b"), Words({"xdg-open", "http://a b"}));
    ScopedEnvVar blank("GOMCFG_URL_OPENER", "");
    EXPECT_EQ(UrlOpenerCommand("http://a"), Words({"xdg-open", "http://a"}));
    ScopedEnvVar chosen("GOMCFG_URL_OPENER", "firefox --new-tab");
    EXPECT_EQ(UrlOpenerCommand("http://a"), Words({"firefox", "--new-tab", "http://a"}));
}
} // namespace
