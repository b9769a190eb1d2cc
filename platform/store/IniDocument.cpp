#include "platform/store/IniDocument.h"

#include "platform/AsciiCase.h"

#include <cstring>

namespace {

constexpr std::string_view kBlanks = " \t\v";
constexpr std::string_view kHeaderBlanks = " \t";

std::string_view trimmed(std::string_view s, std::string_view blanks) {
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0; // where the line end starts
    std::size_t end = 0;        // after the line end
    bool hasLineEnd() const { return contentEnd != end; }
};

// Walks the lines of a text. The next CR and LF are remembered, so each byte is searched for
// once with memchr however the file mixes its line ends.
struct LineWalk {
    std::string_view text;
    std::size_t pos = 0;
    std::size_t nextCr = 0;
    std::size_t nextLf = 0;
};

std::size_t nextOf(const LineWalk& walk, char c) {
    const void* hit = std::memchr(walk.text.data() + walk.pos, c, walk.text.size() - walk.pos);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - walk.text.data())
               : walk.text.size();
}

// 0 at the end of the text, 2 for CRLF, else 1.
std::size_t lineEndLength(std::string_view text, std::size_t at) {
    if (at >= text.size())
        return 0;
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

bool nextLine(LineWalk& walk, Line& line) {
    const std::size_t size = walk.text.size();
    if (walk.pos >= size)
        return false;
    if (walk.nextCr < walk.pos)
        walk.nextCr = nextOf(walk, '\r');
    if (walk.nextLf < walk.pos)
        walk.nextLf = nextOf(walk, '\n');
    line.begin = walk.pos;
    line.contentEnd = std::min(walk.nextCr, walk.nextLf);
    line.end = line.contentEnd + lineEndLength(walk.text, line.contentEnd);
    walk.pos = line.end;
    return true;
}

LineWalk walkLines(std::string_view text, std::size_t from) {
    LineWalk walk{text, from};
    walk.nextCr = nextOf(walk, '\r');
    walk.nextLf = nextOf(walk, '\n');
    return walk;
}

std::string_view contentOf(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.contentEnd - line.begin);
}

// The section name when the line is a header.
std::optional<std::string_view> headerName(std::string_view content) {
    const std::size_t first = content.find_first_not_of(kHeaderBlanks);
    if (first == std::string_view::npos || content[first] != '[')
        return std::nullopt;
    std::string_view name = content.substr(first + 1);
    name = name.substr(0, name.find(']'));
    return trimmed(name, kHeaderBlanks);
}

struct KeyEntry {
    std::string_view name;
    std::optional<std::string_view> value; // absent when the line has no '='
};

// The key entry on a line that is no header; nothing for blank and comment lines.
std::optional<KeyEntry> entryOf(std::string_view content) {
    const std::string_view text = trimmed(content, kBlanks);
    if (text.empty() || text.front() == ';')
        return std::nullopt;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return KeyEntry{text, std::nullopt};
    return KeyEntry{trimmed(text.substr(0, eq), kBlanks), trimmed(text.substr(eq + 1), kBlanks)};
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view lineEndStyle(std::string_view text) {
    return IniDocument::lineEndFor(text.find('\r') != std::string_view::npos,
                                   text.find('\n') != std::string_view::npos);
}

// The header line of the first section named section. Headers are found by searching for '['
// and checking that only spaces and tabs precede it on its line, so the bytes of other lines
// are passed over at memchr speed.
std::optional<Line> findSection(std::string_view text, std::string_view section) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t bracket = text.find('[', pos);
        if (bracket == std::string_view::npos)
            return std::nullopt;
        std::size_t lineStart = bracket;
        while (lineStart > 0 && (text[lineStart - 1] == ' ' || text[lineStart - 1] == '\t'))
            --lineStart;
        if (lineStart > 0 && text[lineStart - 1] != '\r' && text[lineStart - 1] != '\n') {
            pos = bracket + 1;
            continue;
        }
        // Only this line's end is wanted: a memchr for the other kind of line end could run on
        // to the end of the file at every header.
        Line line{lineStart, std::min(text.find_first_of("\r\n", bracket), text.size())};
        line.end = line.contentEnd + lineEndLength(text, line.contentEnd);
        if (EqualsIgnoringAsciiCase(*headerName(contentOf(text, line)), section))
            return line;
        pos = line.end;
    }
    return std::nullopt;
}
} // namespace

std::optional<std::string_view> IniDocument::value(std::string_view section,
                                                   std::string_view key) const {
    const auto header = findSection(m_text, section);
    if (!header)
        return std::nullopt;
    LineWalk walk = walkLines(m_text, header->end);
    for (Line line; nextLine(walk, line);) {
        const std::string_view content = contentOf(m_text, line);
        if (headerName(content))
            break;
        const auto entry = entryOf(content);
        if (!entry || !EqualsIgnoringAsciiCase(entry->name, key))
            continue;
        if (!entry->value)
            return std::nullopt;
        return unquoted(*entry->value);
    }
    return std::nullopt;
}

// With both CR and LF present some line ends in CRLF, or the file mixes styles; either way CRLF.
std::string_view IniDocument::lineEndFor(bool hasCr, bool hasLf) {
    if (hasCr != hasLf)
        return hasLf ? "\n" : "\r";
    return "\r\n";
}

std::optional<std::string_view> IniDocument::sectionText(std::string_view name) const {
    const auto header = findSection(m_text, name);
    if (!header)
        return std::nullopt;
    LineWalk walk = walkLines(m_text, header->end);
    std::size_t end = m_text.size();
    for (Line line; nextLine(walk, line);) {
        if (headerName(contentOf(m_text, line))) {
            end = line.begin;
            break;
        }
    }
    return m_text.substr(header->begin, end - header->begin);
}

std::optional<IniDocument::Edit> IniDocument::edit(std::string_view section, std::string_view key,
                                                   std::optional<std::string_view> value) const {
    return edit(section, key, value, lineEndStyle(m_text));
}

std::optional<IniDocument::Edit> IniDocument::edit(std::string_view section, std::string_view key,
                                                   std::optional<std::string_view> value,
                                                   std::string_view eol) const {
    const auto header = findSection(m_text, section);
    std::optional<Line> lastEntry, keyLine;
    std::string_view keySpelling;
    LineWalk walk = walkLines(m_text, header ? header->end : m_text.size());
    for (Line line; nextLine(walk, line);) {
        const std::string_view content = contentOf(m_text, line);
        if (headerName(content))
            break;
        const auto entry = entryOf(content);
        if (!entry)
            continue;
        lastEntry = line;
        if (EqualsIgnoringAsciiCase(entry->name, key)) {
            keyLine = line;
            keySpelling = entry->name;
            break;
        }
    }

    if (keyLine && !value)
        return Edit{keyLine->begin, keyLine->end - keyLine->begin, {}};
    if (!value)
        return std::nullopt;

    if (keyLine) {
        const std::string_view oldLine =
            m_text.substr(keyLine->begin, keyLine->end - keyLine->begin);
        const std::string_view lineEnd =
            keyLine->hasLineEnd() ? oldLine.substr(keyLine->contentEnd - keyLine->begin) : eol;
        std::string newLine = std::string(keySpelling).append("=").append(*value).append(lineEnd);
        if (newLine == oldLine)
            return std::nullopt;
        return Edit{keyLine->begin, oldLine.size(), std::move(newLine)};
    }

    std::string inserted;
    if (header) {
        const Line& anchor = lastEntry ? *lastEntry : *header;
        if (!anchor.hasLineEnd())
            inserted.append(eol);
        inserted.append(key).append("=").append(*value).append(eol);
        return Edit{anchor.end, 0, std::move(inserted)};
    }
    if (!m_text.empty() && m_text.back() != '\n' && m_text.back() != '\r')
        inserted.append(eol);
    inserted.append("[").append(section).append("]").append(eol);
    inserted.append(key).append("=").append(*value).append(eol);
    return Edit{m_text.size(), 0, std::move(inserted)};
}

std::string IniDocument::Edit::appliedTo(std::string_view text) const {
    std::string out;
    out.reserve(text.size() - removed + inserted.size());
    return out.append(text.substr(0, offset))
        .append(inserted)
        .append(text.substr(offset + removed));
}

IniDocument::Section IniDocument::section(std::string_view name) const {
    Section result;
    bool inFirst = false;
    std::size_t number = 0;
    LineWalk walk = walkLines(m_text, 0);
    for (Line line; nextLine(walk, line);) {
        ++number;
        const std::string_view content = contentOf(m_text, line);
        if (const auto header = headerName(content)) {
            const bool match = EqualsIgnoringAsciiCase(*header, name);
            inFirst = match && result.headerLines.empty();
            if (match)
                result.headerLines.push_back(number);
            continue;
        }
        if (!inFirst)
            continue;
        if (const auto entry = entryOf(content))
            result.entries.push_back({number, entry->name,
                                      entry->value
                                          ? std::optional<std::string_view>(unquoted(*entry->value))
                                          : std::nullopt});
    }
    return result;
}
