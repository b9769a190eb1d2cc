#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every place in the text of a settings file where the sheet reads [Gomcfg] differently than it
// is written, or not at all.
enum class SettingsProblemKind {
    Boolean,       // not exactly "true" or "false": the sheet reads the default
    Integer,       // not plain decimal: the sheet reads the leading number
    OutOfRange,    // the sheet refuses to leave the key's tab
    Substitute,    // not exactly a token: the sheet's list shows no selection
    NoValue,       // a line without '=': a key reads its default, any other line is ignored
    Duplicate,     // a key written again: only the first counts
    UnknownKey,    // a key the sheet never reads
    SecondSection, // only the first [Gomcfg] section counts
    HiddenSection, // a UTF-8 byte-order mark hides the header on line 1
    BigEndian,     // a UTF-16 big-endian file: read as bytes, it holds no key at all
};

struct SettingsProblem {
    std::size_t line = 0;
    SettingsProblemKind kind;
    std::string key; // as written in the file; empty for section problems
    std::string message;
};

std::vector<SettingsProblem> CheckSettingsText(std::string_view text);

struct SettingKey;
// The problems of one stored value (Boolean, Integer, OutOfRange, Substitute), named by its
// table spelling, with line 0.
std::vector<SettingsProblem> CheckStoredValue(const SettingKey& key, std::string_view stored);

// "boolean", "integer", "out of range", "substitute", "no value", "duplicate", "unknown key",
// "second section", "hidden section", "utf-16 big-endian".
const char* SettingsProblemKindName(SettingsProblemKind kind);

// One message for each copy of the file's old text that an in-place save of the settings file at
// path left beside it when it was killed part-way (LeftoverSaveCopies): the file may be damaged,
// and only a person can tell and restore the copy by hand. Empty when there is none.
std::vector<std::string> LeftoverSaveCopyMessages(const std::string& path);

// Why the settings file at path is neither read nor saved when a symbolic link on the way to it
// is one the store refuses (UntrustedLinkOn): the link, its owner and why. Nothing otherwise.
std::optional<std::string> UntrustedLinkMessage(const std::string& path);

// Why a save of the settings file at path is refused when the file may be written (or is missing)
// but its directory may not: every save makes a new file beside it first. Nothing otherwise.
std::optional<std::string> UnwritableDirectoryMessage(const std::string& path);

// What a sheet says when it opens the settings file at path: why it is neither read nor saved
// (UntrustedLinkMessage), then LeftoverSaveCopyMessages.
std::vector<std::string> SettingsFileMessages(const std::string& path);
