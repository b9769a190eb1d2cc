#include "support/StoreSupport.h"

#include <signal.h>
#include <sys/xattr.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <tuple>

// Saves by somebody other than the file's owner, of files with an ACL, extended attributes or
// more than one name: what made the file the server's stays, even when the writer is killed.
// They give up root in a writer process of their own, so they need root to start with.

namespace {

// A kill half-way through writing the new text leaves a mix of the two.
const std::string kOld = "[Gomcfg]\r\nNfraglimit=1\r\n; server\r\nsamemap=true\r\n";
const std::string kNew = "[Gomcfg]\r\nNfraglimit=300\r\n; server\r\nsamemap=true\r\n";

// The access ACL user::rw-, user:nobody:rw-, group::---, mask::rw-, other::--- as the kernel
// keeps it in system.posix_acl_access.
std::string aclLettingNobodyWrite() {
    std::string acl;
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl += static_cast<char>(value >> (8 * i));
    };
    constexpr std::uint32_t kNoId = 0xFFFFFFFF;
    put(2, 4); // version
    for (const auto& [tag, perm, id] :
         {std::tuple{0x01u, 6u, kNoId}, std::tuple{0x02u, 6u, kNobody},
          std::tuple{0x04u, 0u, kNoId}, std::tuple{0x10u, 6u, kNoId},
          std::tuple{0x20u, 0u, kNoId}}) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    return acl;
}

std::optional<std::string> xattrOf(const std::string& path, const char* name) {
    char value[1024];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::nullopt : std::optional<std::string>(std::string(value, std::size_t(n)));
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// One way a file can be the server's; each is saved by nobody, a member of the group games.
struct ServerSetup {
    const char* what;
    bool acl = false;  // root:nogroup 600, an ACL that lets nobody write, and a user attribute
    bool link = false; // a second name in the same directory
    bool asRoot = false;
};

const ServerSetup kSetups[] = {
    {"group games 660, saved by a member"},
    {"ACL and attribute, saved by the ACL's user", true},
    {"two hard links", false, true},
    {"two hard links, saved by root", false, true, true},
    {"ACL and attribute, saved by root", true, false, true},
};

// A directory sub of the work directory, root:games 775, holding f.ini as the setup says.
class ServerFile {
public:
    ServerFile(const WorkDir& dir, const ServerSetup& setup, const std::string& sub)
        : m_setup(setup), m_dir(dir.filePath(sub)), m_path(m_dir + "/f.ini") {
        EXPECT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        EXPECT_EQ(::mkdir(m_dir.c_str(), 0775), 0);
        EXPECT_EQ(::chown(m_dir.c_str(), 0, kGames), 0);
        EXPECT_EQ(::chmod(m_dir.c_str(), 0775), 0);
        put(kOld);
        if (setup.acl) {
            EXPECT_EQ(::chown(m_path.c_str(), 0, kNogroup), 0);
            EXPECT_EQ(::chmod(m_path.c_str(), 0600), 0);
            const std::string acl = aclLettingNobodyWrite();
            EXPECT_EQ(
                ::setxattr(m_path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0),
                0);
            EXPECT_EQ(::setxattr(m_path.c_str(), "user.origin", "server", 6, 0), 0);
        } else {
            EXPECT_EQ(::chown(m_path.c_str(), 0, kGames), 0);
            EXPECT_EQ(::chmod(m_path.c_str(), 0660), 0);
        }
        if (setup.link) {
            EXPECT_EQ(::link(m_path.c_str(), (m_dir + "/h.ini").c_str()), 0);
        }
        m_before = statOf(m_path);
    }

    const std::string& path() const { return m_path; }

    void put(const std::string& bytes) const {
        FILE* f = std::fopen(m_path.c_str(), "w");
        ASSERT_TRUE(f);
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        EXPECT_EQ(std::fclose(f), 0);
    }
    std::string bytes(const char* name = "f.ini") const {
        std::string out;
        if (FILE* f = std::fopen((m_dir + "/" + name).c_str(), "rb")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
                out.append(buffer, n);
            std::fclose(f);
        }
        return out;
    }

    // A save of the settings file by the setup's user, through the writer process.
    std::pair<int, std::string> run(std::vector<std::string> args) const {
        return runWriter(m_setup.asRoot ? args : asNobody(args));
    }

    // Owner, group, mode, ACL, attribute and links as before, nothing of ours left beside it.
    void expectKept(const std::string& context) const {
        const struct stat now = statOf(m_path);
        EXPECT_EQ(now.st_uid, m_before.st_uid) << context;
        EXPECT_EQ(now.st_gid, m_before.st_gid) << context;
        EXPECT_EQ(now.st_mode & 07777, m_before.st_mode & 07777) << context;
        EXPECT_EQ(now.st_nlink, m_before.st_nlink) << context;
        if (m_setup.acl) {
            EXPECT_EQ(xattrOf(m_path, "system.posix_acl_access"), aclLettingNobodyWrite())
                << context;
            EXPECT_EQ(xattrOf(m_path, "user.origin"), "server") << context;
        }
        std::set<std::string> names = {"f.ini"};
        if (m_setup.link) {
            EXPECT_EQ(now.st_ino, m_before.st_ino) << context;
            EXPECT_EQ(bytes("h.ini"), bytes()) << context;
            names.insert("h.ini");
        }
        EXPECT_EQ(entriesOf(m_dir), names) << context;
    }

private:
    ServerSetup m_setup;
    std::string m_dir;
    std::string m_path;
    struct stat m_before {};
};

// Root, and a file system that keeps user attributes and ACLs, or the reason to skip.
std::optional<std::string> whyNot(const WorkDir& dir) {
    if (::geteuid() != 0)
        return "giving up ownership needs root to start with";
    const std::string probe = dir.filePath("probe");
    putBytes(dir, "", "probe");
    const std::string acl = aclLettingNobodyWrite();
    if (::setxattr(probe.c_str(), "user.probe", "1", 1, 0) != 0 ||
        ::setxattr(probe.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        return "the file system of " + dir.path() +
               " keeps no user attributes or ACLs: " + std::strerror(errno);
    ::unlink(probe.c_str());
    return std::nullopt;
}

} // namespace

TEST(ProfileOwnership, SaveKeepsOwnerGroupModeAclAttributesAndLinks) {
    WorkDir dir;
    if (const auto reason = whyNot(dir))
        GTEST_SKIP() << *reason;
    int n = 0;
    for (const ServerSetup& setup : kSetups) {
        const ServerFile file(dir, setup, "d" + std::to_string(n++));
        const auto [status, said] = file.run({"set", file.path(), "Gomcfg", "Nfraglimit", "300"});
        EXPECT_EQ(status, 0) << setup.what << ": " << said;
        EXPECT_EQ(file.bytes(), kNew) << setup.what;
        file.expectKept(setup.what);
        // And it reads back as written, by the same user.
        EXPECT_EQ(file.run({"get", file.path(), "gomcfg", "nfraglimit", "-"}).second, "300\n")
            << setup.what;
    }
}

// The save stops for good at each of its file calls in turn (a write after half its bytes). A
// reader then finds the file as the save left it, and writes nothing; only an in-place save can
// leave a mix, and then its copy of the old text is beside the file, readable by the writer
// alone, for an admin to copy back. The next save of the same user goes ahead either way.
TEST(ProfileOwnership, WriterKilledAtEachStepLeavesTheOldOrTheNewTextOrACopyOfTheOld) {
    WorkDir dir;
    if (const auto reason = whyNot(dir))
        GTEST_SKIP() << *reason;
    int n = 0;
    for (const ServerSetup& setup : kSetups) {
        int torn = 0, cameBackOld = 0, cameBackNew = 0;
        bool finished = false;
        for (int step = 0; step < 30 && !finished; ++step) {
            const std::string context = std::string(setup.what) + ", step " + std::to_string(step);
            const ServerFile file(dir, setup, "c" + std::to_string(n++));
            const auto [status, said] = file.run(
                {"crash", std::to_string(step), file.path(), "Gomcfg", "Nfraglimit", "300"});
            finished = status == 0;
            ASSERT_TRUE(finished || status == 128 + SIGKILL) << context << ": " << status;
            const std::string raw = file.bytes();
            const bool damaged = raw != kOld && raw != kNew;
            torn += damaged;

            const std::string seen =
                file.run({"get", file.path(), "Gomcfg", "Nfraglimit", "-"}).second;
            EXPECT_EQ(file.bytes(), raw) << context << ": a read wrote";
            if (!damaged) {
                EXPECT_EQ(seen, raw == kOld ? "1\n" : "300\n") << context;
            }
            const auto copies = LeftoverSaveCopies(file.path().c_str());
            ASSERT_EQ(copies.size(), damaged ? 1u : copies.size()) << context;
            ASSERT_LE(copies.size(), 1u) << context;
            for (const std::string& copy : copies) {
                const struct stat st = statOf(copy);
                EXPECT_EQ(st.st_uid, setup.asRoot ? 0u : kNobody) << context;
                EXPECT_EQ(st.st_mode & 07777, 0600u) << context;
                EXPECT_EQ(xattrOf(copy, "system.posix_acl_access"), std::nullopt) << context;
                FILE* f = std::fopen(copy.c_str(), "rb");
                ASSERT_TRUE(f);
                std::string copied(4096, '\0');
                copied.resize(std::fread(copied.data(), 1, copied.size(), f));
                std::fclose(f);
                EXPECT_EQ(copied, kOld) << context;
                // The admin's part: the old text back in place, the copy gone.
                if (damaged)
                    file.put(copied); // in place: the file stays the server's
                ASSERT_EQ(::unlink(copy.c_str()), 0);
            }
            const bool old = file.bytes() == kOld;
            ASSERT_TRUE(old || file.bytes() == kNew) << context;
            const auto next = file.run({"set", file.path(), "Gomcfg", "samemap", "false"});
            ASSERT_EQ(next.first, 0) << context << ": " << next.second;
            std::string expected = old ? kOld : kNew;
            expected.replace(expected.find("true"), 4, "false");
            EXPECT_EQ(file.bytes(), expected) << context;
            file.expectKept(context);
            (old ? cameBackOld : cameBackNew) += 1;
        }
        EXPECT_TRUE(finished) << setup.what << ": the save never got to its end";
        EXPECT_GT(cameBackOld, 0) << setup.what;
        // Killed after the new bytes were in: once after the rename, and in place also before
        // the file's flush, where the copy is still there but the file is whole.
        const bool inPlace = setup.link || !setup.asRoot;
        EXPECT_EQ(cameBackNew, inPlace ? 3 : 2) << setup.what;
        if (inPlace) {
            EXPECT_GT(torn, 0) << setup.what << ": no kill left the file half-written";
        }
    }
}

TEST(ProfileRead, UnreadableFileGivesTheDefault) {
    WorkDir dir;
    putBytes(dir, "[S]\nk=v\n");
    ASSERT_EQ(::chmod(dir.filePath(kIni).c_str(), 0200), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(profileString("S", "k"), "<default>");
        return;
    }
    // Root reads any file: the owner without read permission reads instead.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chown(kIni, kNobody, kNogroup), 0);
    const auto [status, said] =
        runWriter(asNobody({"get", dir.filePath(kIni), "S", "k", "<default>"}));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(said, "<default>\n");
    ASSERT_EQ(::chmod(kIni, 0600), 0);
    EXPECT_EQ(runWriter(asNobody({"get", dir.filePath(kIni), "S", "k", "-"})).second, "v\n");
}
