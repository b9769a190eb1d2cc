// gomcfgctl in-process: how it reads each value at the edges of its range, what the pages read
// from the same file, the key table and its help, and the faults of the write that follows.

#include "CtlRows.h"
#include "cli/Commands.h"
#include "model/PageCodecs.h"
#include "platform/store/IniDocument.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "settings/KeySuggestion.h"
#include "settings/KeyTable.h"
#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"
#include "settings/WeaponTokens.h"
#include "support/ModelSupport.h"

#include <nlohmann/json.hpp>

#include <pwd.h>

#include <filesystem>
#include <regex>

using namespace ctl_rows;
using namespace std::string_literals;

namespace {

// What get, list and check make of one stored text of one key.
struct Reading {
    int getStatus;
    std::string value;
    std::string state;
    int checkStatus;
};

Reading readingOf(const WorkDir& dir, const SettingKey& key, const std::string& text) {
    putBytes(dir, "[Gomcfg]\n" + std::string(key.key) + "=" + text + "\n", kFile);
    const CtlRun get = ctl({"get", key.key});
    const auto rows = nlohmann::json::parse(ctl({"--json", "list"}).out);
    std::string state;
    for (const auto& row : rows)
        if (row["key"] == key.key)
            state = row["state"];
    return {get.status, get.out, state, ctl({"check"}).status};
}

} // namespace

// Every integer key at its minimum and maximum reads "ok" everywhere; one step outside reads out
// of range everywhere.
TEST(GomcfgctlReading, EveryIntegerKeyIsOkExactlyWithinItsRange) {
    WorkDir dir;
    for (const SettingKey& key : SettingKeys()) {
        if (key.type != SettingType::Integer)
            continue;
        for (const int value : {key.minValue, key.maxValue}) {
            const std::string text = IntegerText(value);
            const Reading r = readingOf(dir, key, text);
            EXPECT_EQ(r.getStatus, 0) << key.key << "=" << text;
            EXPECT_EQ(r.value, text + "\n") << key.key;
            EXPECT_EQ(r.state, "ok") << key.key << "=" << text;
            EXPECT_EQ(r.checkStatus, 0) << key.key << "=" << text;
            EXPECT_EQ(ctl({"set", std::string(key.key) + "=" + text}).status, 0) << key.key;
        }
        for (const int value : {key.minValue - 1, key.maxValue + 1}) {
            const std::string text = IntegerText(value);
            const Reading r = readingOf(dir, key, text);
            EXPECT_EQ(r.getStatus, 1) << key.key << "=" << text;
            EXPECT_EQ(r.value, text + "\n") << key.key;
            EXPECT_EQ(r.state, "out of range") << key.key << "=" << text;
            EXPECT_EQ(r.checkStatus, 1) << key.key << "=" << text;
            EXPECT_EQ(ctl({"set", std::string(key.key) + "=" + text}).status, 2) << key.key;
        }
    }
}

// Every token, the first of the list as much as the last, on every substitute key.
TEST(GomcfgctlReading, EveryWeaponTokenIsOkOnEverySubstituteKey) {
    WorkDir dir;
    for (const SettingKey& key : SettingKeys()) {
        if (key.type != SettingType::WeaponToken)
            continue;
        for (int i = 0; i < kWeaponCount; ++i) {
            const std::string token = WeaponTokenFromIndex(i);
            const Reading r = readingOf(dir, key, token);
            EXPECT_EQ(r.getStatus, 0) << key.key << "=" << token;
            EXPECT_EQ(r.value, token + "\n") << key.key << "=" << token;
            EXPECT_EQ(r.state, "ok") << key.key << "=" << token;
            EXPECT_EQ(r.checkStatus, 0) << key.key << "=" << token;
        }
        const Reading upper = readingOf(dir, key, "BFG");
        EXPECT_EQ(upper.getStatus, 1) << key.key;
        EXPECT_EQ(upper.value, "\n") << key.key;
        EXPECT_EQ(upper.state, "unreadable") << key.key;
    }
}

// get prints what the pages show when their tab first shows, read by the pages' own codecs.
TEST(GomcfgctlReading, GetPrintsWhatThePagesLoadFromTheSameFile) {
    WorkDir dir;
    SettingsSession session(SettingsFilePath());
    ScriptedPrompts messages;
    PageIo io{session, messages};
    putBytes(dir,
             "[Gomcfg]\r\nsamemap=True\r\nisc=True\r\nNfraglimit=12abc\r\nNtimelimit=\r\n"
             "Nhttpport=-5\r\nNfingerport= 0x1F \r\nrocketsT=Rockets\r\nbfgT=railgun\r\n"
             "railgun=True\r\nshotgun=false\r\ncheating=\"true\"\r\n",
             kFile);

    for (const char* key :
         {"samemap", "isc", "cheating", "ctf", "Nfraglimit", "Ntimelimit", "Nhttpport",
          "Nfingerport", "rocketsT", "bfgT", "shotgunT", "railgun", "shotgun"}) {
        const SettingKey* entry = FindSettingKey(key);
        ASSERT_NE(entry, nullptr);
        std::string loaded;
        if (entry->type == SettingType::Boolean) {
            int value = -1;
            if (std::string_view(key) == "railgun" || std::string_view(key) == "shotgun")
                LoadDataItemON(io, key, entry->defaultText, value);
            else
                ReadBoolSetting(io, value, key, std::string_view(entry->defaultText) == "true");
            loaded = value ? "true" : "false";
        } else if (entry->type == SettingType::Integer) {
            int value = -1;
            ReadIntSetting(io, key, value, std::stoi(entry->defaultText));
            loaded = std::to_string(value);
        } else {
            int selected = -1;
            const std::string token(key, std::strlen(key) - 1);
            LoadDataItem(io, token.c_str(), token.c_str(), selected);
            loaded = selected < 0 ? "" : WeaponTokenFromIndex(selected);
        }
        const CtlRun run = ctl({"get", key});
        EXPECT_EQ(run.out, loaded + "\n") << key;
        // The sheet reads these its own way: get says so on stderr and exits 1.
        const bool ownWay = loaded.empty() || std::string_view(key) == "samemap" ||
                            std::string_view(key) == "isc" || std::string_view(key) == "railgun" ||
                            key[0] == 'N';
        EXPECT_EQ(run.status, ownWay ? 1 : 0) << key << run.err;
        EXPECT_EQ(run.err.empty(), !ownWay) << key << run.err;
    }
    const CtlRun several = ctl({"get", "rocketsT", "Nfraglimit", "ctf"});
    EXPECT_EQ(several.status, 1);
    EXPECT_EQ(several.out, "\n12\nfalse\n");
    EXPECT_EQ(several.err,
              "gomcfgctl: rocketsT: 'Rockets' is not exactly a weapon token; the sheet shows an "
              "empty list\ngomcfgctl: Nfraglimit: '12abc' is not plain decimal; the sheet reads "
              "12\n");
    const CtlRun typed = ctl({"--json", "get", "bfgt", "Nhttpport", "isc", "rocketsT"});
    EXPECT_EQ(typed.status, 1);
    EXPECT_EQ(typed.err, "");
    const auto doc = nlohmann::json::parse(typed.out);
    EXPECT_EQ(doc["error"], "3 stored values the sheet reads its own way or finds out of range");
    EXPECT_EQ(doc["problems"].size(), 3u);
    const auto& values = doc["result"];
    EXPECT_EQ(values["bfgT"], "railgun");
    EXPECT_TRUE(values["rocketsT"].is_null());
    EXPECT_EQ(values["Nhttpport"], -5);
    EXPECT_EQ(values["isc"], true);
    EXPECT_EQ(ctl({"--json", "get", "bfgT", "ctf"}).out,
              "{\n  \"bfgT\": \"railgun\",\n  \"ctf\": false\n}\n");
}

TEST(GomcfgctlReading, ListShowsEveryKeyWithStoredTextValueAndState) {
    WorkDir dir;
    putBytes(dir, "[Gomcfg]\nsamemap=True\nNhttpport=-5\nNfraglimit=7\nrocketsT=ROCKETS\nctf=\n",
             kFile);
    const auto rows = nlohmann::json::parse(ctl({"list", "--json"}).out);
    ASSERT_EQ(rows.size(), SettingKeys().size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i]["key"], SettingKeys()[i].key);
    const auto row = [&](const char* key) {
        for (const auto& r : rows)
            if (r["key"] == key)
                return r;
        return nlohmann::json();
    };
    EXPECT_EQ(row("samemap")["state"], "unreadable");
    EXPECT_EQ(row("samemap")["stored"], "True");
    EXPECT_EQ(row("samemap")["value"], false);
    EXPECT_EQ(row("Nhttpport")["state"], "out of range");
    EXPECT_EQ(row("Nhttpport")["tab"], "Services");
    EXPECT_EQ(row("Nhttpport")["allowed"]["max"], 64000);
    EXPECT_EQ(row("Nfraglimit")["state"], "ok");
    EXPECT_EQ(row("rocketsT")["state"], "unreadable");
    EXPECT_TRUE(row("rocketsT")["value"].is_null());
    EXPECT_EQ(row("ctf")["stored"], "");
    EXPECT_EQ(row("teamplay")["state"], "default");
    EXPECT_TRUE(row("teamplay")["stored"].is_null());
    EXPECT_EQ(row("teamplay")["value"], true);
    EXPECT_EQ(row("bfgT")["allowed"].size(), std::size_t(kWeaponCount));

    const CtlRun table = ctl({"list"});
    EXPECT_EQ(table.status, 0);
    EXPECT_TRUE(table.out.starts_with("KEY            TAB             TYPE     DEFAULT"))
        << table.out;
    EXPECT_NE(table.out.find("\nNhttpport      Services        integer  80            "
                             "1 to 64000    -5       -5            out of range\n"),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("\nteamplay       C.T.F.          boolean  true          "
                             "true, false   -        true          default\n"),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("\nctf            C.T.F.          boolean  false         "
                             "true, false   \"\"       false         unreadable\n"),
              std::string::npos)
        << table.out;
}

// The store's precondition fails when another program wrote between the read and the write:
// set reads again and reports the change it really made.
TEST(GomcfgctlReading, SetThatLosesTheRaceReadsAgainAndReportsWhatTheOtherProgramWrote) {
    WorkDir dir;
    putBytes(dir, "[Gomcfg]\nNfraglimit=30\nctf=true\n", kFile);
    int writes = 0;
    // gomcfgctl run with another program writing value<n> before each of its first times saves.
    const auto setWhileOtherProgramWrites = [&](const std::vector<std::string>& args,
                                                const char* value, int times) {
        return ctl(args, kSystemProfileIo, [&writes, value, times] {
            if (writes++ < times) {
                ASSERT_TRUE(WritePrivateProfileString("Gomcfg", "Nfraglimit",
                                                      (value + std::to_string(writes)).c_str(),
                                                      kSettingsFileName));
            }
        });
    };
    CtlRun run = setWhileOtherProgramWrites({"-v", "set", "Nfraglimit=40", "ctf=false"}, "3", 1);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Nfraglimit: 31 -> 40\nctf: true -> false\n");
    EXPECT_EQ(bytesOf(dir, kFile), "[Gomcfg]\nNfraglimit=40\nctf=false\n");
    EXPECT_EQ(writes, 2);

    // The other program wrote the very value: nothing is left to change.
    writes = 0;
    putBytes(dir, "[Gomcfg]\nNfraglimit=30\n", kFile);
    run = setWhileOtherProgramWrites({"--json", "set", "Nfraglimit=41"}, "4", 1);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "{\n  \"changed\": false,\n  \"changes\": []\n}\n");
    EXPECT_EQ(bytesOf(dir, kFile), "[Gomcfg]\nNfraglimit=41\n");

    // A file that never holds still: exit 3, and the other program's value stays.
    writes = 0;
    run = setWhileOtherProgramWrites({"set", "Nfraglimit=40"}, "5", 1000);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + dir.filePath(kFile) +
                           ": it kept changing while being written\n");
    EXPECT_EQ(IniDocument(bytesOf(dir, kFile)).value("Gomcfg", "Nfraglimit"),
              "5" + std::to_string(writes));
}

// Exit 3 means nothing changed, except when only the flush of the directory after the rename
// failed: then the message says the new values are in the file, and they are.
TEST(GomcfgctlReading, WriteFaultsSayWhetherTheNewValuesAreInTheFile) {
    WorkDir dir;
    const std::string path = dir.filePath(kFile);
    const std::string before = "[Gomcfg]\nctf=true\n";
    putBytes(dir, before, kFile);
    CtlRun run;
    {
        const FaultScope faults(Faults{.failFsync = 0}); // the new file's own flush
        run = ctl({"set", "ctf=false"}, faults.io());
    }
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + path + ": Input/output error\n");
    EXPECT_EQ(bytesOf(dir, kFile), before);
    {
        const FaultScope faults(Faults{.failFsync = 1}); // the directory's, after the rename
        run = ctl({"set", "ctf=false"}, faults.io());
    }
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + path +
                           ": only the final flush of its directory failed (Input/output "
                           "error); the new values are already in the file\n");
    EXPECT_EQ(bytesOf(dir, kFile), "[Gomcfg]\nctf=false\n");
    {
        const FaultScope faults(Faults{.failFsync = 1, .error = ENOSPC});
        run = ctl({"--json", "set", "ctf=true"}, faults.io());
    }
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(nlohmann::json::parse(run.out)["error"],
              "cannot write " + path +
                  ": only the final flush of its directory failed (No space left on device); "
                  "the new values are already in the file");
    EXPECT_EQ(bytesOf(dir, kFile), before);
}

// In a sticky directory that others may add files to, a link another user put in place of the
// missing settings file is neither read nor written through: get, set and check name it and its
// owner, and the file it leads to stays as it was.
TEST(GomcfgctlReading, ALinkAnotherUserPlantedInAStickyDirectoryIsNamedAndNotFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting a link as another user needs root";
    WorkDir dir;
    const std::string path = dir.filePath(kFile);
    const std::string secret = dir.filePath("secret.ini");
    putBytes(dir, "[Gomcfg]\nctf=true\n", "secret.ini");
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
    ASSERT_EQ(::symlink("secret.ini", path.c_str()), 0);
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::lchown(path.c_str(), kNobody, kNobody), 0);
    const passwd* nobody = ::getpwuid(kNobody);
    const std::string owner = nobody ? nobody->pw_name : "user 65534";
    const std::string why = "cannot read " + path + ": the symbolic link " + path + " (owner " +
                            owner + ") is in a sticky directory";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"get", "ctf"}, {"set", "ctf=false"}, {"check"}, {"--dry-run", "set", "ctf=false"}}) {
        const CtlRun run = ctl(args);
        EXPECT_EQ(run.status, 3) << args.front();
        EXPECT_TRUE(run.err.starts_with("gomcfgctl: " + why)) << run.err;
        EXPECT_EQ(run.out, "") << args.front();
    }
    EXPECT_EQ(bytesOf(dir, "secret.ini"), "[Gomcfg]\nctf=true\n");
    EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kFile, "secret.ini"}));
}

// The default file follows $GOMCFG_WINDIR, as the sheet's does; --file with a bare name means
// the current directory, never $GOMCFG_WINDIR.
TEST(GomcfgctlReading, TheDefaultFileFollowsTheWindowsDirectoryAndABareFileNameDoesNot) {
    WorkDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("win")));
    const std::string win = dir.filePath("win");
    {
        const ScopedEnvVar winDir("GOMCFG_WINDIR", win);
        EXPECT_EQ(ctl({"set", "ctf=false"}).status, 0);
        EXPECT_EQ(entriesOf(win), std::set<std::string>{kFile});
        EXPECT_EQ(ctl({"--file", "other.ini", "set", "isc=false"}).status, 0);
        EXPECT_TRUE(dir.exists("other.ini"));
        EXPECT_EQ(entriesOf(win), std::set<std::string>{kFile});
        putBytes(dir, "[Gomcfg]\nisc=no\n", "other.ini");
        EXPECT_EQ(ctl({"--file", "other.ini", "check"}).out,
                  "./other.ini:2: isc: 'no' is not exactly true or false; the sheet reads true\n");
        EXPECT_EQ(ctl({"check"}).status, 0);
        EXPECT_EQ(ctl({"--dir", "win", "get", "ctf"}).out, "false\n");
        // file names the same files, as the Ansible modules report them.
        const std::string here = std::filesystem::current_path().string();
        EXPECT_EQ(ctl({"file"}).out, here + "/win/GombleTroveII.ini\n");
        EXPECT_EQ(ctl({"--file", "other.ini", "file"}).out, here + "/other.ini\n");
        EXPECT_EQ(ctl({"--dir", "./win/../win/", "--json", "file"}).out,
                  "{\n  \"file\": \"" + here + "/win/GombleTroveII.ini\"\n}\n");
        EXPECT_EQ(ctl({"--file", "/srv/no/such.ini", "file"}).out, "/srv/no/such.ini\n");
    }
    const ScopedEnvVar noWinDir("GOMCFG_WINDIR", std::nullopt);
    putBytes(dir, "[Gomcfg]\nisc=no\n", kFile);
    EXPECT_EQ(ctl({"check"}).out,
              "./GombleTroveII.ini:2: isc: 'no' is not exactly true or false; the sheet reads "
              "true\n");
}

TEST(GomcfgctlReading, HelpListsTheCommandsAndEachCommandHasItsOwn) {
    WorkDir dir;
    const CtlRun help = ctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(ctl({"help"}).out, help.out);
    EXPECT_EQ(ctl({"-h"}).out, help.out);
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << line;
    const std::string exitStatus = "Exit status:\n  0  done\n";
    EXPECT_NE(help.out.find(exitStatus), std::string::npos);
    for (const char* command : {"list", "get", "set", "reset", "check", "file", "help"}) {
        EXPECT_TRUE(std::regex_search(help.out, std::regex("\n  "s + command + " +[A-Z]")))
            << command;
        const CtlRun own = ctl({command, "--help"});
        EXPECT_EQ(own.status, 0) << command;
        EXPECT_NE(own.out.find("Usage: gomcfgctl "s + command), std::string::npos) << own.out;
        EXPECT_EQ(ctl({"help", command}).out, own.out) << command;
        EXPECT_NE(own.out.find(exitStatus), std::string::npos) << command;
    }
    EXPECT_NE(ctl({"set", "--help"}).out.find("rockets\n(Rocket Launcher)"), std::string::npos);
    const CtlRun version = ctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "gomcfgctl (Gomcfg) 1.0.0.1\n");
    EXPECT_FALSE(dir.exists(kFile));
}

// The README's table of exit statuses, the man page and the help say the same, in the same
// words, and the man page knows every option of the help.
TEST(GomcfgctlReading, HelpReadmeAndManPageAgree) {
    const auto contents = [](const char* path) {
        std::ifstream file(path, std::ios::binary);
        EXPECT_TRUE(file.is_open()) << path;
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const auto squeezed = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), '`'), s.end());
        return std::regex_replace(s, std::regex("\\s+"), " ");
    };
    const std::string all = contents(GOMCFG_SOURCE_DIR "/README.md");
    const std::size_t section = all.find("\n## From a terminal\n");
    ASSERT_NE(section, std::string::npos);
    const std::string text = all.substr(section, all.find("\n## ", section + 1) - section);
    // Roff as plain words: no requests, no font changes, "\-" as "-".
    std::string man = contents(GOMCFG_SOURCE_DIR "/dist/gomcfgctl.1");
    man = std::regex_replace(man, std::regex("\n\\.(TP|PP|br)\n"), "\n");
    man = std::regex_replace(man, std::regex("\n\\.[A-Z]+ "), "\n");
    man = std::regex_replace(man, std::regex("\\\\-"), "-");
    man = squeezed(man);
    const std::string help = squeezed(ctl({"--help"}).out);
    const std::size_t optionsAt = help.find("Options:");
    const std::string helpOptions = help.substr(optionsAt, help.find("Commands:") - optionsAt);
    int rows = 0;
    const std::regex row("\n\\| ([0-3]) \\| ([^|\n]+) \\|");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row);
         it != std::sregex_iterator(); ++it, ++rows) {
        const std::string line = (*it)[1].str() + " " + squeezed((*it)[2].str());
        EXPECT_NE(help.find(line), std::string::npos) << line;
        EXPECT_NE(man.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(rows, 4);

    const std::string synopsis = man.substr(0, man.find("DESCRIPTION"));
    const std::string options = man.substr(man.find("OPTIONS"));
    const std::regex option("(?:^|[ ,])(-[-a-z]+)");
    int found = 0;
    for (auto it = std::sregex_iterator(helpOptions.begin(), helpOptions.end(), option);
         it != std::sregex_iterator(); ++it, ++found) {
        const std::string name = (*it)[1];
        const std::regex word("(^|[^-a-z])" + name + "($|[^-a-z])"); // -v is not --verbose
        EXPECT_TRUE(std::regex_search(synopsis, word)) << name;
        EXPECT_TRUE(std::regex_search(options, word)) << name;
    }
    EXPECT_GE(found, 9);
}

TEST(GomcfgctlReading, SuggestionsOnlyForNamesCloseEnough) {
    const std::vector<std::pair<std::string, const char*>> keys = {
        {"fraglimit", "Nfraglimit"},
        {"rocketT", "rocketsT"},
        {"SAMEMAP2", "samemap"},
        {"hyperblastr", "hyperblaster"},
        {"http_port", "Nhttpport"},
        {"shotgunt", "shotgunT"},
        {"nosuchkey", nullptr},
        {"", nullptr},
        {"x", nullptr},
        {"gun", nullptr},
        {"zzzzzzzzzz", nullptr},
        // Containing a key is not enough when the rest is longer than the key.
        {"Nfraglimit-for-the-whole-season", nullptr},
    };
    for (const auto& [typed, expected] : keys) {
        const SettingKey* key = SuggestedSettingKey(typed);
        EXPECT_EQ(key ? key->key : "(none)", std::string(expected ? expected : "(none)")) << typed;
    }
    EXPECT_EQ(SuggestedSettingKey(std::string(1 << 20, 'N')), nullptr);
    EXPECT_EQ(SuggestedSettingKey("Nfraglimi" + std::string(1 << 20, 't')), nullptr);

    const char* const commands[] = {"list", "get", "set", "reset", "check", "file", "help"};
    const std::vector<std::pair<std::string, const char*>> words = {
        {"sett", "set"}, {"chek", "check"}, {"lst", "list"},         {"RESET", "reset"},
        {"gett", "get"}, {"xyz", nullptr},  {"frobnicate", nullptr},
    };
    for (const auto& [typed, expected] : words) {
        const char* word = SuggestedName(typed, commands);
        EXPECT_EQ(word ? word : "(none)", std::string(expected ? expected : "(none)")) << typed;
    }
}
