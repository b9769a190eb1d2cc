#include "settings/SettingValues.h"

#include <climits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads an optional sign and the digits after it from text[i], saturating to int; i ends on the
// first byte that is not a digit. The one digit loop that every integer reading goes through.
int ReadSignedDigits(std::string_view text, std::size_t& i, bool& sawDigit) {
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long magnitude = 0;
    sawDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        sawDigit = true;
        if (magnitude <= INT_MAX) // enough to saturate, and never overflows
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
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
