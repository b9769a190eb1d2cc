#include "launch/EditorLauncher.h"
#include "res/Strings.h"

#include <QApplication>
#include <gtest/gtest.h>

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
    QApplication app(argc, argv);
    // Message boxes are titled with this name; the application object sets it in the program.
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoEditorRunning);
    return RUN_ALL_TESTS();
}
