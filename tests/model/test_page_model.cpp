// The page model as both sheets use it, without Qt: what a first showing reads, what OK and
// Apply write and ask, and how kept keys are shown again.
#include "model/PageMessages.h"
#include "model/SheetModel.h"
#include "res/ControlIds.h"
#include "support/ModelSupport.h"

#include <sys/inotify.h>

#include <algorithm>

namespace {

constexpr int kWeapons = 0;
constexpr int kServer = 2;
constexpr int kAbout = 5;

class SheetModelTest : public ::testing::Test {
protected:
    PageModel& show(int tab) {
        PageModel& page = sheet.pages()[std::size_t(tab)];
        sheet.OnSetActive(page);
        return page;
    }
    static int index(const PageModel& page, int id) { return page.indexOf(id); }
    static std::size_t occurrences(const std::string& text, const std::string& word) {
        std::size_t count = 0;
        for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
            ++count;
        return count;
    }

    ScratchSettings file;
    SettingsSession session{file.path()};
    ScriptedPrompts prompts;
    SheetModel sheet{session, prompts};
};

} // namespace

// Cancel forgets the writes of that OK: the next OK gathers afresh, asks about each key once,
// and a value typed back to what the page showed is neither asked about nor written.
TEST_F(SheetModelTest, CancelOnTheConflictQuestionForgetsThatOksWrites) {
    file.write("[Gomcfg]\nNfraglimit=5\n");
    PageModel& server = show(kServer);
    const int frag = index(server, IDC_FRAG_LIMIT);
    server.setNumberText(frag, "10");
    file.writeElsewhere("Nfraglimit", "7");

    EXPECT_FALSE(sheet.apply());
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(file.stored("Nfraglimit"), "7");

    prompts.answers = {SheetPrompts::Answer::No};
    EXPECT_TRUE(sheet.apply());
    ASSERT_EQ(prompts.questions.size(), 2u);
    EXPECT_EQ(occurrences(prompts.questions[1], "Nfraglimit:"), 1u) << prompts.questions[1];
    EXPECT_EQ(file.stored("Nfraglimit"), "7");

    // Asked again from the value now shown; typed back, nothing is left to decide.
    file.writeElsewhere("Nfraglimit", "8");
    server.setNumberText(frag, "11");
    EXPECT_FALSE(sheet.apply());
    ASSERT_EQ(prompts.questions.size(), 3u);
    server.setNumberText(frag, "7");
    EXPECT_TRUE(sheet.apply());
    EXPECT_EQ(prompts.questions.size(), 3u);
    EXPECT_EQ(file.stored("Nfraglimit"), "8");
    EXPECT_EQ(server.controls()[std::size_t(frag)].text, "8");
}

// A key kept from the file is shown again, and what the page then shows is what it compares
// with next time: another change elsewhere is kept again, without a question.
TEST_F(SheetModelTest, AKeptKeyCountsAsShownWithWhatThePageShowsNow) {
    file.write("[Gomcfg]\nsamemap=false\n");
    PageModel& server = show(kServer);
    const int sameMap = index(server, IDC_SAME_MAP);

    file.writeElsewhere("samemap", "true");
    EXPECT_TRUE(sheet.apply());
    EXPECT_TRUE(server.controls()[std::size_t(sameMap)].checked);
    EXPECT_EQ(sheet.reshownPages(), std::vector<int>{kServer});

    file.writeElsewhere("samemap", "false");
    EXPECT_TRUE(sheet.apply());
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(file.stored("samemap"), "false");
    EXPECT_FALSE(server.controls()[std::size_t(sameMap)].checked);
}

// An OK with nothing to write (only pages without keys were shown) does not open the file.
TEST_F(SheetModelTest, AnApplyThatGathersNoWritesReadsNothing) {
    file.write("[Gomcfg]\nctf=true\n");
    show(kAbout);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, file.path().c_str(), IN_OPEN | IN_ACCESS), 0);
    EXPECT_TRUE(sheet.apply());
    alignas(inotify_event) char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the settings file was opened";
    ::close(watch);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

// The weapon rows read their pair in row order, report what they cannot read, and their lists
// follow their boxes; OK writes the pair, flag first, and no substitute for a list without one.
TEST_F(SheetModelTest, WeaponRowsReadReportAndWriteAsTheCodecSays) {
    file.write("[Gomcfg]\nbfgT=plasma\nrailgun=maybe\nshotgunT=rockets\nsupershotgun=false\n");
    PageModel& weapons = show(kWeapons);
    EXPECT_EQ(prompts.messages, std::vector<std::string>({PageText::kWeaponFlagUnreadable,
                                                          PageText::kWeaponSubstituteUnreadable}));
    const PageControl* superList = weapons.control(IDC_SUPERSHOTGUN_LIST);
    EXPECT_FALSE(superList->enabled);
    EXPECT_EQ(weapons.control(IDC_SHOTGUN_LIST)->selection, 6);
    EXPECT_TRUE(weapons.control(IDC_RAILGUN)->checked);
    EXPECT_EQ(weapons.control(IDC_BFG_LIST)->selection, -1);

    EXPECT_TRUE(sheet.apply());
    EXPECT_EQ(file.stored("bfgT"), "plasma");
    EXPECT_EQ(file.stored("railgun"), "true");
    EXPECT_EQ(file.stored("shotgunT"), "rockets");
    EXPECT_EQ(file.stored("supershotgunT"), "supershotgun");
}

// The ranges come from the key table, and the page refuses the first wrong number in its own
// order with the one wording both sheets show.
TEST_F(SheetModelTest, NumbersAreRefusedInThePagesOrderWithTheKeyTablesRange) {
    PageModel& services = show(3);
    services.setNumberText(index(services, IDC_HTTP_PORT), "0");
    services.setNumberText(index(services, IDC_FINGER_PORT), "x");
    std::optional<Refusal> refusal = services.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->index, index(services, IDC_FINGER_PORT));
    EXPECT_EQ(refusal->message, "Please enter a whole number.");
    services.setNumberText(index(services, IDC_FINGER_PORT), "64000");
    refusal = services.validate();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Please enter a whole number from 1 to 64000.");
}

// The question names each key once, with long values cut on a character and empty ones named.
TEST(ConflictQuestion, ShortensLongValuesOnACharacterAndNamesEmptyOnes) {
    const std::string longValue = std::string(59, 'a') + "\xC3\xBC" + "tail";
    EXPECT_EQ(ShortenedValue(longValue), std::string(59, 'a') + "\xC3\xBC...");
    EXPECT_EQ(ShortenedValue(std::string(60, 'b')), std::string(60, 'b'));
    EXPECT_EQ(ShortenedValue(""), "(empty)");
    const std::string question =
        ConflictQuestion({{"Nfraglimit", std::nullopt, "12"}, {"ctf", "", "true"}});
    EXPECT_NE(question.find("in GombleTroveII.ini after"), std::string::npos);
    EXPECT_NE(question.find("\n\nNfraglimit: not in the file, 12 here\nctf: (empty) in the file, "
                            "true here\n\nOverwrite"),
              std::string::npos)
        << question;
    EXPECT_EQ(FillPlaceholders("%1 and %2 and %3", {"%2", "x"}), "%2 and x and %3");
}
