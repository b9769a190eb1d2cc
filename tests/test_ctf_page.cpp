#include "SheetTestSupport.h"
#include "app/MainDialog.h"
#include "pages/PropPageCTF.h"
#include "pages/ServerPage.h"
#include "pages/WeaponsPageReal.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>

namespace {

constexpr int kCtfBox = 1055;
constexpr int kTeamplayBox = 1068;
constexpr int kPlaceholders[] = {1057, 1058, 1059, 1060, 1061, 1045, 1047,
                                 1062, 1063, 1064, 1065, 1066, 1067};
constexpr int kCtfTab = 2;

class CtfPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        sheet.AddPage(&weapons);
        sheet.AddPage(&server);
        sheet.AddPage(&ctf);
    }
    void open() {
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }
    void openOnCtf() {
        open();
        clickTab(sheet, kCtfTab);
        ASSERT_EQ(sheet.GetActiveIndex(), kCtfTab);
    }
    void writeSettings(const QByteArray& body) {
        dir.write(QStringLiteral("GombleTroveII.ini"), "[Gomcfg]\r\n" + body);
    }
    QCheckBox* box(int id) const { return qobject_cast<QCheckBox*>(ctf.GetDlgItem(id)); }
    bool applyLit() const { return sheet.button(QDialogButtonBox::Apply)->isEnabled(); }
    void pressOk() { sheet.button(QDialogButtonBox::Ok)->click(); }
    QStringList ctfLines() const {
        return settingLines(dir).filter(QRegularExpression(QStringLiteral("^(ctf|teamplay)=")));
    }

    ScopedWorkDir dir;
    MessageRecorder messages;
    MainDialog sheet;
    WeaponsPageReal weapons;
    ServerPage server;
    PropPageCTF ctf;
};

} // namespace

TEST_F(CtfPageTest, NoFileShowsCtfOffTeamplayOnAndOkWritesBoth) {
    openOnCtf();
    EXPECT_FALSE(box(kCtfBox)->isChecked());
    EXPECT_TRUE(box(kTeamplayBox)->isChecked());
    EXPECT_FALSE(applyLit());
    pressOk();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=true"}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(CtfPageTest, UnrecognisedValuesShowTheDefaultsAndAreRewritten) {
    writeSettings("ctf=TRUE\r\nteamplay=no\r\n");
    openOnCtf();
    EXPECT_FALSE(box(kCtfBox)->isChecked());
    EXPECT_TRUE(box(kTeamplayBox)->isChecked());
    EXPECT_TRUE(messages.texts().isEmpty());
    pressOk();
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=true"}));
}

TEST_F(CtfPageTest, NeverOpenedTabNeitherReadsNorWrites) {
    writeSettings("ctf=TRUE\r\n");
    open();
    clickTab(sheet, 1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    clickCheckBox(server, 1041);
    pressOk();
    EXPECT_FALSE(ctf.IsWindowCreated());
    EXPECT_EQ(ctfLines(), QStringList{"ctf=TRUE"});
    EXPECT_TRUE(settingLines(dir).contains("samemap=true"));
}

TEST_F(CtfPageTest, TickSurvivesLeavingThePageAndIsWrittenOnlyOnApply) {
    openOnCtf();
    clickCheckBox(ctf, kCtfBox);
    EXPECT_TRUE(applyLit());
    clickTab(sheet, 0);
    ASSERT_EQ(sheet.GetActiveIndex(), 0);
    writeSettings("ctf=false\r\nteamplay=false\r\n");
    clickTab(sheet, kCtfTab);
    ASSERT_EQ(sheet.GetActiveIndex(), kCtfTab);
    EXPECT_TRUE(box(kCtfBox)->isChecked());
    EXPECT_TRUE(box(kTeamplayBox)->isChecked());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=false", "teamplay=false"}));

    // The file changed both keys meanwhile: teamplay, untouched here, keeps the file's value;
    // ctf, changed on both sides, is asked about, and here the tick wins.
    messages.answerQuestions(IDYES);
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(ctfLines(), QStringList({"ctf=true", "teamplay=false"}));
    EXPECT_FALSE(box(kTeamplayBox)->isChecked());
}

TEST_F(CtfPageTest, ClickingTwiceKeepsTheValueButMarksTheSheetModified) {
    writeSettings("ctf=true\r\n");
    openOnCtf();
    clickCheckBox(ctf, kTeamplayBox);
    clickCheckBox(ctf, kTeamplayBox);
    EXPECT_TRUE(box(kTeamplayBox)->isChecked());
    EXPECT_TRUE(applyLit());
    pressOk();
    EXPECT_EQ(ctfLines(), QStringList({"ctf=true", "teamplay=true"}));
}

TEST_F(CtfPageTest, UnwritableFileReportsEachKeyAndOkStillCloses) {
    writeSettings("ctf=true\r\n");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("GombleTroveII.ini")),
                                      QFileDevice::ReadOwner));
    openOnCtf();
    clickCheckBox(ctf, kCtfBox);
    pressOk();
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
    box(kCtfBox)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), box(kTeamplayBox));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(ctf.isAncestorOf(QApplication::focusWidget()));
    box(kTeamplayBox)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), box(kCtfBox));
}
