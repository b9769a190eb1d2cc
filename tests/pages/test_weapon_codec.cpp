#include "model/PageCodecs.h"
#include "platform/store/PrivateProfile.h"
#include "res/Dialogs.h"
#include "settings/WeaponTokens.h"
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

// One substitute list's selection (a WeaponId, -1 for none), as the Weapons page holds it.
class WeaponCodecTest : public ::testing::Test {
protected:
    void writeSettings(const char* body) { dir.writeSettings(QByteArray("[Gomcfg]\r\n") + body); }

    ScopedWorkDir dir;
    CodecSession session;
    MessageRecorder messages;
    int m_selection = -1;
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
        m_selection = -1;
        LoadDataThingy(session.io(), id, enabled, m_selection);
        EXPECT_EQ(enabled, 1) << id;
        EXPECT_EQ(m_selection, int(id));
    }
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(WeaponCodecTest, EnabledFlagIsExactlyTrueOrFalseElseReportedAndEnabled) {
    writeSettings("machinegun=false\r\nchaingun=False\r\ngrenades=\r\nrailgun=true\r\n"
                  "bfg=1\r\n");
    int enabled = 1;
    LoadDataItemON(session.io(), "machinegun", "true", enabled);
    EXPECT_EQ(enabled, 0);
    LoadDataItemON(session.io(), "railgun", "false", enabled);
    EXPECT_EQ(enabled, 1);
    EXPECT_TRUE(messages.texts().isEmpty());

    for (const char* key : {"chaingun", "grenades", "bfg"}) {
        enabled = 0;
        LoadDataItemON(session.io(), key, "false", enabled);
        EXPECT_EQ(enabled, 1) << key; // whatever the default said
    }
    EXPECT_EQ(messages.texts(), QStringList({kFlagError, kFlagError, kFlagError}));
    for (const MessageBoxCall& call : messages.calls()) {
        EXPECT_EQ(call.title, QStringLiteral("Gomcfg2"));
        EXPECT_EQ(call.type, MB_OK | MB_ICONEXCLAMATION);
    }
    // A missing key with an unreadable default is reported too.
    messages.clear();
    LoadDataItemON(session.io(), "shotgun", "yes", enabled);
    EXPECT_EQ(messages.texts(), QStringList{kFlagError});
}

TEST_F(WeaponCodecTest, SubstituteSelectsOnlyAnExactTokenAndElseKeepsTheSelection) {
    writeSettings("railgunT=rockets\r\nbfgT=Rockets\r\nshotgunT=\r\nchaingunT=Rocket Launcher\r\n");
    LoadDataItem(session.io(), "railgun", "railgun", m_selection);
    EXPECT_EQ(m_selection, 6);
    EXPECT_STREQ(WeaponShownName(m_selection), "Rocket Launcher");
    EXPECT_TRUE(messages.texts().isEmpty());

    m_selection = 2;
    for (const char* token : {"bfg", "shotgun", "chaingun"})
        LoadDataItem(session.io(), token, token, m_selection);
    EXPECT_EQ(m_selection, 2);
    EXPECT_EQ(messages.texts(),
              QStringList({kSubstituteError, kSubstituteError, kSubstituteError}));

    // A fresh list that meets an unreadable value keeps no selection at all.
    messages.clear();
    m_selection = -1;
    LoadDataItem(session.io(), "bfg", "bfg", m_selection);
    EXPECT_EQ(m_selection, -1);
    EXPECT_EQ(messages.texts(), QStringList{kSubstituteError});
}

TEST_F(WeaponCodecTest, DoublyUnreadableWeaponReportsFlagThenSubstitute) {
    writeSettings("hyperblaster=TRUE\r\nhyperblasterT=Hyper Blaster\r\n");
    int enabled = 0;
    m_selection = -1;
    LoadDataThingy(session.io(), 3, enabled, m_selection);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(m_selection, -1);
    EXPECT_EQ(messages.texts(), QStringList({kFlagError, kSubstituteError}));
}

TEST_F(WeaponCodecTest, UnknownWeaponNumberIsReportedAndReadsNothing) {
    writeSettings("bfg=false\r\n");
    int enabled = 7;
    m_selection = 4;
    LoadDataThingy(session.io(), 9, enabled, m_selection);
    LoadDataThingy(session.io(), unsigned(-1), enabled, m_selection);
    EXPECT_EQ(enabled, 7);
    EXPECT_EQ(m_selection, 4);
    const QString error = QStringLiteral("ERROR: in LoadDataThingy()\nCan't have a default!!!\n");
    EXPECT_EQ(messages.texts(), QStringList({error, error}));
}

TEST_F(WeaponCodecTest, StatusCheckerEnablesFromTheFlagAndReportsAMissingControl) {
    PageModel page(kDialog105);
    PageControl* list = page.control(IDC_SHOTGUN_LIST);
    ASSERT_NE(list, nullptr);
    StatusChecker(session.io(), 0, list);
    EXPECT_FALSE(list->enabled);
    StatusChecker(session.io(), 2, list);
    EXPECT_TRUE(list->enabled);
    EXPECT_TRUE(messages.texts().isEmpty());

    StatusChecker(session.io(), 0, nullptr);
    StatusChecker(session.io(), 0, nullptr);
    const QString error = QStringLiteral(
        "ERROR in StatusChecker()\nHey moron, dontcha' know yer supposed to pass a\nparameter "
        "to this function!\nPS: If you didn't code this, tell the guy who did");
    EXPECT_EQ(messages.texts(), QStringList({error, error}));
    EXPECT_TRUE(list->enabled);
}

TEST_F(WeaponCodecTest, SaveWritesTheFlagThenTheSubstitute) {
    m_selection = 5;
    SaveWeaponSetting(session.io(), 2, m_selection, 0);
    m_selection = 8;
    SaveWeaponSetting(session.io(), 0, m_selection, 7);
    EXPECT_FALSE(dir.exists(kSettingsFile)) << "written with the save only";
    session.save();
    EXPECT_EQ(settingLines(dir),
              QStringList({"bfg=true", "bfgT=railgun", "shotgun=false", "shotgunT=supershotgun"}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(WeaponCodecTest, AFailedSaveReportsBothKeysOfTheRowAndWritesNeither) {
    const ProfileFileOps failing{&::write, &::fsync, &failFirstRename};
    g_renameCalls = 0;
    session.disk().ops = &failing;
    m_selection = 6;
    SaveWeaponSetting(session.io(), 1, m_selection, 5);
    session.save();
    EXPECT_EQ(messages.texts(), QStringList({kSaveError, kSaveError}));
    EXPECT_FALSE(dir.exists(kSettingsFile));

    // The next save starts afresh.
    SaveWeaponSetting(session.io(), 1, m_selection, 5);
    session.save();
    session.disk().ops = &kSystemFileOps;
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(settingLines(dir), QStringList({"railgun=true", "railgunT=rockets"}));
}

TEST_F(WeaponCodecTest, UnwritableFileGivesOneMessagePerKeyAndStaysAsItWas) {
    writeSettings("bfg=false\r\nbfgT=bfg\r\n");
    const QString path = dir.settingsPath();
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    m_selection = 1;
    SaveWeaponSetting(session.io(), 1, m_selection, 0);
    session.save();
    EXPECT_EQ(messages.texts(), QStringList({kSaveError, kSaveError}));
    EXPECT_EQ(settingLines(dir), QStringList({"bfg=false", "bfgT=bfg"}));
}

// A list without a chosen item must not erase or invent a substitute.
TEST_F(WeaponCodecTest, NoSelectionKeepsTheStoredSubstitute) {
    writeSettings("bfgT=chaingun\r\n");
    m_selection = -1;
    SaveWeaponSetting(session.io(), 0, m_selection, 0);
    session.save();
    EXPECT_EQ(settingLines(dir), QStringList({"bfgT=chaingun", "bfg=false"}));

    // Typed text that names no item, even a token or a near miss, counts as no choice.
    for (const char* typed : {"xyz", "rockets", "BFG ", "Rocket"}) {
        m_selection = PageModel::WeaponNamed(typed);
        ASSERT_EQ(m_selection, -1) << typed;
        SaveWeaponSetting(session.io(), 1, m_selection, 0);
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
        m_selection = PageModel::WeaponNamed(typed);
        SaveWeaponSetting(session.io(), 1, m_selection, 5);
        session.save();
        EXPECT_EQ(settingLines(dir),
                  QStringList({"railgun=true", QStringLiteral("railgunT=%1").arg(token)}))
            << typed;
    }
}
