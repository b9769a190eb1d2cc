#pragma once

#include <span>
#include <string_view>

// Every key of the settings file: what it holds, its default and range, and the tab that shows
// it. Which control of that tab shows a key is the templates' business (res/PageKeys.h); the
// pages name their keys themselves, as they always have, and tests hold the three together.
enum class SettingType { Boolean, Integer, WeaponToken };

struct SettingKey {
    const char* key;
    SettingType type;
    const char* defaultText;
    int minValue; // integers only
    int maxValue;
    const char* tab; // the caption of the tab that shows the key ("Server Options")
};

std::span<const SettingKey> SettingKeys();

// Whether value lies within the range of integer key (bounds included).
bool WithinRange(const SettingKey& key, int value);

// The type's name as gomcfgctl and the page model's export give it: "boolean", "integer", "weapon".
const char* SettingTypeName(SettingType type);

// The key whose name equals key ignoring ASCII case, as the store matches keys; nullptr if none.
const SettingKey* FindSettingKey(std::string_view key);
