#pragma once

#include "settings/KeyTable.h"

#include <optional>
#include <string>
#include <string_view>

// What a person may type for a key, more leniently than the file is read, and the text that is
// stored for it: booleans as true/false, yes/no, on/off or 1/0 in any case, stored "true" or
// "false"; integers as an optional sign and decimal digits within the key's range, stored as
// decimal; substitutes as a weapon token or a weapon's shown name in any case, stored as the
// token.
struct SettingInput {
    std::optional<std::string> text; // what to store; nothing when refused
    std::string problem;             // why it was refused
};

SettingInput ParseSettingInput(const SettingKey& key, std::string_view typed);
