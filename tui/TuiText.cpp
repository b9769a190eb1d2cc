#include "tui/TuiText.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}
} // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0; // the smallest value this length may carry: shorter forms are malformed
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    if (text.size() - i < std::size_t(extra))
        return kReplacement;
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
        if (!isContinuation(next))
            return kReplacement;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    i += std::size_t(extra);
    return c;
}

std::vector<std::string> WrapText(std::string_view text, int width) {
    const std::size_t limit = std::size_t(width < 1 ? 1 : width);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        for (;;) {
            // Byte offsets of the characters, to break between them, never inside one.
            std::size_t at = 0;
            std::size_t count = 0;
            std::size_t lastBlank = std::string_view::npos;
            while (at < line.size() && count < limit) {
                NextCodePoint(line, at);
                ++count;
                if (at < line.size() && line[at] == ' ')
                    lastBlank = at;
            }
            if (at >= line.size())
                break;
            // The line goes on past limit characters: break at the last blank that fits, or
            // after limit characters. Either way at least one character is taken.
            const std::size_t cut = lastBlank != std::string_view::npos ? lastBlank : at;
            lines.emplace_back(line.substr(0, cut));
            line.remove_prefix(cut < line.size() && line[cut] == ' ' ? cut + 1 : cut);
        }
        lines.emplace_back(line);
        if (end >= text.size())
            break;
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

std::vector<std::string> PreviewLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}
