#pragma once

#include "pages/SettingsAccess.h"
#include "settings/SettingsSession.h"

#include <vector>

// A settings session for the codecs used without a sheet, installed while it lives. Make it
// after the ScopedWorkDir whose settings file it edits.
class CodecSession {
public:
    CodecSession() : m_previous(SetSettingsSession(&m_session)) {}
    ~CodecSession() { SetSettingsSession(m_previous); }
    CodecSession(const CodecSession&) = delete;
    CodecSession& operator=(const CodecSession&) = delete;

    // The writes gathered so far, saved as OK saves them when nothing conflicts.
    std::vector<SettingsSession::KeptKey> save() {
        m_session.sortWrites();
        return m_session.commit();
    }
    SettingsSession& session() { return m_session; }

private:
    SettingsSession m_session{SettingsFilePath()};
    SettingsSession* m_previous;
};
