#pragma once

#include "settings/SettingsFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What each key held when a page read it, so that OK and Apply can tell a value another program
// wrote in the meantime from one the user changed. The read and write codecs go through here;
// outside OK and Apply they read and write the file exactly as they always have.

// A key's text in the file; nothing when the key is missing.
using StoredText = std::optional<std::string>;

struct LoadedKey {
    StoredText stored;                // what the file held when the page read the key
    std::optional<std::string> shown; // what the page would write after reading it; nothing
                                      // when it would write nothing (an unreadable substitute)
};

// The state of key as its page last read or wrote it; nullptr before any page read it. Keys
// match ignoring case, as in the file.
const LoadedKey* FindLoadedKey(std::string_view key);
void SetLoadedKey(std::string_view key, LoadedKey loaded);

// For the read codecs: fills buffer as GetPrivateProfileString would and remembers the stored
// text. While pages show kept values again (ReplayedTexts), only the kept keys are read, from
// the kept text: false for any other key, and the codec leaves its value as it is.
bool ReadSettingText(const char* key, const char* defaultText, char (&buffer)[kValueBufferSize]);
// For the read codecs, after a read: what the page now shows, as the text it would write.
void NoteShownValue(const char* key, std::optional<std::string> shown);

// For the write codecs: writes key, calling reportFailure if that fails; while OK or Apply
// gathers the pages' writes (GatheredWrites), adds it to them instead.
void WriteSettingText(const char* key, const char* value, void (*reportFailure)());

struct PendingWrite {
    std::string key;
    std::string value;
    void (*reportFailure)();
};

// While one lives, the write codecs add to writes instead of writing.
class GatheredWrites {
public:
    explicit GatheredWrites(std::vector<PendingWrite>& writes);
    ~GatheredWrites();
    GatheredWrites(const GatheredWrites&) = delete;
    GatheredWrites& operator=(const GatheredWrites&) = delete;

private:
    std::vector<PendingWrite>* m_previous;
};

struct KeptText {
    std::string key;
    StoredText stored;
};

// While one lives, the read codecs read the kept keys from kept and nothing else.
class ReplayedTexts {
public:
    explicit ReplayedTexts(const std::vector<KeptText>& kept);
    ~ReplayedTexts();
    ReplayedTexts(const ReplayedTexts&) = delete;
    ReplayedTexts& operator=(const ReplayedTexts&) = delete;

private:
    const std::vector<KeptText>* m_previous;
};
