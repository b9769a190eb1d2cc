#include "settings/SettingsApply.h"

#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"

SettingsApply::SettingsApply(std::vector<PendingWrite> writes) {
    const ProfileText file = ReadPrivateProfileText(kSettingsFileName);
    const IniDocument now(file.text);
    for (PendingWrite& write : writes) {
        Item item{std::move(write), Fate::Write, false, std::nullopt};
        if (const LoadedKey* loaded = FindLoadedKey(item.write.key)) {
            item.guarded = true;
            item.seen = loaded->stored;
            // A file that can't be read is left to the write, which reports it as always.
            if (file.error == 0) {
                const auto value = now.value(kSettingsSection, item.write.key);
                const StoredText inFile = value ? std::optional<std::string>(*value) : std::nullopt;
                if (inFile != loaded->stored) {
                    // Nothing to decide when the file already holds what the page would write.
                    const bool userChanged =
                        item.write.value != loaded->shown && item.write.value != inFile;
                    item.fate = userChanged ? Fate::Conflict : Fate::Keep;
                    item.seen = inFile;
                }
            }
        }
        m_items.push_back(std::move(item));
    }
}

std::vector<SettingsApply::Conflict> SettingsApply::conflicts() const {
    std::vector<Conflict> conflicts;
    for (const Item& item : m_items) {
        if (item.fate == Fate::Conflict)
            conflicts.push_back({item.write.key, item.seen, item.write.value});
    }
    return conflicts;
}

void SettingsApply::settle(bool sheetValues) {
    for (Item& item : m_items) {
        if (item.fate == Fate::Conflict)
            item.fate = sheetValues ? Fate::Write : Fate::Keep;
    }
}

std::vector<KeptText> SettingsApply::write() {
    std::vector<KeptText> kept;
    const auto keep = [&](const std::string& key, const StoredText& inFile) {
        kept.push_back({key, inFile});
        // Until the page reads it again it still shows what it showed.
        const LoadedKey* loaded = FindLoadedKey(key);
        SetLoadedKey(key, {inFile, loaded ? loaded->shown : std::nullopt});
    };
    for (const Item& item : m_items) {
        if (item.fate == Fate::Keep) {
            keep(item.write.key, item.seen);
            continue;
        }
        // One key per save, as each write always was; the test of what the file holds and the
        // save happen under the store's lock.
        ProfileEdit edit{item.write.key, item.write.value, std::nullopt};
        if (item.guarded)
            edit.expected = item.seen;
        const ProfileWriteResult result =
            WritePrivateProfileKeys(kSettingsSection, {&edit, 1}, kSettingsFileName);
        switch (result.status) {
        case ProfileWriteResult::Status::Written:
        case ProfileWriteResult::Status::Unchanged:
            SetLoadedKey(item.write.key, {item.write.value, item.write.value});
            break;
        case ProfileWriteResult::Status::Stale:
            keep(item.write.key, result.stale.front().current);
            break;
        case ProfileWriteResult::Status::Failed:
            item.write.reportFailure();
            break;
        }
    }
    return kept;
}
