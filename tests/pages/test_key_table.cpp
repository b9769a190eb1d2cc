#include "support/SheetHarness.h"

#include "settings/WeaponTokens.h"

#include <QComboBox>

#include <set>
#include <string>

namespace {

// The pages that own keys, in the table's order.
std::vector<int> pagesWithKeys() {
    std::vector<int> ids;
    for (const SettingKey& key : SettingKeys()) {
        if (ids.empty() || ids.back() != key.dialogId)
            ids.push_back(key.dialogId);
    }
    return ids;
}

// The value a key's control shows, in the file's spelling.
QString shownValue(const CPropertyPage& page, const SettingKey& key) {
    switch (key.type) {
    case SettingType::Boolean:
        return isChecked(page, key.controlId) ? QStringLiteral("true") : QStringLiteral("false");
    case SettingType::Integer:
        return textOf(page, key.controlId);
    case SettingType::WeaponToken: {
        auto* list = qobject_cast<QComboBox*>(page.GetDlgItem(key.controlId));
        return list ? QString::fromLatin1(WeaponTokenFromIndex(list->currentIndex())) : QString();
    }
    }
    return {};
}

} // namespace

// Each page against the key table: from an empty file every key's control shows the table's
// default; integer boxes take their range and refuse one past either end with a message that
// names it; each check box writes its own key; OK writes every key of the visited pages and
// no other.
TEST_F(RealSheet, EveryPageShowsChecksAndWritesItsKeysAsTheKeyTableSays) {
    std::set<std::string> expected;
    for (const int dialogId : pagesWithKeys()) {
        CPropertyPage& shown =
            dialogId == sheet.GetPage(0)->dialogTemplate().id ? page(dialogId) : openTab(dialogId);
        ASSERT_EQ(sheet.GetActivePage(), &shown) << dialogId;
        std::vector<const SettingKey*> boxes;
        for (const SettingKey& key : SettingKeys()) {
            if (key.dialogId != dialogId)
                continue;
            SCOPED_TRACE(key.key);
            ASSERT_TRUE(reachable(shown.GetDlgItem(key.controlId)));
            EXPECT_EQ(shownValue(shown, key), QLatin1String(key.defaultText));

            QByteArray written = key.defaultText;
            if (key.type == SettingType::Integer) {
                auto* edit = qobject_cast<QLineEdit*>(shown.GetDlgItem(key.controlId));
                ASSERT_NE(edit, nullptr);
                // The box takes digits only, so a value below the range comes from the file.
                for (const int bad : {key.minValue - 1, key.maxValue + 1}) {
                    messages.clear();
                    edit->setText(QString::number(bad));
                    EXPECT_FALSE(shown.UpdateData(TRUE)) << bad;
                    ASSERT_EQ(messages.count(), 1) << bad;
                    EXPECT_TRUE(messages.texts()[0].contains(
                        QStringLiteral("%1 to %2").arg(key.minValue).arg(key.maxValue)));
                }
                for (const int good : {key.minValue, key.maxValue}) {
                    ASSERT_TRUE(typeInto(shown, key.controlId, QString::number(good)));
                    EXPECT_TRUE(shown.UpdateData(TRUE)) << good;
                }
                ASSERT_TRUE(typeInto(shown, key.controlId, QLatin1String(key.defaultText)));
            } else if (key.type == SettingType::Boolean) {
                boxes.push_back(&key);
                written = QByteArray(key.defaultText) == "true" ? "false" : "true";
            }
            expected.insert(std::string(key.key) + '=' + written.toStdString());
        }
        // Last, as some boxes disable the controls above.
        for (const SettingKey* key : boxes)
            ASSERT_TRUE(click(shown, key->controlId)) << key->key;
    }
    messages.clear();
    ok();
    EXPECT_EQ(messages.count(), 0);

    std::set<std::string> lines;
    for (const QString& line : settingLines(dir))
        lines.insert(line.toStdString());
    EXPECT_EQ(lines, expected);
}
