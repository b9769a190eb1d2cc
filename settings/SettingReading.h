#pragma once

#include "settings/KeyTable.h"

#include <optional>
#include <string>
#include <string_view>

// What the sheet makes of a key's stored text when it first shows the key's tab.
enum class StoredState {
    Default,    // the key is missing: its default is in effect
    Ok,         // the text is exactly what the sheet would write for its value
    Unreadable, // the sheet reads it in its own way: a default, a leading number, no selection
    OutOfRange, // an integer the sheet reads but refuses to leave its tab with
};

struct SettingReading {
    // The value in effect: "true"/"false", decimal text or a weapon token; empty for a substitute
    // the sheet cannot read, whose list then shows no selection.
    std::string value;
    StoredState state = StoredState::Default;
};

// stored: the key's text as the store reads it; nothing when the key is missing.
SettingReading ReadSetting(const SettingKey& key, std::optional<std::string_view> stored);

// "default", "ok", "unreadable", "out of range".
const char* StoredStateName(StoredState state);
