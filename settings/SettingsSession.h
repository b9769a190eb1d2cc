#pragma once

#include "platform/store/ProfileFileOps.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A key's text in the file; nothing when the key is missing.
using StoredText = std::optional<std::string>;

// What a front end (the sheet, the terminal sheet) needs across one run to edit the settings
// file next to other programs: for each key, what the file held when the front end read it and
// what the front end showed for it; and, for one OK or Apply, the writes it gathers. Those are
// sorted against the file as it is then (unchanged in the file: written; changed only in the
// file: kept; changed on both sides: a conflict the user settles) and written in one save.
// The front end owns one for its life; nothing of it is process-wide.
class SettingsSession {
public:
    // filePath: the settings file, as SettingsFilePath() gives it; io: how its reads and saves
    // reach the disk, which must outlive the session.
    explicit SettingsSession(std::string filePath, const ProfileIo& io = kSystemProfileIo);
    SettingsSession(std::string filePath, ProfileIo&& io) = delete;
    SettingsSession(const SettingsSession&) = delete;
    SettingsSession& operator=(const SettingsSession&) = delete;

    const std::string& filePath() const { return m_filePath; }

    // --- Reading, when a page is first shown (or shows kept keys again) ---

    // The key's stored text, read from the file now and remembered as what the front end read.
    // While kept keys are shown again (after commit()), it is the kept text for a kept key and
    // nothing at all for any other key, whose value the front end then leaves as it is.
    std::optional<StoredText> read(std::string_view key);
    // What a front end read for key earlier, in a process of its own (the browser page reads in
    // one run of gomcfgctl and applies in another), taken as if read() had read it.
    void noteRead(std::string_view key, StoredText stored);
    // What the front end now shows for key, as the text it would write; nothing when it would
    // write nothing (an unreadable substitute).
    void noteShown(std::string_view key, std::optional<std::string> shown);

    // --- One OK or Apply ---

    // Adds a write, in the front end's order. onFailure (which may be empty) runs once for it, in
    // that order, when the save fails.
    void addWrite(std::string key, std::string value, std::function<void()> onFailure);

    struct Conflict {
        std::string key;
        StoredText inFile;
        std::string here;
        bool operator==(const Conflict&) const = default;
    };
    // Reads the file once (not at all without writes) and sorts the gathered writes against it;
    // the conflicts to settle, in the order of the writes. Without it, commit() checks each key
    // against what was read.
    std::vector<Conflict> sortWrites();
    // Every conflict takes the front end's value (true) or keeps the file's (false). A conflict
    // left unsettled keeps the file's value.
    void settle(bool frontEndValues);

    struct KeptKey {
        std::string key;
        StoredText stored;
        bool operator==(const KeptKey&) const = default;
    };
    // Writes the sorted writes in one atomic save, each only while its key still holds what was
    // seen for it (what was read, or what sortWrites() found); a key that changed meanwhile keeps
    // the file's value and the rest are saved without it. On failure every write that was to be
    // made has its onFailure run, in order, and nothing is written. A write of a key never read
    // is made whatever the file holds. Clears the writes. Returns the keys whose file values were
    // kept: the front end shows them again, between beginShowingKept() and endShowingKept().
    std::vector<KeptKey> commit();
    // Drops the gathered writes (the conflict question was cancelled).
    void discardWrites();

    void beginShowingKept(std::vector<KeptKey> kept);
    void endShowingKept();

private:
    struct Loaded {
        StoredText stored;
        std::optional<std::string> shown;
    };
    enum class Fate { Write, Keep, Conflict };
    struct Pending {
        std::string key;
        std::string value;
        std::function<void()> onFailure;
        Fate fate = Fate::Write;
        // What the key must still hold for the write to go ahead; nothing for a key never read.
        std::optional<StoredText> expected;
    };

    Loaded* findLoaded(std::string_view key);
    void keep(const std::string& key, const StoredText& inFile, std::vector<KeptKey>& kept);

    std::string m_filePath;
    const ProfileIo* m_io;
    std::map<std::string, Loaded> m_loaded; // by key lowered, as the file matches keys
    std::vector<Pending> m_pending;
    std::optional<std::vector<KeptKey>> m_showingKept;
};
