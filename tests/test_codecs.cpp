#include "TestSupport.h"

#include "platform/DDX.h"
#include "res/WeaponItems.h"
#include "settings/KeyTable.h"
#include "settings/SettingsCodecs.h"
#include "settings/WeaponTokens.h"

TEST(LeadingInt, ReadsLikeAtoiAndSaturates) {
    EXPECT_EQ(ParseLeadingInt("12abc"), 12);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("  \t-5"), -5);
    EXPECT_EQ(ParseLeadingInt("+7"), 7);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("2147483648"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999999999"), -2147483647 - 1);
}

TEST(WholeNumber, AcceptsOnlyWholeNumbers) {
    int v = 42;
    EXPECT_FALSE(ParseWholeNumber(QString(), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("  "), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("-"), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("12a"), v));
    EXPECT_FALSE(ParseWholeNumber(QStringLiteral("1 2"), v));
    EXPECT_EQ(v, 42);
    ASSERT_TRUE(ParseWholeNumber(QStringLiteral(" -3 "), v));
    EXPECT_EQ(v, -3);
    ASSERT_TRUE(ParseWholeNumber(QStringLiteral("99999999999999999999"), v));
    EXPECT_EQ(v, 2147483647);
}

TEST(BoolCodec, DefaultsAndExactWords) {
    ScopedWorkDir dir;
    MessageRecorder messages;
    int v = -1;
    ReadBoolSetting(v, "samemap", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(v, "isc", 1);
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(dir.exists(QStringLiteral("GombleTroveII.ini"))) << "reading must not create";

    dir.write(QStringLiteral("GombleTroveII.ini"),
              "[Gomcfg]\nsamemap=True\nisc=False\ncheating=\nnoexit=1\nctf=false\nhttp=true\n");
    ReadBoolSetting(v, "samemap", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(v, "isc", 1);
    EXPECT_EQ(v, 1);
    ReadBoolSetting(v, "cheating", 1);
    EXPECT_EQ(v, 1);
    ReadBoolSetting(v, "noexit", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(v, "ctf", 1);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(v, "http", 0);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(messages.count(), 0) << "unreadable booleans fall back silently";
}

TEST(IntCodec, DefaultsAndAtoiReading) {
    ScopedWorkDir dir;
    int v = -1;
    ReadIntSetting("Nhttpport", v, 80);
    EXPECT_EQ(v, 80);
    dir.write(QStringLiteral("GombleTroveII.ini"),
              "[Gomcfg]\r\nNfraglimit=12abc\r\nNtimelimit=\r\nNhttpport=-5\r\nNfingerport="
              "99999999999\r\n");
    ReadIntSetting("Nfraglimit", v, 0);
    EXPECT_EQ(v, 12);
    ReadIntSetting("Ntimelimit", v, 7);
    EXPECT_EQ(v, 0) << "an empty value is 0, not the default";
    ReadIntSetting("Nhttpport", v, 80);
    EXPECT_EQ(v, -5);
    ReadIntSetting("Nfingerport", v, 79);
    EXPECT_EQ(v, 2147483647);
}

TEST(Codecs, WriteFormatsAndReportsEachFailedKey) {
    ScopedWorkDir dir;
    MessageRecorder messages;
    WriteBoolSetting(2, "samemap");
    WriteBoolSetting(0, "cheating");
    WriteIntSetting(-3, "Ntimelimit");
    EXPECT_EQ(dir.read(QStringLiteral("GombleTroveII.ini")),
              QByteArray("[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\nNtimelimit=-3\r\n"));
    EXPECT_EQ(messages.count(), 0);

    // A directory where the file should be: every write fails and each is reported.
    QFile::remove(dir.filePath(QStringLiteral("GombleTroveII.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("GombleTroveII.ini")));
    WriteBoolSetting(1, "samemap");
    WriteIntSetting(5, "Nfraglimit");
    ASSERT_EQ(messages.count(), 2);
    for (const MessageBoxCall& call : messages.calls()) {
        EXPECT_EQ(call.text, QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n"));
        EXPECT_EQ(call.title, QStringLiteral("Gomcfg2"));
        EXPECT_EQ(call.type, MB_OK | MB_ICONEXCLAMATION);
    }
}

TEST(SettingModel, ReadsTextTheWayTheSheetDoes) {
    EXPECT_EQ(ReadBooleanText("true"), 1);
    EXPECT_EQ(ReadBooleanText("false"), 0);
    for (const char* text : {"True", "FALSE", "1", "", "true ", " false", "yes"})
        EXPECT_EQ(ReadBooleanText(text), std::nullopt) << text;

    EXPECT_EQ(ParseWholeNumber(std::string_view(" -3 ")), -3);
    EXPECT_EQ(ParseWholeNumber(std::string_view("+0012")), 12);
    EXPECT_EQ(ParseWholeNumber(std::string_view("99999999999999999999")), 2147483647);
    for (const char* text : {"", " ", "-", "+", "12a", "1 2", "0x10", "--1"})
        EXPECT_EQ(ParseWholeNumber(std::string_view(text)), std::nullopt) << text;
}

TEST(SettingModel, FindsKeysIgnoringCaseOnly) {
    ASSERT_NE(FindSettingKey("nFRAGLIMIT"), nullptr);
    EXPECT_STREQ(FindSettingKey("nFRAGLIMIT")->key, "Nfraglimit");
    EXPECT_STREQ(FindSettingKey("ROCKETST")->key, "rocketsT");
    for (const char* text : {"fraglimit", "Nfraglimit ", "", "rocketsTT", "Gomcfg"})
        EXPECT_EQ(FindSettingKey(text), nullptr) << text;
    for (const SettingKey& key : SettingKeys())
        EXPECT_NE(SettingTabCaption(key.dialogId), nullptr) << key.key;
}

TEST(SettingModel, ShownWeaponNamesFollowTheListOrder) {
    QStringList listed;
    for (const char* item : kWeaponItems)
        listed << QString::fromLatin1(item);
    listed.sort(Qt::CaseInsensitive);
    ASSERT_EQ(listed.size(), kWeaponCount);
    for (int i = 0; i < kWeaponCount; ++i)
        EXPECT_EQ(QString::fromLatin1(WeaponShownName(i)), listed[i]);
    EXPECT_EQ(WeaponShownName(kWeaponCount), nullptr);
}
