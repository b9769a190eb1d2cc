#include "model/PageCodecs.h"

#include "model/PageMessages.h"
#include "platform/store/PrivateProfile.h"
#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"
#include "settings/WeaponTokens.h"

#include <optional>

namespace {

// The key's text as the platform's profile read gives it (the default for a missing key,
// through a buffer of kValueBufferSize); nothing while kept keys are shown and key is not one.
std::optional<std::string> readText(PageIo& io, const char* key, const char* defaultText) {
    const std::optional<StoredText> stored = io.session.read(key);
    if (!stored)
        return std::nullopt;
    char buffer[kValueBufferSize];
    CopyPrivateProfileValue(*stored, defaultText, buffer, sizeof buffer);
    return std::string(buffer);
}

void write(PageIo& io, const char* key, std::string value) {
    io.session.addWrite(key, std::move(value), [&reports = io.reports, key = std::string(key)] {
        reports.message(SaveFailureFor(key));
    });
}

} // namespace

bool ReadBoolSetting(PageIo& io, int& result, const char* key, int defaultValue) {
    const std::optional<std::string> text = readText(io, key, BooleanText(defaultValue));
    if (!text)
        return false;
    result = ReadBooleanText(*text).value_or(defaultValue);
    io.session.noteShown(key, BooleanText(result));
    return true;
}

bool ReadIntSetting(PageIo& io, const char* key, int& result, int defaultValue) {
    const std::optional<std::string> text = readText(io, key, IntegerText(defaultValue).c_str());
    if (!text)
        return false;
    result = ParseLeadingInt(*text);
    io.session.noteShown(key, IntegerText(result));
    return true;
}

void WriteBoolSetting(PageIo& io, int value, const char* key) {
    write(io, key, BooleanText(value));
}

void WriteIntSetting(PageIo& io, int value, const char* key) {
    write(io, key, IntegerText(value));
}

void ShowError(PageIo& io, const char* text) {
    io.reports.message(ErrorReport(text));
}

void LoadDataItemON(PageIo& io, const char* key, const char* defaultText, int& enabled) {
    const std::optional<std::string> text = readText(io, key, defaultText);
    if (!text)
        return;
    if (const std::optional<int> flag = ReadBooleanText(*text)) {
        enabled = *flag;
    } else {
        io.reports.message(PageText::kWeaponFlagUnreadable);
        enabled = 1;
    }
    io.session.noteShown(key, BooleanText(enabled));
}

void LoadDataItem(PageIo& io, const char* token, const char* defaultText, int& selection) {
    const std::string key = SubstituteKey(token);
    const std::optional<std::string> text = readText(io, key.c_str(), defaultText);
    if (!text)
        return;
    const int index = WeaponIndexFromToken(text->c_str());
    if (index >= 0)
        selection = index;
    else
        io.reports.message(PageText::kWeaponSubstituteUnreadable);
    // An unreadable substitute leaves the list as it was, and so what it would write.
    const char* shown = WeaponTokenFromIndex(selection);
    io.session.noteShown(key, shown ? std::optional<std::string>(shown) : std::nullopt);
}

void LoadDataThingy(PageIo& io, unsigned id, int& enabled, int& selection) {
    if (id >= unsigned(kWeaponCount)) {
        io.reports.message(PageText::kWeaponIdUnknown);
        return;
    }
    const char* token = WeaponTokenFromIndex(int(id));
    LoadDataItemON(io, token, "true", enabled);
    LoadDataItem(io, token, token, selection);
}

void StatusChecker(PageIo& io, int flag, PageControl* control) {
    if (!control) {
        io.reports.message(PageText::kStatusCheckerWithoutControl);
        return;
    }
    if (!control->placeholder)
        control->enabled = flag != 0;
}

void SaveWeaponSetting(PageIo& io, int enabled, int selection, int id) {
    const char* token = WeaponTokenFromIndex(id);
    if (!token)
        return;
    const char* substitute = WeaponTokenFromIndex(selection);
    write(io, token, BooleanText(enabled));
    // Without a chosen weapon the file keeps the substitute it had: nothing null or undefined
    // reaches the file.
    if (substitute)
        write(io, SubstituteKey(token).c_str(), substitute);
}
