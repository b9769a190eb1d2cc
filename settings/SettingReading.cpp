#include "settings/SettingReading.h"

#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"
#include "settings/WeaponTokens.h"

SettingReading ReadSetting(const SettingKey& key, std::optional<std::string_view> stored) {
    if (!stored)
        return {key.defaultText, StoredState::Default};
    // The sheet reads the text as a C string through its fixed buffer.
    const std::string text(stored->substr(0, stored->find('\0')).substr(0, kValueBufferSize - 1));
    switch (key.type) {
    case SettingType::Boolean:
        if (const auto value = ReadBooleanText(text))
            return {BooleanText(*value), StoredState::Ok};
        // The weapon flags report such text and count as enabled, which is their default.
        return {key.defaultText, StoredState::Unreadable};
    case SettingType::Integer: {
        const int value = ParseLeadingInt(text);
        if (!WithinRange(key, value))
            return {IntegerText(value), StoredState::OutOfRange};
        return {IntegerText(value),
                IntegerText(value) == text ? StoredState::Ok : StoredState::Unreadable};
    }
    case SettingType::WeaponToken:
        if (WeaponIndexFromToken(text.c_str()) < 0)
            return {std::string(), StoredState::Unreadable};
        return {text, StoredState::Ok};
    }
    return {key.defaultText, StoredState::Default};
}

const char* StoredStateName(StoredState state) {
    switch (state) {
    case StoredState::Default:
        return "default";
    case StoredState::Ok:
        return "ok";
    case StoredState::Unreadable:
        return "unreadable";
    case StoredState::OutOfRange:
        return "out of range";
    }
    return "";
}
