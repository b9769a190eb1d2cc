#include "support/LockHolder.h"
#include "support/StoreSupport.h"

#include "platform/store/IniDocument.h"
#include "platform/store/ReadFile.h"
#include "platform/store/SaveFileNames.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/xattr.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <tuple>

// Who may put what into the settings file: its writers; members of a group who may add files to
// the directory but not write the file; everybody else. Nothing a non-writer made is read back,
// a copy of an in-place save is its writer's alone and never undoes a later write, and writers
// through any names of one file take turns. The attacks run as the users who would make them, so
// most cases need root to start with.

namespace {

const std::string kServerText = "[Gomcfg]\r\nNfraglimit=1\r\n; server\r\nsamemap=false\r\n";
// A second member of the group games, besides nobody; a user id without a name is as good.
constexpr uid_t kOtherMember = 64123;

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

std::string contentsOf(const std::string& path) {
    std::string out;
    EXPECT_TRUE(ReadRegularFile(path, out, std::chrono::milliseconds(0))) << path;
    return out;
}

void putFile(const std::string& path, const std::string& bytes, uid_t uid, gid_t gid, mode_t mode) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f) << path;
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    EXPECT_EQ(std::fclose(f), 0);
    EXPECT_EQ(::chown(path.c_str(), uid, gid), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
}

// A POSIX ACL as the kernel keeps it in system.posix_acl_access or _default: the owner, the
// named users (each with permission 6), group, mask and other.
std::string aclBytes(unsigned owner, const std::vector<uid_t>& users, unsigned group, unsigned mask,
                     unsigned other) {
    std::string acl;
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl += static_cast<char>(value >> (8 * i));
    };
    constexpr std::uint32_t kNoId = 0xFFFFFFFF;
    put(2, 4);
    const auto entry = [&](unsigned tag, unsigned perm, std::uint32_t id) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    };
    entry(0x01, owner, kNoId);
    for (const uid_t user : users)
        entry(0x02, 6, user);
    entry(0x04, group, kNoId);
    entry(0x10, mask, kNoId);
    entry(0x20, other, kNoId);
    return acl;
}

bool hasAcl(const std::string& path) {
    return ::getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) >= 0;
}

// Root, a file system with ACLs, and kOtherMember free; or the reason to skip.
std::optional<std::string> whyNotAsUsers(const WorkDir& dir) {
    if (::geteuid() != 0)
        return "acting as the group's members needs root to start with";
    if (::getpwuid(kOtherMember))
        return "user id " + std::to_string(kOtherMember) + " is taken on this machine";
    const std::string acl = aclBytes(6, {kNobody}, 0, 6, 0);
    if (::setxattr(dir.path().c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        return "the file system of " + dir.path() + " keeps no ACLs: " + std::strerror(errno);
    ::removexattr(dir.path().c_str(), "system.posix_acl_access");
    return std::nullopt;
}

// The writer process as a member of games: nobody, or the other member.
std::vector<std::string> asMember(uid_t uid, std::vector<std::string> args) {
    args.insert(args.begin(),
                {"as", std::to_string(uid), std::to_string(kNogroup), std::to_string(kGames)});
    return args;
}

// A server directory sub of the work directory, root:games with mode dirMode, holding f.ini
// root:games with mode fileMode and kServerText.
struct ServerDir {
    ServerDir(const WorkDir& dir, const std::string& sub, mode_t dirMode, mode_t fileMode)
        : path(dir.filePath(sub)), file(path + "/f.ini") {
        EXPECT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        EXPECT_EQ(::mkdir(path.c_str(), 0700), 0);
        EXPECT_EQ(::chown(path.c_str(), 0, kGames), 0);
        EXPECT_EQ(::chmod(path.c_str(), dirMode), 0);
        putFile(file, kServerText, 0, kGames, fileMode);
    }
    std::string path;
    std::string file;
};

// The save's own calls, numbered as profile_writer crash counts them: the copy's write, flush,
// rename and the directory's flush; then the file's write (killed half-way) and flush.
constexpr int kFilesWrite = 4;
constexpr int kFilesFlush = 5;

} // namespace

// A member who may add files to the directory but not write the file plants what an in-place
// save of the old kind read back on its own: a copy under the old fixed name whose first line
// names the file and sums its contents, and one under a name of the new kind. Root's reads and
// saves, by rename and in place, take nothing from either, and leave them where they are.
TEST(ProfileTrust, ACopyPlantedByAMemberWhoMayNotWriteTheFileNeverReachesIt) {
    WorkDir dir;
    if (const auto reason = whyNotAsUsers(dir))
        GTEST_SKIP() << *reason;
    for (const bool linked : {false, true}) {
        const ServerDir server(dir, linked ? "linked" : "single", 03775, 0644);
        if (linked) {
            ASSERT_EQ(::link(server.file.c_str(), (server.path + "/h.ini").c_str()), 0);
        }
        const std::string cheat = "[Gomcfg]\r\ncheating=true\r\nNfraglimit=999\r\n";
        const struct stat file = statOf(server.file);
        std::string header = "gomcfg-restore 1 " + std::to_string(file.st_dev) + " " +
                             std::to_string(file.st_ino) + " " + std::to_string(cheat.size());
        char sums[64];
        std::snprintf(sums, sizeof sums, " %llx 1 0\n",
                      static_cast<unsigned long long>(Checksum::of(cheat)));
        const std::string oldStyle = server.path + "/.f.ini.gomcfg-restore";
        const std::string newStyle = server.path + "/" + SaveCopyFileName("f.ini");
        putFile(oldStyle, header + sums + cheat, kNobody, kGames, 0664);
        putFile(newStyle, cheat, kNobody, kGames, 0664);
        EXPECT_EQ(
            runWriter(asMember(kNobody, {"set", server.file, "Gomcfg", "cheating", "true"})).first,
            1)
            << "a member who may not write the file wrote it";

        const auto [status, said] = runWriter({"get", server.file, "Gomcfg", "Nfraglimit", "-"});
        EXPECT_EQ(said, "1\n");
        EXPECT_EQ(contentsOf(server.file), kServerText) << "a read wrote";
        EXPECT_EQ(runWriter({"set", server.file, "Gomcfg", "samemap", "true"}).second, "written\n");
        std::string expected = kServerText;
        expected.replace(expected.find("samemap=false"), 13, "samemap=true");
        EXPECT_EQ(contentsOf(server.file), expected) << linked;
        EXPECT_EQ(contentsOf(oldStyle), header + sums + cheat);
        EXPECT_EQ(contentsOf(newStyle), cheat);
        // Named for the admin with its owner, who may not write the file.
        EXPECT_EQ(LeftoverSaveCopies(server.file.c_str()), std::vector<std::string>{newStyle});
        EXPECT_EQ(statOf(newStyle).st_uid, kNobody);
    }
}

// The file root:games 640 lets the user nobody write it through its ACL, and the directory's
// default ACL would let the group and another user into every new file. A save by nobody goes
// in place (it may not give a new file to root), and when it is killed half-way its copy is
// nobody's alone: mode 600, no ACL. The other member can neither read nor write it, and the
// file keeps its owner, group, mode and ACL.
TEST(ProfileTrust, ACopyIsTheWritersAloneWhateverTheAclsOfFileAndDirectory) {
    WorkDir dir;
    if (const auto reason = whyNotAsUsers(dir))
        GTEST_SKIP() << *reason;
    const ServerDir server(dir, "acl", 02775, 0640);
    const std::string fileAcl = aclBytes(6, {kNobody}, 4, 6, 0);
    ASSERT_EQ(::setxattr(server.file.c_str(), "system.posix_acl_access", fileAcl.data(),
                         fileAcl.size(), 0),
              0);
    const std::string dirDefault = aclBytes(7, {kOtherMember}, 7, 7, 0);
    ASSERT_EQ(::setxattr(server.path.c_str(), "system.posix_acl_default", dirDefault.data(),
                         dirDefault.size(), 0),
              0);
    const struct stat before = statOf(server.file);
    const auto [status, said] =
        runWriter(asMember(kNobody, {"crash", std::to_string(kFilesWrite), server.file, "Gomcfg",
                                     "Nfraglimit", "300"}));
    ASSERT_EQ(status, 128 + SIGKILL) << said;
    const auto copies = LeftoverSaveCopies(server.file.c_str());
    ASSERT_EQ(copies.size(), 1u);
    const struct stat copy = statOf(copies.front());
    EXPECT_EQ(copy.st_uid, kNobody);
    EXPECT_EQ(copy.st_mode & 07777, 0600u);
    EXPECT_FALSE(hasAcl(copies.front()));
    EXPECT_EQ(contentsOf(copies.front()), kServerText);
    EXPECT_EQ(runWriter(asMember(kOtherMember, {"try", copies.front()})).second,
              "read 13\nwrite 13\n");
    const struct stat after = statOf(server.file);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, kGames);
    EXPECT_EQ(after.st_mode, before.st_mode);
    char acl[256];
    const ssize_t n = ::getxattr(server.file.c_str(), "system.posix_acl_access", acl, sizeof acl);
    EXPECT_EQ(std::string(acl, std::size_t(std::max<ssize_t>(n, 0))), fileAcl);
}

// One member's save is killed half-way through the file. Another member then reads the file as
// it is, saves it, and finds the first one's copy left for the admin, unreadable to them; an
// owner outside the file's group saves in place and keeps group, mode and inode.
TEST(ProfileTrust, MembersSaveAfterAnotherMembersKilledSaveAndKeepTheFilesOwnership) {
    WorkDir dir;
    if (const auto reason = whyNotAsUsers(dir))
        GTEST_SKIP() << *reason;
    const ServerDir server(dir, "group", 03775, 0660);
    const struct stat before = statOf(server.file);
    ASSERT_EQ(runWriter(asMember(kNobody, {"crash", std::to_string(kFilesWrite), server.file,
                                           "Gomcfg", "Nfraglimit", "300"}))
                  .first,
              128 + SIGKILL);
    const std::string torn = contentsOf(server.file);
    EXPECT_NE(torn, kServerText);
    const auto copies = LeftoverSaveCopies(server.file.c_str());
    ASSERT_EQ(copies.size(), 1u);

    EXPECT_EQ(runWriter(asMember(kOtherMember, {"get", server.file, "Gomcfg", "ctf", "-"})).first,
              0);
    EXPECT_EQ(contentsOf(server.file), torn) << "a read wrote";
    EXPECT_EQ(
        runWriter(asMember(kOtherMember, {"set", server.file, "Gomcfg", "ctf", "true"})).second,
        "written\n");
    EXPECT_EQ(IniDocument(contentsOf(server.file)).value("Gomcfg", "ctf"), "true");
    EXPECT_EQ(LeftoverSaveCopies(server.file.c_str()), copies);
    EXPECT_EQ(runWriter(asMember(kOtherMember, {"try", copies.front()})).second,
              "read 13\nwrite 13\n");
    const struct stat after = statOf(server.file);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_gid, kGames);
    EXPECT_EQ(after.st_mode & 07777, 0660u);

    // nobody owns the file and its directory but is not in the file's group: a new file could
    // not have that group.
    const std::string own = dir.filePath("own");
    const std::string owned = own + "/f.ini";
    ASSERT_EQ(::mkdir(own.c_str(), 0755), 0);
    ASSERT_EQ(::chown(own.c_str(), kNobody, kNogroup), 0);
    putFile(owned, kServerText, kNobody, kGames, 0664);
    const struct stat ownedBefore = statOf(owned);
    const auto [status, said] =
        runWriter({"as", std::to_string(kNobody), std::to_string(kNogroup),
                   std::to_string(kNogroup), "set", owned, "Gomcfg", "noexit", "true"});
    EXPECT_EQ(said, "written\n");
    const struct stat ownedAfter = statOf(owned);
    EXPECT_EQ(ownedAfter.st_ino, ownedBefore.st_ino);
    EXPECT_EQ(ownedAfter.st_uid, kNobody);
    EXPECT_EQ(ownedAfter.st_gid, kGames);
    EXPECT_EQ(ownedAfter.st_mode & 07777, 0664u);
    EXPECT_EQ(IniDocument(contentsOf(owned)).value("Gomcfg", "noexit"), "true");
}

// A save killed once the file is whole leaves its copy; a later save through the other name,
// and later edits by other programs, in place or by rename, are never undone by a read, which
// writes nothing. The copy stays, named, until an admin removes it.
TEST(ProfileTrust, ALeftoverCopyNeverUndoesALaterWrite) {
    WorkDir dir;
    putBytes(dir, kServerText);
    ASSERT_EQ(::link(kIni, "second.ini"), 0);
    const std::string path = dir.filePath(kIni);
    ASSERT_EQ(runWriter({"crash", std::to_string(kFilesFlush), path, "Gomcfg", "Nfraglimit", "300"})
                  .first,
              128 + SIGKILL);
    const auto copies = LeftoverSaveCopies(kIni);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(WritePrivateProfileString("Gomcfg", "samemap", "true", "second.ini"), TRUE);
    const std::string confirmed = bytesOf(dir);
    EXPECT_EQ(confirmed, "[Gomcfg]\r\nNfraglimit=300\r\n; server\r\nsamemap=true\r\n");
    const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimes(kIni, old), 0);
    for (int read = 0; read < 2; ++read) {
        EXPECT_EQ(profileString("Gomcfg", "Nfraglimit"), "300");
        EXPECT_EQ(ReadPrivateProfileText(kIni).text, confirmed);
    }
    EXPECT_EQ(statOf(kIni).st_mtim.tv_sec, 1000000000) << "a read wrote";

    const std::string inPlace = "[Gomcfg]\r\nNfraglimit=5\r\n";
    putBytes(dir, inPlace, "second.ini");
    EXPECT_EQ(profileString("Gomcfg", "Nfraglimit"), "5");
    putBytes(dir, "[Gomcfg]\r\nNfraglimit=6\r\n", "renamed.ini");
    ASSERT_EQ(::rename("renamed.ini", kIni), 0);
    EXPECT_EQ(profileString("Gomcfg", "Nfraglimit"), "6");
    EXPECT_EQ(bytesOf(dir, "second.ini"), inPlace);
    EXPECT_EQ(LeftoverSaveCopies(kIni), copies);
    EXPECT_EQ(contentsOf(copies.front()), kServerText);
}

// Writers through hard links in two directories take two different directory locks; the lock on
// the file itself keeps them apart, so neither loses a key of the other's.
TEST(ProfileTrust, WritersThroughLinksInTwoDirectoriesLoseNoneOfEachOthersKeys) {
    WorkDir dir;
    ASSERT_EQ(::mkdir("a", 0755), 0);
    ASSERT_EQ(::mkdir("b", 0755), 0);
    putBytes(dir, "[Gomcfg]\r\n", "a/f.ini");
    ASSERT_EQ(::link("a/f.ini", "b/f.ini"), 0);
    constexpr int kWrites = 300;
    int start[2];
    ASSERT_EQ(::pipe2(start, O_CLOEXEC), 0);
    const pid_t a = startWriter(
        {"keys", dir.filePath("a/f.ini"), "Gomcfg", "a", std::to_string(kWrites)}, start[0], -1);
    const pid_t b = startWriter(
        {"keys", dir.filePath("b/f.ini"), "Gomcfg", "b", std::to_string(kWrites)}, start[0], -1);
    ::close(start[0]);
    ::close(start[1]);
    EXPECT_EQ(exitStatus(a), 0);
    EXPECT_EQ(exitStatus(b), 0);
    const std::string bytes = bytesOf(dir, "a/f.ini");
    const IniDocument doc(bytes);
    int missing = 0;
    for (int i = 0; i < kWrites; ++i)
        for (const char* prefix : {"a", "b"})
            missing += doc.value("Gomcfg", prefix + std::to_string(i)) != std::to_string(i);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(bytesOf(dir, "b/f.ini"), bytes);
    EXPECT_EQ(statOf("a/f.ini").st_nlink, 2u);
}

namespace {

// A program that ignores our lock and renames its own file over ours at the save's write
// call number replaceAt.
int g_replaceAt = -1;
int g_writes = 0;

ssize_t replacingWrite(int fd, const void* data, std::size_t size) {
    if (g_writes++ == g_replaceAt) {
        FILE* f = std::fopen("theirs.ini", "wb");
        std::fputs("[Gomcfg]\r\nNfraglimit=7\r\n", f);
        std::fclose(f);
        std::rename("theirs.ini", kIni);
    }
    return ::write(fd, data, size);
}

} // namespace

// Another program replaces the file while a save rewrites it in place: before the save wrote the
// file, and while it did. The save fails and says so; the other program's file stays, and the
// file the save had (still the second name's) gets its old bytes back.
TEST(ProfileTrust, AProgramThatReplacesTheFileDuringAnInPlaceSaveIsNoticed) {
    for (const int at : {0, 1}) {
        WorkDir dir;
        putBytes(dir, kServerText);
        ASSERT_EQ(::link(kIni, "second.ini"), 0);
        g_replaceAt = at;
        g_writes = 0;
        static constexpr ProfileFileOps kOps{&replacingWrite, &::fsync, &std::rename};
        const ProfileEdit edit{"Nfraglimit", "300", {}};
        const ProfileWriteResult result = WritePrivateProfileKeys(
            "Gomcfg", {&edit, 1}, kIni, ProfileWriteMode::Write, {.ops = &kOps});
        EXPECT_EQ(result.status, ProfileWriteResult::Status::Failed) << at;
        EXPECT_EQ(result.error, ESTALE) << at;
        EXPECT_FALSE(result.contentsWritten) << at;
        EXPECT_EQ(bytesOf(dir), "[Gomcfg]\r\nNfraglimit=7\r\n") << at;
        EXPECT_EQ(bytesOf(dir, "second.ini"), kServerText) << at;
        EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{kIni, "second.ini"})) << at;
    }
}

// A dry run goes as far as the write: it fails as the write would, with the same error, and
// otherwise says the write would change the file, which it leaves as it was.
TEST(ProfileTrust, DryRunFailsWhereTheWriteWouldAndWritesNothing) {
    const ProfileEdit edit{"Nfraglimit", "300", {}};
    const ProfileIo shortWait{.lockWait = std::chrono::milliseconds(100)};
    const auto attempt = [&](ProfileWriteMode mode) {
        return WritePrivateProfileKeys("Gomcfg", {&edit, 1}, kIni, mode, shortWait);
    };
    struct Case {
        const char* what;
        std::function<void(const WorkDir&)> setUp;
        int error;
    };
    const std::vector<Case> cases = {
        {"writable", [](const WorkDir&) {}, 0},
        {"read-only file", [](const WorkDir&) { ASSERT_EQ(::chmod(kIni, 0444), 0); }, EACCES},
        {"read-only directory",
         [](const WorkDir& d) { ASSERT_EQ(::chmod(d.path().c_str(), 0555), 0); }, EACCES},
    };
    for (const Case& c : cases) {
        WorkDir dir;
        putBytes(dir, kServerText);
        c.setUp(dir);
        const ProfileWriteResult dry = attempt(ProfileWriteMode::DryRun);
        EXPECT_EQ(bytesOf(dir), kServerText) << c.what;
        const ProfileWriteResult real = attempt(ProfileWriteMode::Write);
        EXPECT_EQ(dry.status, real.status) << c.what;
        EXPECT_EQ(dry.error, c.error) << c.what;
        EXPECT_EQ(real.error, c.error) << c.what;
        ::chmod(dir.path().c_str(), 0700);
    }
    // Another writer holds the directory, or the file through another of its names.
    WorkDir dir;
    putBytes(dir, kServerText);
    {
        LockHolder holder(dir.path());
        EXPECT_EQ(attempt(ProfileWriteMode::DryRun).error, EWOULDBLOCK);
        EXPECT_EQ(attempt(ProfileWriteMode::Write).error, EWOULDBLOCK);
    }
    const int held = ::open(kIni, O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(attempt(ProfileWriteMode::DryRun).error, EWOULDBLOCK);
    EXPECT_EQ(attempt(ProfileWriteMode::Write).error, EWOULDBLOCK);
    ::close(held);
    EXPECT_EQ(bytesOf(dir), kServerText);
    EXPECT_EQ(attempt(ProfileWriteMode::DryRun).status, ProfileWriteResult::Status::Written);
    EXPECT_EQ(bytesOf(dir), kServerText);
}

// A file the size of the sample is rewritten in place with one write call: a reader that takes
// no lock, as the game server, sees the old or the new text while saves follow each other (the
// value keeps its length, so the file never grows or shrinks).
TEST(ProfileTrust, APlainReaderNeverSeesASampleSizedFileHalfSaved) {
    WorkDir dir;
    std::ifstream sample(GOMCFG_SOURCE_DIR "/sample/GombleTroveII.ini", std::ios::binary);
    ASSERT_TRUE(sample.is_open());
    putBytes(dir, std::string(std::istreambuf_iterator<char>(sample), {}));
    ASSERT_EQ(WritePrivateProfileString("Gomcfg", "counter", "1000000", kIni), TRUE);
    const std::string layout = bytesOf(dir);
    ASSERT_LE(layout.size(), 4096u);
    const std::size_t at = layout.find("counter=1000000") + 8;
    ASSERT_EQ(::link(kIni, "second.ini"), 0);
    const pid_t writer =
        startWriter({"loop", dir.filePath(kIni), "Gomcfg", "counter", "0", "1000001"}, -1, -1);
    int reads = 0, changes = 0;
    std::string last = layout;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < until) {
        std::string text(8192, '\0');
        const int fd = ::open(kIni, O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const ssize_t n = ::read(fd, text.data(), text.size());
        ::close(fd);
        text.resize(std::size_t(std::max<ssize_t>(n, 0)));
        std::string normalised = text;
        if (normalised.size() == layout.size())
            normalised.replace(at, 7, "1000000");
        if (normalised != layout) {
            ADD_FAILURE() << "a plain reader saw a half-saved file after " << reads << " reads";
            break;
        }
        changes += text != last;
        last = text;
        ++reads;
    }
    ::kill(writer, SIGKILL);
    EXPECT_EQ(exitStatus(writer), 128 + SIGKILL);
    EXPECT_GT(changes, 10);
    std::printf("%d plain reads saw %d saves\n", reads, changes);
}

// A member who may add files to a sticky directory but not write the settings file plants links
// where a settings file is missing, to a file of root's, in the middle of a chain of root's
// links, and in place of a directory on the way. Root's reads take nothing through them and
// root's saves write nowhere, and the store names the link and its owner. Root's own links, a
// member's link followed by that member, and links in a directory that is not sticky (whoever
// may make one there could replace the file anyway) are still followed.
TEST(ProfileTrust, ALinkAMemberPlantedInAStickyDirectoryIsNeitherReadNorSavedThrough) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting a link as another user needs root";
    WorkDir dir;
    const ServerDir server(dir, "sticky", 03775, 0644);
    const std::string secret = dir.filePath("secret");
    ASSERT_EQ(::mkdir(secret.c_str(), 0700), 0);
    const std::string rootsFile = secret + "/root.ini";
    const std::string rootsText = "[Gomcfg]\r\nNfraglimit=7\r\n";
    putFile(rootsFile, rootsText, 0, 0, 0600);
    const auto plant = [](const std::string& target, const std::string& link, uid_t owner) {
        ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0) << link;
        ASSERT_EQ(::lchown(link.c_str(), owner, kGames), 0) << link;
    };
    const std::string planted = server.path + "/planted.ini";
    plant(rootsFile, planted, kNobody);
    const std::string chain = server.path + "/chain.ini";
    plant("planted.ini", chain, 0);
    const std::string viaDirectory = server.path + "/conf/root.ini";
    plant(secret, server.path + "/conf", kNobody);
    const std::set<std::string> entries = entriesOf(server.path);

    for (const auto& [path, link] : {std::pair{planted, planted}, std::pair{chain, planted},
                                     std::pair{viaDirectory, server.path + "/conf"}}) {
        const auto untrusted = UntrustedLinkOn(path);
        ASSERT_TRUE(untrusted) << path;
        EXPECT_EQ(untrusted->path, link);
        EXPECT_EQ(untrusted->owner, kNobody);
        const ProfileText read = ReadPrivateProfileText(path.c_str());
        EXPECT_FALSE(read.exists) << path;
        EXPECT_EQ(read.error, EACCES) << path;
        EXPECT_EQ(runWriter({"get", path, "Gomcfg", "Nfraglimit", "-"}).second, "-\n") << path;
        EXPECT_EQ(runWriter({"set", path, "Gomcfg", "Nfraglimit", "3"}).second,
                  "failed " + std::to_string(EACCES) + "\n")
            << path;
        EXPECT_TRUE(LeftoverSaveCopies(path.c_str()).empty()) << path;
    }
    EXPECT_EQ(contentsOf(rootsFile), rootsText);
    EXPECT_EQ(entriesOf(server.path), entries) << "a save left a file";
    EXPECT_EQ(entriesOf(secret), std::set<std::string>{"root.ini"});

    // Root's link beside the file, and the member's link to the member's own file as the member
    // follows it; root does not follow the member's.
    const std::string admins = server.path + "/admin.ini";
    plant("f.ini", admins, 0);
    EXPECT_EQ(runWriter({"set", admins, "Gomcfg", "Nfraglimit", "4"}).second, "written\n");
    EXPECT_EQ(runWriter({"get", server.file, "Gomcfg", "Nfraglimit", "-"}).second, "4\n");
    const std::string membersFile = server.path + "/nobody.ini";
    putFile(membersFile, kServerText, kNobody, kGames, 0644);
    const std::string members = server.path + "/mine.ini";
    plant("nobody.ini", members, kNobody);
    EXPECT_EQ(runWriter(asMember(kNobody, {"set", members, "Gomcfg", "Nfraglimit", "5"})).second,
              "written\n");
    EXPECT_EQ(runWriter(asMember(kNobody, {"get", members, "Gomcfg", "Nfraglimit", "-"})).second,
              "5\n");
    EXPECT_EQ(runWriter({"get", members, "Gomcfg", "Nfraglimit", "-"}).second, "-\n");
    struct stat st {};
    ASSERT_EQ(::lstat(members.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    // Without the sticky bit a member may replace the file itself: a link is no more than that.
    const ServerDir open(dir, "open", 02775, 0644);
    const std::string opens = open.path + "/link.ini";
    plant("f.ini", opens, kNobody);
    EXPECT_FALSE(UntrustedLinkOn(opens));
    EXPECT_EQ(runWriter({"set", opens, "Gomcfg", "Nfraglimit", "6"}).second, "written\n");
    EXPECT_EQ(runWriter({"get", open.file, "Gomcfg", "Nfraglimit", "-"}).second, "6\n");
}
