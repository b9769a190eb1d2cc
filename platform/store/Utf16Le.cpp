#include "platform/store/Utf16Le.h"

#include "platform/Utf8.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void appendUnit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

void appendUtf16(std::string& out, char32_t cp) {
    if (cp < 0x10000) {
        appendUnit(out, cp);
    } else {
        cp -= 0x10000;
        appendUnit(out, 0xD800 | (cp >> 10));
        appendUnit(out, 0xDC00 | (cp & 0x3FF));
    }
}

// The valid range of the second byte after a given lead byte; the 3-byte forms of surrogates
// (lead 0xED, second byte 0xA0-0xBF) are accepted on purpose.
bool secondByteFits(unsigned char lead, unsigned char b) {
    switch (lead) {
    case 0xE0:
        return b >= 0xA0 && b <= 0xBF;
    case 0xF0:
        return b >= 0x90 && b <= 0xBF;
    case 0xF4:
        return b >= 0x80 && b <= 0x8F;
    default:
        return b >= 0x80 && b <= 0xBF;
    }
}

// Decodes the sequence at text[i]; returns its length, or 0 when none starts there.
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length || !secondByteFits(lead, static_cast<unsigned char>(text[i + 1])))
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return length;
}

} // namespace

std::string Utf16LeToUtf8(std::string_view bytes, bool keepLoneSurrogates) {
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
    };
    std::string out;
    out.reserve(units + units / 2);
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t u = unitAt(k);
        if (isHighSurrogate(u) && k + 1 < units && isLowSurrogate(unitAt(k + 1))) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00));
            ++k;
        } else if ((isHighSurrogate(u) || isLowSurrogate(u)) && !keepLoneSurrogates) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(text, i, cp);
        appendUtf16(out, length ? cp : kReplacement);
        i += length ? length : 1;
    }
    return out;
}
