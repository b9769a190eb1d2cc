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

    // UI thread only. Does nothing while this file's editor is open. For the message of the
    // day, preview is reloaded from the file when the editor exits.
    void Launch(CEdit* preview = nullptr);

    const char* FileName() const { return m_fileName; }

    // 1 from the click that starts a launch until its worker has finished. Set only on the UI
    // thread, cleared only by the worker, as its last step.
    std::atomic<int> running{0};

private:
    const char* m_fileName;
};

extern EditorLauncher AllowFileEditor; // "allow.cfg"
extern EditorLauncher DenyFileEditor;  // "deny.cfg"
extern EditorLauncher MotdEditor;      // "gomble_motd.txt"

// Loads the first 1024 bytes of "gomble_motd.txt" (up to a NUL byte) into preview, or
// fallbackText when the file cannot be read.
void FillMotdPreview(CEdit& preview, const char* fallbackText);
