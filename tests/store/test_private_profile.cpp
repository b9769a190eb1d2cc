#include "support/StoreSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

using namespace std::string_literals;

TEST(ProfileRead, NamesMatchCaseInsensitivelyAndBlanksAroundThemAreIgnored) {
    ScopedWorkDir dir;
    putBytes(dir, "[GomCfg]\r\n \t\vShotGun \t\v= \t\vtrue \v\t \r\n"
                  "  [ Spaced\t]  text after the bracket\r\nk=1\r\n");
    EXPECT_EQ(profileString("gomcfg", "SHOTGUN"), "true");
    EXPECT_EQ(profileString("Spaced", "k"), "1");
    // The arguments lose spaces only.
    EXPECT_EQ(profileString("  gomcfg ", " shotgun  "), "true");
    EXPECT_EQ(profileString("\tgomcfg", "shotgun"), "<default>");
    EXPECT_EQ(profileString("gomcfg", "shotgun\t"), "<default>");
}

TEST(ProfileRead, OneOuterPairOfMatchingQuotesIsRemoved) {
    ScopedWorkDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"k=  \"  v  \"  ", "  v  "},
        {"k='x'", "x"},
        {"k=\"x'", "\"x'"},
        {"k=\"", "\""},
        {"k=\"\"", ""},
        {"k=\"\"x\"\"", "\"x\""},
        {"k=\"a\"b\"", "a\"b"},
        {"k='a\"", "'a\""},
        {"k=x\"", "x\""},
    };
    for (const auto& [line, expected] : cases) {
        putBytes(dir, "[S]\n" + line + "\n");
        EXPECT_EQ(profileString("S", "k"), expected) << line;
    }
}

TEST(ProfileRead, CommentsAreWholeLinesStartingWithASemicolon) {
    ScopedWorkDir dir;
    putBytes(dir, "[S]\n;a=1\n \t;b=2\nc=v ;c\n#d=3\ne=;v\n");
    EXPECT_EQ(profileString("S", "a"), "<default>");
    EXPECT_EQ(profileString("S", "b"), "<default>");
    EXPECT_EQ(profileString("S", "c"), "v ;c");
    EXPECT_EQ(profileString("S", "#d"), "3");
    EXPECT_EQ(profileString("S", "d"), "<default>");
    EXPECT_EQ(profileString("S", "e"), ";v");
}

TEST(ProfileRead, LinesEndAtCrLfOrCrLfAndTheLastNeedsNone) {
    ScopedWorkDir dir;
    for (const std::string eol : {"\n", "\r", "\r\n"}) {
        putBytes(dir, "[S]" + eol + "a=1" + eol + eol + "b=2");
        EXPECT_EQ(profileString("S", "a"), "1");
        EXPECT_EQ(profileString("S", "b"), "2");
    }
    putBytes(dir, "[S]\ra=1\nb=2\r\n\n\rc=3");
    EXPECT_EQ(profileString("S", "a"), "1");
    EXPECT_EQ(profileString("S", "b"), "2");
    EXPECT_EQ(profileString("S", "c"), "3");
}

TEST(ProfileRead, SectionHeaders) {
    ScopedWorkDir dir;
    putBytes(dir, "k0=no section\n"
                  "[x]]\nk1=a\n"
                  "[y\nk2=b\nz]\nk3=c\n"
                  "[ [w ]\nk4=d\n"
                  "[]\nk5=e\n");
    EXPECT_EQ(profileString("x", "k1"), "a"); // the name ends at the first ']'
    EXPECT_EQ(profileString("y", "k2"), "b"); // no ']' at all is still a header
    EXPECT_EQ(profileString("y", "k3"), "c"); // "z]" is not one
    EXPECT_EQ(profileString("[w", "k4"), "d");
    EXPECT_EQ(profileString("", "k5"), "e");
    EXPECT_EQ(profileString("", "k0"), "<default>"); // keys before any header are in none
    EXPECT_EQ(profileString("x", "k0"), "<default>");
}

TEST(ProfileRead, OnlyTheFirstSectionAndTheFirstKeyOfANameCount) {
    ScopedWorkDir dir;
    putBytes(dir, "[S]\na=1\nA=2\n[T]\nb=3\n[s]\nb=4\nc=5\n");
    EXPECT_EQ(profileString("S", "a"), "1");
    EXPECT_EQ(profileString("S", "b"), "<default>");
    EXPECT_EQ(profileString("S", "c"), "<default>");
    EXPECT_EQ(profileString("T", "b"), "3");
}

TEST(ProfileRead, MissingFileSectionOrKeyGivesTheDefaultButAnEmptyValueDoesNot) {
    ScopedWorkDir dir;
    EXPECT_EQ(profileString("S", "k"), "<default>");
    putBytes(dir, "[S]\nempty=\nblank = \t\nbare\nbare=later\n");
    EXPECT_EQ(profileString("S", "empty"), "");
    EXPECT_EQ(profileString("S", "blank"), "");
    EXPECT_EQ(profileString("S", "missing"), "<default>");
    EXPECT_EQ(profileString("T", "empty"), "<default>");
    // A line without '=' is the first "bare" and has no value.
    EXPECT_EQ(profileString("S", "bare"), "<default>");
}

TEST(ProfileRead, DefaultLosesTrailingSpacesOnly) {
    ScopedWorkDir dir;
    EXPECT_EQ(profileString("S", "k", "  a b  "), "  a b");
    EXPECT_EQ(profileString("S", "k", "\tx\t  "), "\tx\t");
    EXPECT_EQ(profileString("S", "k", "   "), "");
    EXPECT_EQ(profileString("S", "k", nullptr), "");
}

TEST(ProfileRead, ResultIsCutToTheBuffer) {
    ScopedWorkDir dir;
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
    ScopedWorkDir dir;
    putBytes(dir, "[S]\nk=v\n");
    EXPECT_EQ(profileString(nullptr, "k"), "<default>");
    EXPECT_EQ(profileString("S", nullptr), "<default>");
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, nullptr), "<default>");
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, ""), "<default>");
}

TEST(ProfileRead, OnlyTheUtf16LeMarkIsRecognised) {
    ScopedWorkDir dir;
    putBytes(dir, "\xEF\xBB\xBF[S]\r\nk=1\r\n[T]\r\nk=2\r\n");
    EXPECT_EQ(profileString("S", "k"), "<default>");
    EXPECT_EQ(profileString("T", "k"), "2");
    putBytes(dir, "\xFE\xFF\0[\0S\0]\0\n\0k\0=\0v"s);
    EXPECT_EQ(profileString("S", "k"), "<default>");
}

TEST(ProfileRead, Utf16LeFileIsReadAsUtf8) {
    ScopedWorkDir dir;
    putBytes(dir, utf16LeFile(QString::fromUtf8("[Gömcfg]\r\nname= Größe €😀 \r\n")
                                  .append(QChar(0xDC00))
                                  .append("=lone\nk=") // a lone surrogate in a key
                                  .append(QChar(0xD800))) +
                      "\x41"); // and half a unit at the end
    EXPECT_EQ(profileString("Gömcfg", "NAME"), "Größe €😀");
    EXPECT_EQ(profileString("Gömcfg", "k"), "\uFFFD");
}

TEST(ProfileRead, BinaryHugeAndOddFilesNeverBreakAReader) {
    ScopedWorkDir dir;
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

    ASSERT_TRUE(QDir(dir.path()).mkdir("dir.ini"));
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, "dir.ini"), "<default>");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.ini")).constData(), 0600), 0);
    EXPECT_EQ(profileString("S", "k", "<default>", 1024, "fifo.ini"), "<default>");
}

TEST(ProfileRead, UnreadableFileGivesTheDefault) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads any file";
    ScopedWorkDir dir;
    putBytes(dir, "[S]\nk=v\n");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(kIni), QFileDevice::WriteOwner));
    EXPECT_EQ(profileString("S", "k"), "<default>");
}

// Where the settings file lives is the front end's business (SettingsFilePath); the store takes
// a name as the system does, and $GOMCFG_WINDIR means nothing to it.
TEST(ProfileNames, ABareNameIsInTheCurrentDirectory) {
    ScopedWorkDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("win"));
    putBytes(dir, "[S]\nk=cwd\n");
    putBytes(dir, "[S]\nk=windir\n", "win/test.ini");
    ScopedEnv winDir("GOMCFG_WINDIR", QFile::encodeName(dir.filePath("win")));
    EXPECT_EQ(profileString("S", "k"), "cwd");
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", kIni), TRUE);
    EXPECT_EQ(bytesOf(dir), "[S]\nk=new\n");
    EXPECT_EQ(profileString("S", "k", "", 1024, "win/test.ini"), "windir");
}
