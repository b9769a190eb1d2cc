// gomcfgctl itself, run on real files in temporary directories.

#include "pages/SettingsCodecs.h"
#include "pages/WeaponCodec.h"
#include "platform/dialog/CComboBox.h"
#include "platform/dialog/DialogBuilder.h"
#include "platform/store/IniDocument.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "settings/KeyTable.h"
#include "support/SessionSupport.h"
#include "support/StoreSupport.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>

#include <sys/stat.h>
#include <sys/time.h>

#include <vector>

using namespace std::string_literals;

namespace {

const QString kFile = QStringLiteral("GombleTroveII.ini");

struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The program with args, in the current directory, which ScopedWorkDir also makes
// $GOMCFG_WINDIR.
CtlRun ctl(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(GOMCFGCTL_BINARY), args);
    EXPECT_TRUE(process.waitForFinished(30000));
    CtlRun run;
    if (process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::string sampleFile() {
    QFile f(QStringLiteral(GOMCFG_SOURCE_DIR "/sample/GombleTroveII.ini"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll().toStdString();
}

// Far in the past, so a rewrite within the same second still shows.
void age(const QString& path) {
    const timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(path).constData(), times), 0);
}

bool untouched(const ScopedWorkDir& dir, const std::string& before) {
    struct stat st {};
    return ::stat(QFile::encodeName(dir.filePath(kFile)).constData(), &st) == 0 &&
           st.st_mtim.tv_sec == 1000000000 && bytesOf(dir, kFile) == before;
}

QJsonDocument json(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return doc;
}

} // namespace

// Every refused call names the problem, exits with its status and leaves the file alone, down
// to its modification time.
TEST(Gomcfgctl, RefusedCallsExitWithTheirStatusAndLeaveTheFileAsItWas) {
    ScopedWorkDir dir;
    const std::string before = sampleFile();
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    struct Case {
        QStringList args;
        int status;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {{"get", "fraglimit"},
         2,
         {"gomcfgctl: unknown key 'fraglimit'; did you mean 'Nfraglimit'?"}},
        {{"set", "rocketT=bfg"}, 2, {"unknown key 'rocketT'; did you mean 'rocketsT'?"}},
        {{"set", "samemap=maybe"}, 2, {"samemap: 'maybe' is not a boolean"}},
        {{"set", "Nfraglimit=1001"}, 2, {"Nfraglimit: '1001' is out of range (0 to 1000)"}},
        {{"set", "Nhttpport=0"}, 2, {"Nhttpport: '0' is out of range (1 to 64000)"}},
        {{"set", "Nfraglimit=12abc"}, 2, {"Nfraglimit: '12abc' is not a whole number"}},
        {{"set", "rocketsT=Rocket"}, 2, {"rocketsT: 'Rocket' is not a weapon"}},
        {{"set", "ctf=1", "CTF=0"}, 2, {"ctf is given twice"}},
        {{"set", "samemap"}, 2, {"'samemap' is not KEY=VALUE"}},
        {{"reset"}, 2, {"reset: give KEY... or --all"}},
        {{"reset", "isc", "ISC"}, 2, {"isc is given twice"}},
        {{"reset", "--all", "isc"}, 2, {}},
        {{"--file", "x.ini", "--dir", ".", "list"}, 2, {}},
        {{"frobnicate"}, 2, {}},
        {{}, 2, {}},
        // One bad assignment among good ones: all reported, none written.
        {{"set", "Nfraglimit=40", "samemap=sometimes", "ctf=false", "bfgT=laser", "nosuch=1"},
         2,
         {"samemap: 'sometimes' is not a boolean", "bfgT: 'laser' is not a weapon",
          "unknown key 'nosuch'"}},
        {{"--dir", "missing", "set", "ctf=false"},
         3,
         {"gomcfgctl: cannot read missing/GombleTroveII.ini: No such file or directory"}},
        {{"--dir", "missing", "get", "ctf"}, 3, {"No such file or directory"}},
    };
    for (const Case& c : cases) {
        const CtlRun run = ctl(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString() << "\n" << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(run.err.empty());
        for (const std::string& message : c.messages)
            EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_TRUE(untouched(dir, before)) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(dir.exists(QStringLiteral("missing")));
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kFile.toStdString()});
}

TEST(Gomcfgctl, FileThatCannotBeReadOrWrittenExitsWithThreeNamingPathAndReason) {
    ScopedWorkDir dir;
    const std::string before = "[Gomcfg]\nctf=true\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(kFile)).constData(), 0444), 0);
    CtlRun run = ctl({"set", "ctf=false"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + dir.filePath(kFile).toStdString() +
                           ": Permission denied\n");
    EXPECT_TRUE(untouched(dir, before));
    // Reading a read-only file is fine.
    EXPECT_EQ(ctl({"get", "ctf"}).out, "true\n");

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).mkdir(kFile));
    for (const QStringList& args :
         {QStringList{"--dir", "sub", "list"}, QStringList{"--dir", "sub/", "check"},
          QStringList{"--file", "sub/GombleTroveII.ini", "set", "ctf=1"}}) {
        run = ctl(args);
        EXPECT_EQ(run.status, 3) << args.join(' ').toStdString();
        EXPECT_EQ(run.err, "gomcfgctl: cannot read sub/GombleTroveII.ini: Is a directory\n");
    }
}

// Lenient input, strict output: what the sheet itself would write, in one save that keeps the
// file's line ends, its other bytes and its encoding.
TEST(Gomcfgctl, SetWritesWhatTheSheetWouldInOneSave) {
    ScopedWorkDir dir;
    putBytes(dir, "; server 1\n[Other]\nctf=keep\n[gomcfg]\nSameMap = maybe\nNfraglimit=30\n",
             kFile);
    CtlRun run = ctl({"-v", "set", "samemap=YES", "nfraglimit=+0040", "ctf=Off",
                      "rocketsT=rocket LAUNCHER", "bfgT=BFG", "Nhttpport=64000", "isc=1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "samemap: maybe -> true\nNfraglimit: 30 -> 40\nctf: - -> false\n"
                       "rocketsT: - -> rockets\nbfgT: - -> bfg\nNhttpport: - -> 64000\n"
                       "isc: - -> true\n");
    EXPECT_EQ(bytesOf(dir, kFile),
              "; server 1\n[Other]\nctf=keep\n[gomcfg]\nSameMap=true\nNfraglimit=40\n"
              "ctf=false\nrocketsT=rockets\nbfgT=bfg\nNhttpport=64000\nisc=true\n");

    // A missing file is created as the sheet's first OK creates it.
    ASSERT_TRUE(QFile::remove(dir.filePath(kFile)));
    run = ctl({"--json", "set", "Ntimelimit=-0", "railgun=no"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(bytesOf(dir, kFile), "[Gomcfg]\r\nNtimelimit=0\r\nrailgun=false\r\n");
    const QJsonObject result = json(run.out).object();
    EXPECT_TRUE(result["changed"].toBool());
    const QJsonArray changes = result["changes"].toArray();
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0].toObject()["key"].toString(), "Ntimelimit");
    EXPECT_TRUE(changes[0].toObject()["old"].isNull());
    EXPECT_EQ(changes[0].toObject()["new"].toString(), "0");

    // UTF-16LE stays UTF-16LE; reset writes the defaults.
    putBytes(dir, utf16LeFile(QString::fromUtf8("[Gomcfg]\r\n; Größe\r\nNfraglimit=9\r\n")), kFile);
    EXPECT_EQ(ctl({"reset", "NFRAGLIMIT", "ctf"}).status, 0);
    EXPECT_EQ(bytesOf(dir, kFile), utf16LeFile(QString::fromUtf8(
                                       "[Gomcfg]\r\n; Größe\r\nNfraglimit=0\r\nctf=false\r\n")));
    EXPECT_EQ(ctl({"reset", "--all"}).status, 0);
    const std::string all = bytesOf(dir, kFile);
    EXPECT_EQ(ctl({"get", "Nhttpport"}).out, "80\n");
    EXPECT_NE(all.find("r\0a\0i\0l\0g\0u\0n\0T\0=\0r\0a\0i\0l\0g\0u\0n\0"s), std::string::npos);
}

TEST(Gomcfgctl, ValuesAlreadyStoredAndDryRunsLeaveTheFileUntouched) {
    ScopedWorkDir dir;
    const std::string before = "[Gomcfg]\r\nsamemap = true \r\nNfraglimit=30\r\nbfgT='rockets'\r\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));

    CtlRun run = ctl({"set", "--verbose", "samemap=on", "Nfraglimit=30", "bfgT=Rocket Launcher"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(untouched(dir, before));
    run = ctl({"--json", "set", "samemap=true"});
    EXPECT_EQ(run.out, "{\n  \"changed\": false,\n  \"changes\": []\n}\n");
    EXPECT_TRUE(untouched(dir, before));

    run = ctl({"--dry-run", "set", "samemap=false", "Nfraglimit=30", "ctf=true"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "samemap: true -> false\nctf: - -> true\n");
    run = ctl({"reset", "--dry-run", "--json", "samemap"});
    EXPECT_TRUE(json(run.out).object()["changed"].toBool());
    EXPECT_TRUE(untouched(dir, before));

    ASSERT_TRUE(QFile::remove(dir.filePath(kFile)));
    EXPECT_EQ(ctl({"--dry-run", "set", "ctf=true"}).out, "ctf: - -> true\n");
    EXPECT_FALSE(dir.exists(kFile));
}

// get prints what the pages show when their tab first shows, read by the pages' own codecs.
TEST(Gomcfgctl, GetPrintsWhatThePagesLoadFromTheSameFile) {
    ScopedWorkDir dir;
    CodecSession session;
    MessageRecorder messages;
    putBytes(dir,
             "[Gomcfg]\r\nsamemap=True\r\nisc=True\r\nNfraglimit=12abc\r\nNtimelimit=\r\n"
             "Nhttpport=-5\r\nNfingerport= 0x1F \r\nrocketsT=Rockets\r\nbfgT=railgun\r\n"
             "railgun=True\r\nshotgun=false\r\ncheating=\"true\"\r\n",
             kFile);
    QWidget window;
    CComboBox list;
    list.Attach(DialogBuilder::build(kDialog105, &window).value(IDC_SHOTGUN_LIST));
    ASSERT_NE(list.combo(), nullptr);

    for (const char* key :
         {"samemap", "isc", "cheating", "ctf", "Nfraglimit", "Ntimelimit", "Nhttpport",
          "Nfingerport", "rocketsT", "bfgT", "shotgunT", "railgun", "shotgun"}) {
        const SettingKey* entry = FindSettingKey(key);
        ASSERT_NE(entry, nullptr);
        std::string loaded;
        if (entry->type == SettingType::Boolean) {
            int value = -1;
            if (std::string_view(key) == "railgun" || std::string_view(key) == "shotgun")
                LoadDataItemON(key, entry->defaultText, value);
            else
                ReadBoolSetting(value, key, std::string_view(entry->defaultText) == "true");
            loaded = value ? "true" : "false";
        } else if (entry->type == SettingType::Integer) {
            int value = -1;
            ReadIntSetting(key, value, std::stoi(entry->defaultText));
            loaded = std::to_string(value);
        } else {
            list.SetCurSel(-1);
            const std::string token(key, std::strlen(key) - 1);
            LoadDataItem(token.c_str(), token.c_str(), list);
            const int selected = list.GetCurSel();
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
    const QJsonObject typed =
        json(ctl({"--json", "get", "bfgt", "rocketsT", "Nhttpport", "isc"}).out).object();
    EXPECT_EQ(typed.keys(), QStringList({"Nhttpport", "bfgT", "isc", "rocketsT"}));
    EXPECT_EQ(typed["bfgT"].toString(), "railgun");
    EXPECT_TRUE(typed["rocketsT"].isNull());
    EXPECT_EQ(typed["Nhttpport"].toInt(), -5);
    EXPECT_EQ(typed["isc"].toBool(), true);
}

TEST(Gomcfgctl, ListShowsEveryKeyWithStoredTextValueAndState) {
    ScopedWorkDir dir;
    putBytes(dir, "[Gomcfg]\nsamemap=True\nNhttpport=-5\nNfraglimit=7\nrocketsT=ROCKETS\nctf=\n",
             kFile);
    const QJsonArray rows = json(ctl({"list", "--json"}).out).array();
    ASSERT_EQ(rows.size(), qsizetype(SettingKeys().size()));
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].toObject()["key"].toString(), SettingKeys()[std::size_t(i)].key);
    const auto row = [&](const char* key) {
        for (const auto& r : rows)
            if (r.toObject()["key"].toString() == key)
                return r.toObject();
        return QJsonObject();
    };
    EXPECT_EQ(row("samemap")["state"].toString(), "unreadable");
    EXPECT_EQ(row("samemap")["stored"].toString(), "True");
    EXPECT_EQ(row("samemap")["value"].toBool(true), false);
    EXPECT_EQ(row("Nhttpport")["state"].toString(), "out of range");
    EXPECT_EQ(row("Nhttpport")["tab"].toString(), "Services");
    EXPECT_EQ(row("Nhttpport")["allowed"].toObject()["max"].toInt(), 64000);
    EXPECT_EQ(row("Nfraglimit")["state"].toString(), "ok");
    EXPECT_EQ(row("rocketsT")["state"].toString(), "unreadable");
    EXPECT_TRUE(row("rocketsT")["value"].isNull());
    EXPECT_EQ(row("ctf")["stored"].toString("x"), "");
    EXPECT_EQ(row("teamplay")["state"].toString(), "default");
    EXPECT_TRUE(row("teamplay")["stored"].isNull());
    EXPECT_EQ(row("teamplay")["value"].toBool(false), true);

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
}

TEST(Gomcfgctl, CheckReportsEachKindOfProblemWithItsLine) {
    ScopedWorkDir dir;
    putBytes(dir,
             "; top\r\n[Gomcfg]\r\nsamemap=True\r\nNfraglimit=12abc\r\nNhttpport=-5\r\n"
             "Ntimelimit=5000x\r\nrocketsT=Rocket Launcher\r\nfraglimit=3\r\nsamemap=false\r\n"
             "isc\r\nctf=true\r\nNfingerport=079\r\n[Other]\r\nbogus=1\r\n[ GOMCFG ]\r\nctf=x\r\n",
             kFile);
    CtlRun run = ctl({"--file", kFile, "check"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "./GombleTroveII.ini:3: samemap: 'True' is not exactly true or false; the sheet "
              "reads false\n"
              "./GombleTroveII.ini:4: Nfraglimit: '12abc' is not plain decimal; the sheet reads "
              "12\n"
              "./GombleTroveII.ini:5: Nhttpport: -5 is outside 1 to 64000; the sheet refuses to "
              "leave its tab\n"
              "./GombleTroveII.ini:6: Ntimelimit: '5000x' is not plain decimal; the sheet reads "
              "5000\n"
              "./GombleTroveII.ini:6: Ntimelimit: 5000 is outside 0 to 1000; the sheet refuses "
              "to leave its tab\n"
              "./GombleTroveII.ini:7: rocketsT: 'Rocket Launcher' is not exactly a weapon token; "
              "the sheet shows an empty list\n"
              "./GombleTroveII.ini:8: fraglimit: not a key of [Gomcfg]; did you mean "
              "'Nfraglimit'?\n"
              "./GombleTroveII.ini:9: samemap: written again; only line 3 counts\n"
              "./GombleTroveII.ini:10: isc: no '='; the sheet reads the default, true\n"
              "./GombleTroveII.ini:12: Nfingerport: '079' is not plain decimal; the sheet reads "
              "79\n"
              "./GombleTroveII.ini:15: a second [Gomcfg] section; only the one on line 2 "
              "counts\n");
    const QJsonArray problems = json(ctl({"--json", "check"}).out).array();
    ASSERT_EQ(problems.size(), 11);
    EXPECT_EQ(problems[0].toObject()["line"].toInt(), 3);
    EXPECT_EQ(problems[0].toObject()["kind"].toString(), "boolean");
    EXPECT_EQ(problems[10].toObject()["kind"].toString(), "second section");
    EXPECT_TRUE(problems[10].toObject()["key"].isNull());

    // Notepad's UTF-8 mark hides a header on the first line.
    putBytes(dir, "\xEF\xBB\xBF[Gomcfg]\nctf=true\n", kFile);
    run = ctl({"--file", kFile, "check"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "./GombleTroveII.ini:1: a UTF-8 byte-order mark hides the [Gomcfg] "
                       "header; the sheet does not see the keys under it\n");

    // The sample file, an empty file and no file are clean.
    const auto expectClean = [&](const char* what) {
        const CtlRun clean = ctl({"check"});
        EXPECT_EQ(clean.status, 0) << what;
        EXPECT_EQ(clean.out, "") << what;
        EXPECT_EQ(ctl({"check", "--json"}).out, "[]\n") << what;
    };
    putBytes(dir, sampleFile(), kFile);
    expectClean("sample");
    putBytes(dir, "", kFile);
    expectClean("empty");
    ASSERT_TRUE(QFile::remove(dir.filePath(kFile)));
    expectClean("missing");
}

// The sheet's saves and gomcfgctl take the same lock, so neither loses the other's keys: each
// set starts together with another process's burst of store writes, as an Apply makes them.
TEST(Gomcfgctl, SetRacingTheStoreWritesOfAnotherProcessLosesNoKey) {
    ScopedWorkDir dir;
    putBytes(dir, sampleFile(), kFile);
    constexpr int kRounds = 20;
    constexpr int kBurst = 40;
    for (int round = 0; round < kRounds; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(GOMCFG_PROFILE_WRITER),
                     {"keys", dir.filePath(kFile), "Gomcfg", QStringLiteral("r%1_").arg(round),
                      QString::number(kBurst)});
        ASSERT_TRUE(writer.waitForStarted());
        writer.closeWriteChannel(); // go
        const QString n = QString::number(round);
        const CtlRun run = ctl({"set", "Nfraglimit=" + n, "Ntimelimit=" + n,
                                round % 2 ? "samemap=on" : "samemap=off"});
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_TRUE(writer.waitForFinished(30000));
        ASSERT_EQ(writer.exitCode(), 0);
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
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kFile.toStdString()});
}

TEST(Gomcfgctl, HelpAndVersionGoToStdoutAndExitZero) {
    ScopedWorkDir dir;
    CtlRun run = ctl({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage: gomcfgctl"), std::string::npos);
    for (const char* command : {"list", "get", "set", "reset", "check"}) {
        run = ctl({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.out.find("Usage: gomcfgctl " + std::string(command)), std::string::npos)
            << run.out;
    }
    EXPECT_NE(ctl({"set", "--help"}).out.find("rockets (Rocket Launcher)"), std::string::npos);
    run = ctl({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("gomcfgctl (Gomcfg) 1.0.0.1\n")) << run.out;
    EXPECT_FALSE(dir.exists(kFile));
}

// The bash completion lists the keys by type itself, to stay instant; it must follow the table.
TEST(Gomcfgctl, BashCompletionKnowsEveryKeyByItsType) {
    QFile f(QStringLiteral(GOMCFG_SOURCE_DIR "/dist/gomcfgctl.bash-completion"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(f.readAll());
    const auto listed = [&](const char* list) {
        const QRegularExpression assignment(QStringLiteral("local %1=\"([^\"]*)\"").arg(list));
        return assignment.match(script).captured(1).split(QRegularExpression("\\s+"),
                                                          Qt::SkipEmptyParts);
    };
    QStringList booleans, integers, substitutes;
    for (const SettingKey& key : SettingKeys()) {
        (key.type == SettingType::Boolean   ? booleans
         : key.type == SettingType::Integer ? integers
                                            : substitutes)
            .append(QString::fromLatin1(key.key));
    }
    EXPECT_EQ(listed("booleans"), booleans);
    EXPECT_EQ(listed("integers"), integers);
    EXPECT_EQ(listed("substitutes"), substitutes);
    QStringList tokens;
    for (int i = 0; i < kWeaponCount; ++i)
        tokens.append(QString::fromLatin1(WeaponTokenFromIndex(i)));
    EXPECT_EQ(listed("weapons"), tokens);
}
