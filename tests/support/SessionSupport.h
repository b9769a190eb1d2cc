#pragma once

#include "model/PageCodecs.h"
#include "platform/dialog/MessageBox.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"
#include "support/MessageRecorder.h"

#include <QString>

#include <vector>

// A settings session for the codecs used without a sheet, whose messages are message boxes as
// the sheet shows them. Make it after the ScopedWorkDir whose settings file it edits.
class CodecSession {
public:
    explicit CodecSession(std::string path = SettingsFilePath())
        : m_session(std::move(path), m_disk) {}
    CodecSession(const CodecSession&) = delete;
    CodecSession& operator=(const CodecSession&) = delete;

    // What the codecs read and write through.
    PageIo& io() { return m_io; }
    // The writes gathered so far, saved as OK saves them when nothing conflicts.
    std::vector<SettingsSession::KeptKey> save() {
        m_session.sortWrites();
        return m_session.commit();
    }
    SettingsSession& session() { return m_session; }
    // How the session's reads and saves reach the disk; tests make them fail.
    ProfileIo& disk() { return m_disk; }

private:
    class MessageBoxes : public PageReports {
    public:
        void message(const std::string& text) override {
            AfxMessageBox(QString::fromStdString(text), MB_OK | MB_ICONEXCLAMATION);
        }
    };

    ProfileIo m_disk;
    SettingsSession m_session;
    MessageBoxes m_reports;
    PageIo m_io{m_session, m_reports};
};
