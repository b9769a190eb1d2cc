// gomcfgctl as a program: what only a process shows (exit statuses, the streams, a race with
// another process), and what gets installed.

#include "CtlRows.h"
#include "platform/store/IniDocument.h"
#include "settings/KeyTable.h"
#include "settings/SettingInput.h"
#include "settings/WeaponTokens.h"
#include "support/StoreSupport.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <sys/stat.h>

#include <vector>

namespace {

using ctl_rows::age;
using ctl_rows::CtlRun;
using ctl_rows::kFile;
using ctl_rows::sampleFile;
using ctl_rows::untouched;

// The program with args, in the current directory, which ScopedWorkDir also makes
// $GOMCFG_WINDIR.
CtlRun program(const QStringList& args) {
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

} // namespace

// The statuses and the streams as a shell sees them, with and without --json.
TEST(Gomcfgctl, TheProgramExitsWithEachStatusOnTheRightStream) {
    ScopedWorkDir dir;
    const std::string before = "[Gomcfg]\nsamemap=True\nctf=true\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    struct Case {
        QStringList args;
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
         "Commands: list, get, set, reset, check, help, pages\n"
         "Try 'gomcfgctl --help' for more information.\n"},
        {{"--dir", "missing", "list"},
         3,
         "",
         "gomcfgctl: cannot use directory missing: No such file or directory\n"},
        {{"--version"}, 0, "gomcfgctl (Gomcfg) 1.0.0.1\n", ""},
    };
    for (const Case& c : cases) {
        const CtlRun run = program(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.out, c.out) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.err, c.err) << c.args.join(' ').toStdString();
        EXPECT_TRUE(untouched(dir, before)) << c.args.join(' ').toStdString();
    }
    const CtlRun help = program({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.find("Usage: gomcfgctl [OPTIONS] COMMAND") != std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST(Gomcfgctl, FileThatCannotBeReadOrWrittenExitsWithThreeNamingPathAndReason) {
    ScopedWorkDir dir;
    const std::string before = "[Gomcfg]\nctf=true\n";
    putBytes(dir, before, kFile);
    age(dir.filePath(kFile));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(kFile)).constData(), 0444), 0);
    CtlRun run = ctl_rows::ctl({"set", "ctf=false"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "gomcfgctl: cannot write " + dir.filePath(kFile).toStdString() +
                           ": Permission denied\n");
    EXPECT_TRUE(untouched(dir, before));
    // Reading a read-only file is fine.
    EXPECT_EQ(ctl_rows::ctl({"get", "ctf"}).out, "true\n");

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).mkdir(kFile));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--dir", "sub", "list"},
          {"--dir", "sub/", "check"},
          {"--file", "sub/GombleTroveII.ini", "set", "ctf=1"}}) {
        run = ctl_rows::ctl(args);
        EXPECT_EQ(run.status, 3) << ctl_rows::joined(args);
        EXPECT_EQ(run.err, "gomcfgctl: cannot read sub/GombleTroveII.ini: Is a directory\n");
    }
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
        const CtlRun run = program({"set", "Nfraglimit=" + n, "Ntimelimit=" + n,
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

// What the package installs: the program, its man page and its completion, and the package
// recommends bash-completion, which loads it.
TEST(Gomcfgctl, InstallsTheProgramManPageAndCompletion) {
    ScopedWorkDir dir;
    QProcess install;
    install.start(QStringLiteral("cmake"), {"--install", GOMCFG_BUILD_DIR, "--component",
                                            "gomcfg-terminal", "--prefix", dir.filePath("usr")});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    for (const char* path : {"usr/bin/gomcfgctl", "usr/share/man/man1/gomcfgctl.1.gz",
                             "usr/share/bash-completion/completions/gomcfgctl", "usr/bin/gomcfgtui",
                             "usr/share/man/man1/gomcfgtui.1.gz"})
        EXPECT_TRUE(dir.exists(QString::fromLatin1(path))) << path;
    QProcess installed;
    installed.start(dir.filePath("usr/bin/gomcfgctl"), {"--version"});
    ASSERT_TRUE(installed.waitForFinished(30000));
    EXPECT_EQ(installed.exitCode(), 0);
    EXPECT_EQ(installed.readAllStandardOutput().toStdString(), "gomcfgctl (Gomcfg) 1.0.0.1\n");

    QFile cpack(QStringLiteral(GOMCFG_BUILD_DIR "/CPackConfig.cmake"));
    ASSERT_TRUE(cpack.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cpack.readAll().contains(
        "set(CPACK_DEBIAN_GOMCFG-TERMINAL_PACKAGE_RECOMMENDS \"bash-completion\")"));
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

    // Every boolean word it offers is one set takes, and every option of --help is offered.
    const QStringList truth = listed("truth");
    EXPECT_EQ(truth, QStringList({"true", "false", "yes", "no", "on", "off", "1", "0"}));
    for (const QString& word : truth)
        EXPECT_TRUE(ParseSettingInput(*FindSettingKey("ctf"), word.toStdString()).text)
            << word.toStdString();
    const QStringList options = listed("options") + QStringList{"--all"}; // --all after reset
    const std::string help = ctl_rows::ctl({"--help"}).out;
    const QRegularExpression option(QStringLiteral("(?:^|[ ,])(-[-a-z]+)"),
                                    QRegularExpression::MultilineOption);
    int found = 0;
    for (auto it = option.globalMatch(QString::fromStdString(help)); it.hasNext(); ++found) {
        const QString name = it.next().captured(1);
        EXPECT_TRUE(options.contains(name)) << name.toStdString();
    }
    EXPECT_GE(found, 9);
}
