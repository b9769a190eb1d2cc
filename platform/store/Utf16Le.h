#pragma once

#include <string>
#include <string_view>

// Conversions for profile files stored as UTF-16LE. The body of such a file is edited as UTF-8,
// so converting it there and back must give the same units, including malformed ones.

// UTF-16LE units (without the byte-order mark) to UTF-8. A lone surrogate becomes its 3-byte
// form when keepLoneSurrogates (so Utf8ToUtf16Le restores it), else U+FFFD. A trailing odd byte
// is not a unit and is ignored.
std::string Utf16LeToUtf8(std::string_view bytes, bool keepLoneSurrogates);

// UTF-8 to UTF-16LE units. The 3-byte form of a surrogate gives that unit back; each byte that
// starts no valid sequence becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);
