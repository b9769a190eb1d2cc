// Runs the real program on a private X server and drives it with X input events, as a user
// at the keyboard would, then compares the settings file byte for byte.

#include "app/ConfigApp.h"
#include "platform/dialog/CPropertyPage.h"
#include "res/ControlIds.h"
#include "settings/SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr const char* kSheetTitle = "^Gomcfg for Gomble Trove II$";
constexpr const char* kMessageTitle = "^Gomcfg2$";

// Where the program puts a page among its tabs.
int TabOf(int dialogId) {
    const auto pages = ConfigApp::createPages();
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i]->dialogTemplate().id == dialogId)
            return int(i);
    ADD_FAILURE() << "no page with template " << dialogId;
    return 0;
}

// Every weapon on, so every list takes part in the Tab order; CRLF, a comment and a foreign
// section, which must all survive.
const QByteArray kInitialFile = "; written by hand\r\n"
                                "[Server]\r\n"
                                "hostname=test\r\n"
                                "\r\n"
                                "[Gomcfg]\r\n"
                                "shotgun=true\r\n"
                                "shotgunT=shotgun\r\n"
                                "supershotgun=true\r\n"
                                "supershotgunT=supershotgun\r\n"
                                "machinegun=true\r\n"
                                "machinegunT=machinegun\r\n"
                                "chaingun=true\r\n"
                                "chaingunT=chaingun\r\n"
                                "grenades=true\r\n"
                                "grenadesT=grenades\r\n"
                                "rockets=true\r\n"
                                "rocketsT=rockets\r\n"
                                "hyperblaster=true\r\n"
                                "hyperblasterT=hyperblaster\r\n"
                                "railgun=true\r\n"
                                "railgunT=railgun\r\n"
                                "bfg=true\r\n"
                                "bfgT=bfg\r\n"
                                "show_motd=true\r\n"
                                "grapple=true\r\n"
                                "choker=false\r\n"
                                "chainrailgun=true\r\n"
                                "samemap=true\r\n"
                                "cheating=false\r\n"
                                "noexit=false\r\n"
                                "Nfraglimit=20\r\n"
                                "Ntimelimit=15\r\n"
                                "; end of the utility's keys\r\n";

// The file with one key's line changed to key=value.
QByteArray WithValue(QByteArray bytes, const QByteArray& key, const QByteArray& value) {
    const qsizetype at = bytes.indexOf("\n" + key + "=");
    EXPECT_GE(at, 0) << key.toStdString();
    const qsizetype start = at + 1 + key.size() + 1;
    return bytes.replace(start, bytes.indexOf('\r', start) - start, value);
}

struct XdotoolRun {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// A private Xvfb on a display number it chooses itself, and xdotool aimed at it.
class XSession {
public:
    bool start() {
        m_server.setProgram(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
        // -displayfd picks a free display and reports its number on standard output once the
        // server accepts clients. -noreset: by default the server resets when its last client
        // leaves, and a client that connects meanwhile (an xdotool call while the program is
        // between connections, or the program while xdotool's call ends) is turned away.
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-noreset"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start();
        if (!m_server.waitForStarted())
            return false;
        QElapsedTimer timer;
        timer.start();
        while (!m_server.canReadLine() && timer.elapsed() < 20000 &&
               m_server.state() == QProcess::Running)
            m_server.waitForReadyRead(200);
        const QByteArray number = m_server.readLine().trimmed();
        if (number.isEmpty())
            return false;
        m_display = QStringLiteral(":") + QString::fromLatin1(number);
        return true;
    }
    ~XSession() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    const QString& display() const { return m_display; }

    // Runs xdotool on this session's display, whatever DISPLAY the test runs with.
    XdotoolRun runXdotool(const QStringList& args, int timeoutMs) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xdotool"), args);
        XdotoolRun run;
        run.finished = p.waitForFinished(timeoutMs);
        if (!run.finished) {
            p.kill();
            p.waitForFinished();
        }
        run.exitCode = p.exitCode();
        run.out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        run.err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return run;
    }
    // Runs xdotool; its output, or a test failure when it fails or hangs.
    QString xdotool(const QStringList& args, int timeoutMs = 15000) const {
        const XdotoolRun run = runXdotool(args, timeoutMs);
        const std::string call = "xdotool " + args.join(u' ').toStdString();
        if (!run.finished) {
            ADD_FAILURE() << call << " timed out";
            return {};
        }
        EXPECT_EQ(run.exitCode, 0)
            << call << " on " << m_display.toStdString() << ": " << run.err.toStdString();
        return run.out;
    }
    // Waits for a visible window whose title matches, and gives it the keyboard.
    QString focusWindow(const char* title) const {
        const QString id = xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QString::fromLatin1(title)})
                               .section(u'\n', 0, 0);
        if (!id.isEmpty())
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
        return id;
    }
    bool windowGone(const char* title) const {
        return QTest::qWaitFor(
            [&] {
                const XdotoolRun run =
                    runXdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), QString::fromLatin1(title)},
                               5000);
                // A search that matches nothing fails quietly; one that cannot reach the
                // display also fails, but says so, and proves nothing about the window.
                return run.finished && run.exitCode != 0 && run.err.isEmpty();
            },
            10000);
    }
    void keys(const QStringList& keys) const {
        xdotool(
            QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} +
            keys);
    }
    void type(const QString& text) const {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
    }

private:
    QProcess m_server;
    QString m_display;
};

QStringList Repeat(const QString& key, int times) {
    QStringList out;
    for (int i = 0; i < times; ++i)
        out << key;
    return out;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_x.start()) << "Xvfb did not start";
        writeFile(kInitialFile);
    }
    void TearDown() override {
        if (m_program && m_program->state() != QProcess::NotRunning) {
            m_program->kill();
            m_program->waitForFinished();
        }
    }

    void writeFile(const QByteArray& bytes) {
        QFile f(m_dir.filePath(QString::fromLatin1(kSettingsFileName)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray file() const {
        QFile f(m_dir.filePath(QString::fromLatin1(kSettingsFileName)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Starts gomcfg2 in the scratch directory and waits for its sheet to take the keyboard.
    void startProgram() {
        m_program = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("DISPLAY"), m_x.display());
        env.insert(QStringLiteral("GOMCFG_WINDIR"), m_dir.path());
        m_program->setProcessEnvironment(env);
        m_program->setWorkingDirectory(m_dir.path());
        m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program->start(QStringLiteral(GOMCFG_BINARY), {});
        ASSERT_TRUE(m_program->waitForStarted());
        ASSERT_FALSE(m_x.focusWindow(kSheetTitle).isEmpty());
    }
    // A refused value brings up the message box; Enter dismisses it.
    void dismissMessage() {
        ASSERT_FALSE(m_x.focusWindow(kMessageTitle).isEmpty()) << "no message box";
        m_x.keys({QStringLiteral("Return")});
        ASSERT_TRUE(m_x.windowGone(kMessageTitle));
        ASSERT_FALSE(m_x.focusWindow(kSheetTitle).isEmpty());
    }
    void expectProgramEnded() {
        ASSERT_TRUE(m_program->waitForFinished(15000)) << "gomcfg2 is still open";
        EXPECT_EQ(m_program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_program->exitCode(), 0);
    }

    QTemporaryDir m_dir;
    XSession m_x;
    std::unique_ptr<QProcess> m_program;
};

} // namespace

TEST_F(EndToEnd, UntickRailgunAndGiveTheShotgunRowRocketLauncher) {
    startProgram();
    // The sheet opens on Weapons with "Shotgun" focused; each row is a check box and a list.
    const int railgunRow = 7;
    m_x.keys(Repeat(QStringLiteral("Tab"), 2 * railgunRow));
    m_x.keys({QStringLiteral("space")});
    // Back to the first row's list; "Rocket Launcher" sorts just above "Shotgun".
    m_x.keys(Repeat(QStringLiteral("shift+Tab"), 2 * railgunRow - 1));
    m_x.keys({QStringLiteral("Up")});
    m_x.keys({QStringLiteral("Return")});
    expectProgramEnded();

    const QByteArray expected =
        WithValue(WithValue(kInitialFile, "railgun", "false"), "shotgunT", "rockets");
    EXPECT_EQ(file().toStdString(), expected.toStdString());
}

TEST_F(EndToEnd, ServerOptionsRefusesALimitUntilItIsFixed) {
    startProgram();
    // On the way it passes Gomble Stuff, whose keys OK then writes too, with the same values.
    m_x.keys(Repeat(QStringLiteral("ctrl+Tab"), TabOf(IDD_SERVER_OPTIONS)));
    // The focus is on the tab bar; No exit, Cheating, Same Map, then the frag limit.
    m_x.keys(Repeat(QStringLiteral("Tab"), 4));
    m_x.type(QStringLiteral("1001"));

    // Neither another tab nor OK gets past the refused value, and nothing is written.
    m_x.keys({QStringLiteral("ctrl+Tab")});
    dismissMessage();
    m_x.keys({QStringLiteral("Return")});
    dismissMessage();
    EXPECT_EQ(m_program->state(), QProcess::Running);
    EXPECT_EQ(file().toStdString(), kInitialFile.toStdString());

    // The box has the focus again with its text selected: typing replaces it.
    m_x.type(QStringLiteral("250"));
    m_x.keys({QStringLiteral("Return")});
    expectProgramEnded();
    EXPECT_EQ(file().toStdString(), WithValue(kInitialFile, "Nfraglimit", "250").toStdString());
}

TEST_F(EndToEnd, ALimitSetFromATerminalWhileTheSheetIsOpenIsKept) {
    const QByteArray initial = WithValue(kInitialFile, "samemap", "false");
    writeFile(initial);
    startProgram();
    m_x.keys(Repeat(QStringLiteral("ctrl+Tab"), TabOf(134)));
    // Help's box comes up only once the keys before it are handled: the page has read its keys.
    m_x.keys({QStringLiteral("F1")});
    dismissMessage();

    const QByteArray fromTerminal = WithValue(initial, "Nfraglimit", "50");
    writeFile(fromTerminal);
    // The focus is back on the tab bar; No exit, Cheating, then Same Map.
    m_x.keys(Repeat(QStringLiteral("Tab"), 3));
    m_x.keys({QStringLiteral("space"), QStringLiteral("Return")});
    expectProgramEnded();
    EXPECT_EQ(file().toStdString(), WithValue(fromTerminal, "samemap", "true").toStdString());
}
