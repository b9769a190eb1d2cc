// gomcfgtui end to end: the program in a real pseudo-terminal under tmux, driven with real keys,
// its screen read back with capture-pane. Skips itself where tmux is missing.
#include "platform/store/PrivateProfile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

struct Ran {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs argv with no shell, standard input from /dev/null; collects both outputs. A program still
// running after limit is killed and reported (status -1, and err says so), never waited for.
Ran runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
               std::chrono::milliseconds limit = 30s) {
    const fs::path outFile =
        fs::temp_directory_path() / ("gomcfgtui-out-" + std::to_string(getpid()));
    const fs::path errFile = outFile.string() + ".err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    bool timedOut = false;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            timedOut = true;
            break;
        }
        std::this_thread::sleep_for(10ms);
    }
    Ran ran;
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream o(outFile), e(errFile);
    ran.out.assign(std::istreambuf_iterator<char>(o), {});
    ran.err.assign(std::istreambuf_iterator<char>(e), {});
    if (timedOut)
        ran.err += "(still running after " + std::to_string(limit.count()) + " ms: killed)";
    fs::remove(outFile);
    fs::remove(errFile);
    return ran;
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool haveTmux() {
    return runProgram({"tmux", "-V"}).status == 0;
}

// One tmux server of its own per test, with the program in its only pane. The pane stays after
// the program ends, so its exit status can be read.
class Tmux {
public:
    Tmux(const fs::path& dir, std::vector<std::string> command, std::vector<std::string> env = {},
         const char* term = "tmux-256color")
        : m_socket("gomcfgtui-" + std::to_string(getpid()) + "-" + std::to_string(++s_count)),
          m_config(dir / ".tmux.conf"), m_status(dir / (m_socket + ".status")) {
        writeBytes(m_config, std::string("set -g remain-on-exit on\nset -g default-terminal ") +
                                 term + "\nset -g status off\nset -g escape-time 0\n");
        std::vector<std::string> argv{"new-session", "-d", "-x", "80",
                                      "-y",          "24", "-c", dir.string()};
        env.push_back("VISUAL=");
        if (std::none_of(env.begin(), env.end(),
                         [](const std::string& e) { return e.starts_with("NO_COLOR="); }))
            env.push_back("NO_COLOR=1");
        for (const std::string& e : env) {
            argv.push_back("-e");
            argv.push_back(e);
        }
        // The exit status goes through a file: tmux may see the pane's end before it reaps the
        // program, and then never report its status. The terminal's modes after the program
        // go to others, while the pane still lives. Core dumps are on, to be seen; the shell
        // outlives Ctrl+\ as an interactive one would, and its program gets the default.
        argv.insert(
            argv.end(),
            {"sh", "-c",
             "ulimit -c unlimited 2>/dev/null; trap : QUIT; \"$0\" \"$@\"; s=$?; stty -a > '" +
                 m_status.string() + ".stty'; tmux display-message -p '" + kPaneModes + "' > '" +
                 m_status.string() + ".modes'; echo $s > '" + m_status.string() + "'"});
        argv.insert(argv.end(), command.begin(), command.end());
        m_started = tmux(argv).status == 0;
    }
    ~Tmux() { tmux({"kill-server"}); }

    bool started() const { return m_started; }

    Ran tmux(std::vector<std::string> args) const {
        args.insert(args.begin(), {"tmux", "-L", m_socket, "-f", m_config.string()});
        return runProgram(args);
    }
    void keys(std::vector<std::string> keys) const {
        keys.insert(keys.begin(), {"send-keys", "-t", "0"});
        tmux(keys);
    }
    // stty -a in the terminal once the program has ended.
    std::string sttyAfter() const { return readBytes(m_status.string() + ".stty"); }
    // The pane's alternate screen, mouse reporting and cursor (kPaneModes) once it has ended.
    std::string modesAfter() const { return readBytes(m_status.string() + ".modes"); }
    static constexpr const char* kPaneModes =
        "alternate screen #{alternate_on}, mouse #{mouse_any_flag}, cursor #{cursor_flag}";
    static constexpr const char* kPaneRestored = "alternate screen 0, mouse 0, cursor 1\n";
    std::string screen() const { return tmux({"capture-pane", "-p", "-t", "0"}).out; }
    std::string query(const std::string& format) const {
        std::string out = tmux({"display-message", "-p", "-t", "0", format}).out;
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        return out;
    }
    bool waitFor(const std::function<bool(const std::string&)>& ready,
                 std::chrono::milliseconds limit = 10s) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (ready(screen()))
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    bool waitForText(const std::string& text, std::chrono::milliseconds limit = 10s) const {
        return waitFor([&](const std::string& s) { return s.find(text) != std::string::npos; },
                       limit);
    }
    // The program's exit status once it has ended; nothing while it runs.
    std::optional<int> exitStatus(std::chrono::milliseconds limit = 30s) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            const std::string status = readBytes(m_status);
            if (!status.empty() && status.back() == '\n')
                return std::stoi(status);
            std::this_thread::sleep_for(50ms);
        }
        return std::nullopt;
    }

private:
    static inline int s_count = 0;
    std::string m_socket;
    fs::path m_config;
    fs::path m_status;
    bool m_started = false;
};

class TuiEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveTmux())
            GTEST_SKIP() << "tmux is not installed";
        m_dir = fs::temp_directory_path() /
                ("gomcfgtui-e2e-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_ini = m_dir / "GombleTroveII.ini";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::vector<std::string> program(std::vector<std::string> args = {}) const {
        args.insert(args.begin(), {GOMCFGTUI_BINARY, "--file", m_ini.string()});
        return args;
    }
    // What the sheet's writes make of the file: the same keys and values through the store, in
    // the sheet's order, on a copy.
    std::string writtenBySheet(const std::string& before,
                               const std::vector<std::pair<std::string, std::string>>& writes) {
        const fs::path copy = m_dir / "expected.ini";
        fs::remove(copy);
        if (!before.empty())
            writeBytes(copy, before);
        for (const auto& [key, value] : writes)
            EXPECT_TRUE(
                WritePrivateProfileString("Gomcfg", key.c_str(), value.c_str(), copy.c_str()));
        const std::string bytes = readBytes(copy);
        fs::remove(copy);
        return bytes;
    }

    fs::path m_dir;
    fs::path m_ini;
};

constexpr const char* kServerFile = "; server rules\r\n[Gomcfg]\r\nNfraglimit=30\r\n"
                                    "samemap=false\r\n\r\n[Other]\r\nkeep=1\r\n";

} // namespace

TEST(TuiNoTerminal, ExitsTwoWithOneLineNamingGomcfgctl) {
    const Ran piped = runProgram({GOMCFGTUI_BINARY}, {}, 10s);
    EXPECT_EQ(piped.status, 2) << piped.err;
    EXPECT_NE(piped.err.find("gomcfgctl"), std::string::npos) << piped.err;
    EXPECT_EQ(std::count(piped.err.begin(), piped.err.end(), '\n'), 1) << piped.err;
    EXPECT_TRUE(piped.out.empty());

    EXPECT_EQ(runProgram({GOMCFGTUI_BINARY, "--file", ""}).status, 2);
    EXPECT_EQ(runProgram({GOMCFGTUI_BINARY, "--dir="}).status, 2);
    EXPECT_EQ(runProgram({GOMCFGTUI_BINARY, "--file", "a", "--dir", "b"}).status, 2);
    EXPECT_EQ(runProgram({GOMCFGTUI_BINARY, "--tab", "Nowhere"}).status, 2);
    const Ran version = runProgram({GOMCFGTUI_BINARY, "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "gomcfgtui (Gomcfg) 1.0.0.1\n"); // as gomcfgctl and gomcfg2 say it
}

TEST(TuiNoTerminal, EndsAtOnceWithoutATerminalEvenWithATerminalType) {
    // Were the terminal check gone, it would wait for keys from /dev/null: the limit fails it.
    const Ran piped = runProgram({GOMCFGTUI_BINARY}, {"TERM=xterm"}, 10s);
    EXPECT_EQ(piped.status, 2) << piped.err;
    EXPECT_NE(piped.err.find("not a terminal"), std::string::npos) << piped.err;
}

TEST_F(TuiEndToEnd, DumbTerminalExitsTwo) {
    // tmux itself wants a real terminal type; the program's own TERM is what matters.
    const Tmux dumb(m_dir, {"env", "TERM=dumb", GOMCFGTUI_BINARY}, {});
    ASSERT_TRUE(dumb.started());
    EXPECT_EQ(dumb.exitStatus(), 2);
    // The status file can come before tmux has read the program's last output from the pane.
    EXPECT_TRUE(dumb.waitForText("gomcfgctl")) << dumb.screen();
}

TEST_F(TuiEndToEnd, OkWritesExactlyWhatTheSheetWrites) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program({"--tab", "Server Options"}));
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("Frag Limit:")) << tmux.screen();
    ASSERT_TRUE(tmux.waitForText("[30")) << tmux.screen();
    tmux.keys({"Space"});             // "No exit", focused first
    tmux.keys({"Tab", "Tab", "Tab"}); // Cheating, Same Map, Frag Limit
    tmux.keys({"BSpace", "BSpace", "4", "2"});
    ASSERT_TRUE(tmux.waitForText("[42")) << tmux.screen();
    tmux.keys({"Enter"});
    ASSERT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_EQ(readBytes(m_ini), writtenBySheet(kServerFile, {{"samemap", "false"},
                                                             {"cheating", "false"},
                                                             {"noexit", "true"},
                                                             {"Nfraglimit", "42"},
                                                             {"Ntimelimit", "0"}}));
}

TEST_F(TuiEndToEnd, WeaponsPickedByLetterAndOtherTabsVisitedAreWrittenInOneSave) {
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    tmux.keys({"Tab", "r"}); // the shotgun's list: "Railgun", then "Rocket Launcher"
    tmux.keys({"r"});
    ASSERT_TRUE(tmux.waitForText("[Rocket Launcher")) << tmux.screen();
    tmux.keys({"M-5"}); // C.T.F.
    ASSERT_TRUE(tmux.waitForText("[x] Teamplay")) << tmux.screen();
    tmux.keys({"Space"});
    ASSERT_TRUE(tmux.waitForText("[x] C.T.F.")) << tmux.screen();
    tmux.keys({"Enter"});
    ASSERT_EQ(tmux.exitStatus(), 0);
    std::vector<std::pair<std::string, std::string>> writes;
    for (const char* weapon : {"shotgun", "supershotgun", "machinegun", "chaingun", "grenades",
                               "rockets", "hyperblaster", "railgun", "bfg"}) {
        writes.emplace_back(weapon, "true");
        writes.emplace_back(std::string(weapon) + "T",
                            std::string(weapon) == "shotgun" ? "rockets" : weapon);
    }
    writes.emplace_back("ctf", "true");
    writes.emplace_back("teamplay", "true");
    EXPECT_EQ(readBytes(m_ini), writtenBySheet("", writes));
}

TEST_F(TuiEndToEnd, OutOfRangeNumberIsRefusedWithItsRangeAndEscWritesNothing) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program({"--tab", "Server Options"}));
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[30")) << tmux.screen();
    tmux.keys({"Tab", "Tab", "Tab", "5", "0"}); // 3050
    ASSERT_TRUE(tmux.waitForText("[3050")) << tmux.screen();
    tmux.keys({"M-1"});
    ASSERT_TRUE(tmux.waitForText("Please enter a whole number from 0 to 1000.")) << tmux.screen();
    tmux.keys({"Enter"});
    // Still on the page, with the box to correct.
    ASSERT_TRUE(tmux.waitFor([](const std::string& s) {
        return s.find("Please enter") == std::string::npos && s.find("Frag Limit:") != s.npos;
    })) << tmux.screen();
    tmux.keys({"Enter"}); // OK is refused the same way
    ASSERT_TRUE(tmux.waitForText("from 0 to 1000")) << tmux.screen();
    tmux.keys({"Enter"});
    tmux.keys({"Escape"});
    ASSERT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_EQ(readBytes(m_ini), kServerFile);
}

TEST_F(TuiEndToEnd, EscWritesNothingAndCreatesNoFile) {
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    tmux.keys({"Space"});
    ASSERT_TRUE(tmux.waitForText("[ ] Shotgun")) << tmux.screen();
    tmux.keys({"F1"});
    ASSERT_TRUE(tmux.waitForText("shotgunT = shotgun")) << tmux.screen();
    tmux.keys({"NPage", "NPage"}); // the help is taller than the screen
    ASSERT_TRUE(tmux.waitForText("Settings file:")) << tmux.screen();
    tmux.keys({"Enter"});
    ASSERT_TRUE(tmux.waitFor([](const std::string& s) {
        return s.find("Settings file:") == std::string::npos;
    })) << tmux.screen();
    tmux.keys({"Escape"});
    ASSERT_EQ(tmux.exitStatus(), 0);
    EXPECT_FALSE(fs::exists(m_ini));
}

TEST_F(TuiEndToEnd, AnotherProgramsChangeIsKeptAndAConflictIsAsked) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program({"--tab", "Server Options"}));
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[30")) << tmux.screen();
    // Meanwhile another program: a key the terminal leaves alone, and one it changes too.
    ASSERT_TRUE(WritePrivateProfileString("Gomcfg", "samemap", "true", m_ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("Gomcfg", "Nfraglimit", "7", m_ini.c_str()));
    tmux.keys({"Tab", "Tab", "Tab", "BSpace", "BSpace", "5", "0"});
    ASSERT_TRUE(tmux.waitForText("[50")) << tmux.screen();
    tmux.keys({"Enter"});
    ASSERT_TRUE(tmux.waitForText("Nfraglimit: 7 in the file, 50 here")) << tmux.screen();
    const std::string asked = readBytes(m_ini);
    tmux.keys({"Enter"}); // Cancel, the default: nothing written, the sheet stays
    ASSERT_TRUE(tmux.waitFor([](const std::string& s) {
        return s.find("in the file") == std::string::npos && s.find("Frag Limit:") != s.npos;
    })) << tmux.screen();
    EXPECT_EQ(readBytes(m_ini), asked);
    tmux.keys({"Enter"});
    ASSERT_TRUE(tmux.waitForText("Overwrite them with the values here?")) << tmux.screen();
    tmux.keys({"y"});
    ASSERT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_EQ(readBytes(m_ini), writtenBySheet(asked, {{"Nfraglimit", "50"},
                                                       {"cheating", "false"},
                                                       {"noexit", "false"},
                                                       {"Ntimelimit", "0"}}));
    EXPECT_NE(readBytes(m_ini).find("samemap=true"), std::string::npos);
}

TEST_F(TuiEndToEnd, TheEditorRunsInTheTerminalAndThePreviewReloads) {
    const fs::path script = m_dir / "edit.sh";
    writeBytes(script, "#!/bin/sh\n[ -t 0 ] && [ -t 1 ] || exit 1\n"
                       "printf 'Edited in the terminal\\r\\nline two\\r\\n' > \"$1\"\n");
    fs::permissions(script, fs::perms::owner_all);
    const Tmux tmux(m_dir, program({"--tab", "Gomble Stuff"}), {"EDITOR=" + script.string()});
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("Welcome Message")) << tmux.screen();
    tmux.keys({"Tab", "Tab", "Tab", "Tab", "Enter"}); // "Edit Motd"
    ASSERT_TRUE(tmux.waitForText("Edited in the terminal")) << tmux.screen();
    EXPECT_TRUE(tmux.waitForText("line two"));
    EXPECT_EQ(readBytes(m_dir / "gomble_motd.txt"), "Edited in the terminal\r\nline two\r\n");
    EXPECT_TRUE(tmux.waitForText("Alt+1-6/Ctrl+PgUp/Dn tab")); // the sheet is back, keys and all
    tmux.keys({"Escape"});
    EXPECT_EQ(tmux.exitStatus(), 0);
    EXPECT_FALSE(fs::exists(m_ini));
}

TEST_F(TuiEndToEnd, AnEditorThatCannotStartIsNamedAndTheSheetGoesOn) {
    const Tmux tmux(m_dir, program({"--tab", "Services"}), {"EDITOR=/nonexistent/editor"});
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[ Edit Allow File ]")) << tmux.screen();
    tmux.keys({"BTab", "BTab", "BTab", "BTab", "BTab", "Space"}); // back from Help to the button
    ASSERT_TRUE(tmux.waitForText("Could not start the editor /nonexistent/editor"))
        << tmux.screen();
    tmux.keys({"Escape"});
    EXPECT_EQ(tmux.exitStatus(), 0);
    EXPECT_FALSE(fs::exists(m_dir / "allow.cfg"));
}

TEST_F(TuiEndToEnd, AResizeRedrawsAtTheNewSize) {
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[ Help ]")) << tmux.screen();
    const auto lineOf = [](const std::string& screen, const std::string& text) {
        const std::size_t at = screen.find(text);
        return at == std::string::npos
                   ? -1
                   : int(std::count(screen.begin(), screen.begin() + long(at), '\n'));
    };
    EXPECT_EQ(lineOf(tmux.screen(), "[ Help ]"), 22);
    tmux.tmux({"resize-window", "-t", "0", "-x", "120", "-y", "40"});
    ASSERT_TRUE(tmux.waitFor([&](const std::string& s) { return lineOf(s, "[ Help ]") == 38; }))
        << tmux.screen();
    tmux.tmux({"resize-window", "-t", "0", "-x", "60", "-y", "20"});
    ASSERT_TRUE(tmux.waitForText("too small")) << tmux.screen();
    tmux.tmux({"resize-window", "-t", "0", "-x", "80", "-y", "24"});
    ASSERT_TRUE(tmux.waitFor([&](const std::string& s) { return lineOf(s, "[ Help ]") == 22; }))
        << tmux.screen();
    tmux.keys({"Escape"});
    EXPECT_EQ(tmux.exitStatus(), 0);
}

TEST_F(TuiEndToEnd, HangupWritesNothingAndLeavesTheTerminalSane) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    tmux.keys({"Space"});
    ASSERT_TRUE(tmux.waitForText("[ ] Shotgun")) << tmux.screen();
    const Ran pids = runProgram({"pgrep", "-P", tmux.query("#{pane_pid}")});
    ASSERT_EQ(pids.status, 0) << pids.err;
    ASSERT_EQ(kill(std::stoi(pids.out), SIGHUP), 0);
    EXPECT_EQ(tmux.exitStatus(), 128 + SIGHUP);
    EXPECT_EQ(readBytes(m_ini), kServerFile);
    // Back in cooked mode, echoing, with carriage returns read as line ends.
    const std::string after = tmux.sttyAfter();
    EXPECT_NE(after.find(" icanon"), std::string::npos) << after;
    EXPECT_NE(after.find(" echo "), std::string::npos) << after;
    EXPECT_NE(after.find(" icrnl"), std::string::npos) << after;
}

TEST_F(TuiEndToEnd, TheMouseClicksTabsCheckBoxesAndButtons) {
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    // A press and a release as an xterm reports them (X10 encoding), on the first cell of text
    // on the screen, counted in characters from 0.
    const auto click = [&](const std::string& text) {
        const std::string screen = tmux.screen();
        const std::size_t at = screen.find(text);
        ASSERT_NE(at, std::string::npos) << text << " not on\n" << screen;
        const auto line = std::count(screen.begin(), screen.begin() + long(at), '\n');
        const std::size_t start = screen.rfind('\n', at) + 1;
        const auto column = std::count_if(screen.begin() + long(start), screen.begin() + long(at),
                                          [](char c) { return (c & 0xC0) != 0x80; });
        const std::string cell{char(33 + column), char(33 + line)};
        tmux.keys({"-l", "\x1b[M " + cell + "\x1b[M#" + cell});
    };
    click("C.T.F.");
    ASSERT_TRUE(tmux.waitForText("[x] Teamplay")) << tmux.screen();
    click("[ ] C.T.F.");
    ASSERT_TRUE(tmux.waitForText("[x] C.T.F.")) << tmux.screen();
    click("[ OK ]");
    ASSERT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_EQ(GetPrivateProfileValue("Gomcfg", "ctf", m_ini.c_str()), "true");
}

TEST_F(TuiEndToEnd, WorksWithoutColourInTheCLocaleOnAVt100) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, {"env", "TERM=vt100", "LANG=C", "LC_ALL=C", GOMCFGTUI_BINARY, "--file",
                            m_ini.string(), "--tab", "server options"});
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[30")) << tmux.screen();
    EXPECT_NE(tmux.screen().find("[ ] No exit"), std::string::npos) << tmux.screen();
    tmux.keys({"Space", "C-PageDown"}); // to Services
    ASSERT_TRUE(tmux.waitForText("Enable IP banning files?")) << tmux.screen();
    tmux.keys({"Enter"});
    ASSERT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_NE(readBytes(m_ini).find("noexit=true"), std::string::npos);
    EXPECT_NE(readBytes(m_ini).find("Nfingerport=79"), std::string::npos);
}

TEST_F(TuiEndToEnd, CtrlBackslashEndsCleanlyLikeSigterm) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    ASSERT_EQ(tmux.query("#{alternate_on} #{mouse_any_flag}"), "1 1");
    tmux.keys({"Space", "C-\\"});
    EXPECT_EQ(tmux.exitStatus(), 128 + SIGQUIT);
    EXPECT_EQ(readBytes(m_ini), kServerFile);
    // The terminal as it was: main screen, no mouse reporting, a cursor, echo; and no core file
    // in the directory (the server's, on a real server), though dumps are on.
    EXPECT_EQ(tmux.modesAfter(), Tmux::kPaneRestored);
    EXPECT_NE(tmux.sttyAfter().find(" echo "), std::string::npos) << tmux.sttyAfter();
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_FALSE(entry.path().filename().string().starts_with("core")) << entry.path();
}

TEST_F(TuiEndToEnd, XtermsEightBitAltChangesTabsAndCtrlPageKeysToo) {
    writeBytes(m_ini, kServerFile);
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    EXPECT_TRUE(tmux.waitForText("Alt+1-6/Ctrl+PgUp/Dn tab")) << tmux.screen();
    tmux.keys({"-H", "c2", "b3"}); // Alt+3 from xterm with its default eightBitInput, UTF-8
    ASSERT_TRUE(tmux.waitForText("[30")) << tmux.screen();
    tmux.keys({"C-PageDown"});
    ASSERT_TRUE(tmux.waitForText("Enable IP banning files?")) << tmux.screen();
    tmux.keys({"Escape"});
    EXPECT_EQ(tmux.exitStatus(), 0);
}

TEST_F(TuiEndToEnd, AMessageBoxOnEightColumnsOrFewerStillEndsOnSigterm) {
    const Tmux tmux(m_dir, program());
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    tmux.keys({"F1"});
    ASSERT_TRUE(tmux.waitForText("shotgunT = shotgun")) << tmux.screen();
    for (const char* columns : {"8", "5", "1"}) {
        tmux.tmux({"resize-window", "-t", "0", "-x", columns, "-y", "24"});
        // The box is drawn at the new size, one character to a line.
        ASSERT_TRUE(tmux.waitFor([&](const std::string& s) {
            return s.find('\n') <= std::size_t(std::stoi(columns));
        })) << columns;
    }
    tmux.tmux({"resize-window", "-t", "0", "-x", "80", "-y", "24"});
    ASSERT_TRUE(tmux.waitForText("shotgunT = shotgun")) << tmux.screen();
    tmux.tmux({"resize-window", "-t", "0", "-x", "6", "-y", "24"});
    std::this_thread::sleep_for(300ms);
    const Ran pids = runProgram({"pgrep", "-P", tmux.query("#{pane_pid}")});
    ASSERT_EQ(pids.status, 0) << pids.err;
    const pid_t running = std::stoi(pids.out);
    ASSERT_EQ(kill(running, SIGTERM), 0);
    const std::optional<int> status = tmux.exitStatus(10s);
    if (!status)
        kill(running, SIGKILL); // it spun, deaf to signals, and would spin on after the test
    EXPECT_EQ(status, 128 + SIGTERM);
    EXPECT_EQ(tmux.modesAfter(), Tmux::kPaneRestored);
    EXPECT_FALSE(fs::exists(m_ini));
}

TEST_F(TuiEndToEnd, GreyedControlsAreGreyWhereFaintTextIsNotShown) {
    writeBytes(m_ini, kServerFile);
    // Stock xterm's terminal type has 8 colours and shows faint (SGR 2) as plain text: a
    // placeholder is bold black there, which xterm, the Linux console, tmux and screen show grey.
    // With 256 colours it is colour 8; without colour, underlined.
    struct Case {
        const char* term;
        const char* noColor;
        const char* look; // what tmux reports for the placeholder's cells
    };
    for (const Case& c : {Case{"xterm", "NO_COLOR=", "\x1b[1m\x1b[30m"},
                          Case{"linux", "NO_COLOR=", "\x1b[1m\x1b[30m"},
                          Case{"tmux-256color", "NO_COLOR=", "\x1b[90m"},
                          Case{"xterm", "NO_COLOR=1", "\x1b[2;4m"}}) {
        SCOPED_TRACE(std::string(c.term) + " " + c.noColor);
        const Tmux tmux(m_dir,
                        {"env", std::string("TERM=") + c.term, GOMCFGTUI_BINARY, "--file",
                         m_ini.string(), "--tab", "Server Options"},
                        {c.noColor});
        ASSERT_TRUE(tmux.started());
        ASSERT_TRUE(tmux.waitForText("more later...")) << tmux.screen();
        const std::string cells = tmux.tmux({"capture-pane", "-p", "-e", "-t", "0"}).out;
        const std::size_t placeholder = cells.find("[ ] more later...");
        ASSERT_NE(placeholder, std::string::npos) << cells;
        const std::size_t styled = cells.rfind("\x1b[", placeholder);
        const std::size_t plain = cells.rfind("\x1b[0m", placeholder);
        ASSERT_NE(styled, std::string::npos) << cells;
        const std::string before =
            cells.substr(plain == std::string::npos ? 0 : plain,
                         placeholder - (plain == std::string::npos ? 0 : plain));
        EXPECT_NE(before.find(c.look), std::string::npos) << before;
        tmux.keys({"Escape"});
        EXPECT_EQ(tmux.exitStatus(), 0);
    }
}

TEST_F(TuiEndToEnd, OneEscCancelsInGnuScreen) {
    if (runProgram({"screen", "-v"}).status == 127)
        GTEST_SKIP() << "GNU screen is not installed";
    // screen holds back a lone Esc while its window reports the mouse, until the next key.
    const fs::path sockets = m_dir / "screens";
    fs::create_directory(sockets);
    fs::permissions(sockets, fs::perms::owner_all);
    // When tmux goes, screen goes with its window, instead of waiting detached.
    writeBytes(m_dir / "screenrc", "autodetach off\n");
    const Tmux tmux(
        m_dir,
        {"screen", "-c", (m_dir / "screenrc").string(), GOMCFGTUI_BINARY, "--file", m_ini.string()},
        {"SCREENDIR=" + sockets.string()});
    ASSERT_TRUE(tmux.started());
    ASSERT_TRUE(tmux.waitForText("[x] Shotgun")) << tmux.screen();
    tmux.keys({"Space"});
    ASSERT_TRUE(tmux.waitForText("[ ] Shotgun")) << tmux.screen();
    tmux.keys({"Escape"});
    EXPECT_EQ(tmux.exitStatus(), 0) << tmux.screen();
    EXPECT_FALSE(fs::exists(m_ini));
}
