// gomcfgctl's commands in-process, row by row: arguments and the file before, against the exit
// status, the output, the complaints and the file after.

#include "CtlRows.h"
#include "cli/Commands.h"
#include "cli/TerminalText.h"
#include "platform/store/SaveFileNames.h"
#include "settings/KeySuggestion.h"
#include "settings/KeyTable.h"
#include "settings/SettingValues.h"
#include "settings/WeaponTokens.h"

#include <nlohmann/json.hpp>

#include <pwd.h>

#include <algorithm>

using namespace ctl_rows;
using namespace std::string_literals;

namespace {

const std::string kTry = "Try 'gomcfgctl --help' for more information.\n";
const std::string kUsage = "Usage: gomcfgctl [OPTIONS] COMMAND [ARGS]\n"
                           "Commands: list, get, set, reset, check, file, help, pages\n";

std::string tryHelp(const std::string& command) {
    return "Try 'gomcfgctl " + command + " --help' for more information.\n";
}

// The lines a text run printed as "gomcfgctl: LINE", without the name.
std::vector<std::string> complaintLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("gomcfgctl: "))
            lines.push_back(line.substr(11));
    return lines;
}

std::vector<std::string> withJson(std::vector<std::string> args) {
    args.insert(args.begin(), "--json");
    return args;
}

// Every call that is refused: its status and every complaint, nothing written.
const std::vector<Row>& refusedRows() {
    static const std::string sample = sampleFile();
    static const std::vector<Row> rows = {
        {{"get", "fraglimit"},
         sample,
         2,
         "",
         "gomcfgctl: unknown key 'fraglimit'; did you mean 'Nfraglimit'?\n"},
        // Nothing near enough: no suggestion at all.
        {{"get", "nosuchkey"}, sample, 2, "", "gomcfgctl: unknown key 'nosuchkey'\n"},
        {{"get", ""}, sample, 2, "", "gomcfgctl: unknown key ''\n"},
        {{"get", "x", "Nfraglimit"}, sample, 2, "", "gomcfgctl: unknown key 'x'\n"},
        {{"set", "rocketT=bfg"},
         sample,
         2,
         "",
         "gomcfgctl: unknown key 'rocketT'; did you mean 'rocketsT'?\n"},
        {{"set", "samemap=maybe"},
         sample,
         2,
         "",
         "gomcfgctl: samemap: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)\n"},
        {{"set", "Nfraglimit=1001"},
         sample,
         2,
         "",
         "gomcfgctl: Nfraglimit: '1001' is out of range (0 to 1000)\n"},
        {{"set", "Nhttpport=0"},
         sample,
         2,
         "",
         "gomcfgctl: Nhttpport: '0' is out of range (1 to 64000)\n"},
        {{"set", "Nfraglimit=12abc"},
         sample,
         2,
         "",
         "gomcfgctl: Nfraglimit: '12abc' is not a whole number\n"},
        {{"set", "rocketsT=Rocket"},
         sample,
         2,
         "",
         "gomcfgctl: rocketsT: 'Rocket' is not a weapon (bfg, chaingun, grenades, hyperblaster, "
         "machinegun, railgun, rockets, shotgun, supershotgun)\n"},
        {{"set", "ctf=1", "CTF=0"}, sample, 2, "", "gomcfgctl: ctf is given twice\n"},
        {{"set", "samemap"}, sample, 2, "", "gomcfgctl: 'samemap' is not KEY=VALUE\n"},
        {{"set", "=1"}, sample, 2, "", "gomcfgctl: '=1' is not KEY=VALUE\n"},
        {{"set"}, sample, 2, "", "gomcfgctl: KEY=VALUE is required\n" + tryHelp("set")},
        {{"get"}, sample, 2, "", "gomcfgctl: KEY is required\n" + tryHelp("get")},
        {{"reset"}, sample, 2, "", "gomcfgctl: reset: give KEY... or --all\n" + tryHelp("reset")},
        {{"reset", "isc", "ISC"}, sample, 2, "", "gomcfgctl: isc is given twice\n"},
        {{"reset", "--all", "isc"},
         sample,
         2,
         "",
         "gomcfgctl: KEY excludes --all\n" + tryHelp("reset")},
        {{"list", "extra"},
         sample,
         2,
         "",
         "gomcfgctl: The following argument was not expected: extra\n" + tryHelp("list")},
        {{"--file", "x.ini", "--dir", ".", "list"},
         sample,
         2,
         "",
         "gomcfgctl: --file and --dir both name the file; give one of them\n" + kTry},
        // An empty name would quietly mean the default file.
        {{"--file", "", "set", "ctf=false"},
         sample,
         2,
         "",
         "gomcfgctl: --file needs a path; an empty one would edit the default file\n" + kTry},
        {{"list", "--file", ""},
         sample,
         2,
         "",
         "gomcfgctl: --file needs a path; an empty one would edit the default file\n" + kTry},
        {{"--file=", "get", "ctf"},
         sample,
         2,
         "",
         "gomcfgctl: --file needs a path; an empty one would edit the default file\n" + kTry},
        {{"--dir=", "list"},
         sample,
         2,
         "",
         "gomcfgctl: --dir needs a directory; an empty one would edit the default file\n" + kTry},
        // An unknown option is named before what the command lacks.
        {{"--bogus", "get"},
         sample,
         2,
         "",
         "gomcfgctl: unknown option '--bogus'\n" + tryHelp("get")},
        {{"set", "--bogus=1"},
         sample,
         2,
         "",
         "gomcfgctl: unknown option '--bogus'\n" + tryHelp("set")},
        // After "--" every word is a key, even one that looks like an option.
        {{"get", "--", "--json"}, sample, 2, "", "gomcfgctl: unknown key '--json'\n"},
        // The store would add UTF-8 lines to a file that is not UTF-8.
        {{"--file", "GombleTroveII.ini", "set", "ctf=true"},
         std::string("\xFE\xFF\0[\0G", 6),
         3,
         "",
         "gomcfgctl: cannot write ./GombleTroveII.ini: it is UTF-16 big-endian (it starts with FE "
         "FF); save it as UTF-16LE or UTF-8 first\n"},
        {{"--file", "GombleTroveII.ini", "--dry-run", "reset", "ctf"},
         std::string("\xFE\xFF\0[\0G", 6),
         3,
         "",
         "gomcfgctl: cannot write ./GombleTroveII.ini: it is UTF-16 big-endian (it starts with FE "
         "FF); save it as UTF-16LE or UTF-8 first\n"},
        {{"--dir", "", "reset", "--all"},
         sample,
         2,
         "",
         "gomcfgctl: --dir needs a directory; an empty one would edit the default file\n" + kTry},
        // A mistyped command is named, with the nearest one.
        {{"sett", "ctf=false"},
         sample,
         2,
         "",
         "gomcfgctl: unknown command 'sett'; did you mean 'set'?\n" + kTry},
        {{"--json", "chek"},
         sample,
         2,
         "{\n  \"error\": \"unknown command 'chek'; did you mean 'check'?\",\n  \"problems\": [\n"
         "    \"unknown command 'chek'; did you mean 'check'?\"\n  ]\n}\n",
         ""},
        {{"frobnicate"}, sample, 2, "", "gomcfgctl: unknown command 'frobnicate'\n" + kTry},
        {{"help", "sett"},
         sample,
         2,
         "",
         "gomcfgctl: help: unknown command 'sett'; did you mean 'set'?\n" + kTry},
        {{}, sample, 2, "", "gomcfgctl: no command given\n" + kUsage + kTry},
        {{"--verbose"}, sample, 2, "", "gomcfgctl: no command given\n" + kUsage + kTry},
        // One bad assignment among good ones: all reported, none written.
        {{"set", "Nfraglimit=40", "samemap=sometimes", "ctf=false", "bfgT=laser", "nosuch=1"},
         sample,
         2,
         "",
         "gomcfgctl: samemap: 'sometimes' is not a boolean (true/false, yes/no, on/off, 1/0)\n"
         "gomcfgctl: bfgT: 'laser' is not a weapon (bfg, chaingun, grenades, hyperblaster, "
         "machinegun, railgun, rockets, shotgun, supershotgun)\n"
         "gomcfgctl: unknown key 'nosuch'\n"},
        // A missing directory is named as such, and is not created.
        {{"--dir", "missing", "set", "ctf=false"},
         sample,
         3,
         "",
         "gomcfgctl: cannot use directory missing: No such file or directory\n"},
        {{"--dir", "missing/", "get", "ctf"},
         sample,
         3,
         "",
         "gomcfgctl: cannot use directory missing: No such file or directory\n"},
        {{"--file", "missing/x.ini", "check"},
         sample,
         3,
         "",
         "gomcfgctl: cannot use directory missing: No such file or directory\n"},
        {{"--dir", "GombleTroveII.ini", "list"},
         sample,
         3,
         "",
         "gomcfgctl: cannot use directory GombleTroveII.ini: Not a directory\n"},
    };
    return rows;
}

} // namespace

TEST(GomcfgctlRows, RefusedCallsExitWithTheirStatusAndLeaveTheFileAsItWas) {
    expectRows(refusedRows());
    WorkDir dir;
    ctl({"--dir", "missing", "set", "ctf=false"});
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{});
}

// With --json every refusal is one object on stdout, with the same status, and nothing on
// stderr: "error" is one line, "problems" are the lines the text run complains with.
TEST(GomcfgctlRows, WithJsonEveryRefusalIsAnErrorObjectOnStdout) {
    for (const Row& row : refusedRows()) {
        if (std::find(row.args.begin(), row.args.end(), "--json") != row.args.end())
            continue;
        WorkDir dir;
        putBytes(dir, *row.before, kFile);
        const CtlRun text = ctl(row.args);
        const CtlRun json = ctl(withJson(row.args));
        const std::string what = joined(row.args);
        EXPECT_EQ(json.status, text.status) << what;
        EXPECT_EQ(json.err, "") << what;
        const auto doc = nlohmann::json::parse(json.out, nullptr, false);
        ASSERT_TRUE(doc.is_object()) << what << json.out;
        EXPECT_EQ(doc.size(), 2u) << what << json.out;
        ASSERT_TRUE(doc["error"].is_string()) << what;
        const std::string error = doc["error"];
        EXPECT_EQ(error.find('\n'), std::string::npos) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(doc["problems"].get<std::vector<std::string>>(), complaintLines(text.err))
            << what;
    }
    expectRows({
        {{"--json", "set", "samemap=maybe", "Nfraglimit=-1"},
         "",
         2,
         R"j({
  "error": "2 invalid assignments; nothing was written",
  "problems": [
    "samemap: 'maybe' is not a boolean (true/false, yes/no, on/off, 1/0)",
    "Nfraglimit: '-1' is out of range (0 to 1000)"
  ]
}
)j",
         ""},
        {{"--json", "--dir", "missing", "list"},
         std::nullopt,
         3,
         R"j({
  "error": "cannot use directory missing: No such file or directory",
  "problems": [
    "cannot use directory missing: No such file or directory"
  ]
}
)j",
         ""},
        {{"get", "--json", "nfraglimit"},
         "[Gomcfg]\nNfraglimit=12abc\n",
         1,
         R"j({
  "error": "1 stored value the sheet reads its own way or finds out of range",
  "problems": [
    "Nfraglimit: '12abc' is not plain decimal; the sheet reads 12"
  ],
  "result": {
    "Nfraglimit": 12
  }
}
)j",
         ""},
    });
}

// Lenient input, strict output: what the sheet itself would write, in one save that keeps the
// file's line ends, its other bytes and its encoding.
TEST(GomcfgctlRows, SetAndResetWriteWhatTheSheetWouldInOneSave) {
    const std::string utf16Before = utf16LeFile(u"[Gomcfg]\r\n; Größe\r\nNfraglimit=9\r\n");
    expectRows({
        {{"-v", "set", "samemap=YES", "nfraglimit=+0040", "ctf=Off", "rocketsT=rocket LAUNCHER",
          "bfgT=BFG", "Nhttpport=64000", "isc=1"},
         "; server 1\n[Other]\nctf=keep\n[gomcfg]\nSameMap = maybe\nNfraglimit=30\n",
         0,
         "samemap: maybe -> true\nNfraglimit: 30 -> 40\nctf: - -> false\n"
         "rocketsT: - -> rockets\nbfgT: - -> bfg\nNhttpport: - -> 64000\nisc: - -> true\n",
         "",
         "; server 1\n[Other]\nctf=keep\n[gomcfg]\nSameMap=true\nNfraglimit=40\n"
         "ctf=false\nrocketsT=rockets\nbfgT=bfg\nNhttpport=64000\nisc=true\n"},
        // Quiet without --verbose.
        {{"set", "Nfraglimit=0", "Nfingerport=1", "railgunT=Hyper Blaster"},
         "[Gomcfg]\nNfraglimit=30\n",
         0,
         "",
         "",
         "[Gomcfg]\nNfraglimit=0\nNfingerport=1\nrailgunT=hyperblaster\n"},
        // A missing file is created as the sheet's first OK creates it.
        {{"--json", "set", "Ntimelimit=-0", "railgun=no"},
         std::nullopt,
         0,
         R"j({
  "changed": true,
  "changes": [
    {
      "key": "Ntimelimit",
      "old": null,
      "new": "0"
    },
    {
      "key": "railgun",
      "old": null,
      "new": "false"
    }
  ]
}
)j",
         "",
         "[Gomcfg]\r\nNtimelimit=0\r\nrailgun=false\r\n"},
        // UTF-16LE stays UTF-16LE.
        {{"reset", "NFRAGLIMIT", "ctf"},
         utf16Before,
         0,
         "",
         "",
         utf16LeFile(u"[Gomcfg]\r\n; Größe\r\nNfraglimit=0\r\nctf=false\r\n")},
        {{"--verbose", "reset", "samemap", "Nhttpport", "bfgT"},
         "[Gomcfg]\nsamemap=true\nNhttpport=8080\nbfgT=bfg\n",
         0,
         "samemap: true -> false\nNhttpport: 8080 -> 80\n",
         "",
         "[Gomcfg]\nsamemap=false\nNhttpport=80\nbfgT=bfg\n"},
    });

    WorkDir dir;
    putBytes(dir, utf16Before, kFile);
    EXPECT_EQ(ctl({"reset", "--all"}).status, 0);
    const std::string all = bytesOf(dir, kFile);
    EXPECT_NE(all.find("r\0a\0i\0l\0g\0u\0n\0T\0=\0r\0a\0i\0l\0g\0u\0n\0"s), std::string::npos);
    EXPECT_EQ(ctl({"get", "Nhttpport", "Nfraglimit"}).out, "80\n0\n");
    EXPECT_EQ(ctl({"check"}).status, 0);
}

// Values already stored change nothing, and a dry run says what would change (changed: true in
// JSON) without writing.
TEST(GomcfgctlRows, ValuesAlreadyStoredAndDryRunsLeaveTheFileUntouched) {
    const std::string before = "[Gomcfg]\r\nsamemap = true \r\nNfraglimit=30\r\nbfgT='rockets'\r\n";
    expectRows({
        {{"set", "--verbose", "samemap=on", "Nfraglimit=30", "bfgT=Rocket Launcher"},
         before,
         0,
         "",
         ""},
        {{"--json", "set", "samemap=true"},
         before,
         0,
         "{\n  \"changed\": false,\n  \"changes\": []\n}\n",
         ""},
        {{"--dry-run", "set", "samemap=false", "Nfraglimit=30", "ctf=true"},
         before,
         0,
         "samemap: true -> false\nctf: - -> true\n",
         ""},
        {{"reset", "--dry-run", "--json", "samemap"},
         before,
         0,
         R"j({
  "changed": true,
  "changes": [
    {
      "key": "samemap",
      "old": "true",
      "new": "false"
    }
  ]
}
)j",
         ""},
        {{"--dry-run", "set", "ctf=true"}, std::nullopt, 0, "ctf: - -> true\n", ""},
        {{"--dry-run", "--json", "set", "ctf=true"},
         std::nullopt,
         0,
         "{\n  \"changed\": true,\n  \"changes\": [\n    {\n      \"key\": \"ctf\",\n"
         "      \"old\": null,\n      \"new\": \"true\"\n    }\n  ]\n}\n",
         ""},
    });
}

// A killed in-place save's copy is named by check, with its owner, for the admin to judge; get
// reads the file as it is and leaves the copy.
TEST(GomcfgctlRows, CheckNamesACopyThatAKilledSaveLeft) {
    WorkDir dir;
    const std::string text = "[Gomcfg]\nctf=true\n";
    putBytes(dir, text, kFile);
    const std::string copy = SaveCopyFileName(kFile);
    putBytes(dir, "[Gomcfg]\nctf=false\n", copy);
    const std::string path = dir.filePath(kFile);
    const std::string message = dir.path() + "/" + copy + " (owner " +
                                ::getpwuid(::geteuid())->pw_name + ") was left by a save of " +
                                path +
                                " that did not finish, and holds the file as it was before that "
                                "save. If the file is damaged and " +
                                ::getpwuid(::geteuid())->pw_name +
                                " may write it, copy the copy back over it by hand; then remove "
                                "the copy";
    CtlRun run = ctl({"check"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, message + "\n");
    run = ctl({"--json", "check"});
    EXPECT_EQ(run.status, 1);
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["result"][0]["kind"], "leftover copy");
    EXPECT_EQ(json["result"][0]["message"], message);
    EXPECT_EQ(ctl({"get", "ctf"}).out, "true\n");
    EXPECT_EQ(bytesOf(dir, kFile), text);
    EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kFile, copy}));
}

TEST(GomcfgctlRows, CheckReportsEachKindOfProblemWithItsLine) {
    const std::string sample = sampleFile();
    expectRows({
        {{"--file", "GombleTroveII.ini", "check"},
         "; top\r\n[Gomcfg]\r\nsamemap=True\r\nNfraglimit=12abc\r\nNhttpport=-5\r\n"
         "Ntimelimit=5000x\r\nrocketsT=Rocket Launcher\r\nfraglimit=3\r\nsamemap=false\r\n"
         "isc\r\nctf=true\r\nNfingerport=079\r\n[Other]\r\nbogus=1\r\n[ GOMCFG ]\r\nctf=x\r\n",
         1,
         "./GombleTroveII.ini:3: samemap: 'True' is not exactly true or false; the sheet reads "
         "false\n"
         "./GombleTroveII.ini:4: Nfraglimit: '12abc' is not plain decimal; the sheet reads 12\n"
         "./GombleTroveII.ini:5: Nhttpport: -5 is outside 1 to 64000; the sheet refuses to "
         "leave its tab\n"
         "./GombleTroveII.ini:6: Ntimelimit: '5000x' is not plain decimal; the sheet reads 5000\n"
         "./GombleTroveII.ini:6: Ntimelimit: 5000 is outside 0 to 1000; the sheet refuses to "
         "leave its tab\n"
         "./GombleTroveII.ini:7: rocketsT: 'Rocket Launcher' is not exactly a weapon token; the "
         "sheet shows an empty list\n"
         "./GombleTroveII.ini:8: fraglimit: not a key of [Gomcfg]; did you mean 'Nfraglimit'?\n"
         "./GombleTroveII.ini:9: samemap: written again; only line 3 counts\n"
         "./GombleTroveII.ini:10: isc: no '='; the sheet reads the default, true\n"
         "./GombleTroveII.ini:12: Nfingerport: '079' is not plain decimal; the sheet reads 79\n"
         "./GombleTroveII.ini:15: a second [Gomcfg] section; only the one on line 2 counts\n",
         ""},
        // Notepad's UTF-8 mark hides a header on the first line.
        {{"--file", "GombleTroveII.ini", "check"},
         "\xEF\xBB\xBF[Gomcfg]\nctf=true\n",
         1,
         "./GombleTroveII.ini:1: a UTF-8 byte-order mark hides the [Gomcfg] header; the sheet "
         "does not see the keys under it\n",
         ""},
        // Big-endian UTF-16 is bytes to the server: no header, no key.
        {{"--file", "GombleTroveII.ini", "check"},
         "\xFE\xFF\0[\0G\0o\0m\0c\0f\0g\0]\0\n\0c\0t\0f\0=\0f\0a\0l\0s\0e\0\n"s,
         1,
         "./GombleTroveII.ini:1: the file is UTF-16 big-endian (it starts with FE FF); it is read "
         "as bytes, so every key reads as missing. Save it as UTF-16LE or UTF-8\n",
         ""},
        // A line without '=' that names no key, and a name too far from every key to suggest
        // one.
        {{"--file", "GombleTroveII.ini", "check"},
         "[Gomcfg]\nctf=true\nGomble Trove rules\nzzzzzzzzzz=1\n",
         1,
         "./GombleTroveII.ini:3: 'Gomble Trove rules': a line without '=' and not a key; the "
         "sheet ignores it\n"
         "./GombleTroveII.ini:4: zzzzzzzzzz: not a key of [Gomcfg]\n",
         ""},
        {{"--json", "--file", "GombleTroveII.ini", "check"},
         "[Gomcfg]\nsamemap=True\n",
         1,
         R"j({
  "error": "1 problem in ./GombleTroveII.ini",
  "problems": [
    "./GombleTroveII.ini:2: samemap: 'True' is not exactly true or false; the sheet reads false"
  ],
  "result": [
    {
      "line": 2,
      "kind": "boolean",
      "key": "samemap",
      "message": "samemap: 'True' is not exactly true or false; the sheet reads false"
    }
  ]
}
)j",
         ""},
        // The sample file, an empty file and no file are clean.
        {{"check"}, sample, 0, "", ""},
        {{"check", "--json"}, sample, 0, "[]\n", ""},
        {{"check"}, "", 0, "", ""},
        {{"check"}, std::nullopt, 0, "", ""},
        {{"--json", "check"}, std::nullopt, 0, "[]\n", ""},
    });
    // Every problem's kind, as JSON names it.
    WorkDir dir;
    putBytes(dir,
             "[Gomcfg]\nsamemap=True\nNfraglimit=1x\nNhttpport=0\nbfgT=x\nisc\nisc=true\nbogus=1\n"
             "[Gomcfg]\n",
             kFile);
    const auto doc = nlohmann::json::parse(ctl({"--json", "check"}).out);
    std::vector<std::string> kinds;
    for (const auto& problem : doc["result"])
        kinds.push_back(problem["kind"]);
    EXPECT_EQ(kinds,
              (std::vector<std::string>{"boolean", "integer", "out of range", "substitute",
                                        "no value", "duplicate", "unknown key", "second section"}));
}

// Stored bytes never reach a terminal raw: a value that would recolour it is shown escaped in
// every command and message, and JSON carries the text itself.
TEST(GomcfgctlRows, ControlCharactersFromTheFileOrTheArgumentsAreShownEscaped) {
    const std::string hostile = "[Gomcfg]\nshow_motd=\x1b[31m\nrocketsT=\a\x01\tx\\y\x7f\n"
                                "choker=\xc2\x9b"
                                "0m\xff\n";
    expectRows({
        {{"--file", "GombleTroveII.ini", "check"},
         hostile,
         1,
         "./GombleTroveII.ini:2: show_motd: '\\e[31m' is not exactly true or false; the sheet "
         "reads true\n"
         "./GombleTroveII.ini:3: rocketsT: '\\a\\x01\\tx\\\\y\\x7f' is not exactly a weapon "
         "token; the sheet shows an empty list\n"
         "./GombleTroveII.ini:4: choker: '\\u009b0m\\xff' is not exactly true or false; the "
         "sheet reads true\n",
         ""},
        {{"get", "show_motd", "choker"},
         hostile,
         1,
         "true\ntrue\n",
         "gomcfgctl: show_motd: '\\e[31m' is not exactly true or false; the sheet reads true\n"
         "gomcfgctl: choker: '\\u009b0m\\xff' is not exactly true or false; the sheet reads "
         "true\n"},
        {{"get", "\x1b]0;pwned\a"}, hostile, 2, "", "gomcfgctl: unknown key '\\e]0;pwned\\a'\n"},
        {{"set", "Nfraglimit=\x1b[2J"},
         hostile,
         2,
         "",
         "gomcfgctl: Nfraglimit: '\\e[2J' is not a whole number\n"},
        {{"-v", "set", "show_motd=on"},
         hostile,
         0,
         "show_motd: \\e[31m -> true\n",
         "",
         "[Gomcfg]\nshow_motd=true\nrocketsT=\a\x01\tx\\y\x7f\nchoker=\xc2\x9b"
         "0m\xff\n"},
    });

    WorkDir dir;
    putBytes(dir, hostile, kFile);
    const CtlRun list = ctl({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(std::none_of(list.out.begin(), list.out.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7f ||
               static_cast<unsigned char>(c) >= 0x80;
    })) << list.out;
    EXPECT_NE(list.out.find(" \\e[31m "), std::string::npos) << list.out;

    // JSON escapes controls itself; bytes that are not UTF-8 become U+FFFD instead of throwing.
    const CtlRun json = ctl({"--json", "list"});
    EXPECT_EQ(json.status, 0);
    EXPECT_NE(json.out.find(R"j("stored": "\u001b[31m")j"), std::string::npos) << json.out;
    const auto rows = nlohmann::json::parse(json.out);
    for (const auto& row : rows) {
        if (row["key"] == "choker") {
            EXPECT_EQ(row["stored"], "\xc2\x9b"
                                     "0m\xef\xbf\xbd");
        }
        if (row["key"] == "rocketsT") {
            EXPECT_EQ(row["stored"], "\a\x01\tx\\y\x7f");
        }
    }
    const CtlRun error = ctl({"--json", "get", "\xff\xfe"});
    EXPECT_EQ(error.status, 2);
    EXPECT_EQ(nlohmann::json::parse(error.out)["error"], "unknown key '\xef\xbf\xbd\xef\xbf\xbd'");
}

TEST(GomcfgctlRows, TerminalTextEscapesEveryControlAndEveryByteThatIsNotUtf8) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain text = 1", "plain text = 1"},
        {"\x1b[31m", "\\e[31m"},
        {"\a\b\t\n\v\f\r", "\\a\\b\\t\\n\\v\\f\\r"},
        {"\x01\x1f\x7f"s + '\0', "\\x01\\x1f\\x7f\\x00"},
        {"back\\slash", "back\\\\slash"},
        {"Größe €𝄞", "Größe €𝄞"},
        {"\xc2\x80\xc2\x9b\xc2\x9f\xc2\xa0", "\\u0080\\u009b\\u009f\xc2\xa0"},
        {"\xff\xfe", "\\xff\\xfe"},
        {"\xc3", "\\xc3"},                            // cut short at the end
        {"\xc3(", "\\xc3("},                          // a lead byte without its continuation
        {"\xc0\xaf", "\\xc0\\xaf"},                   // overlong
        {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"},          // overlong
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // a surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // above U+10FFFF
        {"\xf0\x9f\x98", "\\xf0\\x9f\\x98"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(TerminalText(text), shown) << shown;
}
