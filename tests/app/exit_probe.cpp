// Opens the message-of-the-day editor with a preview, waits until it runs, then ends the way the
// utility does: the window goes and main returns while the worker still waits on the editor.
#include "launch/EditorLauncher.h"
#include "platform/dialog/CEdit.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ResetEditorFlags();
    auto widget = std::make_unique<QPlainTextEdit>();
    CEdit preview;
    preview.Attach(widget.get());
    MotdEditor.Launch(&preview);
    const bool started = QTest::qWaitFor(
        [] {
            return !QDir::current()
                        .entryList({QStringLiteral("editor-gomble_motd.txt.*")}, QDir::Files)
                        .isEmpty();
        },
        10000);
    widget.reset();
    return started && MotdEditor.running.load() == 1 ? 0 : 1;
}
