#include "pages/SettingsAccess.h"

#include "platform/store/PrivateProfile.h"
#include "settings/SettingsSession.h"

#include <utility>

namespace {
SettingsSession* g_session = nullptr;
} // namespace

SettingsSession* SetSettingsSession(SettingsSession* session) {
    return std::exchange(g_session, session);
}

bool ReadSettingText(const char* key, const char* defaultText, char (&buffer)[kValueBufferSize]) {
    StoredText stored;
    if (g_session) {
        const std::optional<StoredText> read = g_session->read(key);
        if (!read)
            return false;
        stored = *read;
    }
    CopyPrivateProfileValue(stored, defaultText, buffer, sizeof buffer);
    return true;
}

void NoteShownValue(const char* key, std::optional<std::string> shown) {
    if (g_session)
        g_session->noteShown(key, std::move(shown));
}

void WriteSettingText(const char* key, const char* value, void (*reportFailure)()) {
    if (g_session)
        g_session->addWrite(key, value, reportFailure);
    else
        reportFailure();
}
