// gomcfgctl pages --json: the page model for a front end that knows nothing else, checked against
// its schema and against the templates and the key table it comes from.

#include "cli/Gomcfgctl.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "res/PageKeys.h"
#include "settings/KeyTable.h"
#include "support/JsonSchemaCheck.h"

#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

Json exported() {
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> args = {"pages", "--json"};
    EXPECT_EQ(RunGomcfgctl(args, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    return Json::parse(out.str());
}

Json schema() {
    std::ifstream file(GOMCFG_SOURCE_DIR "/docs/pages.schema.json");
    return Json::parse(file);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

const Json& controlWithId(const Json& page, int id) {
    for (const Json& control : page["controls"]) {
        if (control["id"] == id)
            return control;
    }
    static const Json none;
    ADD_FAILURE() << "no control " << id << " on " << page["caption"];
    return none;
}

} // namespace

TEST(PagesExport, IsValidAgainstItsSchema) {
    const JsonSchemaCheck check(schema());
    const Json pages = exported();
    const auto violations = check.violations(pages);
    EXPECT_TRUE(violations.empty()) << joined(violations);

    // The check catches what a front end would trip on.
    Json broken = pages;
    broken["pages"][0]["controls"][0]["kind"] = "slider";
    broken["pages"][2]["controls"][3]["key"].erase("max");
    broken["pages"][1].erase("caption");
    broken["pages"].erase(5);
    broken["messages"]["rangeRefusal"] = 7;
    const auto found = check.violations(broken);
    EXPECT_EQ(found.size(), 5u) << joined(found);
}

// The sheet's tabs in order, each control as its template has it, in template order.
TEST(PagesExport, ShowsEveryPageAsItsTemplateHasIt) {
    const Json pages = exported()["pages"];
    const DialogTemplate* templates[] = {&kDialog105, &kDialog106, &kDialog134,
                                         &kDialog135, &kDialog136, &kDialog133};
    ASSERT_EQ(pages.size(), 6u);
    const char* captions[] = {"Weapons",  "Gomble Stuff", "Server Options",
                              "Services", "C.T.F.",       "About"};
    for (std::size_t tab = 0; tab < 6; ++tab) {
        const DialogTemplate& dialog = *templates[tab];
        const Json& page = pages[tab];
        EXPECT_EQ(page["caption"], captions[tab]);
        EXPECT_EQ(page["dialogId"], dialog.id);
        EXPECT_EQ(page["width"], dialog.cx);
        EXPECT_EQ(page["height"], dialog.cy);
        ASSERT_EQ(page["controls"].size(), dialog.controls.size()) << captions[tab];
        int tabOrder = 0;
        for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
            const ControlTemplate& source = dialog.controls[i];
            const Json& control = page["controls"][i];
            EXPECT_EQ(control["id"], source.id);
            EXPECT_EQ(control["caption"], source.caption ? source.caption : "");
            EXPECT_EQ(control["x"], source.x);
            EXPECT_EQ(control["y"], source.y);
            EXPECT_EQ(control["width"], source.cx);
            EXPECT_EQ(control["height"], source.cy);
            const bool placeholder = source.style & WS_DISABLED;
            EXPECT_EQ(control["placeholder"], placeholder);
            EXPECT_EQ(control["enabled"], !placeholder);
            if ((source.style & WS_TABSTOP) && !placeholder)
                EXPECT_EQ(control["tabOrder"], tabOrder++) << source.id;
            else
                EXPECT_TRUE(control["tabOrder"].is_null()) << source.id;
        }
        std::vector<std::string> keys;
        for (const PageKey& shown : PageKeys(dialog.id))
            keys.push_back(shown.key);
        EXPECT_EQ(page["writeOrder"], Json(keys)) << captions[tab];
    }
}

// Every key once, with its type, default and range from the key table, on the control that
// shows it, and the toggles that govern controls.
TEST(PagesExport, NamesEveryKeyAndDependencyAsTheSheetHasThem) {
    const Json json = exported();
    std::map<std::string, Json> keys;
    for (const Json& page : json["pages"]) {
        for (const Json& control : page["controls"]) {
            if (control["key"].is_null())
                continue;
            const std::string name = control["key"]["name"];
            EXPECT_FALSE(keys.contains(name)) << name << " twice";
            keys[name] = control["key"];
        }
    }
    ASSERT_EQ(keys.size(), SettingKeys().size());
    for (const SettingKey& key : SettingKeys()) {
        const Json& shown = keys[key.key];
        EXPECT_EQ(shown["default"], key.defaultText) << key.key;
        switch (key.type) {
        case SettingType::Boolean:
            EXPECT_EQ(shown["type"], "boolean") << key.key;
            break;
        case SettingType::Integer:
            EXPECT_EQ(shown["type"], "integer") << key.key;
            EXPECT_EQ(shown["min"], key.minValue) << key.key;
            EXPECT_EQ(shown["max"], key.maxValue) << key.key;
            break;
        case SettingType::WeaponToken:
            EXPECT_EQ(shown["type"], "weapon") << key.key;
            ASSERT_EQ(shown["choices"].size(), 9u);
            EXPECT_EQ(shown["choices"][6],
                      Json({{"token", "rockets"}, {"name", "Rocket Launcher"}}));
            break;
        }
    }

    const Json& pages = json["pages"];
    EXPECT_EQ(controlWithId(pages[0], IDC_RAILGUN_LIST)["dependsOn"], IDC_RAILGUN);
    EXPECT_EQ(controlWithId(pages[0], IDC_RAILGUN_LIST)["kind"], "weaponList");
    EXPECT_EQ(controlWithId(pages[1], IDC_MOTD_PREVIEW)["dependsOn"], IDC_MOTD_ENABLED);
    EXPECT_EQ(controlWithId(pages[1], IDC_MOTD_PREVIEW)["kind"], "preview");
    EXPECT_EQ(controlWithId(pages[1], IDC_EDIT_MOTD)["action"],
              Json({{"kind", "editFile"}, {"file", "gomble_motd.txt"}}));
    EXPECT_EQ(controlWithId(pages[3], IDC_EDIT_DENY_FILE)["dependsOn"], IDC_BANNING);
    EXPECT_EQ(controlWithId(pages[3], IDC_HTTP)["dependsOn"], nullptr);
    EXPECT_EQ(controlWithId(pages[3], IDC_HTTP_PORT)["kind"], "number");
    EXPECT_EQ(controlWithId(pages[5], IDC_HELP_FILES)["action"],
              Json({{"kind", "openShortcut"}, {"file", "gthelp.url"}}));
    EXPECT_EQ(json["messages"]["rangeRefusal"], "Please enter a whole number from %1 to %2.");
}
