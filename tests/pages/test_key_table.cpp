#include "support/SheetHarness.h"

#include "settings/WeaponTokens.h"

#include <QComboBox>

#include <algorithm>

#include <set>
#include <string>

namespace {

// The templates of the pages that show keys, in tab order.
std::vector<int> pagesWithKeys() {
    std::vector<int> ids;
    for (const auto& page : ConfigApp::createPages())
        if (!PageKeys(page->dialogTemplate().id).empty())
            ids.push_back(page->dialogTemplate().id);
    return ids;
}

// The value a key's control shows, in the file's spelling.
QString shownValue(const CPropertyPage& page, const SettingKey& key, int controlId) {
    switch (key.type) {
    case SettingType::Boolean:
        return isChecked(page, controlId) ? QStringLiteral("true") : QStringLiteral("false");
    case SettingType::Integer:
        return textOf(page, controlId);
    case SettingType::WeaponToken: {
        auto* list = qobject_cast<QComboBox*>(page.GetDlgItem(controlId));
        return list ? QString::fromLatin1(WeaponTokenFromIndex(list->currentIndex())) : QString();
    }
    }
    return {};
}

} // namespace

// The key table and the templates name the same keys, spelt alike: each key is shown by exactly
// one page, the one on the tab the table names, by a control of that page's template.
TEST(KeyTable, EveryKeyIsShownByOnePageOnTheTabTheTableNames) {
    const auto pages = ConfigApp::createPages();
    for (const SettingKey& key : SettingKeys()) {
        SCOPED_TRACE(key.key);
        int shownBy = 0;
        for (const auto& page : pages) {
            const DialogTemplate& dialog = page->dialogTemplate();
            for (const PageKey& shown : PageKeys(dialog.id)) {
                if (std::string_view(shown.key) != key.key)
                    continue;
                ++shownBy;
                EXPECT_EQ(page->GetCaption(), QLatin1String(key.tab));
                EXPECT_TRUE(
                    std::any_of(dialog.controls.begin(), dialog.controls.end(),
                                [&](const ControlTemplate& c) { return c.id == shown.controlId; }))
                    << "control " << shown.controlId;
            }
        }
        EXPECT_EQ(shownBy, 1);
    }
    for (const auto& page : pages)
        for (const PageKey& shown : PageKeys(page->dialogTemplate().id)) {
            const SettingKey* key = FindSettingKey(shown.key);
            ASSERT_NE(key, nullptr) << shown.key;
            EXPECT_STREQ(key->key, shown.key);
        }
}

// From a fresh file the keys are appended as they are written, so the file's order is the order
// of the pages' writes: each page's list, page after page in tab order.
TEST_F(RealSheet, PagesWriteTheirKeysInTheOrderTheirListsGive) {
    std::vector<std::string> expected;
    for (const int dialogId : pagesWithKeys()) {
        if (dialogId != sheet.GetPage(0)->dialogTemplate().id)
            openTab(dialogId);
        for (const PageKey& shown : PageKeys(dialogId))
            expected.push_back(shown.key);
    }
    ASSERT_FALSE(dir.exists(kSettingsFile));
    ok();
    ASSERT_EQ(messages.count(), 0);
    std::vector<std::string> written;
    for (const QString& line : settingLines(dir))
        written.push_back(line.section(u'=', 0, 0).toStdString());
    EXPECT_EQ(written, expected);
}

// Each page against the key table: from an empty file every key's control shows the table's
// default; integer boxes take their range and refuse one past either end with a message that
// names it; each check box writes its own key; OK writes every key of the visited pages and
// no other.
TEST_F(RealSheet, EveryPageShowsChecksAndWritesItsKeysAsTheKeyTableSays) {
    std::set<std::string> expected;
    for (const int dialogId : pagesWithKeys()) {
        CPropertyPage& onScreen =
            dialogId == sheet.GetPage(0)->dialogTemplate().id ? page(dialogId) : openTab(dialogId);
        ASSERT_EQ(sheet.GetActivePage(), &onScreen) << dialogId;
        std::vector<int> boxes;
        for (const PageKey& shown : PageKeys(dialogId)) {
            const SettingKey* found = FindSettingKey(shown.key);
            ASSERT_NE(found, nullptr) << shown.key;
            const SettingKey& key = *found;
            const int id = shown.controlId;
            SCOPED_TRACE(key.key);
            ASSERT_TRUE(reachable(onScreen.GetDlgItem(id)));
            EXPECT_EQ(shownValue(onScreen, key, id), QLatin1String(key.defaultText));

            QByteArray written = key.defaultText;
            if (key.type == SettingType::Integer) {
                auto* edit = qobject_cast<QLineEdit*>(onScreen.GetDlgItem(id));
                ASSERT_NE(edit, nullptr);
                // The box takes digits only, so a value below the range comes from the file.
                for (const int bad : {key.minValue - 1, key.maxValue + 1}) {
                    messages.clear();
                    edit->setText(QString::number(bad));
                    EXPECT_FALSE(onScreen.UpdateData(TRUE)) << bad;
                    ASSERT_EQ(messages.count(), 1) << bad;
                    EXPECT_TRUE(messages.texts()[0].contains(
                        QStringLiteral("%1 to %2").arg(key.minValue).arg(key.maxValue)));
                }
                for (const int good : {key.minValue, key.maxValue}) {
                    ASSERT_TRUE(typeInto(onScreen, id, QString::number(good)));
                    EXPECT_TRUE(onScreen.UpdateData(TRUE)) << good;
                }
                ASSERT_TRUE(typeInto(onScreen, id, QLatin1String(key.defaultText)));
            } else if (key.type == SettingType::Boolean) {
                boxes.push_back(id);
                written = QByteArray(key.defaultText) == "true" ? "false" : "true";
            }
            expected.insert(std::string(key.key) + '=' + written.toStdString());
        }
        // Last, as some boxes disable the controls above.
        for (const int id : boxes)
            ASSERT_TRUE(click(onScreen, id)) << id;
    }
    messages.clear();
    ok();
    EXPECT_EQ(messages.count(), 0);

    std::set<std::string> lines;
    for (const QString& line : settingLines(dir))
        lines.insert(line.toStdString());
    EXPECT_EQ(lines, expected);
}
