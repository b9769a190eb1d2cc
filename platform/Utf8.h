#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as every layer reads and writes it: strict (no overlong forms, no surrogates, nothing
// above U+10FFFF). Header-only and free of Qt.

// Whether byte continues a character (10xxxxxx) rather than starting one.
inline bool IsUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length of the whole, well-formed character at text[i] (1 for ASCII); 0 when the bytes
// there are none. cutShort, when given, tells whether they are a well-formed start that the end
// of text cuts short.
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t i,
                                      bool* cutShort = nullptr) {
    if (cutShort)
        *cutShort = false;
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    std::size_t k = 1;
    for (; k < length && i + k < text.size(); ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (next < low || next > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    if (k < length) {
        if (cutShort)
            *cutShort = true;
        return 0;
    }
    return length;
}

// Appends code point cp (at most U+10FFFF) to out in UTF-8.
inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
