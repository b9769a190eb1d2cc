#include "app/ConfigApp.h"
#include "support/SheetHarness.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

namespace {

struct WeaponRow {
    int checkId;
    int listId;
    const char* caption;
    const char* token;
    const char* shown; // the weapon's name in the lists
};

// Top to bottom as the page shows them.
constexpr WeaponRow kRows[] = {
    {IDC_SHOTGUN, IDC_SHOTGUN_LIST, "Shotgun", "shotgun", "Shotgun"},
    {IDC_SUPERSHOTGUN, IDC_SUPERSHOTGUN_LIST, "Super Shotgun", "supershotgun", "Super shotgun"},
    {IDC_MACHINEGUN, IDC_MACHINEGUN_LIST, "Machingun", "machinegun", "Machinegun"},
    {IDC_CHAINGUN, IDC_CHAINGUN_LIST, "Chaingun", "chaingun", "Chaingun"},
    {IDC_GRENADES, IDC_GRENADES_LIST, "Grenade Launcher", "grenades", "Grenade Launcher"},
    {IDC_ROCKETS, IDC_ROCKETS_LIST, "Rocket Launcher", "rockets", "Rocket Launcher"},
    {IDC_HYPERBLASTER, IDC_HYPERBLASTER_LIST, "HyperBlaster", "hyperblaster", "Hyper Blaster"},
    {IDC_RAILGUN, IDC_RAILGUN_LIST, "Railgun", "railgun", "Railgun"},
    {IDC_BFG, IDC_BFG_LIST, "BFG", "bfg", "BFG"},
};
constexpr int kShotgunRow = 0;
constexpr int kRailgunRow = 7;

const QStringList kListItems = {"BFG",          "Chaingun", "Grenade Launcher", "Hyper Blaster",
                                "Machinegun",   "Railgun",  "Rocket Launcher",  "Shotgun",
                                "Super shotgun"};

QStringList defaultLines() {
    QStringList lines;
    for (const WeaponRow& row : kRows)
        lines << QStringLiteral("%1=true").arg(row.token)
              << QStringLiteral("%1T=%1").arg(row.token);
    return lines;
}

struct WeaponsPageTest : PageSheet {
    WeaponsPageTest() : PageSheet({IDD_WEAPONS, IDD_SERVER_OPTIONS}) {}

    void open() {
        PageSheet::open();
        ASSERT_EQ(sheet.GetActiveIndex(), 0);
    }
    QCheckBox* box(int row) const {
        return qobject_cast<QCheckBox*>(weapons.GetDlgItem(kRows[row].checkId));
    }
    QComboBox* list(int row) const {
        return qobject_cast<QComboBox*>(weapons.GetDlgItem(kRows[row].listId));
    }

    CPropertyPage& weapons = page(IDD_WEAPONS);
    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
};

} // namespace

TEST_F(WeaponsPageTest, RowsShowTheirCaptionsAndSortedListsInTabOrder) {
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    box(0)->setFocus();
    QWidget* expected = box(0);
    for (int row = 0; row < 9; ++row) {
        EXPECT_EQ(box(row)->text(), QString::fromLatin1(kRows[row].caption));
        QComboBox* l = list(row);
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(l->isEditable());
        QStringList items;
        for (int i = 0; i < l->count(); ++i)
            items << l->itemText(i);
        EXPECT_EQ(items, kListItems) << kRows[row].caption;
        // Rows run top to bottom, each list beside its box.
        if (row > 0) {
            EXPECT_GT(box(row)->y(), box(row - 1)->y());
        }
        EXPECT_GT(l->x(), box(row)->x() + box(row)->width());

        ASSERT_EQ(QApplication::focusWidget(), expected) << "row " << row;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(l->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == l)
            << "row " << row;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        expected = row < 8 ? box(row + 1) : nullptr;
    }
    EXPECT_FALSE(weapons.isAncestorOf(QApplication::focusWidget()));
}

TEST_F(WeaponsPageTest, NoFileShowsEveryWeaponEnabledForItselfAndOkCreatesAllKeys) {
    open();
    for (int row = 0; row < 9; ++row) {
        EXPECT_TRUE(box(row)->isChecked()) << row;
        EXPECT_TRUE(list(row)->isEnabled()) << row;
        EXPECT_EQ(list(row)->currentText(), QString::fromLatin1(kRows[row].shown)) << row;
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(applyLit()); // the loader's selections are no change
    EXPECT_FALSE(dir.exists(kSettingsFile));

    ok();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(settingLines(dir), defaultLines());
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(WeaponsPageTest, SwitchedOffWeaponHasItsListDisabledUntilTicked) {
    writeSection("railgun=false\r\nrailgunT=bfg\r\n");
    open();
    EXPECT_FALSE(box(kRailgunRow)->isChecked());
    EXPECT_FALSE(list(kRailgunRow)->isEnabled());
    EXPECT_EQ(list(kRailgunRow)->currentText(), QStringLiteral("BFG"));
    EXPECT_FALSE(applyLit());

    ASSERT_TRUE(click(weapons, kRows[kRailgunRow].checkId));
    EXPECT_TRUE(box(kRailgunRow)->isChecked());
    EXPECT_TRUE(list(kRailgunRow)->isEnabled());
    EXPECT_TRUE(applyLit());
    ASSERT_TRUE(click(weapons, kRows[kRailgunRow].checkId));
    EXPECT_FALSE(list(kRailgunRow)->isEnabled());
    ASSERT_TRUE(click(weapons, kRows[kRailgunRow].checkId));
    EXPECT_TRUE(list(kRailgunRow)->isEnabled());
}

TEST_F(WeaponsPageTest, TogglesFollowTheBoxAcrossApplyAndPageChanges) {
    open();
    ASSERT_TRUE(click(weapons, kRows[kShotgunRow].checkId));
    ASSERT_TRUE(click(weapons, kRows[kShotgunRow].checkId));
    EXPECT_TRUE(list(kShotgunRow)->isEnabled());
    EXPECT_TRUE(applyLit());
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_FALSE(applyLit());

    clickTab(sheet, 1);

    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    clickTab(sheet, 0);
    ASSERT_EQ(sheet.GetActiveIndex(), 0);
    ASSERT_TRUE(click(weapons, kRows[kShotgunRow].checkId));
    EXPECT_FALSE(box(kShotgunRow)->isChecked());
    EXPECT_FALSE(list(kShotgunRow)->isEnabled());
    EXPECT_TRUE(applyLit());
}

TEST_F(WeaponsPageTest, UntickedWeaponStillSavesTheSubstituteOfItsDisabledList) {
    open();
    chooseListItem(weapons, kRows[kRailgunRow].listId, 6);
    ASSERT_TRUE(click(weapons, kRows[kRailgunRow].checkId));
    EXPECT_FALSE(list(kRailgunRow)->isEnabled());
    EXPECT_EQ(list(kRailgunRow)->currentText(), QStringLiteral("Rocket Launcher"));
    ok();
    QStringList expected = defaultLines();
    expected[2 * kRailgunRow] = "railgun=false";
    expected[2 * kRailgunRow + 1] = "railgunT=rockets";
    EXPECT_EQ(settingLines(dir), expected);
}

TEST_F(WeaponsPageTest, ChoosingInAListMarksModifiedButTypingDoesNot) {
    open();
    typeIntoList(weapons, kRows[kShotgunRow].listId, QStringLiteral("xyz"));
    EXPECT_EQ(list(kShotgunRow)->currentText(), QStringLiteral("xyz"));
    EXPECT_FALSE(applyLit());
    list(kRailgunRow)->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list(kRailgunRow)->view()->isVisible(); }, 2000));
    list(kRailgunRow)->hidePopup();
    EXPECT_FALSE(applyLit());

    chooseListItem(weapons, kRows[kShotgunRow].listId, 6);
    EXPECT_TRUE(applyLit());
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(settingLines(dir).contains("shotgunT=rockets"));
    EXPECT_TRUE(sheet.isVisible());
}

TEST_F(WeaponsPageTest, ReturningToThePageNeitherReloadsNorRepeatsMessages) {
    writeSection("chaingun=yes\r\nchaingunT=Chaingun\r\nbfg=false\r\n");
    open();
    const QString flagError =
        QStringLiteral("ERROR: problem in .ini file..\nFunction LoadDataItemON()");
    const QString substituteError =
        QStringLiteral("ERROR: problem in .ini file\n in function LoadDataItem()\n");
    EXPECT_EQ(messages.texts(), QStringList({flagError, substituteError}));
    EXPECT_TRUE(box(3)->isChecked());
    EXPECT_EQ(list(3)->currentIndex(), -1);
    EXPECT_EQ(list(3)->currentText(), QString());

    ASSERT_TRUE(click(weapons, kRows[8].checkId)); // BFG on
    writeSection("bfg=false\r\nshotgun=false\r\n");
    clickTab(sheet, 1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    clickTab(sheet, 0);
    ASSERT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(box(8)->isChecked());
    EXPECT_TRUE(list(8)->isEnabled());
    EXPECT_TRUE(box(kShotgunRow)->isChecked());
}

// A list with no chosen weapon leaves the stored substitute alone; a typed weapon name counts.
TEST_F(WeaponsPageTest, ListWithoutAChoiceKeepsTheStoredSubstitute) {
    writeSection("chaingunT=Chaingun\r\nshotgunT=railgun\r\nrocketsT=bfg\r\n");
    open();
    typeIntoList(weapons, kRows[kShotgunRow].listId, QStringLiteral("xyz"));
    typeIntoList(weapons, kRows[5].listId, QStringLiteral("super shotgun"));
    EXPECT_EQ(list(5)->currentText(), QStringLiteral("super shotgun"));
    messages.clear();
    ok();
    EXPECT_TRUE(messages.texts().isEmpty());

    // Keys already in the file keep their place; the others follow in the order written.
    const QStringList expected = {"chaingunT=Chaingun",
                                  "shotgunT=railgun",
                                  "rocketsT=supershotgun",
                                  "shotgun=true",
                                  "supershotgun=true",
                                  "supershotgunT=supershotgun",
                                  "machinegun=true",
                                  "machinegunT=machinegun",
                                  "chaingun=true",
                                  "grenades=true",
                                  "grenadesT=grenades",
                                  "rockets=true",
                                  "hyperblaster=true",
                                  "hyperblasterT=hyperblaster",
                                  "railgun=true",
                                  "railgunT=railgun",
                                  "bfg=true",
                                  "bfgT=bfg"};
    EXPECT_EQ(settingLines(dir), expected);
}

TEST_F(WeaponsPageTest, UnwritableFileReportsEveryKeyAndOkStillCloses) {
    writeSection("shotgun=true\r\n");
    ASSERT_TRUE(QFile::setPermissions(dir.settingsPath(), QFileDevice::ReadOwner));
    open();
    ASSERT_TRUE(click(weapons, kRows[kShotgunRow].checkId));
    ok();
    EXPECT_EQ(messages.texts().size(), 18);
    EXPECT_EQ(messages.texts().count(QStringLiteral("ERROR: Problem saving GombleTroveII.ini")),
              18);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(settingLines(dir), QStringList{"shotgun=true"});
}

TEST(ConfigAppSheet, OpensOnTheWeaponsTabWithThePagesInOrder) {
    ScopedWorkDir dir;
    MessageRecorder messages;
    QStringList pages;
    QStringList tabs;
    int active = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* sheet = qobject_cast<CPropertySheet*>(w);
            if (!sheet || !sheet->isVisible())
                continue;
            for (int i = 0; i < sheet->GetPageCount(); ++i) {
                const CPropertyPage* page = sheet->GetPage(i);
                pages << QStringLiteral("%1 %2 %3")
                             .arg(page->GetCaption(),
                                  QLatin1String(page->metaObject()->className()))
                             .arg(page->dialogTemplate().id);
            }
            const QTabBar* bar = sheet->findChild<QTabBar*>();
            for (int i = 0; bar && i < bar->count(); ++i)
                tabs << bar->tabText(i);
            active = sheet->GetActiveIndex();
            sheet->reject(); // Cancel
        }
    });
    ConfigApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    EXPECT_EQ(active, 0);
    EXPECT_EQ(pages, QStringList({"Weapons WeaponsPageReal 105", "Gomble Stuff GomblePageReal 106",
                                  "Server Options ServerPage 134", "Services PropPageServices 135",
                                  "C.T.F. PropPageCTF 136", "About AboutPage 133"}));
    EXPECT_EQ(tabs, QStringList({"Weapons", "Gomble Stuff", "Server Options", "Services", "C.T.F.",
                                 "About"}));
    // Cancel writes nothing.
    EXPECT_FALSE(dir.exists(kSettingsFile));
}
