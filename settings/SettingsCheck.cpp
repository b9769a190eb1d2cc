#include "settings/SettingsCheck.h"

#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"
#include "platform/store/SaveFileNames.h"
#include "settings/KeySuggestion.h"
#include "settings/KeyTable.h"
#include "settings/SettingReading.h"
#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The problems of one stored value, read as the sheet reads it.
void checkValue(const SettingKey& key, std::string_view name, std::size_t line,
                std::string_view stored, std::vector<SettingsProblem>& out) {
    const std::string label(name);
    const auto add = [&](SettingsProblemKind kind, const std::string& message) {
        out.push_back({line, kind, label, label + ": " + message});
    };
    const SettingReading reading = ReadSetting(key, stored);
    switch (key.type) {
    case SettingType::Boolean:
        if (reading.state != StoredState::Ok)
            add(SettingsProblemKind::Boolean,
                InQuotes(stored) + " is not exactly true or false; the sheet reads " +
                    reading.value);
        return;
    case SettingType::Integer: {
        if (IntegerText(ParseLeadingInt(stored)) != stored)
            add(SettingsProblemKind::Integer,
                InQuotes(stored) + " is not plain decimal; the sheet reads " + reading.value);
        if (reading.state == StoredState::OutOfRange)
            add(SettingsProblemKind::OutOfRange,
                reading.value + " is outside " + IntegerText(key.minValue) + " to " +
                    IntegerText(key.maxValue) + "; the sheet refuses to leave its tab");
        return;
    }
    case SettingType::WeaponToken:
        if (reading.state != StoredState::Ok)
            add(SettingsProblemKind::Substitute,
                InQuotes(stored) + " is not exactly a weapon token; the sheet shows an empty list");
        return;
    }
}

std::string userName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(4096);
    return ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found
               ? std::string(found->pw_name)
               : "user " + std::to_string(uid);
}

} // namespace

std::vector<SettingsProblem> CheckSettingsText(std::string_view text) {
    std::vector<SettingsProblem> problems;
    // Only FF FE marks a text file the store decodes; a big-endian one is bytes with a NUL
    // before every letter, in which no header or key matches.
    if (text.starts_with(kUtf16BeMark))
        problems.push_back({1,
                            SettingsProblemKind::BigEndian,
                            {},
                            "the file is UTF-16 big-endian (it starts with FE FF); it is read as "
                            "bytes, so every key reads as missing. Save it as UTF-16LE or UTF-8"});
    if (text.starts_with(kUtf8Mark)) {
        const auto hidden = IniDocument(text.substr(kUtf8Mark.size())).section(kSettingsSection);
        if (!hidden.headerLines.empty() && hidden.headerLines.front() == 1)
            problems.push_back({1,
                                SettingsProblemKind::HiddenSection,
                                {},
                                "a UTF-8 byte-order mark hides the [Gomcfg] header; the sheet "
                                "does not see the keys under it"});
    }
    const IniDocument::Section section = IniDocument(text).section(kSettingsSection);
    std::map<const SettingKey*, std::size_t> firstLine;
    for (const IniDocument::Entry& entry : section.entries) {
        const std::string name(entry.name);
        const SettingKey* key = FindSettingKey(entry.name);
        if (!key && !entry.value) {
            problems.push_back({entry.line, SettingsProblemKind::NoValue, name,
                                InQuotes(name) + ": a line without '=' and not a key; "
                                                 "the sheet ignores it"});
            continue;
        }
        if (!key) {
            const SettingKey* nearest = SuggestedSettingKey(entry.name);
            problems.push_back(
                {entry.line, SettingsProblemKind::UnknownKey, name,
                 name + ": not a key of [Gomcfg]" +
                     (nearest ? "; did you mean " + InQuotes(nearest->key) + "?" : "")});
            continue;
        }
        const auto [first, isFirst] = firstLine.emplace(key, entry.line);
        if (!isFirst) {
            problems.push_back(
                {entry.line, SettingsProblemKind::Duplicate, name,
                 name + ": written again; only line " + std::to_string(first->second) + " counts"});
            continue;
        }
        if (!entry.value) {
            problems.push_back(
                {entry.line, SettingsProblemKind::NoValue, name,
                 name + ": no '='; the sheet reads the default, " + std::string(key->defaultText)});
            continue;
        }
        checkValue(*key, entry.name, entry.line, *entry.value, problems);
    }
    for (std::size_t i = 1; i < section.headerLines.size(); ++i)
        problems.push_back({section.headerLines[i],
                            SettingsProblemKind::SecondSection,
                            {},
                            "a second [Gomcfg] section; only the one on line " +
                                std::to_string(section.headerLines.front()) + " counts"});
    std::stable_sort(
        problems.begin(), problems.end(),
        [](const SettingsProblem& a, const SettingsProblem& b) { return a.line < b.line; });
    return problems;
}

std::vector<SettingsProblem> CheckStoredValue(const SettingKey& key, std::string_view stored) {
    std::vector<SettingsProblem> problems;
    checkValue(key, key.key, 0, stored, problems);
    return problems;
}

const char* SettingsProblemKindName(SettingsProblemKind kind) {
    switch (kind) {
    case SettingsProblemKind::Boolean:
        return "boolean";
    case SettingsProblemKind::Integer:
        return "integer";
    case SettingsProblemKind::OutOfRange:
        return "out of range";
    case SettingsProblemKind::Substitute:
        return "substitute";
    case SettingsProblemKind::NoValue:
        return "no value";
    case SettingsProblemKind::Duplicate:
        return "duplicate";
    case SettingsProblemKind::UnknownKey:
        return "unknown key";
    case SettingsProblemKind::SecondSection:
        return "second section";
    case SettingsProblemKind::HiddenSection:
        return "hidden section";
    case SettingsProblemKind::BigEndian:
        return "utf-16 big-endian";
    }
    return "";
}

std::vector<std::string> LeftoverSaveCopyMessages(const std::string& path) {
    std::vector<std::string> messages;
    for (const std::string& copy : LeftoverSaveCopies(path.c_str())) {
        // Anyone who may add files to the directory could have put it there: whether its owner
        // may write the file tells the admin whether to trust it.
        struct stat st {};
        const std::string owner = ::lstat(copy.c_str(), &st) == 0
                                      ? userName(st.st_uid)
                                      : "somebody who has removed it since";
        messages.push_back(copy + " (owner " + owner + ") was left by a save of " + path +
                           " that did not finish, and holds the file as it was before that save. "
                           "If the file is damaged and " +
                           owner +
                           " may write it, copy the copy back over it by hand; then remove the "
                           "copy");
    }
    return messages;
}

std::optional<std::string> UntrustedLinkMessage(const std::string& path) {
    const auto link = UntrustedLinkOn(path);
    if (!link)
        return std::nullopt;
    return "the symbolic link " + link->path + " (owner " + userName(link->owner) +
           ") is in a sticky directory that others may add files to, and only links made by the "
           "directory's owner or by you are followed there; if " +
           userName(link->owner) +
           " may write the file it leads to, have the directory's owner make the link";
}

std::optional<std::string> UnwritableDirectoryMessage(const std::string& path) {
    // As the store judges it: without any write bit not even root may write.
    const auto mayWrite = [](const std::string& name) {
        struct stat st {};
        return ::stat(name.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
               ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) == 0;
    };
    std::string file = path;
    if (!ResolveLinks(file))
        return std::nullopt;
    const std::string dir = DirectoryOf(file);
    struct stat st {};
    const bool missing = ::stat(file.c_str(), &st) != 0 && errno == ENOENT;
    if ((!missing && !mayWrite(file)) || mayWrite(dir))
        return std::nullopt;
    return "Permission denied: a save first makes a new file beside it in " + dir +
           ", a directory this user may not write";
}

std::vector<std::string> SettingsFileMessages(const std::string& path) {
    std::vector<std::string> messages;
    if (auto link = UntrustedLinkMessage(path))
        messages.push_back(path + " can be neither read nor saved: " + *link);
    for (std::string& copy : LeftoverSaveCopyMessages(path))
        messages.push_back(std::move(copy));
    return messages;
}
