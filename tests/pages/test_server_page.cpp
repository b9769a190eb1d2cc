#include "res/ControlIds.h"
#include "support/SheetHarness.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct ServerPageFixture : PageSheet {
    ServerPageFixture() : PageSheet({IDD_SERVER_OPTIONS}) {}

    void open() {
        PageSheet::open();
        ASSERT_EQ(sheet.GetActivePage(), &server);
    }
    QCheckBox* box(int id) const { return qobject_cast<QCheckBox*>(server.GetDlgItem(id)); }
    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(server.GetDlgItem(id)); }

    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
};

} // namespace

TEST_F(ServerPageFixture, DefaultsWithoutFileAndOkWritesAllFive) {
    open();
    for (int id : {IDC_NO_EXIT, IDC_CHEATING, IDC_SAME_MAP})
        EXPECT_FALSE(box(id)->isChecked());
    EXPECT_EQ(edit(IDC_FRAG_LIMIT)->text(), QStringLiteral("0"));
    EXPECT_EQ(edit(IDC_TIME_LIMIT)->text(), QStringLiteral("0"));
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled()) << "filling the boxes marks it";
    ok();
    EXPECT_EQ(file(), QByteArray("[Gomcfg]\r\nsamemap=false\r\ncheating=false\r\nnoexit=false\r\n"
                                 "Nfraglimit=0\r\nNtimelimit=0\r\n"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ServerPageFixture, LoadsStoredValuesAndRewritesOnlyTheirLines) {
    dir.write(kSettingsFile,
              "; server rules\n[Gomcfg]\nnoexit=true\nsamemap=True\nNfraglimit=12abc\n"
              "Ntimelimit=-3\nother=kept\n\n[Else]\nnoexit=false\n");
    open();
    EXPECT_TRUE(box(IDC_NO_EXIT)->isChecked());
    EXPECT_FALSE(box(IDC_SAME_MAP)->isChecked()) << "only exactly \"true\" is true";
    EXPECT_EQ(edit(IDC_FRAG_LIMIT)->text(), QStringLiteral("12"));
    EXPECT_EQ(edit(IDC_TIME_LIMIT)->text(), QStringLiteral("-3")) << "a stored sign is shown";
    ok();
    EXPECT_TRUE(sheet.isVisible()) << "-3 is refused";
    EXPECT_EQ(messages.count(), 1);
    edit(IDC_TIME_LIMIT)->setText(QStringLiteral("20"));
    ok();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(file(),
              QByteArray("; server rules\n[Gomcfg]\nnoexit=true\nsamemap=false\nNfraglimit=12\n"
                         "Ntimelimit=20\nother=kept\ncheating=false\n\n[Else]\nnoexit=false\n"));
}

TEST_F(ServerPageFixture, LimitRangeIsInclusive) {
    open();
    edit(IDC_FRAG_LIMIT)->setText(QStringLiteral("1000"));
    edit(IDC_TIME_LIMIT)->setText(QStringLiteral("1001"));
    sheet.button(QDialogButtonBox::Apply)->click();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("Please enter a whole number from 0 to 1000."));
    EXPECT_FALSE(dir.exists(kSettingsFile));
    edit(IDC_TIME_LIMIT)->setText(QStringLiteral("0"));
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(file().contains("Nfraglimit=1000\r\nNtimelimit=0\r\n"));
}

TEST_F(ServerPageFixture, OnlyFragLimitMessageWhenBothWrong) {
    open();
    edit(IDC_FRAG_LIMIT)->setText(QStringLiteral("5000"));
    edit(IDC_TIME_LIMIT)->clear();
    ok();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("Please enter a whole number from 0 to 1000."));
    sheet.activateWindow();
    EXPECT_EQ(QApplication::focusWidget(), edit(IDC_FRAG_LIMIT));
    EXPECT_EQ(edit(IDC_FRAG_LIMIT)->selectedText(), QStringLiteral("5000"));
}

TEST_F(ServerPageFixture, PlaceholdersGreyedAndNeverWritten) {
    open();
    for (int id : {IDC_BREAKABLE_ITEMS, IDC_DEATH_MESSAGES, IDC_SHOW_HIGHS, IDC_SERVER_MORE_1,
                   IDC_SERVER_MORE_2, IDC_SERVER_MORE_3, IDC_SERVER_MORE_4, IDC_SERVER_MORE_5,
                   IDC_SERVER_MORE_6, IDC_SERVER_MORE_7, IDC_SERVER_MORE_8}) {
        ASSERT_NE(box(id), nullptr) << id;
        EXPECT_TRUE(box(id)->isVisible()) << id;
        EXPECT_FALSE(box(id)->isEnabled()) << id;
        EXPECT_FALSE(box(id)->isChecked()) << id;
        QTest::mouseClick(box(id), Qt::LeftButton);
        EXPECT_FALSE(box(id)->isChecked()) << id;
    }
    ok();
    const QByteArray written = file();
    for (const char* absent : {"breakable", "death", "high", "more"})
        EXPECT_FALSE(written.toLower().contains(absent)) << absent;
}

TEST_F(ServerPageFixture, TabOrderReachesOnlyWorkingControls) {
    open();
    box(IDC_NO_EXIT)->setFocus();
    sheet.activateWindow();
    QList<QWidget*> order;
    for (int i = 0; i < 5; ++i) {
        order << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QList<QWidget*>{box(IDC_NO_EXIT), box(IDC_CHEATING), box(IDC_SAME_MAP),
                                      edit(IDC_FRAG_LIMIT), edit(IDC_TIME_LIMIT)}));
}

TEST_F(ServerPageFixture, EveryFailedWriteIsReported) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(kSettingsFile));
    open();
    ok();
    EXPECT_FALSE(sheet.isVisible()) << "a failed write does not keep the sheet open";
    ASSERT_EQ(messages.count(), 5);
    for (const QString& text : messages.texts())
        EXPECT_EQ(text, QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n"));
}

TEST_F(ServerPageFixture, CheckBoxClickMarksModified) {
    dir.writeSettings("[Gomcfg]\nNfraglimit=0\nNtimelimit=0\n");
    open();
    sheet.button(QDialogButtonBox::Apply)->click();
    ASSERT_FALSE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    ASSERT_TRUE(box(IDC_CHEATING)->isVisible() && box(IDC_CHEATING)->isEnabled());
    QTest::mouseClick(box(IDC_CHEATING), Qt::LeftButton);
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    ok();
    EXPECT_TRUE(file().contains("cheating=true"));
}

TEST_F(ServerPageFixture, ApplyKeepsWhatAnotherProgramChangedMeanwhile) {
    dir.write(kSettingsFile, "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=5\r\nshotgun=true\r\n");
    open();
    // The server's own tool edits the file while the sheet is open.
    dir.write(kSettingsFile, "; edited elsewhere\r\n[Gomcfg]\r\nsamemap=false\r\nNfraglimit=99\r\n"
                             "shotgun=false\r\nmotd=hello\r\n[Server]\r\nport=27910\r\n");
    ASSERT_TRUE(box(IDC_CHEATING)->isVisible() && box(IDC_CHEATING)->isEnabled());
    QTest::mouseClick(box(IDC_CHEATING), Qt::LeftButton);
    sheet.button(QDialogButtonBox::Apply)->click();
    // Of the page's own keys, those the other program changed and the user did not keep its
    // values; the rest take the page's. Everything else is the other program's.
    EXPECT_EQ(file(),
              QByteArray("; edited elsewhere\r\n[Gomcfg]\r\nsamemap=false\r\nNfraglimit=99\r\n"
                         "shotgun=false\r\nmotd=hello\r\ncheating=true\r\nnoexit=false\r\n"
                         "Ntimelimit=0\r\n[Server]\r\nport=27910\r\n"));
    EXPECT_EQ(messages.count(), 0);
}
