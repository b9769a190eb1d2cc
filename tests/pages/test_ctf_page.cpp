#include "support/SheetHarness.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>

namespace {

constexpr int kPlaceholders[] = {
    IDC_QUICKFIRE,   IDC_SHARE_THE_DAMAGE, IDC_GRAV_DISTORTION, IDC_HEAL_O_MATIC, IDC_EXTRA_POWER,
    IDC_CTF_MORE_1,  IDC_CTF_MORE_2,       IDC_RUNE_LIST_1,     IDC_RUNE_LIST_2,  IDC_RUNE_LIST_3,
    IDC_RUNE_LIST_4, IDC_RUNE_LIST_5,      IDC_RUNE_LIST_6};
constexpr int kCtfTab = 2;

struct CtfPageTest : PageSheet {
    CtfPageTest() : PageSheet({IDD_WEAPONS, IDD_SERVER_OPTIONS, IDD_CTF}) {}

    void openOnCtf() {
        open();
        clickTab(sheet, kCtfTab);
        ASSERT_EQ(sheet.GetActiveIndex(), kCtfTab);
    }
    QCheckBox* box(int id) const { return qobject_cast<QCheckBox*>(ctf.GetDlgItem(id)); }
    QStringList ctfLines() const {
        return settingLines(dir).filter(QRegularExpression(QStringLiteral("^(ctf|teamplay)=")));
    }

    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
    CPropertyPage& ctf = page(IDD_CTF);
};

} // namespace

TEST_F(CtfPageTest, NoFileShowsCtfOffTeamplayOnAndOkWritesBoth) {
    openOnCtf();
    EXPECT_FALSE(box(IDC_CTF)->isChecked());
    EXPECT_TRUE(box(IDC_TEAMPLAY)->isChecked());
    EXPECT_FALSE(applyLit());
    ok();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=true"}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(CtfPageTest, UnrecognisedValuesShowTheDefaultsAndAreRewritten) {
    writeSection("ctf=TRUE\r\nteamplay=no\r\n");
    openOnCtf();
    EXPECT_FALSE(box(IDC_CTF)->isChecked());
    EXPECT_TRUE(box(IDC_TEAMPLAY)->isChecked());
    EXPECT_TRUE(messages.texts().isEmpty());
    ok();
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=true"}));
}

TEST_F(CtfPageTest, NeverOpenedTabNeitherReadsNorWrites) {
    writeSection("ctf=TRUE\r\n");
    open();
    clickTab(sheet, 1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    ASSERT_TRUE(click(server, IDC_SAME_MAP));
    ok();
    EXPECT_FALSE(ctf.isWindowCreated());
    EXPECT_EQ(ctfLines(), QStringList{"ctf=TRUE"});
    EXPECT_TRUE(settingLines(dir).contains("samemap=true"));
}

TEST_F(CtfPageTest, TickSurvivesLeavingThePageAndIsWrittenOnlyOnApply) {
    openOnCtf();
    ASSERT_TRUE(click(ctf, IDC_CTF));
    EXPECT_TRUE(applyLit());
    clickTab(sheet, 0);
    ASSERT_EQ(sheet.GetActiveIndex(), 0);
    writeSection("ctf=false\r\nteamplay=false\r\n");
    clickTab(sheet, kCtfTab);
    ASSERT_EQ(sheet.GetActiveIndex(), kCtfTab);
    EXPECT_TRUE(box(IDC_CTF)->isChecked());
    EXPECT_TRUE(box(IDC_TEAMPLAY)->isChecked());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=false"}));

    // The file changed both keys meanwhile: teamplay, untouched here, keeps the file's value;
    // ctf, changed on both sides, is asked about, and here the tick wins.
    messages.answerQuestions(IDYES);
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=true", "teamplay=false"}));
    EXPECT_FALSE(box(IDC_TEAMPLAY)->isChecked());
}

TEST_F(CtfPageTest, ClickingTwiceKeepsTheValueButMarksTheSheetModified) {
    writeSection("ctf=true\r\n");
    openOnCtf();
    ASSERT_TRUE(click(ctf, IDC_TEAMPLAY));
    ASSERT_TRUE(click(ctf, IDC_TEAMPLAY));
    EXPECT_TRUE(box(IDC_TEAMPLAY)->isChecked());
    EXPECT_TRUE(applyLit());
    ok();
    EXPECT_EQ(ctfLines(), QStringList({"ctf=true", "teamplay=true"}));
}

TEST_F(CtfPageTest, UnwritableFileReportsEachKeyAndOkStillCloses) {
    writeSection("ctf=true\r\n");
    ASSERT_TRUE(QFile::setPermissions(dir.settingsPath(), QFileDevice::ReadOwner));
    openOnCtf();
    ASSERT_TRUE(click(ctf, IDC_CTF));
    ok();
    EXPECT_FALSE(sheet.isVisible());
    // The Weapons page, created as the first tab, reports its own 18 keys without a line break.
    EXPECT_EQ(messages.texts().count(QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n")),
              2);
    EXPECT_EQ(ctfLines(), QStringList{"ctf=true"});
}

TEST_F(CtfPageTest, PlaceholdersAreGreyedAndOutOfReach) {
    openOnCtf();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    for (const int id : kPlaceholders) {
        QWidget* w = ctf.GetDlgItem(id);
        ASSERT_NE(w, nullptr) << id;
        EXPECT_TRUE(w->isVisible()) << id;
        EXPECT_FALSE(w->isEnabled()) << id;
        QTest::mouseClick(w, Qt::LeftButton);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            EXPECT_EQ(combo->count(), 0) << id;
        } else {
            EXPECT_FALSE(qobject_cast<QCheckBox*>(w)->isChecked()) << id;
        }
    }
    EXPECT_FALSE(applyLit());
    int runesGroups = 0;
    for (QGroupBox* group : ctf.findChildren<QGroupBox*>()) {
        if (group->title() == QStringLiteral("Runes: ")) {
            ++runesGroups;
            EXPECT_FALSE(group->isEnabled());
        }
    }
    EXPECT_EQ(runesGroups, 1);

    // Tab moves from one working box to the other and then out of the page.
    box(IDC_CTF)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), box(IDC_TEAMPLAY));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(ctf.isAncestorOf(QApplication::focusWidget()));
    box(IDC_TEAMPLAY)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), box(IDC_CTF));
}
