#include "support/StoreSupport.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <vector>

using namespace std::string_literals;
using Status = ProfileWriteResult::Status;

namespace {

ProfileEdit set(std::string key, std::string value) {
    return {std::move(key), std::move(value), std::nullopt};
}

ProfileEdit setIf(std::string key, std::string value, std::optional<std::string> expected) {
    return {std::move(key), std::move(value), std::move(expected)};
}

ProfileWriteResult putAll(const std::vector<ProfileEdit>& edits, const char* section = "S",
                          const ProfileIo& io = kSystemProfileIo) {
    return WritePrivateProfileKeys(section, edits, kIni, ProfileWriteMode::Write, io);
}

// Far in the past, so a rewrite within the same second still shows.
void ageFile(const std::string& path) {
    const timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st;
}

} // namespace

// A batch must leave exactly the bytes that the same writes one after the other leave, whatever
// the file's line ends, encoding, stray bytes or duplicate sections.
TEST(ProfileBatch, EqualsTheSameSingleWritesInOrder) {
    const std::vector<std::string> files = {
        "",
        "[S]\r\na=1\r\nb=2\r\n",
        "[S]\na=1\n\n; c\n[T]\nb=9\n",
        "[S]\ra=1\rb=2",
        "\x01\xff pre\r\n[Other]\r\nA=x\r\n[ s ]  tail\r\n  A = \"q\" \r\nb\r\n[S]\r\nc=dup\r\n"s,
        "[T]\r\nx=1",
        "[S]\r\na=1\nb=2\r\n\r\n",
        // The section's own lines end otherwise than the rest of the file, or not at all.
        "[T]\r\nx=1\r\n[S]\na=1\n",
        "[S]\na=1\n[T]\r\nx=1\r\n",
        "[T]\nx=1\n[S]",
        "[T]\rx=1\r[S]\r\n",
    };
    const std::vector<ProfileEdit> edits = {
        set("A", "one"),      set(" c ", "new"),          set("b", ""),
        set("a", " spaced "), {"gone", std::nullopt, {}}, set("d", "last")};
    // A name with ']' never reads back as its own header, so each write adds it again.
    for (const char* section : {" S ", "x]y"})
        for (const std::string& before : files) {
            for (const bool utf16 : {false, true}) {
                const std::string start =
                    utf16 ? utf16LeFile(std::u16string(before.begin(), before.end())) : before;
                std::string expected;
                {
                    WorkDir dir;
                    putBytes(dir, start);
                    for (const ProfileEdit& e : edits)
                        ASSERT_EQ(WritePrivateProfileString(section, e.key.c_str(),
                                                            e.value ? e.value->c_str() : nullptr,
                                                            kIni),
                                  TRUE);
                    expected = bytesOf(dir);
                }
                WorkDir dir;
                putBytes(dir, start);
                EXPECT_EQ(putAll(edits, section).status, Status::Written);
                EXPECT_EQ(bytesOf(dir), expected)
                    << "editing [" << section << "] in " << before << (utf16 ? " as UTF-16" : "");
            }
        }
}

TEST(ProfileBatch, ValuesAlreadyStoredLeaveTheFileUntouched) {
    WorkDir dir;
    const std::string before = "[S]\nk=1\nj=two\n";
    putBytes(dir, before);
    ::chmod(dir.filePath(kIni).c_str(), 0604);
    ageFile(dir.filePath(kIni));
    const struct stat old = statOf(dir.filePath(kIni));

    EXPECT_EQ(putAll({set("k", "1"), set("J", "two"), {"absent", std::nullopt, {}}}).status,
              Status::Unchanged);
    const struct stat now = statOf(dir.filePath(kIni));
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec);
    EXPECT_EQ(bytesOf(dir), before);
    EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kIni});

    // One real change among them rewrites the file once, keeping its mode.
    EXPECT_EQ(putAll({set("k", "1"), set("j", "three")}).status, Status::Written);
    EXPECT_EQ(bytesOf(dir), "[S]\nk=1\nj=three\n");
    EXPECT_EQ(modeOf(dir.filePath(kIni)), 0604u);

    // An empty batch on a missing file creates nothing; a removal creates it empty, as Windows.
    WorkDir empty;
    EXPECT_EQ(putAll({}).status, Status::Unchanged);
    EXPECT_FALSE(empty.exists(kIni));
    EXPECT_EQ(putAll({{"k", std::nullopt, {}}}).status, Status::Written);
    EXPECT_TRUE(empty.exists(kIni));
    EXPECT_EQ(bytesOf(empty), "");
}

// The expectation is the text a reader gets: trimmed and unquoted, missing when the key or its
// '=' is missing.
TEST(ProfileBatch, StaleExpectationWritesNothingAndNamesEveryStaleKey) {
    WorkDir dir;
    const std::string before = "[S]\r\nq = \"v w\" \r\nk=1\r\nbare\r\n";
    putBytes(dir, before);
    ageFile(dir.filePath(kIni));

    const ProfileWriteResult stale =
        putAll({setIf("k", "2", "0"), setIf("q", "x", "v w"), setIf("new", "3", "old"),
                setIf("K", "5", std::nullopt), set("free", "4")});
    EXPECT_EQ(stale.status, Status::Stale);
    ASSERT_EQ(stale.stale.size(), 3u);
    EXPECT_EQ(stale.stale[0].key, "k");
    EXPECT_EQ(stale.stale[0].current, "1");
    EXPECT_EQ(stale.stale[1].key, "new");
    EXPECT_EQ(stale.stale[1].current, std::nullopt);
    EXPECT_EQ(stale.stale[2].key, "K");
    EXPECT_EQ(stale.stale[2].current, "1");
    EXPECT_EQ(bytesOf(dir), before);
    EXPECT_EQ(statOf(dir.filePath(kIni)).st_mtim.tv_sec, 1000000000);

    const ProfileWriteResult fresh =
        putAll({setIf("k", "2", "1"), setIf("Q", "x", "v w"), setIf("new", "3", std::nullopt),
                setIf("bare", "4", std::nullopt)});
    EXPECT_EQ(fresh.status, Status::Written);
    EXPECT_TRUE(fresh.stale.empty());
    EXPECT_EQ(bytesOf(dir), "[S]\r\nq=x\r\nk=2\r\nbare=4\r\nnew=3\r\n");

    // Expectations on a UTF-16LE file compare decoded text.
    putBytes(dir, utf16LeFile(u"[S]\r\nk=Größe\r\n"));
    EXPECT_EQ(putAll({setIf("k", "klein", "Größe")}).status, Status::Written);
    EXPECT_EQ(bytesOf(dir), utf16LeFile(u"[S]\r\nk=klein\r\n"));
}

TEST(ProfileBatch, FailureLeavesTheFileAndTellsWhy) {
    {
        WorkDir dir;
        const ProfileWriteResult missingDir =
            WritePrivateProfileKeys("S", std::vector{set("k", "1")}, "no/such/dir/test.ini");
        EXPECT_EQ(missingDir.status, Status::Failed);
        EXPECT_EQ(missingDir.error, ENOENT);
    }
    for (const int error : {ENOSPC, EIO}) {
        WorkDir dir;
        const std::string before = "[S]\nk=1\n"s + std::string(100000, ';') + "\n";
        putBytes(dir, before);
        Faults faults;
        faults.spaceLeft = 4096;
        faults.error = error;
        FaultScope scope(faults);
        const ProfileWriteResult full = putAll({set("k", "2"), set("j", "3")}, "S", scope.io());
        EXPECT_EQ(full.status, Status::Failed);
        EXPECT_EQ(full.error, error);
        EXPECT_EQ(bytesOf(dir), before);
        EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{kIni});
    }
    {
        WorkDir dir;
        putBytes(dir, "[S]\nk=1\n");
        ::chmod(dir.filePath(kIni).c_str(), 0444);
        const ProfileWriteResult readOnly = putAll({set("k", "2")});
        EXPECT_EQ(readOnly.status, Status::Failed);
        EXPECT_EQ(readOnly.error, EACCES);
        EXPECT_EQ(bytesOf(dir), "[S]\nk=1\n");
    }
    {
        WorkDir dir;
        ASSERT_TRUE(std::filesystem::create_directory(dir.filePath(kIni)));
        const ProfileWriteResult directory = putAll({set("k", "2")});
        EXPECT_EQ(directory.status, Status::Failed);
        EXPECT_EQ(directory.error, EISDIR);
    }
}

TEST(ProfileBatch, ReadingTheWholeTextTellsMissingFromUnreadable) {
    WorkDir dir;
    const ProfileText missing = ReadPrivateProfileText(kIni);
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.error, 0);

    putBytes(dir, utf16LeFile(u"[S]\r\nk=Größe\r\n"));
    const ProfileText utf16 = ReadPrivateProfileText(kIni);
    EXPECT_TRUE(utf16.exists);
    EXPECT_EQ(utf16.text, "[S]\r\nk=Größe\r\n");

    ASSERT_TRUE(std::filesystem::remove(dir.filePath(kIni)));
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath(kIni)));
    const ProfileText directory = ReadPrivateProfileText(kIni);
    EXPECT_FALSE(directory.exists);
    EXPECT_EQ(directory.error, EISDIR);
}
