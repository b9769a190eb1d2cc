#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text for the terminal, without the terminal: decoding UTF-8 and breaking text into lines.

// Decodes the character of UTF-8 at text[i] and moves i past it. A byte that does not start a
// whole, well-formed character reads as U+FFFD and moves i by one, so every call moves on.
char32_t NextCodePoint(std::string_view text, std::size_t& i);

// Lines of at most width characters (width below 1 counts as 1), breaking at blanks where it
// can and at every line end; a blank at a break is dropped, trailing empty lines too.
std::vector<std::string> WrapText(std::string_view text, int width);

// The lines of a preview as stored: split at "\n", a "\r" before it dropped.
std::vector<std::string> PreviewLines(std::string_view text);
