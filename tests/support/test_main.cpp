#include "launch/EditorLauncher.h"
#include "res/Strings.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

// The editors' running flags are the process's; every test starts with none running, so the
// whole suite can run in one process, in any order.
class NoEditorRunning : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ResetEditorFlags(); }
};

} // namespace

int main(int argc, char** argv) {
    // Headless by default; a developer may still point the tests at a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (root over SSH, CI, the build listing the tests) Qt warns at every start
    // that XDG_RUNTIME_DIR is unset: a private one, mode 0700 as a session's, gone at the end.
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.emplace().isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    QApplication app(argc, argv);
    // Message boxes are titled with this name; the application object sets it in the program.
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoEditorRunning);
    return RUN_ALL_TESTS();
}
