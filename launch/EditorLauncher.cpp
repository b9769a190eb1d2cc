#include "launch/EditorLauncher.h"

#include "model/PageMessages.h"
#include "platform/dialog/CEdit.h"
#include "platform/process/ChildProcess.h"
#include "platform/process/DetachedThread.h"
#include "platform/process/LaunchCommands.h"
#include "settings/MotdText.h"

#include <QMetaObject>
#include <QObject>

#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

EditorLauncher AllowFileEditor{"allow.cfg"};
EditorLauncher DenyFileEditor{"deny.cfg"};
EditorLauncher MotdEditor{kMotdFileName};

namespace {

// How a worker reaches the preview: through a relay object that lives on the user-interface
// thread as a child of the preview's widget. When the relay goes (with the widget, the page or
// the whole window) it clears itself from the link under the lock, so the worker never posts to
// a destroyed object and never touches the preview after that.
struct PreviewLink {
    std::mutex mutex;
    QObject* relay = nullptr; // written on the UI thread only, under mutex
    CEdit* preview = nullptr; // used on the UI thread only, while relay lives
};

std::shared_ptr<PreviewLink> linkTo(CEdit* preview) {
    QWidget* widget = preview ? preview->GetSafeHwnd() : nullptr;
    if (!widget)
        return nullptr;
    auto link = std::make_shared<PreviewLink>();
    link->preview = preview;
    link->relay = new QObject(widget);
    QObject::connect(link->relay, &QObject::destroyed, [link] {
        const std::lock_guard lock(link->mutex);
        link->relay = nullptr;
    });
    return link;
}

// Runs the reload on the user-interface thread and waits for it. The wait also ends when the
// relay is destroyed before the reload ran: the queued call is then dropped, and with it the
// promise, which only the call holds. Posting never blocks, so holding the lock meanwhile
// cannot deadlock.
void reloadPreview(const std::shared_ptr<PreviewLink>& link) {
    auto done = std::make_shared<std::promise<void>>();
    const std::future<void> finished = done->get_future();
    {
        const std::lock_guard lock(link->mutex);
        if (!link->relay)
            return;
        QMetaObject::invokeMethod(
            link->relay,
            [link, done = std::move(done)] {
                FillMotdPreview(*link->preview, PageText::kMotdMissingAfterEdit);
                done->set_value();
                link->relay->deleteLater();
            },
            Qt::QueuedConnection);
    }
    finished.wait();
}

// The worker thread: runs the editor, waits until it is closed (not at all when it could not
// start), reloads the preview if there is one, and frees the launcher as its very last step.
// It touches nothing that the end of the process destroys, so it may be cut off anywhere.
void EditorWorker(EditorLauncher& launcher, const std::vector<std::string>& argv,
                  const std::shared_ptr<PreviewLink>& link) {
    ChildProcess editor = ChildProcess::start(argv);
    editor.wait();
    if (link)
        reloadPreview(link);
    launcher.running.store(0);
}
} // namespace

void EditorLauncher::Launch(CEdit* preview) {
    if (running.load() != 0)
        return;
    running.store(1);
    // The environment is read here, on the thread that owns it.
    std::vector<std::string> argv = EditorCommand(m_fileName);
    std::shared_ptr<PreviewLink> link = linkTo(preview);
    const bool started = StartDetachedThread(
        [this, argv = std::move(argv), link] { EditorWorker(*this, argv, link); });
    if (!started) {
        // Nothing ran, so nothing changed: only free the button.
        if (link && link->relay)
            delete link->relay;
        running.store(0);
    }
}

void ResetEditorFlags() {
    MotdEditor.running.store(0);
    AllowFileEditor.running.store(0);
    DenyFileEditor.running.store(0);
}
