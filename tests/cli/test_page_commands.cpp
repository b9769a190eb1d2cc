// The commands of the browser page, in-process and without Qt: what the page reads, how one
// Apply goes through the settings session next to another program, and the text files.

#include "cli/PageCommands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

using Json = nlohmann::ordered_json;

class TempDir {
public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "gomcfg-page-XXXXXX");
        m_path = ::mkdtemp(name.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string path(const std::string& name = "GombleTroveII.ini") const {
        return m_path + "/" + name;
    }
    const std::string& dir() const { return m_path; }
    void put(const std::string& bytes, const std::string& name = "GombleTroveII.ini") const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string bytes(const std::string& name = "GombleTroveII.ini") const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string m_path;
};

struct CtlResult {
    int status = -1;
    Json json;
};

CtlResult run(const TempDir& dir, const std::function<int(CliOptions&, CliOutput&)>& command) {
    std::ostringstream out;
    std::ostringstream err;
    CliOutput output(out, err, true);
    CliOptions options;
    options.path = dir.path();
    CtlResult result;
    result.status = command(options, output);
    result.json = Json::parse(out.str());
    return result;
}

CtlResult readPage(const TempDir& dir) {
    return run(dir, [&](CliOptions& o, CliOutput& out) { return RunRead(o, out, dir.dir()); });
}

CtlResult applyPage(const TempDir& dir, const Json& request) {
    return run(dir, [&](CliOptions& o, CliOutput& out) {
        std::istringstream in(request.dump());
        return RunApply(o, out, dir.dir(), in);
    });
}

// The request the page makes after reading: what it read, and every key of the tabs it showed.
Json request(const Json& read, const Json& writes, const char* settle) {
    return {{"read", read}, {"writes", writes}, {"settle", settle}};
}

Json writes(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    Json list = Json::array();
    for (const auto& [key, value] : pairs)
        list.push_back({{"key", key}, {"value", value}});
    return list;
}

} // namespace

// What opening the page shows: stored texts, values as the sheet reads them, the preview and
// the shortcuts from the same directory; a missing directory said as such.
TEST(PageRead, ShowsStoredTextsAsTheSheetReadsThem) {
    TempDir dir;
    dir.put("[Gomcfg]\r\nsamemap=True\r\nNfraglimit=12abc\r\nrailgunT=nonsense\r\nctf=true\r\n");
    dir.put("Welcome\r\n<b>all</b>\r\n", "gomble_motd.txt");
    dir.put("[InternetShortcut]\r\nURL=https://example.org/home\r\n", "gthome.url");
    const CtlResult opened = readPage(dir);
    ASSERT_EQ(opened.status, 0) << opened.json.dump();
    const Json& j = opened.json;
    EXPECT_EQ(j["file"], dir.path());
    EXPECT_TRUE(j["exists"]);
    EXPECT_TRUE(j["writable"]);
    EXPECT_EQ(j["stored"]["samemap"], "True");
    EXPECT_EQ(j["shown"]["samemap"], "false");
    EXPECT_EQ(j["shown"]["Nfraglimit"], "12");
    EXPECT_TRUE(j["shown"]["railgunT"].is_null()); // the list shows no selection
    EXPECT_TRUE(j["stored"]["isc"].is_null());
    EXPECT_EQ(j["shown"]["isc"], "true");
    EXPECT_EQ(j["shown"]["Nhttpport"], "80");
    EXPECT_EQ(j["motd"]["text"], "Welcome\n<b>all</b>\n");
    EXPECT_EQ(j["shortcuts"]["gthome.url"], "https://example.org/home");
    EXPECT_TRUE(j["shortcuts"]["gthelp.url"].is_null());
    // The weapon rows report what they cannot read, as the sheet does; other keys fall back.
    EXPECT_EQ(j["reports"], Json::parse(R"([{"key": "railgunT", "message":
        "ERROR: problem in .ini file\n in function LoadDataItem()\n"}])"));

    std::filesystem::remove(dir.path("gomble_motd.txt"));
    EXPECT_TRUE(readPage(dir).json["motd"]["text"].is_null());

    TempDir gone;
    const std::string missing = gone.dir() + "/srv";
    const CtlResult none = run(gone, [&](CliOptions& o, CliOutput& out) {
        o.path = missing + "/GombleTroveII.ini";
        return RunRead(o, out, missing);
    });
    EXPECT_EQ(none.status, 3);
    EXPECT_EQ(none.json["error"],
              "cannot use directory " + missing + ": No such file or directory");
}

// A file without write bits (refused even to root, as the store refuses it) still shows its
// values, names the store's reason, and an Apply writes nothing.
TEST(PageRead, AFileThatMayNotBeWrittenShowsItsValuesAndRefusesApply) {
    TempDir dir;
    const std::string before = "[Gomcfg]\nctf=true\n";
    dir.put(before);
    ::chmod(dir.path().c_str(), 0444);
    const CtlResult opened = readPage(dir);
    ASSERT_EQ(opened.status, 0);
    EXPECT_FALSE(opened.json["writable"]);
    EXPECT_EQ(opened.json["notWritableMessage"],
              "cannot write " + dir.path() + ": Permission denied");
    EXPECT_EQ(opened.json["shown"]["ctf"], "true");

    const CtlResult applied =
        applyPage(dir, request(opened.json["stored"], writes({{"ctf", "false"}}), "ask"));
    EXPECT_EQ(applied.status, 3);
    EXPECT_EQ(applied.json["error"], "cannot write " + dir.path() + ": Permission denied");
    EXPECT_EQ(dir.bytes(), before);
}

// One Apply: an edit changes its line alone (CR LF kept); another program's change to a key not
// edited here is kept and named; a key changed on both sides is asked about without writing,
// then settled either way.
TEST(PageApply, KeepsOtherProgramsChangesAndAsksAboutConflicts) {
    TempDir dir;
    dir.put("; notes\r\n[Gomcfg]\r\nsamemap=false\r\nNfraglimit=5\r\ncheating=false\r\n");
    const Json readAtOpen = readPage(dir).json["stored"];
    const Json serverTab = writes({{"samemap", "true"},
                                   {"cheating", "false"},
                                   {"noexit", "false"},
                                   {"Nfraglimit", "5"},
                                   {"Ntimelimit", "0"}});

    // Another program sets cheating meanwhile; only samemap was edited here.
    dir.put("; notes\r\n[Gomcfg]\r\nsamemap=false\r\nNfraglimit=5\r\ncheating=true\r\n");
    CtlResult applied = applyPage(dir, request(readAtOpen, serverTab, "ask"));
    ASSERT_EQ(applied.status, 0) << applied.json.dump();
    EXPECT_TRUE(applied.json["written"]);
    EXPECT_EQ(applied.json["kept"], Json::parse(R"([{"key":"cheating","stored":"true"}])"));
    EXPECT_EQ(applied.json["shown"]["cheating"], "true");
    EXPECT_EQ(dir.bytes(),
              "; notes\r\n[Gomcfg]\r\nsamemap=true\r\nNfraglimit=5\r\ncheating=true\r\n"
              "noexit=false\r\nNtimelimit=0\r\n");

    // Both sides change Nfraglimit.
    const Json readNow = applied.json["stored"];
    const std::string before = "; notes\r\n[Gomcfg]\r\nsamemap=true\r\nNfraglimit=7\r\n"
                               "cheating=true\r\nnoexit=false\r\nNtimelimit=0\r\n";
    dir.put(before);
    const Json edited = writes({{"Nfraglimit", "9"}});
    applied = applyPage(dir, request(readNow, edited, "ask"));
    ASSERT_EQ(applied.status, 0);
    EXPECT_FALSE(applied.json["written"]);
    EXPECT_EQ(applied.json["conflicts"],
              Json::parse(R"([{"key":"Nfraglimit","inFile":"7","here":"9"}])"));
    EXPECT_NE(applied.json["question"].get<std::string>().find(
                  "\n\nNfraglimit: 7 in the file, 9 here\n\nOverwrite them"),
              std::string::npos);
    EXPECT_EQ(dir.bytes(), before);

    applied = applyPage(dir, request(readNow, edited, "file"));
    EXPECT_EQ(applied.json["kept"], Json::parse(R"([{"key":"Nfraglimit","stored":"7"}])"));
    EXPECT_EQ(dir.bytes(), before);

    applied = applyPage(dir, request(readNow, edited, "here"));
    EXPECT_TRUE(applied.json["kept"].empty());
    EXPECT_EQ(applied.json["shown"]["Nfraglimit"], "9");
    EXPECT_NE(dir.bytes().find("\r\nNfraglimit=9\r\n"), std::string::npos);
}

// Only what the sheet would write gets in: a value out of range, spelled otherwise, for an
// unknown key, or a request that is not JSON, writes nothing and says why.
TEST(PageApply, RefusesWritesTheSheetWouldNotMake) {
    TempDir dir;
    const std::string before = "[Gomcfg]\nNhttpport=80\n";
    dir.put(before);
    const Json stored = readPage(dir).json["stored"];
    const std::vector<std::pair<Json, std::string>> cases = {
        {writes({{"Nhttpport", "0"}}), "Nhttpport: "},
        {writes({{"ctf", "TRUE"}}), "ctf: 'TRUE' is not written so"},
        {writes({{"ctf", "true"}, {"CTF", "false"}}), "ctf is given twice"},
        {writes({{"nokey", "1"}}), "apply: a write is not a known key"},
    };
    for (const auto& [w, message] : cases) {
        const CtlResult refused = applyPage(dir, request(stored, w, "here"));
        EXPECT_EQ(refused.status, 2) << w.dump();
        EXPECT_EQ(refused.json["error"].get<std::string>().rfind(message, 0), 0u)
            << refused.json["error"];
    }
    const CtlResult notJson = run(dir, [&](CliOptions& o, CliOutput& out) {
        std::istringstream in("{\"read\": ");
        return RunApply(o, out, dir.dir(), in);
    });
    EXPECT_EQ(notJson.status, 2);
    EXPECT_EQ(dir.bytes(), before);
}

// The text files: opened with a version, saved with the file's own line ends and identity, and
// refused when another program saved in between or the bytes are not UTF-8 text.
TEST(PageText, SavesOnlyTheVersionThatWasOpened) {
    TempDir dir;
    dir.put("10.0.0.1\r\n10.0.0.2\r\n", "deny.cfg");
    ::chmod(dir.path("deny.cfg").c_str(), 0640);
    const auto textRead = [&](const std::string& name) {
        return run(dir,
                   [&](CliOptions&, CliOutput& out) { return RunTextRead(out, dir.dir(), name); });
    };
    const auto textWrite = [&](const std::string& name, const std::string& version,
                               const std::string& text) {
        return run(dir, [&](CliOptions&, CliOutput& out) {
            std::istringstream in(text);
            return RunTextWrite(out, dir.dir(), name, version, in);
        });
    };
    const CtlResult opened = textRead("deny.cfg");
    ASSERT_EQ(opened.status, 0);
    EXPECT_EQ(opened.json["text"], "10.0.0.1\n10.0.0.2\n");
    const std::string version = opened.json["version"];

    const CtlResult saved = textWrite("deny.cfg", version, "10.0.0.1\n10.0.0.3\n");
    ASSERT_EQ(saved.status, 0) << saved.json.dump();
    EXPECT_EQ(dir.bytes("deny.cfg"), "10.0.0.1\r\n10.0.0.3\r\n");
    struct stat st {};
    ::stat(dir.path("deny.cfg").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // The version opened first is stale now.
    const CtlResult stale = textWrite("deny.cfg", version, "lost\n");
    EXPECT_EQ(stale.status, 3);
    EXPECT_EQ(stale.json["error"], dir.path("deny.cfg") +
                                       " changed since it was opened here; nothing was written. "
                                       "Open it again to see what it holds now.");
    EXPECT_EQ(dir.bytes("deny.cfg"), "10.0.0.1\r\n10.0.0.3\r\n");

    // A file that did not exist is created only while it still does not.
    const CtlResult fresh = textRead("allow.cfg");
    EXPECT_EQ(fresh.json["version"], "missing");
    EXPECT_EQ(textWrite("allow.cfg", "missing", "1.2.3.4\n").status, 0);
    EXPECT_EQ(textWrite("allow.cfg", "missing", "5.6.7.8\n").status, 3);

    dir.put("caf\xE9\n", "gomble_motd.txt");
    const CtlResult latin1 = textRead("gomble_motd.txt");
    EXPECT_EQ(latin1.status, 3);
    EXPECT_NE(latin1.json["error"].get<std::string>().find("is not plain UTF-8 text"),
              std::string::npos);
}

// A link under a text file's name, put there by someone else who may add files to the
// directory, is not followed: the admin would otherwise read and replace what it points at.
TEST(PageText, ALinkAnotherUserMadeIsNotFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the link another owner";
    TempDir dir;
    TempDir elsewhere;
    elsewhere.put("secret\n", "target");
    ASSERT_EQ(::symlink(elsewhere.path("target").c_str(), dir.path("allow.cfg").c_str()), 0);
    ASSERT_EQ(::lchown(dir.path("allow.cfg").c_str(), 65534, 65534), 0);
    const auto readText = run(
        dir, [&](CliOptions&, CliOutput& out) { return RunTextRead(out, dir.dir(), "allow.cfg"); });
    EXPECT_EQ(readText.status, 3);
    EXPECT_EQ(readText.json["error"], dir.path("allow.cfg") +
                                          " is a symbolic link made by another user; it is not "
                                          "followed, and nothing was read or written");
    const auto written = run(dir, [&](CliOptions&, CliOutput& out) {
        std::istringstream in("overwritten\n");
        return RunTextWrite(out, dir.dir(), "allow.cfg", "missing", in);
    });
    EXPECT_EQ(written.status, 3);
    EXPECT_EQ(elsewhere.bytes("target"), "secret\n");

    // The directory's owner's own link is followed, as the store follows links.
    ASSERT_EQ(::lchown(dir.path("allow.cfg").c_str(), 0, 0), 0);
    EXPECT_EQ(run(dir, [&](CliOptions&,
                           CliOutput& out) { return RunTextRead(out, dir.dir(), "allow.cfg"); })
                  .json["text"],
              "secret\n");
}
