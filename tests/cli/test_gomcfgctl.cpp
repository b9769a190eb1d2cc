// gomcfgctl as a program: what only a process shows (exit statuses, the streams, a race with
// another process), and what gets installed.

#include "CtlRows.h"
#include "platform/store/IniDocument.h"
#include "settings/KeyTable.h"
#include "settings/SettingInput.h"
#include "settings/WeaponTokens.h"
#include "support/LockHolder.h"
#include "support/ProgramRun.h"
#include "support/StoreSupport.h"
#include "support/WorkDir.h"

#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using ctl_rows::age;
using ctl_rows::CtlRun;
using ctl_rows::kFile;
using ctl_rows::sampleFile;
using ctl_rows::untouched;

// The program with args, in the current directory, which WorkDir also makes
// $GOMCFG_WINDIR.
CtlRun program(const std::vector<std::string>& args) {
    const ProgramRun ran = RunProgram(GOMCFGCTL_BINARY, args);
    return {ran.status, ran.out, ran.err};
}

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << path;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The words of text, split at blanks.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

} // namespace

// The statuses and the streams as a shell sees them, with and without --json.
TEST(Gomcfgctl, TheProgramExitsWithEachStatusOnTheRightStream) {
    WorkDir dir;
    const std::string before = "[Gomcfg]\nsamemap=True\nctf=true\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"get", "ctf"}, 0, "true\n", ""},
        {{"get", "samemap"},
         1,
         "false\n",
         "gomcfgctl: samemap: 'True' is not exactly true or false; the sheet reads false\n"},
        {{"set", "ctf=maybe"},
         2,
         "",
         "gomcfgctl: ctf: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)\n"},
        {{"--json", "set", "ctf=maybe"},
         2,
         "{\n  \"error\": \"ctf: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)\",\n"
         "  \"problems\": [\n    \"ctf: 'maybe' is not a boolean (true/false, yes/no, on/off, "
         "1/0)\"\n  ]\n}\n",
         ""},
        {{},
         2,
         "",
         "gomcfgctl: no command given\nUsage: gomcfgctl [OPTIONS] COMMAND [ARGS]\n"
         "Commands: list, get, set, reset, check, file, help, pages\n"
         "Try 'gomcfgctl --help' for more information.\n"},
        {{"--dir", "missing", "list"},
         3,
         "",
         "gomcfgctl: cannot use directory missing: No such file or directory\n"},
        {{"--version"}, 0, "gomcfgctl (Gomcfg) 1.0.0.1\n", ""},
    };
    for (const Case& c : cases) {
        const CtlRun run = program(c.args);
        const std::string what = ctl_rows::joined(c.args);
        EXPECT_EQ(run.status, c.status) << what;
        EXPECT_EQ(run.out, c.out) << what;
        EXPECT_EQ(run.err, c.err) << what;
        EXPECT_TRUE(untouched(dir, before)) << what;
    }
    const CtlRun help = program({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.find("Usage: gomcfgctl [OPTIONS] COMMAND") != std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST(Gomcfgctl, FileThatCannotBeReadOrWrittenExitsWithThreeNamingPathAndReason) {
    WorkDir dir;
    const std::string before = "[Gomcfg]\nctf=true\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    ASSERT_EQ(::chmod(dir.filePath(kFile).c_str(), 0444), 0);
    CtlRun run = ctl_rows::ctl({"set", "ctf=false"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + dir.filePath(kFile) + ": Permission denied\n");
    EXPECT_TRUE(untouched(dir, before));
    // Reading a read-only file is fine.
    EXPECT_EQ(ctl_rows::ctl({"get", "ctf"}).out, "true\n");

    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("sub")));
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("sub/" + kFile)));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--dir", "sub", "list"},
          {"--dir", "sub/", "check"},
          {"--file", "sub/GombleTroveII.ini", "set", "ctf=1"}}) {
        run = ctl_rows::ctl(args);
        EXPECT_EQ(run.status, 3) << ctl_rows::joined(args);
        EXPECT_EQ(run.err, "gomcfgctl: cannot read sub/GombleTroveII.ini: Is a directory\n");
    }
}

// A dry run (and so the Ansible module's check mode) answers what the real run answers: the same
// message and status where the file or its directory is read-only or another writer keeps a
// lock, and both leave the file as it was.
TEST(Gomcfgctl, DryRunFailsWhereTheRealRunFailsWithTheSameAnswer) {
    const ProfileIo shortWait{.lockWait = std::chrono::milliseconds(100)};
    const std::string before = "[Gomcfg]\nctf=true\n";
    struct Case {
        const char* what;
        std::function<void(const WorkDir&)> setUp;
        std::string reason;
    };
    int held = -1;
    const std::vector<Case> cases = {
        {"read-only file",
         [](const WorkDir& d) { ASSERT_EQ(::chmod(d.filePath(kFile).c_str(), 0444), 0); },
         "Permission denied"},
        // The file may be written: the message says what stops the save.
        {"read-only directory",
         [](const WorkDir& d) { ASSERT_EQ(::chmod(d.path().c_str(), 0555), 0); },
         "Permission denied: a save first makes a new file beside it in DIR, a directory this "
         "user may not write"},
        {"file locked by another writer",
         [&](const WorkDir& d) {
             held = ::open(d.filePath(kFile).c_str(), O_RDONLY);
             ASSERT_EQ(::flock(held, LOCK_EX), 0);
         },
         "another program kept it locked for 5 s"},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        putBytes(dir, before, kFile);
        age(dir.filePath(kFile));
        c.setUp(dir);
        for (const bool json : {false, true}) {
            std::vector<std::string> args = {"set", "ctf=false"};
            if (json)
                args.insert(args.begin(), "--json");
            const CtlRun real = ctl_rows::ctl(args, shortWait);
            args.insert(args.begin(), "--dry-run");
            const CtlRun dry = ctl_rows::ctl(args, shortWait);
            EXPECT_EQ(real.status, 3) << c.what;
            EXPECT_EQ(dry.status, real.status) << c.what;
            EXPECT_EQ(dry.out, real.out) << c.what;
            EXPECT_EQ(dry.err, real.err) << c.what;
            if (!json) {
                std::string reason = c.reason;
                if (const std::size_t at = reason.find("DIR"); at != std::string::npos)
                    reason.replace(at, 3, dir.path());
                EXPECT_EQ(real.err,
                          "gomcfgctl: cannot write " + dir.filePath(kFile) + ": " + reason + "\n")
                    << c.what;
            }
        }
        EXPECT_TRUE(untouched(dir, before)) << c.what;
        ::chmod(dir.path().c_str(), 0700);
        if (held >= 0)
            ::close(std::exchange(held, -1));
    }
}

// The sheet's saves and gomcfgctl take the same lock, so neither loses the other's keys: each
// set starts together with another process's burst of store writes, as an Apply makes them.
TEST(Gomcfgctl, SetRacingTheStoreWritesOfAnotherProcessLosesNoKey) {
    WorkDir dir;
    putBytes(dir, sampleFile(), kFile);
    constexpr int kRounds = 20;
    constexpr int kBurst = 40;
    for (int round = 0; round < kRounds; ++round) {
        int go[2];
        ASSERT_EQ(::pipe2(go, O_CLOEXEC), 0);
        const pid_t writer =
            startWriter({"keys", dir.filePath(kFile), "Gomcfg", "r" + std::to_string(round) + "_",
                         std::to_string(kBurst)},
                        go[0], -1);
        ::close(go[0]);
        ::close(go[1]); // go
        const std::string n = std::to_string(round);
        const CtlRun run = program({"set", "Nfraglimit=" + n, "Ntimelimit=" + n,
                                    round % 2 ? "samemap=on" : "samemap=off"});
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(exitStatus(writer), 0);
    }

    const std::string bytes = bytesOf(dir, kFile);
    const IniDocument doc(bytes);
    int missing = 0;
    for (int round = 0; round < kRounds; ++round)
        for (int i = 0; i < kBurst; ++i)
            missing += doc.value("Gomcfg", "r" + std::to_string(round) + "_" + std::to_string(i)) !=
                       std::to_string(i);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(doc.value("Gomcfg", "Nfraglimit"), std::to_string(kRounds - 1));
    EXPECT_EQ(doc.value("Gomcfg", "Ntimelimit"), std::to_string(kRounds - 1));
    EXPECT_EQ(doc.value("Gomcfg", "samemap"), "true");
    EXPECT_EQ(doc.value("Gomcfg", "Nhttpport"), "8080"); // and the sample's keys stay
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kFile});
}

// What the package installs: the program, its man page and its completion, and the package
// recommends bash-completion, which loads it.
TEST(Gomcfgctl, InstallsTheProgramManPageAndCompletion) {
    WorkDir dir;
    const ProgramRun install =
        RunProgram("/usr/bin/cmake", {"--install", GOMCFG_BUILD_DIR, "--component",
                                      "gomcfg-terminal", "--prefix", dir.filePath("usr")});
    ASSERT_EQ(install.status, 0) << install.err;
    for (const char* path : {"usr/bin/gomcfgctl", "usr/share/man/man1/gomcfgctl.1.gz",
                             "usr/share/bash-completion/completions/gomcfgctl", "usr/bin/gomcfgtui",
                             "usr/share/man/man1/gomcfgtui.1.gz"})
        EXPECT_TRUE(dir.exists(path)) << path;
    const ProgramRun installed = RunProgram(dir.filePath("usr/bin/gomcfgctl"), {"--version"});
    EXPECT_EQ(installed.status, 0);
    EXPECT_EQ(installed.out, "gomcfgctl (Gomcfg) 1.0.0.1\n");

    EXPECT_NE(fileText(GOMCFG_BUILD_DIR "/CPackConfig.cmake")
                  .find("set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_RECOMMENDS \"bash-completion\")"),
              std::string::npos);
}

// The bash completion lists the keys by type itself, to stay instant; it must follow the table.
TEST(Gomcfgctl, BashCompletionKnowsEveryKeyByItsType) {
    const std::string script = fileText(GOMCFG_SOURCE_DIR "/dist/gomcfgctl.bash-completion");
    const auto listed = [&](const std::string& list) {
        const std::regex assignment("local " + list + "=\"([^\"]*)\"");
        std::smatch match;
        return std::regex_search(script, match, assignment) ? words(match[1].str())
                                                            : std::vector<std::string>();
    };
    std::vector<std::string> booleans, integers, substitutes;
    for (const SettingKey& key : SettingKeys()) {
        (key.type == SettingType::Boolean   ? booleans
         : key.type == SettingType::Integer ? integers
                                            : substitutes)
            .push_back(key.key);
    }
    EXPECT_EQ(listed("booleans"), booleans);
    EXPECT_EQ(listed("integers"), integers);
    EXPECT_EQ(listed("substitutes"), substitutes);
    std::vector<std::string> tokens;
    for (int i = 0; i < kWeaponCount; ++i)
        tokens.push_back(WeaponTokenFromIndex(i));
    EXPECT_EQ(listed("weapons"), tokens);

    // Every boolean word it offers is one set takes, and every option of --help is offered.
    const std::vector<std::string> truth = listed("truth");
    EXPECT_EQ(truth,
              std::vector<std::string>({"true", "false", "yes", "no", "on", "off", "1", "0"}));
    for (const std::string& word : truth)
        EXPECT_TRUE(ParseSettingInput(*FindSettingKey("ctf"), word).text) << word;
    std::vector<std::string> options = listed("options");
    options.push_back("--all"); // --all after reset
    const std::string help = ctl_rows::ctl({"--help"}).out;
    const std::regex option("(?:^|[ ,])(-[-a-z]+)", std::regex::multiline);
    int found = 0;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
         it != std::sregex_iterator(); ++it, ++found) {
        const std::string name = (*it)[1].str();
        EXPECT_NE(std::find(options.begin(), options.end(), name), options.end()) << name;
    }
    EXPECT_GE(found, 9);
}

// The browser page saves a text file with the command line the program parses, options of
// "text write" included; an unknown option there is still named.
TEST(Gomcfgctl, TextWriteTakesItsVersionOptionAndRefusesAStaleOne) {
    WorkDir dir;
    putBytes(dir, "10.0.0.1\n", "allow.cfg");
    const CtlRun stale =
        program({"--dir", dir.path(), "text", "write", "allow.cfg", "--expect", "stale"});
    EXPECT_EQ(stale.status, 3) << stale.err;
    EXPECT_NE(stale.err.find("changed since it was opened here"), std::string::npos) << stale.err;
    EXPECT_EQ(fileText(dir.filePath("allow.cfg")), "10.0.0.1\n");
    const CtlRun bogus =
        program({"--dir", dir.path(), "text", "write", "allow.cfg", "--bogus", "x"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_NE(bogus.err.find("unknown option '--bogus'"), std::string::npos) << bogus.err;
}
