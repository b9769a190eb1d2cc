#include "app/CommandLine.h"
#include "res/Strings.h"
#include "settings/KeyTable.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "gomcfg2");
    return ParseCommandLine(int(args.size()), args.data());
}

struct ProgramRun {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out;
    QString err;
};

// The environment of a machine with no display at all, plus the given variables.
QProcessEnvironment
NoDisplayEnvironment(std::initializer_list<std::pair<const char*, QString>> extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    for (const auto& [name, value] : extra)
        env.insert(QString::fromLatin1(name), value);
    return env;
}

void ExpectNoDisplayLine(const ProgramRun& run, const QString& start) {
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(start)) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
}

ProgramRun RunProgram(const QStringList& args,
                      const QProcessEnvironment& env = NoDisplayEnvironment(),
                      const QString& stdoutFile = {}) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(GOMCFG_BINARY), args);
    ProgramRun run;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "gomcfg2 did not end";
        return run;
    }
    run.exitCode = p.exitCode();
    run.exitStatus = p.exitStatus();
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

// An X display number that nothing serves.
QString UnusedDisplay() {
    for (int n = 90; n < 200; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
    return QStringLiteral(":199");
}

QString ReadSource(const char* path) {
    QFile f(QDir(QStringLiteral(GOMCFG_SOURCE_DIR)).filePath(QString::fromLatin1(path)));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(CommandLineParse, OptionsAndTheirPrefixes) {
    EXPECT_EQ(Parse({}).action, CommandLine::Action::Run);
    EXPECT_EQ(Parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(Parse({"--vers"}).action, CommandLine::Action::Version);
    EXPECT_EQ(Parse({"--"}).action, CommandLine::Action::Run);
    // The first option decides, as with getopt; operands wait until all options are seen.
    EXPECT_EQ(Parse({"--version", "--help"}).action, CommandLine::Action::Version);
    EXPECT_EQ(Parse({"file", "--help"}).action, CommandLine::Action::Help);
}

TEST(CommandLineParse, RefusalsNameTheArgument) {
    const auto error = [](std::vector<const char*> args) {
        const CommandLine c = Parse(std::move(args));
        EXPECT_EQ(c.action, CommandLine::Action::Error);
        return c.error;
    };
    EXPECT_EQ(error({"--x"}), "unrecognized option '--x'");
    EXPECT_EQ(error({"--helpme"}), "unrecognized option '--helpme'");
    EXPECT_EQ(error({"--colour=red"}), "unrecognized option '--colour=red'");
    EXPECT_EQ(error({"--he=1"}), "option '--help' doesn't allow an argument");
    EXPECT_EQ(error({"--="}), "option '--=' is ambiguous");
    EXPECT_EQ(error({"-platform", "offscreen"}), "invalid option -- 'p'");
    EXPECT_EQ(error({"-h"}), "invalid option -- 'h'");
    EXPECT_EQ(error({"server.ini"}), "extra operand 'server.ini'");
    EXPECT_EQ(error({"-"}), "extra operand '-'");
    EXPECT_EQ(error({"--", "--help"}), "extra operand '--help'");
    // A bad option is reported before an earlier operand.
    EXPECT_EQ(error({"a", "--x"}), "unrecognized option '--x'");
}

TEST(CommandLineProgram, HelpAndVersionNeedNoDisplay) {
    const ProgramRun help = RunProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: gomcfg2 [OPTION]\n")));
    for (const char* word : {"--help", "--version", "GombleTroveII.ini", "current directory",
                             "GOMCFG_WINDIR", "GOMCFG_EDITOR", "GOMCFG_URL_OPENER"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;

    const ProgramRun version = RunProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.err.isEmpty());
    EXPECT_EQ(version.out.section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("gomcfg2 (Gomcfg) " GOMCFG_VERSION));
}

TEST(CommandLineProgram, FailsWhenHelpCannotBeWritten) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    const ProgramRun run =
        RunProgram({QStringLiteral("--help")}, NoDisplayEnvironment(), QStringLiteral("/dev/full"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("gomcfg2: write error\n"));
}

TEST(CommandLineProgram, BadArgumentsExitWithStatus2) {
    const ProgramRun run = RunProgram({QStringLiteral("--x")});
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, QStringLiteral("gomcfg2: unrecognized option '--x'\n"
                                      "Try 'gomcfg2 --help' for more information.\n"));

    const ProgramRun operand = RunProgram({QString::fromLatin1(kSettingsFileName)});
    EXPECT_EQ(operand.exitCode, 2);
    EXPECT_TRUE(operand.err.startsWith(QStringLiteral("gomcfg2: extra operand")));
}

TEST(CommandLineProgram, NoDisplayIsOneLineAndStatus1) {
    ExpectNoDisplayLine(RunProgram({}), QStringLiteral("gomcfg2: cannot open display: DISPLAY"));

    const QString display = UnusedDisplay();
    const ProgramRun unserved = RunProgram({}, NoDisplayEnvironment({{"DISPLAY", display}}));
    ExpectNoDisplayLine(unserved,
                        QStringLiteral("gomcfg2: cannot open display '%1'\n").arg(display));
}

TEST(CommandLineProgram, UnreachablePlatformIsOneLineNotAnAbort) {
    // Qt itself finds out that there is no Wayland compositor (or no Wayland plugin).
    QTemporaryDir runtimeDir;
    ASSERT_TRUE(runtimeDir.isValid());
    const ProgramRun run = RunProgram({}, NoDisplayEnvironment({
                                              {"QT_QPA_PLATFORM", QStringLiteral("wayland")},
                                              {"XDG_RUNTIME_DIR", runtimeDir.path()},
                                          }));
    ExpectNoDisplayLine(run, QStringLiteral("gomcfg2: cannot open display: "));
}

TEST(CommandLineProgram, OffscreenStillStarts) {
    QTemporaryDir workDir;
    ASSERT_TRUE(workDir.isValid());
    QProcess p;
    p.setProcessEnvironment(NoDisplayEnvironment({
        {"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
        {"GOMCFG_WINDIR", workDir.path()},
    }));
    p.setWorkingDirectory(workDir.path());
    p.start(QStringLiteral(GOMCFG_BINARY), {});
    ASSERT_TRUE(p.waitForStarted());
    // The sheet is modal and waits for the user: the program must not have ended.
    EXPECT_FALSE(p.waitForFinished(3000)) << p.readAllStandardError().toStdString();
    p.kill();
    p.waitForFinished();
}

TEST(InstalledFiles, DocumentEveryKeyAndMatchTheDesktopName) {
    const QString manPage = ReadSource("dist/gomcfg2.1");
    ASSERT_FALSE(manPage.isEmpty());
    for (const SettingKey& key : SettingKeys()) {
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QLatin1String(key.key)));
        EXPECT_TRUE(manPage.contains(word)) << key.key;
    }
    const QString id = QString::fromLatin1(kDesktopFileName);
    const QString desktop = ReadSource(qPrintable(QStringLiteral("dist/%1.desktop").arg(id)));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=gomcfg2\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nIcon=%1\n").arg(id)));
    const QString metainfo = ReadSource(qPrintable(QStringLiteral("dist/%1.metainfo.xml").arg(id)));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<id>%1</id>").arg(id)));
}

TEST(InstalledFiles, ReadmeKeyTableIsTheKeyTable) {
    // Rows like | `Nfraglimit` | integer | `0` | 0 to 1000 | Server Options |
    const QRegularExpression row(
        QStringLiteral("^\\| `(\\w+)` \\| (\\w+) \\| `([^`]*)` \\| ([^|]*?) ?\\| ([^|]+) \\|$"));
    QStringList documented;
    for (const QString& line : ReadSource("README.md").split(u'\n')) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch())
            documented << m.capturedTexts().mid(1).join(u'|');
    }
    QStringList expected;
    for (const SettingKey& key : SettingKeys()) {
        const char* type = key.type == SettingType::Boolean   ? "boolean"
                           : key.type == SettingType::Integer ? "integer"
                                                              : "weapon";
        const QString range = key.type == SettingType::Integer
                                  ? QStringLiteral("%1 to %2").arg(key.minValue).arg(key.maxValue)
                              : key.type == SettingType::WeaponToken
                                  ? QStringLiteral("a weapon name")
                                  : QString();
        expected << QStringList{QLatin1String(key.key), QLatin1String(type),
                                QLatin1String(key.defaultText), range, QLatin1String(key.tab)}
                        .join(u'|');
    }
    EXPECT_EQ(documented, expected);
}
