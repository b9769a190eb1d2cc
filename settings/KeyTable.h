#pragma once

#include <span>

// Every key of the settings file, for the help text and the documentation. The pages name
// their keys themselves; tests hold the two together.
enum class SettingType { Boolean, Integer, WeaponToken };

struct SettingKey {
    const char* key;
    SettingType type;
    const char* defaultText;
    int minValue; // integers only
    int maxValue;
    int dialogId; // the page template that reads and writes the key
    const char* caption;
};

std::span<const SettingKey> SettingKeys();
