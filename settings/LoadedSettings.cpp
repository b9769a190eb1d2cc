#include "settings/LoadedSettings.h"

#include "platform/AsciiCase.h"
#include "platform/store/PrivateProfile.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// The file matches keys ignoring ASCII case, so the ledger does too.
std::string LowerKey(std::string_view key) {
    return AsciiLowered(key);
}

std::map<std::string, LoadedKey>& Ledger() {
    static std::map<std::string, LoadedKey> ledger;
    return ledger;
}

std::vector<PendingWrite>* g_gathering = nullptr;
const std::vector<KeptText>* g_replaying = nullptr;

} // namespace

const LoadedKey* FindLoadedKey(std::string_view key) {
    const auto found = Ledger().find(LowerKey(key));
    return found == Ledger().end() ? nullptr : &found->second;
}

void SetLoadedKey(std::string_view key, LoadedKey loaded) {
    Ledger()[LowerKey(key)] = std::move(loaded);
}

bool ReadSettingText(const char* key, const char* defaultText, char (&buffer)[kValueBufferSize]) {
    StoredText stored;
    if (g_replaying) {
        const std::string lower = LowerKey(key);
        const auto kept = std::find_if(g_replaying->begin(), g_replaying->end(),
                                       [&](const KeptText& k) { return LowerKey(k.key) == lower; });
        if (kept == g_replaying->end())
            return false;
        stored = kept->stored;
    } else {
        stored = GetPrivateProfileValue(kSettingsSection, key, kSettingsFileName);
    }
    CopyPrivateProfileValue(stored, defaultText, buffer, sizeof buffer);
    SetLoadedKey(key, {std::move(stored), std::nullopt});
    return true;
}

void NoteShownValue(const char* key, std::optional<std::string> shown) {
    Ledger()[LowerKey(key)].shown = std::move(shown);
}

void WriteSettingText(const char* key, const char* value, void (*reportFailure)()) {
    if (g_gathering)
        g_gathering->push_back({key, value, reportFailure});
    else if (!WritePrivateProfileString(kSettingsSection, key, value, kSettingsFileName))
        reportFailure();
}

GatheredWrites::GatheredWrites(std::vector<PendingWrite>& writes)
    : m_previous(std::exchange(g_gathering, &writes)) {}

GatheredWrites::~GatheredWrites() {
    g_gathering = m_previous;
}

ReplayedTexts::ReplayedTexts(const std::vector<KeptText>& kept)
    : m_previous(std::exchange(g_replaying, &kept)) {}

ReplayedTexts::~ReplayedTexts() {
    g_replaying = m_previous;
}
