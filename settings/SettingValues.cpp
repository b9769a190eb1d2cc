#include "settings/SettingValues.h"

#include "platform/DecimalDigits.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

std::optional<int> ReadBooleanText(std::string_view text) {
    if (text == "true")
        return 1;
    if (text == "false")
        return 0;
    return std::nullopt;
}

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool sawDigit = false;
    return ReadSignedDigits(text, i, sawDigit);
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool sawDigit = false;
    const int value = ReadSignedDigits(text, i, sawDigit);
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (!sawDigit || i != text.size())
        return std::nullopt;
    return value;
}

const char* BooleanText(int value) {
    return value ? "true" : "false";
}

std::string IntegerText(int value) {
    return std::to_string(value);
}
