#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a private-profile file, looked up and edited in place. Lines end at CR, LF or CRLF.
// A section header is a line whose first non-blank byte is '['; its name runs to the first ']'
// (or the line end). A line whose first non-blank byte is ';' is a comment; any other non-blank
// line is a key entry, named by the text before its first '=' (the whole line if it has none).
// Names compare case-insensitively (ASCII); only the first section of a name counts, and
// entries before the first header belong to no section.
class IniDocument {
public:
    explicit IniDocument(std::string_view text) : m_text(text) {}

    // The value of the first entry named key in the first section named section: trimmed of
    // space, tab and vertical tab, then stripped of one outer pair of matching quotes. Nothing
    // when the section or the key is missing, or the entry has no '='.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Setting a key is one splice of the text: at offset, removed bytes give way to inserted.
    struct Edit {
        std::size_t offset = 0;
        std::size_t removed = 0;
        std::string inserted;

        // text, which the splice was made for, with the splice applied.
        std::string appliedTo(std::string_view text) const;
    };

    // The splice that sets the key to value, or removes the key's line when value is empty.
    // Only the key's line changes, or one new line (plus a header) is inserted; new lines end
    // like the file's lines (lineEndFor the text). Nothing when the text would stay as it is.
    std::optional<Edit> edit(std::string_view section, std::string_view key,
                             std::optional<std::string_view> value) const;
    // The same, with new lines ending in newLineEnd: for a text that is part of a larger one.
    std::optional<Edit> edit(std::string_view section, std::string_view key,
                             std::optional<std::string_view> value,
                             std::string_view newLineEnd) const;
    // The line end of new lines in a text with and without CR and LF bytes: CRLF unless every
    // line end is a lone LF, or every one a lone CR.
    static std::string_view lineEndFor(bool hasCr, bool hasLf);

    // The first section named name as a text of its own: its header line and the lines up to
    // the next header or the end. Looking up or editing keys of that section in it gives what
    // the whole text gives, without passing over the rest. Nothing when there is no section.
    std::optional<std::string_view> sectionText(std::string_view name) const;

    // A key entry as a reader sees it, on its line of the text (counted from 1).
    struct Entry {
        std::size_t line = 0;
        std::string_view name;
        std::optional<std::string_view> value; // trimmed and unquoted; nothing without '='
    };
    struct Section {
        std::vector<std::size_t> headerLines; // every header of that name, in order
        std::vector<Entry> entries;           // those of the first header, the one that counts
    };
    // The layout of one section, for tools that report on the file line by line.
    Section section(std::string_view name) const;

private:
    std::string_view m_text;
};
