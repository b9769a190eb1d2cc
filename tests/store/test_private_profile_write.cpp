#include "support/StoreSupport.h"

#include <sys/stat.h>

using namespace std::string_literals;

namespace {

BOOL put(const char* section, const char* key, const char* value) {
    return WritePrivateProfileString(section, key, value, kIni);
}

// Writes value into a file holding before and expects exactly after.
void expectEdit(const std::string& before, const char* section, const char* key, const char* value,
                const std::string& after) {
    WorkDir dir;
    putBytes(dir, before);
    EXPECT_EQ(put(section, key, value), TRUE);
    EXPECT_EQ(bytesOf(dir), after) << "editing " << before;
}

} // namespace

TEST(ProfileWrite, MissingFileIsCreatedWithCrlfAndTheUsualMode) {
    WorkDir dir;
    const mode_t old = ::umask(027);
    EXPECT_EQ(put(" S ", "  k ", " v "), TRUE);
    ::umask(old);
    EXPECT_EQ(bytesOf(dir), "[S]\r\nk= v \r\n");
    EXPECT_EQ(modeOf(dir.filePath(kIni)), 0640u);
}

TEST(ProfileWrite, ExistingKeyLineIsRewrittenAndNothingElse) {
    const std::string head = "\x01\x02\0bin\xff\r\nstray=1\r\n; c\r\n[Other]\r\nshotgun=o\r\n"
                             "[GomCfg]  tail\r\n\r\n"s;
    const std::string tail = "shotgun=second\r\n; after\r\n[gomcfg]\r\nshotgun=dup\r\n";
    expectEdit(head + "  ShotGun \t=  \"old\" ; x\r\n" + tail, "gomcfg", "SHOTGUN", "new",
               head + "ShotGun=new\r\n" + tail);
    // The line takes the written form even when the value stays.
    expectEdit("[S]\r\n k = v \r\n", "S", "k", "v", "[S]\r\nk=v\r\n");
}

TEST(ProfileWrite, RewrittenLineKeepsItsOwnLineEnd) {
    expectEdit("[S]\r\nk=1\nj=2\r\n", "S", "k", "9", "[S]\r\nk=9\nj=2\r\n");
    expectEdit("[S]\r\nk=1", "S", "k", "9", "[S]\r\nk=9\r\n");
    expectEdit("[S]\nk=1", "S", "k", "9", "[S]\nk=9\n");
    expectEdit("[S]\rk=1", "S", "k", "9", "[S]\rk=9\r");
}

TEST(ProfileWrite, ValueIsWrittenVerbatim) {
    expectEdit("[S]\r\nk=1\r\n", "S", "k", "  \"q\" ;c# ", "[S]\r\nk=  \"q\" ;c# \r\n");
    expectEdit("[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n");
}

TEST(ProfileWrite, NewKeyFollowsTheLastKeyOfTheFirstMatchingSection) {
    expectEdit("[S]\r\na=1\r\n\r\n; trailing\r\n[T]\r\n", "s", "b", "2",
               "[S]\r\na=1\r\nb=2\r\n\r\n; trailing\r\n[T]\r\n");
    expectEdit("[S]\r\n; only a comment\r\n\r\n[T]\r\nx=1\r\n", "S", "b", "2",
               "[S]\r\nb=2\r\n; only a comment\r\n\r\n[T]\r\nx=1\r\n");
    expectEdit("[S]\r\na=1\r\n[S]\r\nb=1\r\n", "S", "b", "2",
               "[S]\r\na=1\r\nb=2\r\n[S]\r\nb=1\r\n");
    expectEdit("a=0\r\n[S]\r\na=1", "S", "b", "2", "a=0\r\n[S]\r\na=1\r\nb=2\r\n");
    expectEdit("[S]", "S", "b", "2", "[S]\r\nb=2\r\n");
}

TEST(ProfileWrite, NewSectionIsAppendedWithoutABlankLine) {
    expectEdit("[T]\r\nx=1\r\n", "S", "k", "v", "[T]\r\nx=1\r\n[S]\r\nk=v\r\n");
    expectEdit("[T]\r\nx=1", "S", "k", "v", "[T]\r\nx=1\r\n[S]\r\nk=v\r\n");
    expectEdit("", "S", "k", "v", "[S]\r\nk=v\r\n");
    // Keys before the first header belong to no section.
    expectEdit("k=1\r\n", "S", "k", "v", "k=1\r\n[S]\r\nk=v\r\n");
    // Windows takes the mark of a UTF-16LE file for text without a line end.
    expectEdit("\xFF\xFE", "S", "k", "v", utf16LeFile(u"\r\n[S]\r\nk=v\r\n"));
    expectEdit("\xFF\xFE", "S", "k", nullptr, "\xFF\xFE");
}

TEST(ProfileWrite, NewLinesFollowTheFilesLineEnds) {
    expectEdit("[T]\nx=1\n", "S", "k", "v", "[T]\nx=1\n[S]\nk=v\n");
    expectEdit("[T]\rx=1", "S", "k", "v", "[T]\rx=1\r[S]\rk=v\r");
    expectEdit("[S]\na=1", "S", "k", "v", "[S]\na=1\nk=v\n");
    expectEdit("[T]\nx=1\r\n", "S", "k", "v", "[T]\nx=1\r\n[S]\r\nk=v\r\n");
    expectEdit("[T]\nx=1\r", "S", "k", "v", "[T]\nx=1\r[S]\r\nk=v\r\n");
    expectEdit("[T]", "S", "k", "v", "[T]\r\n[S]\r\nk=v\r\n");
}

TEST(ProfileWrite, NullValueRemovesOnlyTheKeyLine) {
    const std::string file = "[S]\r\na=1\r\nB=2\r\n[T]\r\na=3\r\n";
    expectEdit(file, "S", "a", nullptr, "[S]\r\nB=2\r\n[T]\r\na=3\r\n");
    expectEdit("[S]\r\nb=2\r\n[T]\r\n", "S", "b", nullptr, "[S]\r\n[T]\r\n");
    expectEdit("[S]\r\nb=2", "s", "B", nullptr, "[S]\r\n");
    expectEdit(file, "S", "missing", nullptr, file);
    expectEdit(file, "U", "a", nullptr, file);

    WorkDir dir;
    EXPECT_EQ(put("S", "k", nullptr), TRUE);
    EXPECT_TRUE(dir.exists(kIni));
    EXPECT_EQ(bytesOf(dir), "");
}

TEST(ProfileWrite, NullSectionOrKeyOrNoFileNameIsRefused) {
    WorkDir dir;
    EXPECT_EQ(put(nullptr, "k", "v"), FALSE);
    EXPECT_EQ(put("S", nullptr, "v"), FALSE);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", nullptr), FALSE);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", ""), FALSE);
    EXPECT_TRUE(entriesOf(dir.path()).empty());
}

TEST(ProfileWrite, WhatIsWrittenReadsBack) {
    WorkDir dir;
    putBytes(dir, "\xEF\xBB\xBF[Gomcfg]\nstray\n[gomcfg]\r;x\n[Other]\rk=1");
    const std::pair<const char*, const char*> keys[] = {
        {"shotgun", "false"}, {"Nfraglimit", "-12"}, {"shotgunT", "rockets"}, {"SHOTGUN", "true"}};
    for (const auto& [key, value] : keys)
        ASSERT_EQ(put("Gomcfg", key, value), TRUE);
    EXPECT_EQ(profileString("gomcfg", "shotgun"), "true");
    EXPECT_EQ(profileString("gomcfg", "nfraglimit"), "-12");
    EXPECT_EQ(profileString("gomcfg", "shotgunt"), "rockets");
    EXPECT_EQ(profileString("Other", "k"), "1");
}

TEST(ProfileWrite, Utf16LeFileStaysUtf16Le) {
    WorkDir dir;
    const std::u16string lone(1, char16_t(0xD800));
    putBytes(dir, utf16LeFile(u"[Gomcfg]\r\nname=alt\r\n; " + lone + u" Größe\r\n") + "\x41");
    EXPECT_EQ(put("Gomcfg", "name", "Wert ✓"), TRUE);
    EXPECT_EQ(put("Gomcfg", "neu", "ja"), TRUE);
    EXPECT_EQ(put("Ü", "k", "v"), TRUE);
    EXPECT_EQ(bytesOf(dir), utf16LeFile(u"[Gomcfg]\r\nname=Wert ✓\r\nneu=ja\r\n; " + lone +
                                        u" Größe\r\n[Ü]\r\nk=v\r\n") +
                                "\x41");
    EXPECT_EQ(profileString("Gomcfg", "name"), "Wert ✓");
}

TEST(ProfileWrite, BinaryAndHugeFilesAreEditedInPlace) {
    const std::string huge(3 << 20, 'x');
    expectEdit("\0\xff\n[S]\0\r\n\0=\0\r\nk=1\r\n"s + huge + "\r\n\0"s, "S", "k", "2",
               "\0\xff\n[S]\0\r\n\0=\0\r\nk=2\r\n"s + huge + "\r\n\0"s);
    expectEdit(huge, "S", "k", "v", huge + "\r\n[S]\r\nk=v\r\n");
}
