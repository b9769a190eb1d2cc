#include "cli/PageCommands.h"
#include "cli/PageFiles.h"
#include "model/PageMessages.h"
#include "platform/store/IniDocument.h"
#include "platform/store/PrivateProfile.h"
#include "settings/KeyTable.h"
#include "settings/MotdText.h"
#include "settings/SettingInput.h"
#include "settings/SettingReading.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"
#include "settings/WeaponTokens.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

using Json = CliOutput::Json;

namespace {

constexpr const char* kShortcutFiles[] = {"gthome.url", "gthelp.url"};

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string_view> viewOf(const StoredText& text) {
    return text ? std::optional<std::string_view>(*text) : std::nullopt;
}

// The value the sheet shows for stored text, as the text it would write; nothing for a
// substitute it cannot read, whose list shows no selection.
std::optional<std::string> shownValue(const SettingKey& key, const StoredText& stored) {
    SettingReading reading = ReadSetting(key, viewOf(stored));
    return reading.value.empty() ? std::nullopt : std::optional(std::move(reading.value));
}

// What the weapon rows report when they first show a value they cannot read (the other keys
// fall back silently); nullptr for none.
const char* weaponRowReport(const SettingKey& key, std::optional<std::string_view> stored) {
    if (ReadSetting(key, stored).state != StoredState::Unreadable)
        return nullptr;
    if (key.type == SettingType::WeaponToken)
        return PageText::kWeaponSubstituteUnreadable;
    const bool weaponFlag =
        key.type == SettingType::Boolean && WeaponIndexFromToken(std::string(key.key).c_str()) >= 0;
    return weaponFlag ? PageText::kWeaponFlagUnreadable : nullptr;
}

Json textOrNull(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

// Everything the page shows of the server's files, or why the settings file can't be read.
std::optional<Json> pageFields(const CliOptions& options, const std::string& textDir,
                               std::string& failure) {
    const std::string& path = options.path;
    const ProfileText file = ReadPrivateProfileText(path.c_str(), options.io);
    if (!file.exists && (file.error == 0 || file.error == ENOTDIR)) {
        // A missing file reads as all defaults; a missing directory is a wrong path.
        if (auto missing = MissingDirectoryMessage(directoryOf(path))) {
            failure = std::move(*missing);
            return std::nullopt;
        }
    }
    if (file.error != 0) {
        failure = "cannot read " + AbsolutePath(path) + ": " + std::strerror(file.error);
        return std::nullopt;
    }
    const IniDocument section(IniDocument(file.text).sectionText(kSettingsSection).value_or(""));
    Json stored = Json::object();
    Json shown = Json::object();
    Json reports = Json::array();
    for (const SettingKey& key : SettingKeys()) {
        const auto value = section.value(kSettingsSection, key.key);
        const StoredText text = value ? StoredText(*value) : std::nullopt;
        stored[key.key] = textOrNull(text);
        shown[key.key] = textOrNull(shownValue(key, text));
        if (const char* report = weaponRowReport(key, value))
            reports.push_back({{"key", key.key}, {"message", report}});
    }
    Json fields = {{"file", AbsolutePath(path)}, {"exists", file.exists}};
    const std::optional<std::string> notWritable = NotWritableMessage(path);
    fields["writable"] = !notWritable;
    if (notWritable)
        fields["notWritableMessage"] = *notWritable;
    fields["stored"] = std::move(stored);
    fields["shown"] = std::move(shown);
    fields["reports"] = std::move(reports);

    // Missing: the page shows its own fallback text.
    const auto motd = ReadMotdBytes((textDir + "/" + kMotdFileName).c_str());
    fields["motd"] = {
        {"exists", motd.has_value()},
        {"text", motd ? Json(MotdUtf8FromBytes(motd->bytes, motd->cut)) : Json(nullptr)}};
    Json shortcuts = Json::object();
    for (const char* name : kShortcutFiles)
        shortcuts[name] = textOrNull(
            GetPrivateProfileValue("InternetShortcut", "URL", (textDir + "/" + name).c_str()));
    fields["shortcuts"] = std::move(shortcuts);
    return fields;
}

std::string saveFailure(const std::string& path, int error) {
    if (error == EWOULDBLOCK)
        return "cannot write " + AbsolutePath(path) + ": another program kept it locked for " +
               std::to_string(kProfileLockWait.count() / 1000) + " s";
    return "cannot write " + AbsolutePath(path) + ": " +
           (error != 0 ? std::strerror(error) : "the save failed");
}

struct ApplyRequest {
    std::vector<std::pair<const SettingKey*, StoredText>> read;
    std::vector<std::pair<const SettingKey*, std::string>> writes;
    std::string settle;
};

// The request, or nothing after its every fault has been reported.
std::optional<ApplyRequest> parseRequest(CliOutput& output, std::istream& in) {
    const Json request = Json::parse(in, nullptr, false);
    if (request.is_discarded() || !request.is_object()) {
        output.problem("apply: the request on standard input is not a JSON object");
        return std::nullopt;
    }
    ApplyRequest parsed;
    const auto settle = request.find("settle");
    parsed.settle =
        settle != request.end() && settle->is_string() ? settle->get<std::string>() : std::string();
    if (parsed.settle != "ask" && parsed.settle != "here" && parsed.settle != "file")
        output.problem("apply: \"settle\" must be \"ask\", \"here\" or \"file\"");
    const auto read = request.find("read");
    if (read == request.end() || !read->is_object()) {
        output.problem("apply: \"read\" must be an object of keys and their stored texts");
    } else {
        for (const auto& [name, text] : read->items()) {
            const SettingKey* key = FindSettingKey(name);
            if (!key || !(text.is_null() || text.is_string()))
                output.problem("apply: \"read\" has no stored text for a key named '" + name + "'");
            else
                parsed.read.emplace_back(key, text.is_null() ? std::nullopt
                                                             : StoredText(text.get<std::string>()));
        }
    }
    const auto writes = request.find("writes");
    if (writes == request.end() || !writes->is_array()) {
        output.problem("apply: \"writes\" must be a list of {\"key\", \"value\"}");
        return std::nullopt;
    }
    std::set<const SettingKey*> written;
    for (const Json& write : *writes) {
        const Json key = write.is_object() ? write.value("key", Json()) : Json();
        const Json value = write.is_object() ? write.value("value", Json()) : Json();
        const SettingKey* found =
            key.is_string() ? FindSettingKey(key.get<std::string>()) : nullptr;
        if (!found || !value.is_string()) {
            output.problem("apply: a write is not a known key and a text value: " + write.dump());
            continue;
        }
        // Only what the sheet itself would write: a value in range, spelled as it is stored.
        const std::string text = value.get<std::string>();
        const SettingInput input = ParseSettingInput(*found, text);
        if (input.text != text)
            output.problem(std::string(found->key) + ": " +
                           (input.text ? "'" + text + "' is not written so" : input.problem));
        else if (!written.insert(found).second)
            output.problem(std::string(found->key) + " is given twice");
        else
            parsed.writes.emplace_back(found, text);
    }
    if (!output.problems().empty())
        return std::nullopt;
    return parsed;
}

} // namespace

int RunRead(const CliOptions& options, CliOutput& output, const std::string& textDir) {
    std::string failure;
    const auto fields = pageFields(options, textDir, failure);
    if (!fields)
        return output.fail(kExitFile, failure);
    output.result(*fields);
    return kExitDone;
}

int RunApply(const CliOptions& options, CliOutput& output, const std::string& textDir,
             std::istream& in) {
    const std::optional<ApplyRequest> request = parseRequest(output, in);
    if (!request)
        return output.fail(kExitUsage, output.problems().size() == 1
                                           ? output.problems().front()
                                           : std::to_string(output.problems().size()) +
                                                 " faults in the request; nothing was written");
    if (auto missing = MissingDirectoryMessage(directoryOf(options.path)))
        return output.fail(kExitFile, *missing);

    SettingsSession session(options.path, options.io);
    for (const auto& [key, stored] : request->read) {
        session.noteRead(key->key, stored);
        session.noteShown(key->key, shownValue(*key, stored));
    }
    int saveError = 0;
    bool failed = false;
    for (const auto& [key, value] : request->writes)
        session.addWrite(key->key, value, [&failed, &saveError] {
            if (!failed)
                saveError = errno;
            failed = true;
        });
    const std::vector<SettingsSession::Conflict> conflicts = session.sortWrites();
    if (!conflicts.empty()) {
        if (request->settle == "ask") {
            Json list = Json::array();
            for (const SettingsSession::Conflict& c : conflicts)
                list.push_back(
                    {{"key", c.key}, {"inFile", textOrNull(c.inFile)}, {"here", c.here}});
            output.result({{"written", false},
                           {"conflicts", std::move(list)},
                           {"question", ConflictQuestion(conflicts)}});
            return kExitDone;
        }
        session.settle(request->settle == "here");
    }
    const std::vector<SettingsSession::KeptKey> kept = session.commit();
    if (failed)
        return output.fail(kExitFile, saveFailure(options.path, saveError));

    std::string failure;
    const auto fields = pageFields(options, textDir, failure);
    if (!fields)
        return output.fail(kExitFile, failure);
    Json result = {{"written", true}, {"kept", Json::array()}};
    for (const SettingsSession::KeptKey& k : kept)
        result["kept"].push_back({{"key", k.key}, {"stored", textOrNull(k.stored)}});
    for (const auto& [name, value] : fields->items())
        result[name] = value;
    output.result(result);
    return kExitDone;
}
