#pragma once

#include <optional>
#include <string>
#include <string_view>

// How stored text reads as a value, exactly as the sheet reads it, and how values are written.

// 1 for exactly "true", 0 for exactly "false" (whole text, case-sensitive), else nothing.
std::optional<int> ReadBooleanText(std::string_view text);

// The integer at the start of text as the C library's atoi reads it (leading white space, an
// optional sign, digits up to the first non-digit; 0 without digits), but saturated to the
// range of int where atoi would be undefined.
int ParseLeadingInt(std::string_view text);

// text in single quotes, as messages name what was typed or stored.
std::string InQuotes(std::string_view text);

// The stored spelling of a boolean ("true" for any non-zero value) and of an integer ("%i").
const char* BooleanText(int value);
std::string IntegerText(int value);
