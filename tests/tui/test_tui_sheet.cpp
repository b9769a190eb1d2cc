// The terminal sheet over a real settings file: first showing, leaving a tab, Apply's state,
// OK and Apply through the settings session, conflicts and kept keys.
#include "platform/store/PrivateProfile.h"
#include "platform/store/SaveFileNames.h"
#include "res/ControlIds.h"
#include "settings/SettingsSession.h"
#include "tui/TuiSheet.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class ScriptedDialogs : public TuiDialogs {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    Answer ask(const std::string& question) override {
        questions.push_back(question);
        const Answer answer = answers.empty() ? Answer::Cancel : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<Answer> answers;
};

class TuiSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("gomcfg-tui-sheet-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "GombleTroveII.ini").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::optional<std::string> stored(const char* key) const {
        return GetPrivateProfileValue("Gomcfg", key, m_path.c_str());
    }
    static TuiControl& control(TuiSheet& sheet, int tab, int id) {
        TuiPage& page = sheet.pages()[std::size_t(tab)];
        return page.controls()[std::size_t(page.indexOf(id))];
    }

    fs::path m_dir;
    std::string m_path;
};

constexpr int kWeapons = 0;
constexpr int kGomble = 1;
constexpr int kServer = 2;
constexpr int kServices = 3;
constexpr int kCtf = 4;

} // namespace

TEST_F(TuiSheetTest, FirstShowingReadsThePageAndReportsUnreadableWeaponValuesInRowOrder) {
    write("[Gomcfg]\nbfgT=plasma\nrailgun=maybe\nshotgunT=rockets\nsupershotgun=false\n");
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0], "ERROR: problem in .ini file..\nFunction LoadDataItemON()");
    EXPECT_EQ(dialogs.messages[1], "ERROR: problem in .ini file\n in function LoadDataItem()\n");
    EXPECT_TRUE(control(sheet, kWeapons, IDC_RAILGUN).checked); // unreadable: enabled
    EXPECT_TRUE(control(sheet, kWeapons, IDC_RAILGUN_LIST).enabled);
    EXPECT_EQ(control(sheet, kWeapons, IDC_BFG_LIST).selection, -1);
    EXPECT_EQ(control(sheet, kWeapons, IDC_SHOTGUN_LIST).selection, 6); // rockets
    EXPECT_FALSE(control(sheet, kWeapons, IDC_SUPERSHOTGUN).checked);
    EXPECT_FALSE(control(sheet, kWeapons, IDC_SUPERSHOTGUN_LIST).enabled);
    EXPECT_FALSE(sheet.applyEnabled());
    EXPECT_EQ(sheet.focus(), (TuiFocus{false, sheet.activePage().indexOf(IDC_SHOTGUN)}));

    // Coming back reads nothing again and repeats no message.
    write("[Gomcfg]\nsupershotgun=true\n");
    ASSERT_TRUE(sheet.selectTab(kCtf));
    ASSERT_TRUE(sheet.selectTab(kWeapons));
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(control(sheet, kWeapons, IDC_SUPERSHOTGUN).checked);
}

// The copy a killed in-place save left is named to whoever opens the sheet; the file is read as
// it is, and nothing is written or removed.
TEST_F(TuiSheetTest, ACopyThatAKilledSaveLeftIsNamedWhenTheSheetOpens) {
    write("[Gomcfg]\nshotgun=false\n");
    const std::string copy = (m_dir / SaveCopyFileName("GombleTroveII.ini")).string();
    std::ofstream(copy, std::ios::binary) << "[Gomcfg]\nshotgun=true\n";
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].starts_with(copy + " (owner ")) << dialogs.messages[0];
    EXPECT_FALSE(control(sheet, kWeapons, IDC_SHOTGUN).checked);
    EXPECT_EQ(bytes(), "[Gomcfg]\nshotgun=false\n");
    EXPECT_TRUE(fs::exists(copy));
}

// In a sticky directory, a link another user put in place of the settings file is named with
// its owner when the sheet opens, and nothing is read through it: the page shows the defaults.
TEST_F(TuiSheetTest, ALinkAnotherUserPlantedInAStickyDirectoryIsNamedAndNotRead) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting a link as another user needs root";
    const std::string secret = (m_dir / "secret.ini").string();
    std::ofstream(secret, std::ios::binary) << "[Gomcfg]\nshotgun=false\n";
    fs::permissions(m_dir, fs::perms::all | fs::perms::sticky_bit);
    ASSERT_EQ(::symlink("secret.ini", m_path.c_str()), 0);
    ASSERT_EQ(::lchown(m_path.c_str(), 65534, 65534), 0);
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].starts_with(m_path +
                                                " can be neither read nor saved: the symbolic "
                                                "link " +
                                                m_path + " (owner "))
        << dialogs.messages[0];
    EXPECT_TRUE(control(sheet, kWeapons, IDC_SHOTGUN).checked);
}

TEST_F(TuiSheetTest, AWrongNumberKeepsThePageAndTakesTheFocus) {
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start(kServices);
    TuiPage& services = sheet.activePage();
    EXPECT_EQ(control(sheet, kServices, IDC_HTTP_PORT).text, "80");
    EXPECT_EQ(control(sheet, kServices, IDC_FINGER_PORT).text, "79");
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "64001");
    EXPECT_FALSE(sheet.selectTab(kWeapons));
    EXPECT_EQ(sheet.activeTab(), kServices);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Please enter a whole number from 1 to 64000.");
    EXPECT_EQ(sheet.focus(), (TuiFocus{false, services.indexOf(IDC_HTTP_PORT)}));
    EXPECT_FALSE(sheet.apply());
    EXPECT_FALSE(fs::exists(m_path)); // nothing written
    services.setNumberText(services.indexOf(IDC_HTTP_PORT), "64000");
    EXPECT_TRUE(sheet.selectTab(kWeapons));
}

TEST_F(TuiSheetTest, ApplyLightsOnChangesAndWritesTheVisitedPagesOnly) {
    write("[Gomcfg]\nbfgT=plasma\nctf=TRUE\n");
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start(kCtf);
    EXPECT_FALSE(sheet.applyEnabled());
    EXPECT_FALSE(control(sheet, kCtf, IDC_CTF).checked); // not exactly "true"
    sheet.activePage().click(sheet.activePage().indexOf(IDC_TEAMPLAY));
    EXPECT_TRUE(sheet.applyEnabled());
    ASSERT_TRUE(sheet.apply());
    EXPECT_FALSE(sheet.applyEnabled());
    EXPECT_EQ(stored("ctf"), "false");
    EXPECT_EQ(stored("teamplay"), "false");
    EXPECT_EQ(stored("shotgun"), std::nullopt); // Weapons never shown

    // Showing a page with number boxes fills them, which counts as a change, as in the sheet.
    ASSERT_TRUE(sheet.selectTab(kServer));
    EXPECT_TRUE(sheet.applyEnabled());
    ASSERT_TRUE(sheet.selectTab(kWeapons));
    dialogs.messages.clear();
    ASSERT_TRUE(sheet.apply());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(stored("Nfraglimit"), "0");
    EXPECT_EQ(stored("shotgunT"), "shotgun");
    // An unreadable substitute shows no weapon and is not written back.
    EXPECT_EQ(stored("bfgT"), "plasma");
    EXPECT_EQ(stored("bfg"), "true");
    EXPECT_EQ(stored("show_motd"), std::nullopt); // Gomble Stuff never shown
}

TEST_F(TuiSheetTest, AConflictIsAskedAndCancelWritesNothing) {
    write("[Gomcfg]\nNfraglimit=30\nsamemap=false\n");
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start(kServer);
    TuiPage& server = sheet.activePage();
    server.setNumberText(server.indexOf(IDC_FRAG_LIMIT), "50");
    ASSERT_TRUE(WritePrivateProfileString("Gomcfg", "Nfraglimit", "7", m_path.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("Gomcfg", "samemap", "true", m_path.c_str()));
    const std::string before = bytes();

    dialogs.answers = {TuiDialogs::Answer::Cancel};
    EXPECT_FALSE(sheet.apply());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find("Nfraglimit: 7 in the file, 50 here"), std::string::npos)
        << dialogs.questions[0];
    EXPECT_EQ(dialogs.questions[0].find("samemap"), std::string::npos);
    EXPECT_EQ(bytes(), before);
    EXPECT_TRUE(sheet.applyEnabled());

    dialogs.answers = {TuiDialogs::Answer::No};
    ASSERT_TRUE(sheet.apply());
    EXPECT_EQ(stored("Nfraglimit"), "7");
    EXPECT_EQ(stored("samemap"), "true");
    // The page shows the file's values it kept.
    EXPECT_EQ(control(sheet, kServer, IDC_FRAG_LIMIT).text, "7");
    EXPECT_TRUE(control(sheet, kServer, IDC_SAME_MAP).checked);
    EXPECT_FALSE(sheet.applyEnabled());
}

TEST_F(TuiSheetTest, HelpNamesThePagesKeysAndTheWholePathOfTheFile) {
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start(kServices);
    const std::string help = sheet.helpText();
    EXPECT_EQ(help.rfind("Services\n", 0), 0u) << help;
    EXPECT_NE(help.find("Nhttpport = 80  (1 to 64000)"), std::string::npos) << help;
    EXPECT_NE(help.find("Settings file: " + fs::absolute(m_path).lexically_normal().string()),
              std::string::npos)
        << help;
    EXPECT_EQ(help.find("shotgun"), std::string::npos);
}

TEST_F(TuiSheetTest, TabGoesThroughThePageThenTheButtonsApplyOnlyWhenLit) {
    SettingsSession session(m_path);
    ScriptedDialogs dialogs;
    TuiSheet sheet(session, dialogs);
    sheet.start(kCtf);
    const int ctf = sheet.activePage().indexOf(IDC_CTF);
    const int teamplay = sheet.activePage().indexOf(IDC_TEAMPLAY);
    std::vector<TuiFocus> seen;
    for (int i = 0; i < 6; ++i) {
        seen.push_back(sheet.focus());
        sheet.moveFocus(true);
    }
    EXPECT_EQ(seen, (std::vector<TuiFocus>{{false, ctf},
                                           {false, teamplay},
                                           {true, int(SheetButton::Ok)},
                                           {true, int(SheetButton::Cancel)},
                                           {true, int(SheetButton::Help)},
                                           {false, ctf}}));
    sheet.activePage().click(ctf);
    sheet.setFocus({true, int(SheetButton::Cancel)});
    sheet.moveFocus(true);
    EXPECT_EQ(sheet.focus(), (TuiFocus{true, int(SheetButton::Apply)}));
    sheet.moveFocus(false);
    sheet.moveFocus(false);
    sheet.moveFocus(false);
    EXPECT_EQ(sheet.focus(), (TuiFocus{false, teamplay}));
}

TEST_F(TuiSheetTest, ThePreviewShowsTheFileOrTheFallbackOfItsCaller) {
    const fs::path old = fs::current_path();
    fs::current_path(m_dir);
    {
        SettingsSession session(m_path);
        ScriptedDialogs dialogs;
        TuiSheet sheet(session, dialogs);
        sheet.start(kGomble);
        EXPECT_EQ(control(sheet, kGomble, IDC_MOTD_PREVIEW).text,
                  "Put Your\nWelcome Message\nHere\n");
        sheet.reloadPreview(kPreviewFallbackAfterEdit);
        EXPECT_EQ(control(sheet, kGomble, IDC_MOTD_PREVIEW).text, "Put your motd text here...\n");
        std::ofstream("gomble_motd.txt", std::ios::binary) << "caf\xE9\r\nbar";
        sheet.reloadPreview(kPreviewFallbackAfterEdit);
        EXPECT_EQ(control(sheet, kGomble, IDC_MOTD_PREVIEW).text, "caf\xC3\xA9\nbar");
    }
    fs::current_path(old);
}
