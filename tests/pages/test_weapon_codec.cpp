#include "pages/WeaponCodec.h"
#include "platform/dialog/CComboBox.h"
#include "platform/dialog/DialogBuilder.h"
#include "platform/store/PrivateProfile.h"
#include "res/Dialogs.h"
#include "support/SessionSupport.h"
#include "support/SheetHarness.h"

#include <QWidget>

#include <cerrno>
#include <cstdio>

namespace {

const QString kFlagError =
    QStringLiteral("ERROR: problem in .ini file..\nFunction LoadDataItemON()");
const QString kSubstituteError =
    QStringLiteral("ERROR: problem in .ini file\n in function LoadDataItem()\n");
const QString kSaveError = QStringLiteral("ERROR: Problem saving GombleTroveII.ini");

constexpr const char* kTokens[] = {"bfg",     "chaingun", "grenades", "hyperblaster", "machinegun",
                                   "railgun", "rockets",  "shotgun",  "supershotgun"};

// One substitute list as the Weapons page builds it, with its nine sorted items.
class WeaponCodecTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto controls = DialogBuilder::build(kDialog105, &m_window);
        m_list.Attach(controls.value(IDC_SHOTGUN_LIST));
        ASSERT_NE(m_list.combo(), nullptr);
    }
    void writeSettings(const char* body) { dir.writeSettings(QByteArray("[Gomcfg]\r\n") + body); }

    ScopedWorkDir dir;
    CodecSession session;
    MessageRecorder messages;
    QWidget m_window;
    CComboBox m_list;
};

// Fails the rename of the first save only, leaving every later save alone.
int g_renameCalls = 0;
int failFirstRename(const char* from, const char* to) {
    if (g_renameCalls++ == 0) {
        errno = EIO;
        return -1;
    }
    return std::rename(from, to);
}

} // namespace

TEST(WeaponTokens, MapBothWaysOnlyForTheNineExactTokens) {
    for (int i = 0; i < kWeaponCount; ++i) {
        ASSERT_STREQ(WeaponTokenFromIndex(i), kTokens[i]);
        EXPECT_EQ(WeaponIndexFromToken(kTokens[i]), i);
    }
    EXPECT_EQ(WeaponTokenFromIndex(-1), nullptr);
    EXPECT_EQ(WeaponTokenFromIndex(9), nullptr);
    for (const char* text : {"", "Rockets", "ROCKETS", "rocketsT", "rocket", "rockets ", " rockets",
                             "Rocket Launcher", "BFG"})
        EXPECT_EQ(WeaponIndexFromToken(text), -1) << text;
    EXPECT_EQ(WeaponIndexFromToken(nullptr), -1);
}

TEST_F(WeaponCodecTest, WithoutAFileEveryWeaponIsEnabledAndStandsForItself) {
    for (unsigned id = 0; id < 9; ++id) {
        int enabled = 0;
        m_list.SetCurSel(-1);
        LoadDataThingy(id, enabled, m_list);
        EXPECT_EQ(enabled, 1) << id;
        EXPECT_EQ(m_list.GetCurSel(), int(id));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(WeaponCodecTest, EnabledFlagIsExactlyTrueOrFalseElseReportedAndEnabled) {
    writeSettings("machinegun=false\r\nchaingun=False\r\ngrenades=\r\nrailgun=true\r\n"
                  "bfg=1\r\n");
    int enabled = 1;
    LoadDataItemON("machinegun", "true", enabled);
    EXPECT_EQ(enabled, 0);
    LoadDataItemON("railgun", "false", enabled);
    EXPECT_EQ(enabled, 1);
    EXPECT_TRUE(messages.texts().isEmpty());

    for (const char* key : {"chaingun", "grenades", "bfg"}) {
        enabled = 0;
        LoadDataItemON(key, "false", enabled);
        EXPECT_EQ(enabled, 1) << key; // whatever the default said
    }
    EXPECT_EQ(messages.texts(), QStringList({kFlagError, kFlagError, kFlagError}));
    for (const MessageBoxCall& call : messages.calls()) {
        EXPECT_EQ(call.title, QStringLiteral("Gomcfg2"));
        EXPECT_EQ(call.type, MB_OK | MB_ICONEXCLAMATION);
    }
    // A missing key with an unreadable default is reported too.
    messages.clear();
    LoadDataItemON("shotgun", "yes", enabled);
    EXPECT_EQ(messages.texts(), QStringList{kFlagError});
}

TEST_F(WeaponCodecTest, SubstituteSelectsOnlyAnExactTokenAndElseKeepsTheSelection) {
    writeSettings("railgunT=rockets\r\nbfgT=Rockets\r\nshotgunT=\r\nchaingunT=Rocket Launcher\r\n");
    LoadDataItem("railgun", "railgun", m_list);
    EXPECT_EQ(m_list.GetCurSel(), 6);
    EXPECT_EQ(m_list.GetWindowText(), QStringLiteral("Rocket Launcher"));
    EXPECT_TRUE(messages.texts().isEmpty());

    m_list.SetCurSel(2);
    for (const char* token : {"bfg", "shotgun", "chaingun"})
        LoadDataItem(token, token, m_list);
    EXPECT_EQ(m_list.GetCurSel(), 2);
    EXPECT_EQ(messages.texts(),
              QStringList({kSubstituteError, kSubstituteError, kSubstituteError}));

    // A fresh list that meets an unreadable value keeps no selection at all.
    messages.clear();
    m_list.SetCurSel(-1);
    LoadDataItem("bfg", "bfg", m_list);
    EXPECT_EQ(m_list.GetCurSel(), CB_ERR);
    EXPECT_EQ(messages.texts(), QStringList{kSubstituteError});
}

TEST_F(WeaponCodecTest, DoublyUnreadableWeaponReportsFlagThenSubstitute) {
    writeSettings("hyperblaster=TRUE\r\nhyperblasterT=Hyper Blaster\r\n");
    int enabled = 0;
    m_list.SetCurSel(-1);
    LoadDataThingy(3, enabled, m_list);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(m_list.GetCurSel(), CB_ERR);
    EXPECT_EQ(messages.texts(), QStringList({kFlagError, kSubstituteError}));
}

TEST_F(WeaponCodecTest, UnknownWeaponNumberIsReportedAndReadsNothing) {
    writeSettings("bfg=false\r\n");
    int enabled = 7;
    m_list.SetCurSel(4);
    LoadDataThingy(9, enabled, m_list);
    LoadDataThingy(unsigned(-1), enabled, m_list);
    EXPECT_EQ(enabled, 7);
    EXPECT_EQ(m_list.GetCurSel(), 4);
    const QString error = QStringLiteral("ERROR: in LoadDataThingy()\nCan't have a default!!!\n");
    EXPECT_EQ(messages.texts(), QStringList({error, error}));
}

TEST_F(WeaponCodecTest, StatusCheckerEnablesFromTheFlagAndReportsAMissingControl) {
    StatusChecker(0, &m_list);
    EXPECT_FALSE(m_list.IsWindowEnabled());
    StatusChecker(2, &m_list);
    EXPECT_TRUE(m_list.IsWindowEnabled());
    EXPECT_TRUE(messages.texts().isEmpty());

    CComboBox unattached;
    StatusChecker(0, nullptr);
    StatusChecker(0, &unattached);
    const QString error = QStringLiteral(
        "ERROR in StatusChecker()\nHey moron, dontcha' know yer supposed to pass a\nparameter "
        "to this function!\nPS: If you didn't code this, tell the guy who did");
    EXPECT_EQ(messages.texts(), QStringList({error, error}));
    EXPECT_TRUE(m_list.IsWindowEnabled());
}

TEST_F(WeaponCodecTest, SaveWritesTheFlagThenTheSubstitute) {
    m_list.SetCurSel(5);
    SaveWeaponSetting(2, m_list, 0);
    m_list.SetCurSel(8);
    SaveWeaponSetting(0, m_list, 7);
    EXPECT_FALSE(dir.exists(kSettingsFile)) << "written with the save only";
    session.save();
    EXPECT_EQ(settingLines(dir),
              QStringList({"bfg=true", "bfgT=railgun", "shotgun=false", "shotgunT=supershotgun"}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(WeaponCodecTest, AFailedSaveReportsBothKeysOfTheRowAndWritesNeither) {
    const ProfileFileOps failing{&::write, &::fsync, &failFirstRename};
    g_renameCalls = 0;
    SetProfileFileOpsForTesting(&failing);
    m_list.SetCurSel(6);
    SaveWeaponSetting(1, m_list, 5);
    session.save();
    EXPECT_EQ(messages.texts(), QStringList({kSaveError, kSaveError}));
    EXPECT_FALSE(dir.exists(kSettingsFile));

    // The next save starts afresh.
    SaveWeaponSetting(1, m_list, 5);
    session.save();
    SetProfileFileOpsForTesting(nullptr);
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(settingLines(dir), QStringList({"railgun=true", "railgunT=rockets"}));
}

TEST_F(WeaponCodecTest, UnwritableFileGivesOneMessagePerKeyAndStaysAsItWas) {
    writeSettings("bfg=false\r\nbfgT=bfg\r\n");
    const QString path = dir.settingsPath();
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    m_list.SetCurSel(1);
    SaveWeaponSetting(1, m_list, 0);
    session.save();
    EXPECT_EQ(messages.texts(), QStringList({kSaveError, kSaveError}));
    EXPECT_EQ(settingLines(dir), QStringList({"bfg=false", "bfgT=bfg"}));
}

// A list without a chosen item must not erase or invent a substitute.
TEST_F(WeaponCodecTest, NoSelectionKeepsTheStoredSubstitute) {
    writeSettings("bfgT=chaingun\r\n");
    m_list.SetCurSel(-1);
    SaveWeaponSetting(0, m_list, 0);
    session.save();
    EXPECT_EQ(settingLines(dir), QStringList({"bfgT=chaingun", "bfg=false"}));

    // Typed text that names no item, even a token or a near miss, counts as no choice.
    for (const char* typed : {"xyz", "rockets", "BFG ", "Rocket"}) {
        m_list.SetCurSel(3);
        m_list.combo()->setEditText(QString::fromLatin1(typed));
        ASSERT_EQ(m_list.GetCurSel(), CB_ERR) << typed;
        SaveWeaponSetting(1, m_list, 0);
        session.save();
        EXPECT_EQ(settingLines(dir), QStringList({"bfgT=chaingun", "bfg=true"})) << typed;
    }
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(WeaponCodecTest, TypedWeaponNameCountsAsChoosingItIgnoringCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"super SHOTGUN", "supershotgun"},
        {"rocket launcher", "rockets"},
        {"bfg", "bfg"},
        {"HYPER BLASTER", "hyperblaster"},
    };
    for (const auto& [typed, token] : cases) {
        m_list.SetCurSel(0);
        m_list.combo()->setEditText(QString::fromLatin1(typed));
        SaveWeaponSetting(1, m_list, 5);
        session.save();
        EXPECT_EQ(settingLines(dir),
                  QStringList({"railgun=true", QStringLiteral("railgunT=%1").arg(token)}))
            << typed;
    }
}
