#include "res/ControlIds.h"
#include "support/QtStoreSupport.h"
#include "support/SessionSupport.h"
#include "support/SheetHarness.h"

#include "app/MainDialog.h"
#include "model/PageCodecs.h"
#include "pages/ServerPage.h"

#include <QPushButton>
#include <QTest>

// A save that fails part-way, seen from the codecs and a page: one report per key, the file as
// it was, no temporary file.

namespace {

const QByteArray kStored = "; mine\r\n[Gomcfg]\r\nsamemap=true\r\nNfraglimit=7\r\n";
const QString kSaveError = QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n");

const std::pair<const char*, Faults> kFaults[] = {
    {"disk full part-way", {.spaceLeft = 20, .error = ENOSPC}},
    {"I/O error part-way", {.chunk = 8, .spaceLeft = 16, .error = EIO}},
    {"rename refused", {.failRename = true}},
};

} // namespace

TEST(SaveFaults, CodecsReportEachFailedKeyOnceAndLeaveTheFile) {
    for (const auto& [what, faults] : kFaults) {
        ScopedWorkDir dir;
        dir.writeSettings(kStored);
        CodecSession session;
        MessageRecorder messages;
        {
            FaultScope scope(session.disk(), faults);
            WriteBoolSetting(session.io(), 0, "samemap");
            WriteIntSetting(session.io(), 12, "Nfraglimit");
            WriteBoolSetting(session.io(), 1, "cheating");
            session.save();
        }
        EXPECT_EQ(messages.texts(), QStringList(3, kSaveError)) << what;
        EXPECT_EQ(dir.settings(), kStored) << what;
        EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kSettingsFile.toStdString()})
            << what;
    }
}

TEST(SaveFaults, ApplyOnAFullDiskReportsEveryKeyOfThePageOnce) {
    ScopedWorkDir dir;
    const QByteArray stored = "; mine\r\n[Gomcfg]\r\n";
    dir.writeSettings(stored);
    MessageRecorder messages;
    ProfileIo disk;
    MainDialog sheet(nullptr, 0, disk);
    ServerPage page;
    sheet.AddPage(&page);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    {
        FaultScope scope(disk, {.spaceLeft = 30, .error = ENOSPC});
        sheet.button(QDialogButtonBox::Apply)->click();
    }
    EXPECT_EQ(messages.texts(), QStringList(5, kSaveError));
    EXPECT_EQ(dir.settings(), stored);
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kSettingsFile.toStdString()});

    // With space again the next Apply goes through.
    messages.clear();
    auto* cheating = qobject_cast<QAbstractButton*>(page.GetDlgItem(IDC_CHEATING));
    ASSERT_TRUE(cheating && cheating->isVisible() && cheating->isEnabled());
    QTest::mouseClick(cheating, Qt::LeftButton);
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_EQ(dir.settings(), "; mine\r\n[Gomcfg]\r\nsamemap=false\r\ncheating=true\r\n"
                              "noexit=false\r\nNfraglimit=0\r\nNtimelimit=0\r\n");
}

// An Apply of every page is one save: when it fails, every key is reported, in the pages'
// order, and the file is exactly as it was.
struct EveryPageFaults : RealSheet {
    const QByteArray stored = "; mine\r\n[Gomcfg]\r\nNfraglimit=7\r\nbfg=true\r\n[Else]\r\nx=1\r\n";
    // The Weapons page reads its keys as the sheet opens, so the file is there first.
    void SetUp() override {
        dir.writeSettings(stored);
        RealSheet::SetUp();
    }
};

TEST_F(EveryPageFaults, AFailedApplyOfEveryPageLeavesTheFileAsItWas) {
    for (int i = sheet.GetPageCount() - 1; i >= 0; --i)
        ASSERT_TRUE(sheet.SetActivePage(i));
    const int keys = int(SettingKeys().size());
    for (const auto& [what, faults] : kFaults) {
        ASSERT_TRUE(click(page(IDD_WEAPONS), IDC_BFG));
        messages.clear();
        {
            FaultScope scope(disk, faults);
            apply();
        }
        EXPECT_EQ(messages.texts(), SaveErrorsOfEveryKey()) << what;
        EXPECT_EQ(file(), stored) << what;
        EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kSettingsFile.toStdString()})
            << what;
    }
    ASSERT_TRUE(click(page(IDD_WEAPONS), IDC_BFG));
    messages.clear();
    apply();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(file().startsWith("; mine\r\n[Gomcfg]\r\nNfraglimit=7\r\nbfg=true\r\n"));
    EXPECT_EQ(settingLines(dir).size(), keys + 1);
}
