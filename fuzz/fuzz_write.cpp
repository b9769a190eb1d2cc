// Writes one key into a settings file of arbitrary bytes and reads it back.

#include "FuzzSupport.h"

#include <dirent.h>

#include <cctype>
#include <string_view>

namespace {

// The name as the API takes it: spaces around it dropped.
std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A name that reads back as itself: ASCII (a UTF-16LE file holds text), no line break, none of
// the bytes that end it early ('=' in a key, ']' in a section), no blank at either end that
// the file's trimming would drop, and no key that reads as a comment or a header.
bool plainName(std::string_view name, bool section) {
    name = trimmed(name);
    for (const char c : name)
        if (c == '\0' || c == '\r' || c == '\n' || (c & 0x80) || c == (section ? ']' : '='))
            return false;
    const auto blank = [](char c) { return c == '\t' || c == '\v'; };
    if (!name.empty() && (blank(name.front()) || blank(name.back())))
        return false;
    return section || (!name.empty() && name.front() != ';' && name.front() != '[');
}

// The value a reader gets: trimmed of blanks, then one pair of outer quotes dropped.
std::string_view asRead(std::string_view value) {
    const std::size_t first = value.find_first_not_of(" \t\v");
    if (first == std::string_view::npos)
        return {};
    value = value.substr(first, value.find_last_not_of(" \t\v") - first + 1);
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string read(const std::string& section, const std::string& key) {
    char buffer[1024];
    const DWORD n = GetPrivateProfileString(section.c_str(), key.c_str(), "\x01missing", buffer,
                                            sizeof buffer, ScratchFile().c_str());
    return std::string(buffer, n);
}

// Nothing but the file itself is left in the scratch directory.
bool onlyTheFileRemains() {
    const std::string& path = ScratchFile();
    DIR* dir = ::opendir(path.substr(0, path.rfind('/')).c_str());
    if (!dir)
        return false;
    int entries = 0;
    while (const dirent* entry = ::readdir(dir))
        entries +=
            std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..";
    ::closedir(dir);
    return entries == 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::string section = PickName(data, true);
    const std::string key = PickName(data, false);
    const std::string otherSection = PickName(data, true);
    const std::string otherKey = PickName(data, false);
    // The utility writes plain text values; the reader then trims them and drops outer quotes.
    std::string value = data.ConsumeRandomLengthString(40);
    std::erase_if(value, [](char c) { return c == '\0' || c == '\r' || c == '\n' || (c & 0x80); });
    if (!PutScratchFile(data.ConsumeRemainingBytesAsString()))
        std::abort();

    const bool probeOther = otherSection != section || otherKey != key;
    const std::string otherBefore = read(otherSection, otherKey);
    if (!WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(),
                                   ScratchFile().c_str(), kUnflushed))
        std::abort();
    if (!onlyTheFileRemains())
        std::abort();

    // Garbage names may make garbage lines (a key "[x" is a header), so only plain ones are
    // checked: the key reads back, and another key reads as before.
    if (!plainName(section, true) || !plainName(key, false))
        return 0;
    if (read(section, key) != asRead(value))
        std::abort();
    if (probeOther && read(otherSection, otherKey) != otherBefore &&
        !(sameName(otherSection, section) && sameName(otherKey, key)))
        std::abort();
    return 0;
}
