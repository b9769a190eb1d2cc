#include "cli/Commands.h"

#include "cli/TerminalText.h"
#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"
#include "settings/KeySuggestion.h"
#include "settings/KeyTable.h"
#include "settings/SettingInput.h"
#include "settings/SettingReading.h"
#include "settings/SettingValues.h"
#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"
#include "settings/WeaponTokens.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

using Json = CliOutput::Json;

namespace {

// A set whose keys keep changing under it gives up after this many fresh reads.
constexpr int kWriteAttempts = 20;

// "1 problem", "2 problems".
std::string counted(std::size_t n, std::string_view thing) {
    return std::to_string(n) + " " + std::string(thing) + (n == 1 ? "" : "s");
}

// The one-line summary of the complaints made so far: the only one, or how many there were.
std::string summary(const CliOutput& output, const char* what, const char* consequence) {
    const auto& problems = output.problems();
    return problems.size() == 1 ? problems.front()
                                : counted(problems.size(), what) + "; " + consequence;
}

// One state of the settings file; a missing file is an empty text.
struct Snapshot {
    std::string text;
    std::optional<std::string_view> stored(const SettingKey& key) const {
        return IniDocument(text).value(kSettingsSection, key.key);
    }
};

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A refused symbolic link is named; any other failure is the system's word for it.
std::string failureReason(int error, const std::string& path) {
    if (error == EACCES)
        if (const auto link = UntrustedLinkMessage(path))
            return *link;
    return std::strerror(error);
}

// The snapshot, or the message that says why there is none.
std::optional<Snapshot> readSnapshot(const CliOptions& options, std::string& failure) {
    ProfileText file = ReadPrivateProfileText(options.path.c_str(), options.io);
    if (!file.exists && (file.error == 0 || file.error == ENOTDIR)) {
        // A missing file reads as all defaults, but a missing directory is a mistyped path, and
        // is named as such.
        const std::string dir = directoryOf(options.path);
        struct stat st {};
        const int error = ::stat(dir.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        if (error != 0) {
            failure = "cannot use directory " + dir + ": " + std::strerror(error);
            return std::nullopt;
        }
    }
    if (file.error != 0) {
        failure = "cannot read " + options.path + ": " + failureReason(file.error, options.path);
        return std::nullopt;
    }
    return Snapshot{std::move(file.text)};
}

std::string unknownKeyMessage(std::string_view name) {
    const SettingKey* nearest = SuggestedSettingKey(name);
    return "unknown key " + InQuotes(name) +
           (nearest ? "; did you mean " + InQuotes(nearest->key) + "?" : "");
}

// The table keys the names mean, or nothing after every unknown name has been reported.
std::optional<std::vector<const SettingKey*>>
findKeys(CliOutput& output, const std::vector<std::string>& names, bool once) {
    std::vector<const SettingKey*> keys;
    for (const std::string& name : names) {
        const SettingKey* key = FindSettingKey(name);
        if (!key)
            output.problem(unknownKeyMessage(name));
        else if (once && std::find(keys.begin(), keys.end(), key) != keys.end())
            output.problem(std::string(key->key) + " is given twice");
        else
            keys.push_back(key);
    }
    return output.problems().empty() ? std::optional(keys) : std::nullopt;
}

// Stored text as the table and the change lines show it.
std::string shownStored(const std::optional<std::string_view>& stored) {
    if (!stored)
        return "-";
    return stored->empty() ? "\"\"" : TerminalText(*stored);
}

Json storedJson(const std::optional<std::string_view>& stored) {
    return stored ? Json(std::string(*stored)) : Json(nullptr);
}

// A value in effect as JSON: booleans and integers typed, no selection as null.
Json typedValue(const SettingKey& key, const std::string& value) {
    switch (key.type) {
    case SettingType::Boolean:
        return value == "true";
    case SettingType::Integer:
        return ParseLeadingInt(value);
    case SettingType::WeaponToken:
        return value.empty() ? Json(nullptr) : Json(value);
    }
    return nullptr;
}

std::string allowedText(const SettingKey& key) {
    switch (key.type) {
    case SettingType::Boolean:
        return "true, false";
    case SettingType::Integer:
        return IntegerText(key.minValue) + " to " + IntegerText(key.maxValue);
    case SettingType::WeaponToken:
        return "weapon token";
    }
    return {};
}

Json allowedJson(const SettingKey& key) {
    switch (key.type) {
    case SettingType::Boolean:
        return {true, false};
    case SettingType::Integer:
        return {{"min", key.minValue}, {"max", key.maxValue}};
    case SettingType::WeaponToken: {
        Json tokens = Json::array();
        for (int i = 0; i < kWeaponCount; ++i)
            tokens.push_back(WeaponTokenFromIndex(i));
        return tokens;
    }
    }
    return nullptr;
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - row[i].size() + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

std::string writeFailure(const ProfileWriteResult& result, const std::string& path) {
    if (result.contentsWritten)
        return std::string("only the final flush of its directory failed (") +
               std::strerror(result.error) + "); the new values are already in the file";
    if (result.error == EWOULDBLOCK)
        return "another program kept it locked for " +
               std::to_string(kProfileLockWait.count() / 1000) + " s";
    if (result.error == ESTALE)
        return "another program replaced it during the save; its file stays, nothing was "
               "written";
    if (result.error == EACCES)
        if (const auto directory = UnwritableDirectoryMessage(path))
            return *directory;
    return failureReason(result.error, path);
}

struct Assignment {
    const SettingKey* key;
    std::string text; // as stored
};

struct Change {
    const SettingKey* key;
    std::optional<std::string> old;
    std::string text;
};

int reportChanges(const CliOptions& options, CliOutput& output,
                  const std::vector<Change>& changes) {
    if (output.json()) {
        Json list = Json::array();
        for (const Change& c : changes)
            list.push_back({{"key", c.key->key},
                            {"old", c.old ? Json(*c.old) : Json(nullptr)},
                            {"new", c.text}});
        output.result({{"changed", !changes.empty()}, {"changes", list}});
    } else if (options.verbose || options.dryRun) {
        for (const Change& c : changes)
            output.text() << c.key->key << ": " << shownStored(c.old) << " -> " << c.text << '\n';
    }
    return kExitDone;
}

// Writes the assignments that differ from the file in one save. Each edit carries the text it
// replaces, so a save that lost a race with another writer reads the file again rather than
// report a change that was not the one made. A dry run goes as far as the write itself, so it
// fails where the write would.
int applyAssignments(const CliOptions& options, CliOutput& output,
                     const std::vector<Assignment>& wanted) {
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        std::string failure;
        const auto snapshot = readSnapshot(options, failure);
        if (!snapshot)
            return output.fail(kExitFile, failure);
        // The store would add UTF-8 lines to it (check names such a file).
        if (snapshot->text.starts_with("\xFE\xFF"))
            return output.fail(kExitFile, "cannot write " + options.path +
                                              ": it is UTF-16 big-endian (it starts with FE FF); "
                                              "save it as UTF-16LE or UTF-8 first");
        std::vector<Change> changes;
        for (const Assignment& a : wanted) {
            const auto stored = snapshot->stored(*a.key);
            if (stored != a.text)
                changes.push_back(
                    {a.key, stored ? std::optional<std::string>(*stored) : std::nullopt, a.text});
        }
        if (changes.empty())
            return reportChanges(options, output, changes);
        std::vector<ProfileEdit> edits;
        for (const Change& c : changes)
            edits.push_back({c.key->key, c.text, std::make_optional(c.old)});
        if (options.beforeWrite)
            options.beforeWrite();
        const ProfileWriteResult result = WritePrivateProfileKeys(
            kSettingsSection, edits, options.path.c_str(),
            options.dryRun ? ProfileWriteMode::DryRun : ProfileWriteMode::Write, options.io);
        switch (result.status) {
        case ProfileWriteResult::Status::Written:
            return reportChanges(options, output, changes);
        case ProfileWriteResult::Status::Unchanged:
            return reportChanges(options, output, {});
        case ProfileWriteResult::Status::Stale:
            continue;
        case ProfileWriteResult::Status::Failed:
            return output.fail(kExitFile, "cannot write " + options.path + ": " +
                                              writeFailure(result, options.path));
        }
    }
    return output.fail(kExitFile,
                       "cannot write " + options.path + ": it kept changing while being written");
}

} // namespace

int RunList(const CliOptions& options, CliOutput& output) {
    std::string failure;
    const auto snapshot = readSnapshot(options, failure);
    if (!snapshot)
        return output.fail(kExitFile, failure);
    Json array = Json::array();
    std::vector<std::vector<std::string>> rows = {
        {"KEY", "TAB", "TYPE", "DEFAULT", "ALLOWED", "STORED", "VALUE", "STATE"}};
    for (const SettingKey& key : SettingKeys()) {
        const auto stored = snapshot->stored(key);
        const SettingReading reading = ReadSetting(key, stored);
        if (output.json())
            array.push_back({{"key", key.key},
                             {"tab", key.tab},
                             {"type", SettingTypeName(key.type)},
                             {"default", typedValue(key, key.defaultText)},
                             {"allowed", allowedJson(key)},
                             {"stored", storedJson(stored)},
                             {"value", typedValue(key, reading.value)},
                             {"state", StoredStateName(reading.state)}});
        else
            rows.push_back({key.key, key.tab, SettingTypeName(key.type), key.defaultText,
                            allowedText(key), shownStored(stored),
                            reading.value.empty() ? "(none)" : reading.value,
                            StoredStateName(reading.state)});
    }
    if (output.json())
        output.result(array);
    else
        printTable(output.text(), rows);
    return kExitDone;
}

int RunGet(const CliOptions& options, CliOutput& output, const std::vector<std::string>& names) {
    const auto keys = findKeys(output, names, false);
    if (!keys)
        return output.fail(kExitUsage, summary(output, "unknown key", "nothing was read"));
    std::string failure;
    const auto snapshot = readSnapshot(options, failure);
    if (!snapshot)
        return output.fail(kExitFile, failure);
    std::size_t readOwnWay = 0;
    Json object = Json::object();
    for (const SettingKey* key : *keys) {
        const auto stored = snapshot->stored(*key);
        const SettingReading reading = ReadSetting(*key, stored);
        if (stored) {
            const auto problems = CheckStoredValue(*key, *stored);
            for (const SettingsProblem& problem : problems)
                output.problem(problem.message);
            readOwnWay += !problems.empty();
        }
        if (output.json())
            object[key->key] = typedValue(*key, reading.value);
        else
            output.text() << TerminalText(reading.value) << '\n';
    }
    if (readOwnWay > 0)
        return output.fail(kExitProblems,
                           counted(readOwnWay, "stored value") +
                               " the sheet reads its own way or finds out of range",
                           object);
    if (output.json())
        output.result(object);
    return kExitDone;
}

int RunSet(const CliOptions& options, CliOutput& output,
           const std::vector<std::string>& assignments) {
    std::vector<Assignment> wanted;
    for (const std::string& assignment : assignments) {
        const std::size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0) {
            output.problem(InQuotes(assignment) + " is not KEY=VALUE");
            continue;
        }
        const std::string_view name = std::string_view(assignment).substr(0, eq);
        const SettingKey* key = FindSettingKey(name);
        if (!key) {
            output.problem(unknownKeyMessage(name));
            continue;
        }
        if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const Assignment& a) { return a.key == key; })) {
            output.problem(std::string(key->key) + " is given twice");
            continue;
        }
        const SettingInput input = ParseSettingInput(*key, assignment.substr(eq + 1));
        if (!input.text) {
            output.problem(std::string(key->key) + ": " + input.problem);
            continue;
        }
        wanted.push_back({key, *input.text});
    }
    if (!output.problems().empty())
        return output.fail(kExitUsage,
                           summary(output, "invalid assignment", "nothing was written"));
    return applyAssignments(options, output, wanted);
}

int RunReset(const CliOptions& options, CliOutput& output, const std::vector<std::string>& names,
             bool all) {
    std::vector<const SettingKey*> keys;
    if (all) {
        for (const SettingKey& key : SettingKeys())
            keys.push_back(&key);
    } else {
        const auto found = findKeys(output, names, true);
        if (!found)
            return output.fail(kExitUsage, summary(output, "invalid key", "nothing was written"));
        keys = *found;
    }
    std::vector<Assignment> wanted;
    for (const SettingKey* key : keys)
        wanted.push_back({key, key->defaultText});
    return applyAssignments(options, output, wanted);
}

int RunCheck(const CliOptions& options, CliOutput& output) {
    std::string failure;
    const auto snapshot = readSnapshot(options, failure);
    if (!snapshot)
        return output.fail(kExitFile, failure);
    const std::vector<SettingsProblem> problems = CheckSettingsText(snapshot->text);
    const std::vector<std::string> copies = LeftoverSaveCopyMessages(options.path);
    Json array = Json::array();
    for (const SettingsProblem& p : problems) {
        const std::string line = options.path + ':' + std::to_string(p.line) + ": " + p.message;
        if (output.json()) {
            array.push_back({{"line", p.line},
                             {"kind", SettingsProblemKindName(p.kind)},
                             {"key", p.key.empty() ? Json(nullptr) : Json(p.key)},
                             {"message", p.message}});
            output.problem(line);
        } else {
            output.text() << TerminalText(line) << '\n';
        }
    }
    for (const std::string& message : copies) {
        if (output.json()) {
            array.push_back(
                {{"line", 0}, {"kind", "leftover copy"}, {"key", nullptr}, {"message", message}});
            output.problem(message);
        } else {
            output.text() << TerminalText(message) << '\n';
        }
    }
    const std::size_t found = problems.size() + copies.size();
    if (!output.json())
        return found == 0 ? kExitDone : kExitProblems;
    if (found > 0)
        return output.fail(kExitProblems, counted(found, "problem") + " in " + options.path, array);
    output.result(array);
    return kExitDone;
}

int RunFile(const CliOptions& options, CliOutput& output) {
    std::error_code error;
    const std::string file =
        std::filesystem::absolute(options.path, error).lexically_normal().string();
    if (error)
        return output.fail(kExitFile, "cannot find the current directory: " + error.message());
    if (output.json())
        output.result({{"file", file}});
    else
        output.text() << TerminalText(file) << '\n';
    return kExitDone;
}
