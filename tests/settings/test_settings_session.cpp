#include "platform/store/PrivateProfile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A session on its own, as any front end drives it: read, show, gather the writes of one OK,
// sort them against the file as it is now, settle, save once.

namespace {

// Counts the calls of every save and can refuse its rename.
struct SaveCounter {
    static inline int renames = 0;
    static inline int fsyncs = 0;
    static inline bool refuseRename = false;

    static int fsync(int fd) {
        ++fsyncs;
        return ::fsync(fd);
    }
    static int rename(const char* from, const char* to) {
        ++renames;
        if (refuseRename) {
            errno = EIO;
            return -1;
        }
        return std::rename(from, to);
    }
    static constexpr ProfileFileOps kOps{&::write, &SaveCounter::fsync, &SaveCounter::rename};
};

// A fresh directory, removed with everything in it.
struct ScratchDir {
    std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "session-XXXXXX");
        EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
        return pattern;
    }();
    ~ScratchDir() { std::filesystem::remove_all(path); }
};

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        SaveCounter::renames = SaveCounter::fsyncs = 0;
        SaveCounter::refuseRename = false;
    }

    std::string path() const { return m_dir.path + "/GombleTroveII.ini"; }
    // Another program writing the whole file, as a text editor does.
    void otherProgramWrites(const std::string& bytes) const {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string file() const {
        std::ifstream in(path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.path))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Reads key as a page does and shows what was read, or shown when it is given.
    StoredText show(std::string_view key, std::optional<std::string> shown = std::nullopt) {
        const std::optional<StoredText> stored = session.read(key);
        EXPECT_TRUE(stored.has_value()) << key;
        session.noteShown(key, shown ? shown : stored.value_or(std::nullopt));
        return stored.value_or(std::nullopt);
    }
    // A write whose failure is recorded by key.
    void write(const std::string& key, const std::string& value) {
        session.addWrite(key, value, [this, key] { failed.push_back(key); });
    }

    ScratchDir m_dir;
    const ProfileIo disk{.ops = &SaveCounter::kOps};
    SettingsSession session{path(), disk};
    std::vector<std::string> failed;
};

using Kept = std::vector<SettingsSession::KeptKey>;

// What read() gives for a key it reads: the stored text, which may be "missing".
std::optional<StoredText> ReadAs(StoredText stored) {
    return std::optional<StoredText>(std::in_place, std::move(stored));
}

} // namespace

TEST_F(Session, ReadsWhatTheFileHoldsAndSavesEveryWriteInOneSave) {
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=12abc\r\n");
    EXPECT_EQ(show("samemap"), "false");
    EXPECT_EQ(show("NFRAGLIMIT", "12"), "12abc");
    EXPECT_EQ(show("cheating"), std::nullopt);
    EXPECT_EQ(session.filePath(), path());

    write("samemap", "true");
    write("Nfraglimit", "12");
    write("cheating", "false");
    write("noexit", "false"); // never read: written whatever the file holds
    EXPECT_TRUE(session.sortWrites().empty());
    EXPECT_TRUE(session.commit().empty());
    EXPECT_EQ(file(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=12\r\ncheating=false\r\n"
                      "noexit=false\r\n");
    EXPECT_EQ(SaveCounter::renames, 1);
    EXPECT_EQ(SaveCounter::fsyncs, 2);
    EXPECT_TRUE(failed.empty());

    // The writes are gone with the save; what was written is what the next OK starts from.
    EXPECT_TRUE(session.commit().empty());
    EXPECT_EQ(SaveCounter::renames, 1);
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=12\r\n");
    write("Nfraglimit", "13");
    EXPECT_TRUE(session.sortWrites().empty());
    EXPECT_TRUE(session.commit().empty());
    EXPECT_EQ(file(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=13\r\n");
}

TEST_F(Session, AnOutsideChangeIsKeptAndShownAgainAlone) {
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\nshotgunT=Rocket Launcher\r\n");
    show("samemap");
    show("Nfraglimit");
    show("shotgunT");
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNtimelimit=3\r\nshotgunT=Rocket Launcher\r\n");

    write("samemap", "true");
    write("Nfraglimit", "7");
    write("Ntimelimit", "0");
    EXPECT_TRUE(session.sortWrites().empty());
    const Kept kept = session.commit();
    EXPECT_EQ(kept, (Kept{{"Nfraglimit", std::nullopt}}));
    EXPECT_EQ(file(), "[Gomcfg]\r\nsamemap=true\r\nNtimelimit=0\r\nshotgunT=Rocket Launcher\r\n");

    session.beginShowingKept(kept);
    EXPECT_EQ(session.read("nfraglimit"), ReadAs(std::nullopt));
    EXPECT_EQ(session.read("samemap"), std::nullopt) << "only kept keys are read again";
    EXPECT_EQ(session.read("shotgunT"), std::nullopt);
    session.noteShown("nfraglimit", "0");
    session.endShowingKept();
    EXPECT_EQ(session.read("samemap"), ReadAs("true"));

    // Kept is now what the front end read: the next OK writes its value as the user's.
    write("Nfraglimit", "5");
    EXPECT_TRUE(session.sortWrites().empty());
    EXPECT_TRUE(session.commit().empty());
    EXPECT_NE(file().find("\r\nNfraglimit=5\r\n"), std::string::npos);
}

TEST_F(Session, AConflictIsSettledEitherWayAndTheSameValueIsNone) {
    for (const bool ours : {true, false}) {
        SettingsSession fresh(path(), disk);
        otherProgramWrites("[Gomcfg]\r\nNfraglimit=7\r\ncheating=false\r\nnoexit=false\r\n");
        for (const char* key : {"Nfraglimit", "cheating", "noexit"}) {
            fresh.read(key);
            fresh.noteShown(key, key == std::string("Nfraglimit") ? "7" : "false");
        }
        otherProgramWrites("[Gomcfg]\r\nNfraglimit=50\r\nnoexit=true\r\n");
        fresh.addWrite("Nfraglimit", "8", {});
        fresh.addWrite("cheating", "true", {});
        fresh.addWrite("noexit", "true", {}); // changed alike on both sides
        const auto conflicts = fresh.sortWrites();
        ASSERT_EQ(conflicts.size(), 2u);
        EXPECT_EQ(conflicts[0].key, "Nfraglimit");
        EXPECT_EQ(conflicts[0].inFile, "50");
        EXPECT_EQ(conflicts[0].here, "8");
        EXPECT_EQ(conflicts[1].key, "cheating");
        EXPECT_EQ(conflicts[1].inFile, std::nullopt);
        EXPECT_EQ(conflicts[1].here, "true");

        fresh.settle(ours);
        const Kept kept = fresh.commit();
        if (ours) {
            EXPECT_EQ(kept, (Kept{{"noexit", "true"}}));
            EXPECT_EQ(file(), "[Gomcfg]\r\nNfraglimit=8\r\nnoexit=true\r\ncheating=true\r\n");
        } else {
            EXPECT_EQ(kept,
                      (Kept{{"Nfraglimit", "50"}, {"cheating", std::nullopt}, {"noexit", "true"}}));
            EXPECT_EQ(file(), "[Gomcfg]\r\nNfraglimit=50\r\nnoexit=true\r\n");
        }
    }
    EXPECT_EQ(SaveCounter::renames, 1) << "nothing to write when every file value is kept";
}

TEST_F(Session, AKeyChangedAfterSortingIsKeptAndTheRestStillSavedOnce) {
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\n");
    show("samemap");
    show("Nfraglimit");
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\n");
    write("samemap", "true");
    write("Nfraglimit", "8");
    ASSERT_EQ(session.sortWrites().size(), 1u);
    session.settle(true);

    // Both change again while the question is open.
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=60\r\n; note\r\n");
    const Kept kept = session.commit();
    EXPECT_EQ(kept, (Kept{{"samemap", "true"}, {"Nfraglimit", "60"}}));
    EXPECT_EQ(file(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=60\r\n; note\r\n");
    EXPECT_EQ(SaveCounter::renames, 0);

    // One key stale, one not: the other is saved, in one save.
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=60\r\n");
    write("samemap", "false");
    write("Nfraglimit", "61");
    EXPECT_TRUE(session.sortWrites().empty());
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=70\r\n");
    EXPECT_EQ(session.commit(), (Kept{{"Nfraglimit", "70"}}));
    EXPECT_EQ(file(), "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=70\r\n");
    EXPECT_EQ(SaveCounter::renames, 1);
    EXPECT_TRUE(failed.empty());
}

TEST_F(Session, AFailedSaveReportsEveryPendingWriteInOrderAndWritesNothing) {
    const std::string before = "; mine\r\n[Gomcfg]\r\nNfraglimit=7\r\nsamemap=true\r\n";
    otherProgramWrites(before);
    show("Nfraglimit");
    show("samemap");
    otherProgramWrites(before + "Ntimelimit=3\r\n");
    show("Ntimelimit");
    otherProgramWrites(before + "Ntimelimit=4\r\n");
    write("samemap", "false");
    write("Ntimelimit", "3"); // kept: not written, so not reported
    write("Nfraglimit", "7"); // holds what the file holds: still part of the save
    write("cheating", "true");
    EXPECT_TRUE(session.sortWrites().empty());
    SaveCounter::refuseRename = true;
    EXPECT_EQ(session.commit(), (Kept{{"Ntimelimit", "4"}}));
    EXPECT_EQ(failed, (std::vector<std::string>{"samemap", "Nfraglimit", "cheating"}));
    EXPECT_EQ(file(), before + "Ntimelimit=4\r\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"GombleTroveII.ini"});

    // A file that can't even be read is reported by the save in the same way.
    SaveCounter::refuseRename = false;
    failed.clear();
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    write("samemap", "false");
    write("cheating", "true");
    EXPECT_TRUE(session.sortWrites().empty());
    EXPECT_TRUE(session.commit().empty());
    EXPECT_EQ(failed, (std::vector<std::string>{"samemap", "cheating"}));
}

TEST_F(Session, DiscardedOrUncommittedWritesWriteNothing) {
    show("samemap");
    write("samemap", "true");
    write("Nfraglimit", "3");
    EXPECT_TRUE(session.sortWrites().empty());
    session.discardWrites();
    EXPECT_TRUE(session.commit().empty());
    {
        SettingsSession cancelled(path(), disk);
        cancelled.addWrite("samemap", "true", {});
    }
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(SaveCounter::renames, 0);
}

TEST(SettingsFile, IsInWindirElseTheCurrentDirectory) {
    const char* old = std::getenv("GOMCFG_WINDIR");
    const std::string saved = old ? old : "";
    ::setenv("GOMCFG_WINDIR", "/srv/game", 1);
    EXPECT_EQ(SettingsFilePath(), "/srv/game/GombleTroveII.ini");
    ::setenv("GOMCFG_WINDIR", "/srv/game/", 1);
    EXPECT_EQ(SettingsFilePath(), "/srv/game/GombleTroveII.ini");
    ::setenv("GOMCFG_WINDIR", "", 1);
    EXPECT_EQ(SettingsFilePath(), "./GombleTroveII.ini");
    ::unsetenv("GOMCFG_WINDIR");
    EXPECT_EQ(SettingsFilePath(), "./GombleTroveII.ini");
    if (old)
        ::setenv("GOMCFG_WINDIR", saved.c_str(), 1);
}
