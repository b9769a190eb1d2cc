#include "settings/SettingValues.h"

#include "platform/DecimalDigits.h"

std::optional<int> ReadBooleanText(std::string_view text) {
    if (text == "true")
        return 1;
    if (text == "false")
        return 0;
    return std::nullopt;
}

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i]))
        ++i;
    bool sawDigit = false;
    return ReadSignedDigits(text, i, sawDigit);
}

std::string InQuotes(std::string_view text) {
    return "'" + std::string(text) + "'";
}

const char* BooleanText(int value) {
    return value ? "true" : "false";
}

std::string IntegerText(int value) {
    return std::to_string(value);
}
