#include "support/StoreSupport.h"

#include "platform/store/SaveFileNames.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

namespace {

BOOL put(const char* key, const char* value, const char* file = kIni,
         const ProfileIo& io = kSystemProfileIo) {
    return WritePrivateProfileString("S", key, value, file, io);
}

const std::string kOriginal = "[S]\r\nk=1\r\n; keep me\r\n";

bool isSymlink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

TEST(ProfileFiles, FailedSaveLeavesTheOriginalAndNoTemporaryFile) {
    const std::pair<const char*, Faults> cases[] = {
        {"disk full at once", {.failWrite = 0, .error = ENOSPC}},
        {"disk full after a short write", {.failWrite = 1, .chunk = 5, .error = ENOSPC}},
        {"file flush fails", {.failFsync = 0}},
        {"rename fails", {.failRename = true}},
    };
    for (const auto& [what, faults] : cases) {
        WorkDir dir;
        putBytes(dir, kOriginal);
        const auto before = entriesOf(dir.path());
        for (const char* file : {kIni, "new.ini"}) {
            FaultScope scope(faults);
            EXPECT_EQ(put("k", "2", file, scope.io()), FALSE) << what << " " << file;
        }
        EXPECT_EQ(bytesOf(dir), kOriginal) << what;
        EXPECT_EQ(entriesOf(dir.path()), before) << what;
    }
}

TEST(ProfileFiles, ShortAndInterruptedWritesStillSaveEverything) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    FaultScope scope({.interruptWrite = 1, .chunk = 3});
    EXPECT_EQ(put("k", "a longer value", kIni, scope.io()), TRUE);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk=a longer value\r\n; keep me\r\n");
}

TEST(ProfileFiles, FailedDirectoryFlushIsReportedThoughTheNewBytesAreInPlace) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    const auto before = entriesOf(dir.path());
    FaultScope scope({.failFsync = 1});
    EXPECT_EQ(put("k", "2", kIni, scope.io()), FALSE);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk=2\r\n; keep me\r\n");
    EXPECT_EQ(entriesOf(dir.path()), before);
}

TEST(ProfileFiles, ReadOnlyFileIsRefusedEvenForRoot) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    ASSERT_EQ(::chmod(kIni, 0444), 0);
    EXPECT_EQ(put("k", "2"), FALSE);
    EXPECT_EQ(bytesOf(dir), kOriginal);
    EXPECT_EQ(modeOf(dir.filePath(kIni)), 0444u);
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kIni});
}

TEST(ProfileFiles, ReadOnlyDirectoryIsRefused) {
    WorkDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("ro")));
    putBytes(dir, kOriginal, "ro/test.ini");
    ASSERT_EQ(::chmod("ro", 0555), 0);
    EXPECT_EQ(put("k", "2", "ro/test.ini"), FALSE);
    EXPECT_EQ(put("k", "2", "ro/new.ini"), FALSE);
    ASSERT_EQ(::chmod("ro", 0755), 0);
    EXPECT_EQ(bytesOf(dir, "ro/test.ini"), kOriginal);
    EXPECT_EQ(entriesOf(dir.filePath("ro")), std::set<std::string>{kIni});
}

TEST(ProfileFiles, MissingDirectoryIsNotCreated) {
    WorkDir dir;
    EXPECT_EQ(put("k", "v", "nodir/test.ini"), FALSE);
    EXPECT_EQ(put("k", "v", "nodir/deeper/test.ini"), FALSE);
    EXPECT_TRUE(entriesOf(dir.path()).empty());
}

TEST(ProfileFiles, DirectoryOrFifoInPlaceOfTheFileIsRefused) {
    WorkDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath(kIni)));
    EXPECT_EQ(put("k", "v"), FALSE);
    EXPECT_TRUE(std::filesystem::is_directory(dir.filePath(kIni)));
    ASSERT_EQ(::mkfifo("fifo.ini", 0600), 0);
    EXPECT_EQ(put("k", "v", "fifo.ini"), FALSE);
    EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kIni, "fifo.ini"}));
}

TEST(ProfileFiles, SymlinkStaysALinkAndItsTargetIsUpdated) {
    WorkDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("real")));
    putBytes(dir, kOriginal, "real/t.ini");
    ASSERT_EQ(::symlink("real/t.ini", kIni), 0);
    ASSERT_EQ(::symlink(dir.filePath(kIni).c_str(), "chain.ini"), 0);
    ASSERT_EQ(::symlink("real/new.ini", "dangling.ini"), 0);

    EXPECT_EQ(put("k", "2", "chain.ini"), TRUE);
    EXPECT_EQ(put("k", "3", "dangling.ini"), TRUE);
    EXPECT_TRUE(isSymlink(dir.filePath(kIni)));
    EXPECT_TRUE(isSymlink(dir.filePath("chain.ini")));
    EXPECT_TRUE(isSymlink(dir.filePath("dangling.ini")));
    EXPECT_EQ(bytesOf(dir, "real/t.ini"), "[S]\r\nk=2\r\n; keep me\r\n");
    EXPECT_EQ(bytesOf(dir, "real/new.ini"), "[S]\r\nk=3\r\n");
    EXPECT_EQ(entriesOf(dir.filePath("real")), (std::set<std::string>{"t.ini", "new.ini"}));
    EXPECT_EQ(entriesOf(dir.path()),
              (std::set<std::string>{"real", kIni, "chain.ini", "dangling.ini"}));
}

TEST(ProfileFiles, ModeAndOwnerAreKept) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    ASSERT_EQ(::chmod(kIni, 0604), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(kIni, 65534, 65534), 0);
    }
    EXPECT_EQ(put("k", "2"), TRUE);
    EXPECT_EQ(modeOf(dir.filePath(kIni)), 0604u);
    struct stat st {};
    ASSERT_EQ(::stat(kIni, &st), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
}

TEST(ProfileFiles, ConcurrentWritersLoseNoUpdate) {
    WorkDir dir;
    constexpr int kWriters = 4;
    constexpr int kKeysEach = 10;
    // Each save opens the directory afresh, so threads contend for the lock as processes do.
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([w] {
            for (int k = 0; k < kKeysEach; ++k)
                put(("w" + std::to_string(w) + "k" + std::to_string(k)).c_str(), "x");
        });
    for (auto& writer : writers)
        writer.join();
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kKeysEach; ++k) {
            const std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
            EXPECT_EQ(profileString("S", key.c_str()), "x") << key;
        }
}

TEST(ProfileFiles, SaveWaitsForAnotherWriterButNotForADeadOne) {
    WorkDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls after fork.
        const int fd = ::open(".", O_RDONLY | O_DIRECTORY);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "1", 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);

    auto save = std::async(std::launch::async, [] { return put("k", "v"); });
    EXPECT_EQ(save.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(save.get(), TRUE);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk=v\r\n");
}

namespace {

ProfileWriteResult putKey(const char* key, const char* value, const ProfileIo& io) {
    const ProfileEdit edit{key, value, {}};
    return WritePrivateProfileKeys("S", {&edit, 1}, kIni, ProfileWriteMode::Write, io);
}

} // namespace

TEST(ProfileFiles, OnlyAFailedLastFlushSaysTheNewTextIsInTheFile) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    {
        FaultScope scope({.failFsync = 0});
        const ProfileWriteResult result = putKey("k", "2", scope.io());
        EXPECT_EQ(result.status, ProfileWriteResult::Status::Failed);
        EXPECT_EQ(result.error, EIO);
        EXPECT_FALSE(result.contentsWritten);
    }
    FaultScope scope({.failFsync = 1});
    const ProfileWriteResult result = putKey("k", "2", scope.io());
    EXPECT_EQ(result.status, ProfileWriteResult::Status::Failed);
    EXPECT_TRUE(result.contentsWritten);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk=2\r\n; keep me\r\n");
}

// A file with a second name is rewritten in place: a copy of the old bytes, then the file.
// Its flushes: the copy, the directory, the file, the directory.
TEST(ProfileFiles, FailedInPlaceSavePutsTheOldBytesBackAndLeavesNothing) {
    std::string big = "[S]\r\nk=1\r\n";
    for (int i = 0; big.size() < 3000; ++i)
        big += "pad" + std::to_string(i) + "=some padding to make several writes\r\n";
    const std::pair<const char*, Faults> cases[] = {
        {"disk full for the copy", {.failWrite = 0, .error = ENOSPC}},
        {"copy flush fails", {.failFsync = 0}},
        {"copy rename fails", {.failRename = true}},
        {"directory flush after the copy fails", {.failFsync = 1}},
        {"disk full at the file's first write", {.failWrite = 4, .chunk = 1000, .error = ENOSPC}},
        {"disk full part-way through the file", {.failWrite = 5, .chunk = 1000, .error = ENOSPC}},
        {"file flush fails", {.failFsync = 2}},
    };
    for (const auto& [what, faults] : cases) {
        WorkDir dir;
        putBytes(dir, big);
        ASSERT_EQ(::link(kIni, "second.ini"), 0);
        FaultScope scope(faults);
        const ProfileWriteResult result = putKey("k", "a new value", scope.io());
        EXPECT_EQ(result.status, ProfileWriteResult::Status::Failed) << what;
        EXPECT_EQ(result.error, faults.error) << what;
        EXPECT_FALSE(result.contentsWritten) << what;
        EXPECT_EQ(bytesOf(dir), big) << what;
        EXPECT_EQ(bytesOf(dir, "second.ini"), big) << what;
        EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kIni, "second.ini"})) << what;
    }
}

TEST(ProfileFiles, FailedLastFlushOfAnInPlaceSaveLeavesTheNewBytes) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    ASSERT_EQ(::link(kIni, "second.ini"), 0);
    FaultScope scope({.failFsync = 3});
    const ProfileWriteResult result = putKey("k", "2", scope.io());
    EXPECT_EQ(result.status, ProfileWriteResult::Status::Failed);
    EXPECT_TRUE(result.contentsWritten);
    EXPECT_EQ(bytesOf(dir, "second.ini"), "[S]\r\nk=2\r\n; keep me\r\n");
    EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kIni, "second.ini"}));
}

// Files that look like a save's copy, whoever put them there, are neither read nor removed; a
// save's own copy gets a fresh name, so none of them is in its way.
TEST(ProfileFiles, FilesNamedLikeACopyAreNeitherReadNorInTheWay) {
    WorkDir dir;
    putBytes(dir, kOriginal);
    ASSERT_EQ(::link(kIni, "second.ini"), 0);
    const std::string lookalike = SaveCopyFileName(kIni);
    std::set<std::string> names = {kIni, "second.ini", ".test.ini.gomcfg-restore", lookalike};
    putBytes(dir, "[S]\r\nk=planted\r\n", ".test.ini.gomcfg-restore");
    putBytes(dir, "[S]\r\nk=planted\r\n", lookalike);
    EXPECT_EQ(profileString("S", "k"), "1");
    EXPECT_EQ(put("k", "2"), TRUE);
    EXPECT_EQ(bytesOf(dir, "second.ini"), "[S]\r\nk=2\r\n; keep me\r\n");
    EXPECT_EQ(entriesOf(dir.path()), names);
    EXPECT_EQ(LeftoverSaveCopies(kIni), std::vector<std::string>{"./" + lookalike});
    EXPECT_TRUE(IsSaveCopyFileName(lookalike, kIni));
    EXPECT_FALSE(IsSaveCopyFileName(lookalike, "test.inj"));
    EXPECT_FALSE(IsTempFileName(lookalike, kIni));
}

// Temporary and copy names are cut, so a file whose name is as long as names may be still saves,
// by rename and in place.
TEST(ProfileFiles, FileWithTheLongestNameSaves) {
    for (const std::size_t length : {219, 255}) {
        WorkDir dir;
        const std::string name = std::string(length - 4, 'n') + ".ini";
        putBytes(dir, kOriginal, name);
        EXPECT_EQ(put("k", "2", name.c_str()), TRUE) << length;
        ASSERT_EQ(::link(name.c_str(), "second.ini"), 0);
        EXPECT_EQ(put("k", "3", name.c_str()), TRUE) << length;
        EXPECT_EQ(bytesOf(dir, "second.ini"), "[S]\r\nk=3\r\n; keep me\r\n") << length;
        EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{name, "second.ini"})) << length;
        EXPECT_LE(SaveCopyFileName(name).size(), 255u);
        EXPECT_LE(TempFileName(name).size(), 255u);
    }
}

// Names carry a check of their random part against the whole name of the file they belong to.
TEST(ProfileFiles, ChecksumIsTheSameWhateverThePieces) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += static_cast<char>(i * 37);
    const std::uint64_t whole = Checksum::of(text);
    for (std::size_t a = 0; a <= text.size(); a += 3)
        for (std::size_t b = a; b <= text.size(); b += 7) {
            Checksum sum;
            for (const std::string_view piece :
                 {std::string_view(text).substr(0, a), std::string_view(text).substr(a, b - a),
                  std::string_view(text).substr(b)})
                sum.add(piece);
            ASSERT_EQ(sum.value(), whole) << a << " " << b;
        }
    EXPECT_NE(Checksum::of(std::string_view("ab", 2)), Checksum::of(std::string_view("ab\0", 3)));
    EXPECT_NE(Checksum::of(text.substr(1)), whole);
}
