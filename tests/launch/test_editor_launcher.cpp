#include "support/ProcessSupport.h"

#include "launch/EditorLauncher.h"
#include "platform/dialog/CEdit.h"
#include "platform/dialog/MessageBox.h"

#include <QPlainTextEdit>
#include <QProcess>

#include <chrono>
#include <memory>
#include <signal.h>
#include <thread>

namespace {
constexpr int kWaitMs = 10000;

template <class Predicate> bool waitWithoutEvents(Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

QString editorRecordPrefix(const char* fileName) {
    return QStringLiteral("editor-%1.").arg(QLatin1String(fileName));
}

class EditorLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEditorFlags();
        previewWidget = std::make_unique<QPlainTextEdit>();
        preview.Attach(previewWidget.get());
        preview.LimitText(1024);
        previousHandler = SetMessageBoxHandler(
            [this](const MessageBoxCall& call) { messages.push_back(call.text); });
    }
    void TearDown() override {
        // Close whatever is still open, so no stand-in outlives its directory.
        for (EditorLauncher* launcher : {&AllowFileEditor, &DenyFileEditor, &MotdEditor}) {
            if (launcher->running.load() != 0)
                release(*launcher);
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return allChildrenReaped(); }, kWaitMs));
        SetMessageBoxHandler(previousHandler);
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    }

    QStringList editorRecords(const EditorLauncher& launcher) const {
        return records(dir, editorRecordPrefix(launcher.fileName()));
    }
    void waitUntilOpen(const EditorLauncher& launcher, int count = 1) {
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return editorRecords(launcher).size() == count; }, kWaitMs));
    }
    void release(EditorLauncher& launcher) {
        dir.write(QString::fromLatin1(launcher.fileName()) + QStringLiteral(".release"), "");
        ASSERT_TRUE(QTest::qWaitFor([&] { return launcher.running.load() == 0; }, kWaitMs));
    }

    ScopedWorkDir dir;
    ScopedEnv editor{"GOMCFG_EDITOR", testScript("fake_editor.sh")};
    std::unique_ptr<QPlainTextEdit> previewWidget;
    CEdit preview;
    MessageBoxHandler previousHandler;
    QStringList messages;
};

TEST_F(EditorLauncherTest, OneEditorPerFileUntilItIsClosed) {
    AllowFileEditor.Launch();
    EXPECT_EQ(AllowFileEditor.running.load(), 1);
    waitUntilOpen(AllowFileEditor);
    AllowFileEditor.Launch();
    AllowFileEditor.Launch();
    QTest::qWait(300);
    EXPECT_EQ(editorRecords(AllowFileEditor).size(), 1);
    EXPECT_EQ(AllowFileEditor.running.load(), 1);

    release(AllowFileEditor);
    AllowFileEditor.Launch();
    waitUntilOpen(AllowFileEditor, 2);
    EXPECT_EQ(AllowFileEditor.running.load(), 1);
}

TEST_F(EditorLauncherTest, ThreeEditorsAtOnceEachFreesOnlyItsOwnFlag) {
    AllowFileEditor.Launch();
    DenyFileEditor.Launch();
    MotdEditor.Launch(&preview);
    waitUntilOpen(AllowFileEditor);
    waitUntilOpen(DenyFileEditor);
    waitUntilOpen(MotdEditor);

    release(DenyFileEditor);
    EXPECT_EQ(AllowFileEditor.running.load(), 1);
    EXPECT_EQ(MotdEditor.running.load(), 1);

    release(MotdEditor);
    EXPECT_EQ(AllowFileEditor.running.load(), 1);
    EXPECT_EQ(DenyFileEditor.running.load(), 0);

    DenyFileEditor.Launch();
    waitUntilOpen(DenyFileEditor, 2);
    release(AllowFileEditor);
    EXPECT_EQ(DenyFileEditor.running.load(), 1);
}

TEST_F(EditorLauncherTest, EditorCommandIsSplitIntoWordsAndGetsTheFileNameLast) {
    ScopedEnv words("GOMCFG_EDITOR",
                    "'" + testScript("fake_editor.sh") + "' --flag \"two words\" 'a;b' $(x)");
    DenyFileEditor.Launch();
    waitUntilOpen(DenyFileEditor);
    EXPECT_EQ(recordedArgs(dir, editorRecords(DenyFileEditor).front()),
              QStringList({"--flag", "two words", "a;b", "$(x)", "deny.cfg"}));
}

TEST_F(EditorLauncherTest, PreviewShowsTheSavedTextAsSoonAsTheEditorCloses) {
    dir.write("gomble_motd.txt", "old text");
    FillMotdPreview(preview, "unused");
    MotdEditor.Launch(&preview);
    waitUntilOpen(MotdEditor);
    EXPECT_EQ(preview.GetWindowText(), "old text");

    dir.write("gomble_motd.txt", "Welcome\r\nto the server\r\n");
    dir.write("gomble_motd.txt.release", "");
    // The flag is cleared last, so the new text must be there the moment it reads 0.
    ASSERT_TRUE(QTest::qWaitFor([] { return MotdEditor.running.load() == 0; }, kWaitMs));
    EXPECT_EQ(preview.GetWindowText(), "Welcome\nto the server\n");
}

TEST_F(EditorLauncherTest, ClosingWithoutAFileShowsTheEditorFallback) {
    MotdEditor.Launch(&preview);
    waitUntilOpen(MotdEditor);
    release(MotdEditor);
    EXPECT_EQ(preview.GetWindowText(), "Put your motd text here...\n");
    EXPECT_FALSE(dir.exists("gomble_motd.txt"));
}

TEST_F(EditorLauncherTest, EditorThatCannotStartFreesItsFlagAtOnceAndSaysNothing) {
    const char* unusable[] = {"/nonexistent/editor", "'unclosed quote", "/dev/null"};
    for (const char* command : unusable) {
        SCOPED_TRACE(command);
        ScopedEnv broken("GOMCFG_EDITOR", command);
        preview.SetSel(0, -1);
        preview.ReplaceSel("before");
        MotdEditor.Launch(&preview);
        AllowFileEditor.Launch();
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return MotdEditor.running.load() == 0 && AllowFileEditor.running.load() == 0; },
            2000));
        EXPECT_EQ(preview.GetWindowText(), "Put your motd text here...\n");
    }
    // No editor set and none on the path.
    ScopedEnv unset("GOMCFG_EDITOR");
    ScopedEnv path("PATH", QFile::encodeName(dir.path()));
    DenyFileEditor.Launch();
    ASSERT_TRUE(QTest::qWaitFor([] { return DenyFileEditor.running.load() == 0; }, 2000));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorLauncherTest, WorkerLeavesThePreviewAloneOnceItsWindowIsGone) {
    MotdEditor.Launch(&preview);
    waitUntilOpen(MotdEditor);
    previewWidget.reset();
    dir.write("gomble_motd.txt", "new");
    release(MotdEditor);
    EXPECT_EQ(preview.GetSafeHwnd(), nullptr);
}

TEST_F(EditorLauncherTest, ReloadPendingWhenTheWindowGoesIsDroppedWithoutDeadlock) {
    MotdEditor.Launch(&preview);
    waitUntilOpen(MotdEditor);
    dir.write("gomble_motd.txt.release", "");
    // No events are handled meanwhile: the worker queues its reload and waits for it.
    ASSERT_TRUE(waitWithoutEvents([&] { return !dir.exists("gomble_motd.txt.release"); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(MotdEditor.running.load(), 1);
    previewWidget.reset();
    EXPECT_TRUE(waitWithoutEvents([] { return MotdEditor.running.load() == 0; }));
    EXPECT_EQ(MotdEditor.running.load(), 0);
}

TEST_F(EditorLauncherTest, ManyLaunchesLeaveNoZombies) {
    for (int i = 0; i < 5; ++i) {
        AllowFileEditor.Launch();
        waitUntilOpen(AllowFileEditor, i + 1);
        release(AllowFileEditor);
    }
    ScopedEnv broken("GOMCFG_EDITOR", "/nonexistent/editor");
    for (int i = 0; i < 5; ++i) {
        DenyFileEditor.Launch();
        ASSERT_TRUE(QTest::qWaitFor([] { return DenyFileEditor.running.load() == 0; }, 2000));
    }
    EXPECT_FALSE(hasZombieChildren());
    EXPECT_TRUE(allChildrenReaped());
}

// A separate program that opens the message-of-the-day editor and returns from main while it is
// open, as the utility does when its sheet closes.
class ExitWhileEditorOpenTest : public ::testing::Test {
protected:
    int runProbe() {
        QProcess probe;
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(GOMCFG_EXIT_PROBE));
        EXPECT_TRUE(probe.waitForFinished(kWaitMs));
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit) << probe.readAllStandardError().data();
        return probe.exitCode();
    }
    ScopedWorkDir dir;
    ScopedEnv editor{"GOMCFG_EDITOR", testScript("fake_editor.sh")};
};

TEST_F(ExitWhileEditorOpenTest, UtilityEndsAtOnceAndTheEditorStaysOpen) {
    EXPECT_EQ(runProbe(), 0);
    const QStringList open = records(dir, editorRecordPrefix("gomble_motd.txt"));
    ASSERT_EQ(open.size(), 1);
    const pid_t editorPid = open.front().section(QLatin1Char('.'), -1).toInt();
    EXPECT_EQ(::kill(editorPid, 0), 0);
    dir.write("gomble_motd.txt.release", "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(editorPid, 0) != 0; }, kWaitMs));
}

} // namespace
