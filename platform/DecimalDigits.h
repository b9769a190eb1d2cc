#pragma once

#include <climits>
#include <cstddef>
#include <optional>
#include <string_view>

// The one digit loop behind every integer the program reads: stored values (the settings model)
// and typed ones (the dialogs' edit boxes). Header-only and free of Qt, so both layers share it.

inline bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// White space as the C library's isspace knows it in the "C" locale.
inline bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Reads an optional sign and the digits after it from text[i], saturating to int; i ends on the
// first byte that is not a digit, and sawDigit tells whether there was one.
inline int ReadSignedDigits(std::string_view text, std::size_t& i, bool& sawDigit) {
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long magnitude = 0;
    sawDigit = false;
    for (; i < text.size() && IsDecimalDigit(text[i]); ++i) {
        sawDigit = true;
        if (magnitude <= INT_MAX) // enough to saturate, and never overflows
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

// A whole number as a user types it: optional surrounding ASCII white space, an optional sign and
// at least one digit, nothing else. Saturates to the range of int; nothing for any other text.
// A caller whose text knows more white space (Unicode's) trims it first.
inline std::optional<int> ParseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i]))
        ++i;
    bool sawDigit = false;
    const int value = ReadSignedDigits(text, i, sawDigit);
    while (i < text.size() && IsAsciiSpace(text[i]))
        ++i;
    if (!sawDigit || i != text.size())
        return std::nullopt;
    return value;
}
