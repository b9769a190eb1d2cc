#include "cli/Commands.h"

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

#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <set>
#include <string_view>

using json = nlohmann::ordered_json;

namespace {

// A set whose keys keep changing under it gives up after this many fresh reads.
constexpr int kWriteAttempts = 20;

void complain(const std::string& message) {
    std::cerr << "gomcfgctl: " << message << '\n';
}

std::string inQuotes(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// Stored text is whatever bytes the file holds; JSON gets U+FFFD for those that aren't UTF-8.
void printJson(const json& value) {
    std::cout << value.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
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

std::optional<Snapshot> readSnapshot(const CliOptions& options) {
    ProfileText file = ReadPrivateProfileText(options.path.c_str());
    int error = file.error;
    if (!file.exists && error == 0) {
        // A missing file reads as all defaults, but a missing directory is a mistyped path.
        struct stat st {};
        if (::stat(directoryOf(options.path).c_str(), &st) != 0)
            error = errno;
        else if (!S_ISDIR(st.st_mode))
            error = ENOTDIR;
    }
    if (error != 0) {
        complain("cannot read " + options.path + ": " + std::strerror(error));
        return std::nullopt;
    }
    return Snapshot{std::move(file.text)};
}

std::string unknownKeyMessage(std::string_view name) {
    return "unknown key " + inQuotes(name) + "; did you mean " +
           inQuotes(NearestSettingKey(name).key) + "?";
}

// The table keys the names mean, or nothing after every unknown name has been reported.
std::optional<std::vector<const SettingKey*>> findKeys(const std::vector<std::string>& names,
                                                       bool once) {
    std::vector<const SettingKey*> keys;
    bool ok = true;
    for (const std::string& name : names) {
        const SettingKey* key = FindSettingKey(name);
        if (!key) {
            complain(unknownKeyMessage(name));
            ok = false;
        } else if (once && std::find(keys.begin(), keys.end(), key) != keys.end()) {
            complain(std::string(key->key) + " is given twice");
            ok = false;
        } else {
            keys.push_back(key);
        }
    }
    return ok ? std::optional(keys) : std::nullopt;
}

// Stored text as the table and the change lines show it.
std::string shownStored(const std::optional<std::string_view>& stored) {
    if (!stored)
        return "-";
    return stored->empty() ? "\"\"" : std::string(*stored);
}

json storedJson(const std::optional<std::string_view>& stored) {
    return stored ? json(std::string(*stored)) : json(nullptr);
}

const char* typeName(SettingType type) {
    switch (type) {
    case SettingType::Boolean:
        return "boolean";
    case SettingType::Integer:
        return "integer";
    case SettingType::WeaponToken:
        return "weapon";
    }
    return "";
}

// A value in effect as JSON: booleans and integers typed, no selection as null.
json typedValue(const SettingKey& key, const std::string& value) {
    switch (key.type) {
    case SettingType::Boolean:
        return value == "true";
    case SettingType::Integer:
        return ParseLeadingInt(value);
    case SettingType::WeaponToken:
        return value.empty() ? json(nullptr) : json(value);
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

json allowedJson(const SettingKey& key) {
    switch (key.type) {
    case SettingType::Boolean:
        return {true, false};
    case SettingType::Integer:
        return {{"min", key.minValue}, {"max", key.maxValue}};
    case SettingType::WeaponToken: {
        json tokens = json::array();
        for (int i = 0; i < kWeaponCount; ++i)
            tokens.push_back(WeaponTokenFromIndex(i));
        return tokens;
    }
    }
    return nullptr;
}

void printTable(const std::vector<std::vector<std::string>>& rows) {
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
        std::cout << line << '\n';
    }
}

std::string writeFailure(int error) {
    if (error == EWOULDBLOCK)
        return "another program kept it locked for " +
               std::to_string(kProfileLockWait.count() / 1000) + " s";
    return std::strerror(error);
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

void reportChanges(const CliOptions& options, const std::vector<Change>& changes) {
    if (options.json) {
        json list = json::array();
        for (const Change& c : changes)
            list.push_back({{"key", c.key->key},
                            {"old", c.old ? json(*c.old) : json(nullptr)},
                            {"new", c.text}});
        printJson({{"changed", !changes.empty()}, {"changes", list}});
        return;
    }
    if (!options.verbose && !options.dryRun)
        return;
    for (const Change& c : changes)
        std::cout << c.key->key << ": " << shownStored(c.old) << " -> " << c.text << '\n';
}

// Writes the assignments that differ from the file in one save. Each edit carries the text it
// replaces, so a save that lost a race with another writer reads the file again rather than
// report a change that was not the one made.
int applyAssignments(const CliOptions& options, const std::vector<Assignment>& wanted) {
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        const auto snapshot = readSnapshot(options);
        if (!snapshot)
            return kExitFile;
        std::vector<Change> changes;
        for (const Assignment& a : wanted) {
            const auto stored = snapshot->stored(*a.key);
            if (stored != a.text)
                changes.push_back(
                    {a.key, stored ? std::optional<std::string>(*stored) : std::nullopt, a.text});
        }
        if (changes.empty() || options.dryRun) {
            reportChanges(options, changes);
            return kExitDone;
        }
        std::vector<ProfileEdit> edits;
        for (const Change& c : changes)
            edits.push_back({c.key->key, c.text, std::make_optional(c.old)});
        const ProfileWriteResult result =
            WritePrivateProfileKeys(kSettingsSection, edits, options.path.c_str());
        switch (result.status) {
        case ProfileWriteResult::Status::Written:
            reportChanges(options, changes);
            return kExitDone;
        case ProfileWriteResult::Status::Unchanged:
            reportChanges(options, {});
            return kExitDone;
        case ProfileWriteResult::Status::Stale:
            continue;
        case ProfileWriteResult::Status::Failed:
            complain("cannot write " + options.path + ": " + writeFailure(result.error));
            return kExitFile;
        }
    }
    complain("cannot write " + options.path + ": it kept changing while being written");
    return kExitFile;
}

} // namespace

int RunList(const CliOptions& options) {
    const auto snapshot = readSnapshot(options);
    if (!snapshot)
        return kExitFile;
    json array = json::array();
    std::vector<std::vector<std::string>> rows = {
        {"KEY", "TAB", "TYPE", "DEFAULT", "ALLOWED", "STORED", "VALUE", "STATE"}};
    for (const SettingKey& key : SettingKeys()) {
        const auto stored = snapshot->stored(key);
        const SettingReading reading = ReadSetting(key, stored);
        if (options.json)
            array.push_back({{"key", key.key},
                             {"tab", key.tab},
                             {"type", typeName(key.type)},
                             {"default", typedValue(key, key.defaultText)},
                             {"allowed", allowedJson(key)},
                             {"stored", storedJson(stored)},
                             {"value", typedValue(key, reading.value)},
                             {"state", StoredStateName(reading.state)}});
        else
            rows.push_back({key.key, key.tab, typeName(key.type), key.defaultText, allowedText(key),
                            shownStored(stored), reading.value.empty() ? "(none)" : reading.value,
                            StoredStateName(reading.state)});
    }
    if (options.json)
        printJson(array);
    else
        printTable(rows);
    return kExitDone;
}

int RunGet(const CliOptions& options, const std::vector<std::string>& names) {
    const auto keys = findKeys(names, false);
    if (!keys)
        return kExitUsage;
    const auto snapshot = readSnapshot(options);
    if (!snapshot)
        return kExitFile;
    int status = kExitDone;
    json object = json::object();
    for (const SettingKey* key : *keys) {
        const auto stored = snapshot->stored(*key);
        const SettingReading reading = ReadSetting(*key, stored);
        if (stored) {
            for (const SettingsProblem& problem : CheckStoredValue(*key, *stored)) {
                complain(problem.message);
                status = kExitProblems;
            }
        }
        if (options.json)
            object[key->key] = typedValue(*key, reading.value);
        else
            std::cout << reading.value << '\n';
    }
    if (options.json)
        printJson(object);
    return status;
}

int RunSet(const CliOptions& options, const std::vector<std::string>& assignments) {
    std::vector<Assignment> wanted;
    bool ok = true;
    for (const std::string& assignment : assignments) {
        const std::size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0) {
            complain(inQuotes(assignment) + " is not KEY=VALUE");
            ok = false;
            continue;
        }
        const std::string_view name = std::string_view(assignment).substr(0, eq);
        const SettingKey* key = FindSettingKey(name);
        if (!key) {
            complain(unknownKeyMessage(name));
            ok = false;
            continue;
        }
        if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const Assignment& a) { return a.key == key; })) {
            complain(std::string(key->key) + " is given twice");
            ok = false;
            continue;
        }
        const SettingInput input = ParseSettingInput(*key, assignment.substr(eq + 1));
        if (!input.text) {
            complain(std::string(key->key) + ": " + input.problem);
            ok = false;
            continue;
        }
        wanted.push_back({key, *input.text});
    }
    return ok ? applyAssignments(options, wanted) : kExitUsage;
}

int RunReset(const CliOptions& options, const std::vector<std::string>& names, bool all) {
    std::vector<const SettingKey*> keys;
    if (all) {
        for (const SettingKey& key : SettingKeys())
            keys.push_back(&key);
    } else {
        const auto found = findKeys(names, true);
        if (!found)
            return kExitUsage;
        keys = *found;
    }
    std::vector<Assignment> wanted;
    for (const SettingKey* key : keys)
        wanted.push_back({key, key->defaultText});
    return applyAssignments(options, wanted);
}

int RunCheck(const CliOptions& options) {
    const auto snapshot = readSnapshot(options);
    if (!snapshot)
        return kExitFile;
    const std::vector<SettingsProblem> problems = CheckSettingsText(snapshot->text);
    if (options.json) {
        json array = json::array();
        for (const SettingsProblem& p : problems)
            array.push_back({{"line", p.line},
                             {"kind", SettingsProblemKindName(p.kind)},
                             {"key", p.key.empty() ? json(nullptr) : json(p.key)},
                             {"message", p.message}});
        printJson(array);
    } else {
        for (const SettingsProblem& p : problems)
            std::cout << options.path << ':' << p.line << ": " << p.message << '\n';
    }
    return problems.empty() ? kExitDone : kExitProblems;
}
