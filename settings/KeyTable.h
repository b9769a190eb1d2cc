#pragma once

#include <span>
#include <string_view>

// Every key of the settings file: what it holds, its default and range, and the page and control
// that show it. The pages name their keys themselves, as they always have; tests hold the two
// together.
enum class SettingType { Boolean, Integer, WeaponToken };

struct SettingKey {
    const char* key;
    SettingType type;
    const char* defaultText;
    int minValue; // integers only
    int maxValue;
    int dialogId; // the page template that reads and writes the key
    const char* caption;
    int controlId; // on that template: the check box, edit box or substitute list
};

std::span<const SettingKey> SettingKeys();

// The key whose name equals key ignoring ASCII case, as the store matches keys; nullptr if none.
const SettingKey* FindSettingKey(std::string_view key);

// The tab caption of the page built on dialogId ("Server Options"), or nullptr.
const char* SettingTabCaption(int dialogId);
