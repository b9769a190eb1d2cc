#include "settings/SettingInput.h"

#include "platform/AsciiCase.h"
#include "platform/DecimalDigits.h"
#include "settings/SettingValues.h"
#include "settings/WeaponTokens.h"

#include <algorithm>
#include <array>

namespace {

std::optional<bool> booleanFromInput(std::string_view typed) {
    static constexpr std::array<std::string_view, 4> kTrue = {"true", "yes", "on", "1"};
    static constexpr std::array<std::string_view, 4> kFalse = {"false", "no", "off", "0"};
    const auto is = [&](std::string_view word) { return EqualsIgnoringAsciiCase(word, typed); };
    if (std::any_of(kTrue.begin(), kTrue.end(), is))
        return true;
    if (std::any_of(kFalse.begin(), kFalse.end(), is))
        return false;
    return std::nullopt;
}

// The weapon a person means by a token or a shown name in any case, or -1.
int weaponFromInput(std::string_view typed) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (EqualsIgnoringAsciiCase(typed, WeaponTokenFromIndex(i)) ||
            EqualsIgnoringAsciiCase(typed, WeaponShownName(i)))
            return i;
    }
    return -1;
}

} // namespace

SettingInput ParseSettingInput(const SettingKey& key, std::string_view typed) {
    switch (key.type) {
    case SettingType::Boolean:
        if (const auto value = booleanFromInput(typed))
            return {BooleanText(*value), {}};
        return {std::nullopt,
                InQuotes(typed) + " is not a boolean (true/false, yes/no, on/off, 1/0)"};
    case SettingType::Integer: {
        const auto value = ParseWholeNumber(typed);
        if (!value)
            return {std::nullopt, InQuotes(typed) + " is not a whole number"};
        if (!WithinRange(key, *value))
            return {std::nullopt, InQuotes(typed) + " is out of range (" +
                                      IntegerText(key.minValue) + " to " +
                                      IntegerText(key.maxValue) + ")"};
        return {IntegerText(*value), {}};
    }
    case SettingType::WeaponToken: {
        const int index = weaponFromInput(typed);
        if (index >= 0)
            return {WeaponTokenFromIndex(index), {}};
        std::string tokens;
        for (int i = 0; i < kWeaponCount; ++i)
            tokens.append(i ? ", " : "").append(WeaponTokenFromIndex(i));
        return {std::nullopt, InQuotes(typed) + " is not a weapon (" + tokens + ")"};
    }
    }
    return {std::nullopt, InQuotes(typed) + " is not a value of " + key.key};
}
