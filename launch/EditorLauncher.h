#pragma once

#include <atomic>

class CEdit;

// Opens one fixed text file of the current directory in a text editor, from a worker thread
// that waits for the editor to close. One editor per file at a time.
class EditorLauncher {
public:
    explicit constexpr EditorLauncher(const char* fileName) : m_fileName(fileName) {}
    EditorLauncher(const EditorLauncher&) = delete;
    EditorLauncher& operator=(const EditorLauncher&) = delete;

    // UI thread only. Does nothing while this file's editor is open; otherwise starts a worker
    // that runs the editor (see EditorCommand) and waits for it, and returns at once. With a
    // preview, the worker reloads it from the message-of-the-day file when the editor has
    // exited, unless the preview's window is gone by then. An editor that cannot be started
    // ends the launch at once; nothing is reported.
    void Launch(CEdit* preview = nullptr);

    const char* fileName() const { return m_fileName; }

    // 1 from the click that starts a launch until its worker has finished. Set only on the UI
    // thread, cleared only by the worker, as its last step.
    std::atomic<int> running{0};

private:
    const char* m_fileName;
};

extern EditorLauncher AllowFileEditor; // "allow.cfg"
extern EditorLauncher DenyFileEditor;  // "deny.cfg"
extern EditorLauncher MotdEditor;      // "gomble_motd.txt"

// Sets the three running flags to 0, message of the day first; the application object does so
// when it is constructed.
void ResetEditorFlags();

// Replaces the whole text of preview with the first 1024 bytes of "gomble_motd.txt" of the
// current directory (up to a NUL byte), or with fallbackText when the file cannot be read; see
// MotdUtf8FromBytes (settings/MotdText.h) for how the bytes become text.
void FillMotdPreview(CEdit& preview, const char* fallbackText);
