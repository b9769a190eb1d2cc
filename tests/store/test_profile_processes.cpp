#include "support/LockHolder.h"
#include "support/ModelSupport.h"
#include "support/StoreSupport.h"

#include "model/PageCodecs.h"
#include "platform/store/IniDocument.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"
#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

// Writers in processes of their own (tests/helpers/profile_writer.cpp): killed mid-save, two at
// once on one file, and one that keeps the lock.

namespace {

// The last number a killed loop writer printed, 0 when none. Each number arrives whole, with
// its line end, in one write to the pipe.
unsigned long lastReported(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    if (text.empty())
        return 0;
    text.pop_back();
    const std::size_t from = text.rfind('\n') + 1; // 0 when there is only one line
    unsigned long value = 0;
    std::from_chars(text.data() + from, text.data() + text.size(), value);
    return value;
}

// The file's state after the writer got to value: everything but the counter line stays.
std::string fileWith(unsigned long value) {
    static const std::string head = [] {
        std::string h = "; crash test\r\n[Gomcfg]\r\n";
        for (int i = 0; i < 1500; ++i)
            h += "padding" + std::to_string(i) + "=some text to make the save take a while\r\n";
        return h;
    }();
    return head + "counter=" + std::to_string(value) + "\r\n[Other]\r\nkey=kept\r\n";
}

} // namespace

TEST(ProfileProcesses, AWriterThatKeepsTheLockFailsEachSaveAndNothingIsWritten) {
    WorkDir dir;
    const std::string stored = "; mine\r\n[Gomcfg]\r\nNfraglimit=7\r\n";
    const std::string saveError = "ERROR: Problem saving GombleTroveII.ini\n";
    putBytes(dir, stored, kSettingsFileName);
    ProfileIo disk;
    SettingsSession session(SettingsFilePath(), disk);
    ScriptedPrompts messages;
    PageIo io{session, messages};
    const auto save = [&session] {
        session.sortWrites();
        session.commit();
    };
    {
        disk.lockWait = std::chrono::milliseconds(100);
        LockHolder holder(dir.path());
        WriteIntSetting(io, 12, "Nfraglimit");
        WriteBoolSetting(io, 1, "samemap");
        save();
        EXPECT_EQ(messages.messages, std::vector<std::string>(2, saveError));
        EXPECT_EQ(bytesOf(dir, kSettingsFileName), stored);
        EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kSettingsFileName});
    }
    disk.lockWait = kProfileLockWait;
    WriteIntSetting(io, 12, "Nfraglimit");
    save();
    EXPECT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(bytesOf(dir, kSettingsFileName), "; mine\r\n[Gomcfg]\r\nNfraglimit=12\r\n");
}

// With the wait the program uses, a holder that lets go at once or only after a good while: the
// save succeeds once the lock is free, and not before.
TEST(ProfileProcesses, ASaveWaitsForAWriterThatLetsGoWithinTheWait) {
    for (const auto held : {std::chrono::milliseconds(100), std::chrono::milliseconds(1500)}) {
        ASSERT_LT(held, kProfileLockWait);
        SCOPED_TRACE(held.count());
        WorkDir dir;
        putBytes(dir, "[S]\r\nk=1\r\n");
        LockHolder holder(dir.path());
        const auto start = std::chrono::steady_clock::now();
        std::thread releaser([&] {
            std::this_thread::sleep_for(held);
            holder.release();
        });
        EXPECT_EQ(WritePrivateProfileString("S", "k", "2", kIni), TRUE);
        const auto waited = std::chrono::steady_clock::now() - start;
        releaser.join();
        EXPECT_GE(waited, held);
        EXPECT_EQ(bytesOf(dir), "[S]\r\nk=2\r\n");
    }
}

namespace {

// The counter in a text of fileWith(), when the text is whole.
std::optional<unsigned long> wholeFileValue(const std::string& text) {
    const auto value = IniDocument(text).value("Gomcfg", "counter");
    unsigned long found = 0;
    if (!value ||
        std::from_chars(value->data(), value->data() + value->size(), found).ec != std::errc() ||
        text != fileWith(found))
        return std::nullopt;
    return found;
}

// What an admin does with a killed save's copy: the file is put back from it when the save left
// it damaged, under the writers' lock so no reader sees that half done, and the copy goes.
void restoreByHand(const std::string& path, const std::string& copy, bool damaged) {
    if (damaged) {
        std::string old;
        ASSERT_TRUE(ReadRegularFile(copy, old, std::chrono::milliseconds(0)));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        ASSERT_EQ(::ftruncate(fd, 0), 0);
        ASSERT_EQ(::write(fd, old.data(), old.size()), ssize_t(old.size()));
        ::close(fd);
    }
    ASSERT_EQ(::unlink(copy.c_str()), 0);
}

// Kills a writer that saves back to back, rounds times at random moments. With a second name
// for the file, each save rewrites it in place, and a reader keeps reading meanwhile: it never
// sees a save half done, only a file that a killed save left damaged, beside its copy.
void killWritersRepeatedly(int rounds, bool linked) {
    WorkDir dir;
    const std::string path = dir.filePath(kIni);
    putBytes(dir, fileWith(0));
    std::set<std::string> names = {kIni};
    if (linked) {
        ASSERT_EQ(::link(kIni, "second.ini"), 0);
        names.insert("second.ini");
    }
    std::mutex seenMutex;
    std::set<std::string> damagedSeenByReader;
    std::set<std::string> damagedLeftByKills;
    std::atomic<bool> reading{linked};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (reading) {
            const std::string text = ReadPrivateProfileText(kIni).text;
            if (!wholeFileValue(text)) {
                const std::lock_guard lock(seenMutex);
                damagedSeenByReader.insert(text);
            }
            ++reads;
        }
    });
    std::mt19937 rng(7);
    unsigned long current = 0;
    int killedWithTemp = 0;
    int killedAfterWrites = 0;
    int killedWithCopy = 0;
    int killedMidWrite = 0;
    for (int round = 0; round < rounds; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
        const pid_t writer = startWriter({"loop", path, "Gomcfg", "counter"}, -1, pipeFds[1]);
        ASSERT_GT(writer, 0);
        ::close(pipeFds[1]);
        // Mostly once saves are under way, sometimes while the process is still starting.
        unsigned long first = 0;
        if (round % 10 != 0) {
            // A writer kept waiting by what the killed one left behind would never report.
            pollfd ready{pipeFds[0], POLLIN, 0};
            if (::poll(&ready, 1, 10000) != 1) {
                ::kill(writer, SIGKILL);
                exitStatus(writer);
                FAIL() << "round " << round << ": no save in 10 s";
            }
            char c = 0;
            while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
                first = first * 10 + static_cast<unsigned long>(c - '0');
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 4000)(rng)));
        ::kill(writer, SIGKILL);
        EXPECT_EQ(exitStatus(writer), 128 + SIGKILL);
        const unsigned long last = std::max(first, lastReported(pipeFds[0]));
        ::close(pipeFds[0]);

        // Either the last save that returned, or the one under way when the kill came; in place,
        // also a file that save left half written, with a copy of the last one beside it.
        const unsigned long before = last ? last : current;
        const std::string bytes = ReadPrivateProfileText(kIni).text;
        const auto copies = LeftoverSaveCopies(kIni);
        ASSERT_LE(copies.size(), 1u) << "round " << round;
        const auto found = wholeFileValue(bytes);
        if (!found) {
            ASSERT_TRUE(linked) << "round " << round << ": a save by rename left a mix";
            ASSERT_EQ(copies.size(), 1u) << "round " << round << ": damaged, and no copy";
            damagedLeftByKills.insert(bytes);
            ++killedMidWrite;
        } else {
            ASSERT_TRUE(*found == before || *found == last + 1)
                << "round " << round << ": file has " << *found << ", last save returned " << last;
        }
        if (!copies.empty()) {
            std::string copied;
            ASSERT_TRUE(ReadRegularFile(copies.front(), copied, std::chrono::milliseconds(0)));
            ASSERT_EQ(copied, fileWith(before)) << "round " << round;
            ASSERT_EQ(modeOf(copies.front()), 0600u);
            restoreByHand(path, copies.front(), !found);
            ++killedWithCopy;
        }
        current = found ? *found : before;
        ASSERT_EQ(bytesOf(dir), fileWith(current)) << "round " << round;
        killedAfterWrites += last > 0;

        const auto entries = entriesOf(dir.path());
        killedWithTemp += entries.size() > names.size();
        for (const std::string& name : entries)
            ASSERT_TRUE(names.contains(name) || name.starts_with(".test.ini.gomcfg-")) << name;
    }
    reading = false;
    reader.join();
    for (const std::string& text : damagedSeenByReader)
        EXPECT_TRUE(damagedLeftByKills.contains(text))
            << "a reader saw a save half done: " << text.size() << " bytes";
    // What killed writers left goes with the next save.
    EXPECT_EQ(WritePrivateProfileString("Gomcfg", "counter", "0", kIni), TRUE);
    EXPECT_EQ(bytesOf(dir), fileWith(0));
    if (linked) {
        EXPECT_EQ(bytesOf(dir, "second.ini"), fileWith(0));
    }
    EXPECT_EQ(entriesOf(dir.path()), names);
    EXPECT_GE(killedAfterWrites, rounds * 9 / 10);
    std::printf("%d kills: %d after at least one save, %d left a file of ours, %d a copy, %d a "
                "damaged file; %d reads\n",
                rounds, killedAfterWrites, killedWithTemp, killedWithCopy, killedMidWrite,
                reads.load());
}

} // namespace

TEST(ProfileProcesses, KilledWriterLeavesTheOldOrTheNewFileAndNeverBlocksTheNext) {
    killWritersRepeatedly(300, false);
}

TEST(ProfileProcesses, KilledInPlaceWriterLeavesTheOldOrTheNewFileToEveryReader) {
    killWritersRepeatedly(150, true);
}

TEST(ProfileProcesses, ReadersNeverSeeAFileHalfRewrittenInPlace) {
    WorkDir dir;
    // The counter comes first, and its length changes with every save, so the rest moves.
    const auto layout = [](std::string_view value) {
        std::string text = "[Gomcfg]\r\ncounter=" + std::string(value) + "\r\n";
        for (int i = 0; i < 300; ++i)
            text += "padding" + std::to_string(i) + "=text that moves with the counter\r\n";
        return text;
    };
    putBytes(dir, layout("0"));
    ASSERT_EQ(::link(kIni, "second.ini"), 0);
    const pid_t writer =
        startWriter({"loop", dir.filePath(kIni), "Gomcfg", "counter", "512"}, -1, -1);
    int reads = 0;
    int changes = 0;
    std::string last = layout("0");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until) {
        const std::string text = ReadPrivateProfileText(kIni).text;
        const auto value = IniDocument(text).value("Gomcfg", "counter");
        if (!value || text != layout(*value)) {
            ADD_FAILURE() << "a reader saw a half-written file after " << reads << " reads";
            break;
        }
        changes += text != last;
        last = text;
        ++reads;
    }
    ::kill(writer, SIGKILL);
    EXPECT_EQ(exitStatus(writer), 128 + SIGKILL);
    EXPECT_GT(changes, 10);
    std::printf("%d reads saw %d saves\n", reads, changes);
}

TEST(ProfileProcesses, OnlyFilesOfOursAreRemoved) {
    WorkDir dir;
    putBytes(dir, "[S]\r\nk=1\r\n");
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ASSERT_EQ(exitStatus(dead), 0);
    const std::string deadPid = std::to_string(dead);
    // Named like temporaries, by people or by other programs; the last two are near misses of
    // names of ours.
    std::set<std::string> kept = {
        kIni,
        ".test.ini." + deadPid + ".0.tmp",
        ".test.ini.999999.1.tmp",
        ".other.ini." + deadPid + ".0.tmp",
        ".test.ini.gomcfg-0123456789abcdef01234567.tmp",
        "test.ini.gomcfg-restore",
    };
    for (const std::string& name : kept)
        if (name != kIni)
            putBytes(dir, "x", name);
    // Writers of ours killed before their rename go; the copy of a killed in-place save stays
    // for an admin, unread.
    putBytes(dir, "half a file", TempFileName(kIni));
    putBytes(dir, "", TempFileName(kIni));
    const std::string copy = SaveCopyFileName(kIni);
    putBytes(dir, "[S]\r\nk=0\r\n", copy);
    kept.insert(copy);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "2", kIni), TRUE);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk=2\r\n");
    EXPECT_EQ(entriesOf(dir.path()), kept);
}

TEST(ProfileProcesses, TwoWriterProcessesLoseNoneOfEachOthersKeys) {
    WorkDir dir;
    putBytes(dir, "; shared\n[Gomcfg]\nshotgun=true\n");
    const std::string path = dir.filePath(kIni);
    constexpr int kWrites = 1000;
    int start[2];
    ASSERT_EQ(::pipe2(start, O_CLOEXEC), 0);
    const pid_t a =
        startWriter({"keys", path, "Gomcfg", "a", std::to_string(kWrites)}, start[0], -1);
    const pid_t b =
        startWriter({"keys", path, "gomcfg", "b", std::to_string(kWrites)}, start[0], -1);
    ::close(start[0]);
    ::close(start[1]); // both go
    EXPECT_EQ(exitStatus(a), 0);
    EXPECT_EQ(exitStatus(b), 0);

    const std::string bytes = bytesOf(dir);
    const IniDocument doc(bytes);
    int missing = 0;
    for (int i = 0; i < kWrites; ++i)
        for (const char* prefix : {"a", "b"}) {
            const std::string key = prefix + std::to_string(i);
            const auto value = doc.value("Gomcfg", key);
            missing += !value || *value != std::to_string(i);
        }
    EXPECT_EQ(missing, 0);
    EXPECT_TRUE(bytes.starts_with("; shared\n[Gomcfg]\nshotgun=true\n"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 3 + 2 * kWrites);
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kIni});
}
