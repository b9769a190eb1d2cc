#include "settings/SettingsSession.h"

#include "platform/AsciiCase.h"
#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <utility>

SettingsSession::SettingsSession(std::string filePath, const ProfileIo& io)
    : m_filePath(std::move(filePath)), m_io(&io) {}

SettingsSession::Loaded* SettingsSession::findLoaded(std::string_view key) {
    const auto found = m_loaded.find(AsciiLowered(key));
    return found == m_loaded.end() ? nullptr : &found->second;
}

std::optional<StoredText> SettingsSession::read(std::string_view key) {
    StoredText stored;
    if (m_showingKept) {
        const auto kept =
            std::find_if(m_showingKept->begin(), m_showingKept->end(),
                         [&](const KeptKey& k) { return EqualsIgnoringAsciiCase(k.key, key); });
        if (kept == m_showingKept->end())
            return std::nullopt;
        stored = kept->stored;
    } else {
        stored = GetPrivateProfileValue(kSettingsSection, std::string(key).c_str(),
                                        m_filePath.c_str(), *m_io);
    }
    m_loaded[AsciiLowered(key)] = {stored, std::nullopt};
    return stored;
}

void SettingsSession::noteRead(std::string_view key, StoredText stored) {
    m_loaded[AsciiLowered(key)] = {std::move(stored), std::nullopt};
}

void SettingsSession::noteShown(std::string_view key, std::optional<std::string> shown) {
    m_loaded[AsciiLowered(key)].shown = std::move(shown);
}

void SettingsSession::addWrite(std::string key, std::string value,
                               std::function<void()> onFailure) {
    Pending write{std::move(key), std::move(value), std::move(onFailure), Fate::Write, {}};
    if (const Loaded* loaded = findLoaded(write.key))
        write.expected = loaded->stored;
    m_pending.push_back(std::move(write));
}

std::vector<SettingsSession::Conflict> SettingsSession::sortWrites() {
    std::vector<Conflict> conflicts;
    if (m_pending.empty())
        return conflicts;
    const ProfileText file = ReadPrivateProfileText(m_filePath.c_str(), *m_io);
    // A file that can't be read is left to the save, which reports it.
    if (file.error != 0)
        return conflicts;
    // The section alone: each key is looked up without passing over the rest of the file.
    const IniDocument now(IniDocument(file.text).sectionText(kSettingsSection).value_or(""));
    for (Pending& write : m_pending) {
        const Loaded* loaded = findLoaded(write.key);
        if (!loaded)
            continue;
        const auto value = now.value(kSettingsSection, write.key);
        const StoredText inFile = value ? StoredText(*value) : std::nullopt;
        if (inFile == loaded->stored)
            continue;
        // Nothing to decide when the file already holds what the front end would write.
        const bool changedHere = write.value != loaded->shown && write.value != inFile;
        write.fate = changedHere ? Fate::Conflict : Fate::Keep;
        write.expected = inFile;
        if (changedHere)
            conflicts.push_back({write.key, inFile, write.value});
    }
    return conflicts;
}

void SettingsSession::settle(bool frontEndValues) {
    for (Pending& write : m_pending) {
        if (write.fate == Fate::Conflict)
            write.fate = frontEndValues ? Fate::Write : Fate::Keep;
    }
}

void SettingsSession::keep(const std::string& key, const StoredText& inFile,
                           std::vector<KeptKey>& kept) {
    kept.push_back({key, inFile});
    // Until the front end reads it again it still shows what it showed.
    const Loaded* loaded = findLoaded(key);
    m_loaded[AsciiLowered(key)] = {inFile, loaded ? loaded->shown : std::nullopt};
}

std::vector<SettingsSession::KeptKey> SettingsSession::commit() {
    std::vector<Pending> pending = std::exchange(m_pending, {});
    std::vector<KeptKey> kept;
    std::vector<const Pending*> writes;
    for (const Pending& write : pending) {
        if (write.fate == Fate::Write)
            writes.push_back(&write);
        else
            keep(write.key, write.expected.value_or(std::nullopt), kept);
    }

    // Every round either ends or drops at least one stale key, so this ends.
    while (!writes.empty()) {
        std::vector<ProfileEdit> edits;
        edits.reserve(writes.size());
        for (const Pending* write : writes)
            edits.push_back({write->key, write->value, write->expected});
        const ProfileWriteResult result = WritePrivateProfileKeys(
            kSettingsSection, edits, m_filePath.c_str(), ProfileWriteMode::Write, *m_io);
        switch (result.status) {
        case ProfileWriteResult::Status::Written:
        case ProfileWriteResult::Status::Unchanged:
            for (const Pending* write : writes)
                m_loaded[AsciiLowered(write->key)] = {write->value, write->value};
            writes.clear();
            break;
        case ProfileWriteResult::Status::Stale: {
            std::size_t dropped = 0;
            for (const ProfileWriteResult::StaleKey& stale : result.stale) {
                dropped += std::erase_if(writes, [&](const Pending* write) {
                    return EqualsIgnoringAsciiCase(write->key, stale.key);
                });
                keep(stale.key, stale.current, kept);
            }
            if (dropped > 0)
                break;
            // A stale answer that names none of the keys: nothing was saved.
            [[fallthrough]];
        }
        case ProfileWriteResult::Status::Failed:
            for (const Pending* write : writes) {
                if (write->onFailure)
                    write->onFailure();
            }
            writes.clear();
            break;
        }
    }
    return kept;
}

void SettingsSession::discardWrites() {
    m_pending.clear();
}

void SettingsSession::beginShowingKept(std::vector<KeptKey> kept) {
    m_showingKept = std::move(kept);
}

void SettingsSession::endShowingKept() {
    m_showingKept.reset();
}
