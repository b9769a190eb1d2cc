#include "support/StoreSupport.h"

#include "platform/store/IniDocument.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

// How a reader sees the text of a file: each row is a text, one lookup in it and the value found
// (nothing: the default would be given). A few rows are read through a real file as well.
struct ReadRow {
    std::string_view text;
    std::string_view section;
    std::string_view key;
    std::optional<std::string_view> expected;
    bool throughFile = false;
};

constexpr std::string_view kNames = "[GomCfg]\r\n \t\vShotGun \t\v= \t\vtrue \v\t \r\n"
                                    "  [ Spaced\t]  text after the bracket\r\nk=1\r\n";
constexpr std::string_view kComments = "[S]\n;a=1\n \t;b=2\nc=v ;c\n#d=3\ne=;v\n";
constexpr std::string_view kMixedEnds = "[S]\ra=1\nb=2\r\n\n\rc=3";
constexpr std::string_view kHeaders = "k0=no section\n"
                                      "[x]]\nk1=a\n"
                                      "[y\nk2=b\nz]\nk3=c\n"
                                      "[ [w ]\nk4=d\n"
                                      "[]\nk5=e\n";
constexpr std::string_view kRepeats = "[S]\na=1\nA=2\n[T]\nb=3\n[s]\nb=4\nc=5\n";
constexpr std::string_view kEmpties = "[S]\nempty=\nblank = \t\nbare\nbare=later\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF[S]\r\nk=1\r\n[T]\r\nk=2\r\n";
constexpr std::optional<std::string_view> kMissing = std::nullopt;

const ReadRow kReadRows[] = {
    // Names match ignoring ASCII case; blanks (space, tab, vertical tab) around them and around
    // the value go, as does text after a header's ']'.
    {kNames, "gomcfg", "SHOTGUN", "true", true},
    {kNames, "Spaced", "k", "1"},
    {kNames, "\tgomcfg", "shotgun", kMissing},
    {kNames, "gomcfg", "shotgun\t", kMissing},
    // One outer pair of matching quotes is removed, after the blanks.
    {"[S]\nk=  \"  v  \"  \n", "S", "k", "  v  ", true},
    {"[S]\nk='x'\n", "S", "k", "x"},
    {"[S]\nk=\"x'\n", "S", "k", "\"x'"},
    {"[S]\nk=\"\n", "S", "k", "\""},
    {"[S]\nk=\"\"\n", "S", "k", ""},
    {"[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
    {"[S]\nk=\"a\"b\"\n", "S", "k", "a\"b"},
    {"[S]\nk='a\"\n", "S", "k", "'a\""},
    {"[S]\nk=x\"\n", "S", "k", "x\""},
    // Comments are whole lines whose first non-blank byte is ';'.
    {kComments, "S", "a", kMissing},
    {kComments, "S", "b", kMissing, true},
    {kComments, "S", "c", "v ;c"},
    {kComments, "S", "#d", "3"},
    {kComments, "S", "d", kMissing},
    {kComments, "S", "e", ";v"},
    // Lines end at CR, LF or CRLF, in any mix, and the last needs none.
    {"[S]\na=1\n\nb=2", "S", "a", "1"},
    {"[S]\na=1\n\nb=2", "S", "b", "2"},
    {"[S]\ra=1\r\rb=2", "S", "a", "1"},
    {"[S]\ra=1\r\rb=2", "S", "b", "2", true},
    {"[S]\r\na=1\r\n\r\nb=2", "S", "a", "1"},
    {"[S]\r\na=1\r\n\r\nb=2", "S", "b", "2"},
    {kMixedEnds, "S", "a", "1"},
    {kMixedEnds, "S", "b", "2"},
    {kMixedEnds, "S", "c", "3"},
    // A header's name ends at its first ']', or at the line's end without one; keys before any
    // header are in no section.
    {kHeaders, "x", "k1", "a"},
    {kHeaders, "y", "k2", "b"},
    {kHeaders, "y", "k3", "c"},
    {kHeaders, "[w", "k4", "d"},
    {kHeaders, "", "k5", "e"},
    {kHeaders, "", "k0", kMissing},
    {kHeaders, "x", "k0", kMissing},
    // Only the first section and the first key of a name count.
    {kRepeats, "S", "a", "1"},
    {kRepeats, "S", "b", kMissing},
    {kRepeats, "S", "c", kMissing},
    {kRepeats, "T", "b", "3"},
    // An empty value is a value; a missing section or key, or a line without '=', is not.
    {kEmpties, "S", "empty", "", true},
    {kEmpties, "S", "blank", ""},
    {kEmpties, "S", "missing", kMissing},
    {kEmpties, "T", "empty", kMissing},
    {kEmpties, "S", "bare", kMissing},
    // A UTF-8 mark is part of the first line, and text in other encodings is bytes.
    {kUtf8Mark, "S", "k", kMissing},
    {kUtf8Mark, "T", "k", "2"},
    {"\xFE\xFF\0[\0S\0]\0\n\0k\0=\0v"sv, "S", "k", kMissing},
    // Bytes are bytes: a NUL ends neither a line nor a value.
    {"\0\xff\x01\n[S]\0\nk=a\0b\n\0\n"sv, "S", "k", "a\0b"sv},
};

std::string shown(std::optional<std::string_view> value) {
    return value ? ::testing::PrintToString(std::string(*value)) : "(missing)";
}

} // namespace

TEST(ProfileRead, EveryReadRuleHoldsInMemory) {
    for (std::size_t i = 0; i < std::size(kReadRows); ++i) {
        const ReadRow& row = kReadRows[i];
        EXPECT_EQ(shown(IniDocument(row.text).value(row.section, row.key)), shown(row.expected))
            << "row " << i << ": [" << row.section << "] " << row.key << " in "
            << ::testing::PrintToString(std::string(row.text));
    }
}

TEST(ProfileRead, ReadRulesHoldThroughAFile) {
    WorkDir dir;
    for (const ReadRow& row : kReadRows) {
        if (!row.throughFile)
            continue;
        putBytes(dir, std::string(row.text));
        EXPECT_EQ(profileString(std::string(row.section).c_str(), std::string(row.key).c_str()),
                  row.expected ? std::string(*row.expected) : "<default>")
            << "[" << row.section << "] " << row.key;
    }
}

// The file API loses spaces, and only spaces, around the names it is given; it reads a missing
// file as one without the key.
TEST(ProfileRead, NamesGivenLoseSpacesOnlyAndAMissingFileHasNoKeys) {
    WorkDir dir;
    EXPECT_EQ(profileString("S", "k"), "<default>");
    putBytes(dir, std::string(kNames));
    EXPECT_EQ(profileString("  gomcfg ", " shotgun  "), "true");
    EXPECT_EQ(profileString("\tgomcfg", "shotgun"), "<default>");
    EXPECT_EQ(profileString("gomcfg", "shotgun\t"), "<default>");
}

TEST(ProfileRead, DefaultLosesTrailingSpacesOnly) {
    WorkDir dir;
    EXPECT_EQ(profileString("S", "k", "  a b  "), "  a b");
    EXPECT_EQ(profileString("S", "k", "\tx\t  "), "\tx\t");
    EXPECT_EQ(profileString("S", "k", "   "), "");
    EXPECT_EQ(profileString("S", "k", nullptr), "");
}

TEST(ProfileRead, ResultIsCutToTheBuffer) {
    WorkDir dir;
    putBytes(dir, "[S]\nk=abcdef\n");
    EXPECT_EQ(profileString("S", "k", "", 4), "abc");
    EXPECT_EQ(profileString("S", "k", "", 7), "abcdef");
    EXPECT_EQ(profileString("S", "k", "", 1), "");
    EXPECT_EQ(profileString("S", "missing", "hello", 3), "he");

    char buffer[4] = "zzz";
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", buffer, 0, kIni), 0u);
    EXPECT_STREQ(buffer, "zzz");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", nullptr, 10, kIni), 0u);
}

TEST(ProfileRead, NullSectionOrKeyOrNoFileNameGivesTheDefault) {
    WorkDir dir;
    putBytes(dir, "[S]\nk=v\n");
    EXPECT_EQ(profileString(nullptr, "k"), "<default>");
    EXPECT_EQ(profileString("S", nullptr), "<default>");
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, nullptr), "<default>");
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, ""), "<default>");
}

TEST(ProfileRead, Utf16LeFileIsReadAsUtf8) {
    WorkDir dir;
    std::u16string text = u"[Gömcfg]\r\nname= Größe €😀 \r\n";
    text += char16_t(0xDC00);
    text += u"=lone\nk="; // a lone surrogate in a key
    text += char16_t(0xD800);
    putBytes(dir, utf16LeFile(text) + "\x41"); // and half a unit at the end
    EXPECT_EQ(profileString("Gömcfg", "NAME"), "Größe €😀");
    EXPECT_EQ(profileString("Gömcfg", "k"), "\uFFFD");
}

TEST(ProfileRead, BinaryHugeAndOddFilesNeverBreakAReader) {
    WorkDir dir;
    putBytes(dir, "\0\xff\x01\n[S]\0\nk=a\0b\n\0\n"s);
    EXPECT_EQ(profileString("S", "k"), "a"); // the caller sees a C string

    std::string noise(1 << 16, '\0');
    unsigned seed = 1;
    for (char& c : noise)
        c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    putBytes(dir, noise);
    profileString("S", "k");

    putBytes(dir, "[S]\n" + std::string(2 << 20, 'x') + "\nk=v\nlong=" + std::string(1 << 20, 'y'));
    EXPECT_EQ(profileString("S", "k"), "v");
    EXPECT_EQ(profileString("S", "long"), std::string(1023, 'y'));

    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("dir.ini")));
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, "dir.ini"), "<default>");
    ASSERT_EQ(::mkfifo(dir.filePath("fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, "fifo.ini"), "<default>");
}

// Where the settings file lives is the front end's business (SettingsFilePath); the store takes
// a name as the system does, and $GOMCFG_WINDIR means nothing to it.
TEST(ProfileNames, ABareNameIsInTheCurrentDirectory) {
    WorkDir dir;
    ASSERT_TRUE(std::filesystem::create_directory(dir.filePath("win")));
    putBytes(dir, "[S]\nk=cwd\n");
    putBytes(dir, "[S]\nk=windir\n", "win/test.ini");
    ScopedEnvVar winDir("GOMCFG_WINDIR", dir.filePath("win"));
    EXPECT_EQ(profileString("S", "k"), "cwd");
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", kIni), TRUE);
    EXPECT_EQ(bytesOf(dir), "[S]\nk=new\n");
    EXPECT_EQ(profileString("S", "k", "", 1024, "win/test.ini"), "windir");
}
