#include "cli/PagesCommand.h"

#include "cli/CliOptions.h"
#include "model/PageMessages.h"
#include "model/PageModel.h"
#include "res/HelpTexts.h"
#include "res/Strings.h"
#include "settings/KeyTable.h"
#include "settings/SettingsFile.h"
#include "settings/WeaponTokens.h"

#include <CLI/CLI.hpp>

namespace {

using Json = CliOutput::Json;

Json keyJson(const SettingKey& key) {
    Json json = {
        {"name", key.key}, {"type", SettingTypeName(key.type)}, {"default", key.defaultText}};
    if (key.type == SettingType::Integer) {
        json["min"] = key.minValue;
        json["max"] = key.maxValue;
    }
    if (key.type == SettingType::WeaponToken) {
        Json choices = Json::array();
        for (int i = 0; i < kWeaponCount; ++i)
            choices.push_back({{"token", WeaponTokenFromIndex(i)}, {"name", WeaponShownName(i)}});
        json["choices"] = choices;
    }
    return json;
}

Json actionJson(const PageControl& control) {
    if (control.editsFile)
        return {{"kind", "editFile"}, {"file", control.editsFile}};
    if (control.shortcutFile)
        return {{"kind", "openShortcut"}, {"file", control.shortcutFile}};
    return nullptr;
}

Json controlJson(const PageModel& page, int index) {
    const PageControl& control = page.controls()[std::size_t(index)];
    const ControlTemplate& source = *control.source;
    const int tabOrder = page.tabOrderOf(index);
    return {
        {"id", source.id},
        {"kind", ControlRoleName(control.role)},
        {"caption", source.caption ? source.caption : ""},
        {"accessibleName", source.accessibleName ? Json(source.accessibleName) : Json(nullptr)},
        {"x", source.x},
        {"y", source.y},
        {"width", source.cx},
        {"height", source.cy},
        {"tabOrder", tabOrder < 0 ? Json(nullptr) : Json(tabOrder)},
        {"enabled", control.enabled},
        {"placeholder", control.placeholder},
        {"dependsOn", control.dependsOn == IDC_STATIC ? Json(nullptr) : Json(control.dependsOn)},
        {"key", control.key ? keyJson(*control.key) : Json(nullptr)},
        {"action", actionJson(control)},
    };
}

Json pageJson(const PageModel& page) {
    Json controls = Json::array();
    for (std::size_t i = 0; i < page.controls().size(); ++i)
        controls.push_back(controlJson(page, int(i)));
    Json keys = Json::array();
    for (const int index : page.keyOrder())
        keys.push_back(page.controls()[std::size_t(index)].key->key);
    return {
        {"caption", page.caption()},
        {"dialogId", page.dialog().id},
        {"className", page.className()},
        {"width", page.dialog().cx},
        {"height", page.dialog().cy},
        {"help", PageHelpText(page.dialog().id)},
        {"controls", controls},
        {"readOrder", keys},
        {"writeOrder", keys},
    };
}

} // namespace

Json PagesJson() {
    Json pages = Json::array();
    for (const PageModel& page : SheetPageModels())
        pages.push_back(pageJson(page));
    const Json messages = {
        {"rangeRefusal", PageText::kRangeRefusal},
        {"notANumber", PageText::kNotANumber},
        {"conflictQuestion", PageText::kConflictQuestion},
        {"conflictLine", PageText::kConflictLine},
        {"conflictInFile", PageText::kConflictInFile},
        {"conflictNotInFile", PageText::kConflictNotInFile},
        {"emptyValue", PageText::kEmptyValue},
        {"longValueLimit", PageText::kLongValueLimit},
        {"longValueEnd", PageText::kLongValueEnd},
        {"motdMissing", PageText::kMotdMissing},
        {"motdMissingAfterEdit", PageText::kMotdMissingAfterEdit},
        {"weaponFlagUnreadable", PageText::kWeaponFlagUnreadable},
        {"weaponSubstituteUnreadable", PageText::kWeaponSubstituteUnreadable},
        {"weaponSaveFailure", PageText::kWeaponSaveFailure},
        {"saveFailure", ErrorReport(PageText::kSaveFailureText)},
    };
    return {
        {"format", 1},
        {"title", kSheetCaption},
        {"settingsFileName", kSettingsFileName},
        {"section", kSettingsSection},
        {"buttons", {"OK", "Cancel", "Apply", "Help"}},
        {"messages", messages},
        {"pages", pages},
    };
}

CLI::App* AddPagesCommand(CLI::App& app) {
    CLI::App* pages =
        app.add_subcommand("pages", "The sheet's pages, controls and messages (--json)");
    pages->group("Commands");
    return pages;
}

int RunPages(CliOutput& output) {
    // The model is for programs; as text it is the same document.
    output.result(PagesJson());
    return kExitDone;
}
