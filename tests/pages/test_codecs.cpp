#include "support/SessionSupport.h"
#include "support/TestSupport.h"

#include "model/PageCodecs.h"

TEST(BoolCodec, DefaultsAndExactWords) {
    ScopedWorkDir dir;
    CodecSession session;
    MessageRecorder messages;
    int v = -1;
    ReadBoolSetting(session.io(), v, "samemap", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(session.io(), v, "isc", 1);
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(dir.exists(kSettingsFile)) << "reading must not create";

    dir.write(kSettingsFile,
              "[Gomcfg]\nsamemap=True\nisc=False\ncheating=\nnoexit=1\nctf=false\nhttp=true\n");
    ReadBoolSetting(session.io(), v, "samemap", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(session.io(), v, "isc", 1);
    EXPECT_EQ(v, 1);
    ReadBoolSetting(session.io(), v, "cheating", 1);
    EXPECT_EQ(v, 1);
    ReadBoolSetting(session.io(), v, "noexit", 0);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(session.io(), v, "ctf", 1);
    EXPECT_EQ(v, 0);
    ReadBoolSetting(session.io(), v, "http", 0);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(messages.count(), 0) << "unreadable booleans fall back silently";
}

TEST(IntCodec, DefaultsAndAtoiReading) {
    ScopedWorkDir dir;
    CodecSession session;
    int v = -1;
    ReadIntSetting(session.io(), "Nhttpport", v, 80);
    EXPECT_EQ(v, 80);
    dir.write(kSettingsFile,
              "[Gomcfg]\r\nNfraglimit=12abc\r\nNtimelimit=\r\nNhttpport=-5\r\nNfingerport="
              "99999999999\r\n");
    ReadIntSetting(session.io(), "Nfraglimit", v, 0);
    EXPECT_EQ(v, 12);
    ReadIntSetting(session.io(), "Ntimelimit", v, 7);
    EXPECT_EQ(v, 0) << "an empty value is 0, not the default";
    ReadIntSetting(session.io(), "Nhttpport", v, 80);
    EXPECT_EQ(v, -5);
    ReadIntSetting(session.io(), "Nfingerport", v, 79);
    EXPECT_EQ(v, 2147483647);
}

TEST(Codecs, WriteFormatsAndReportsEachFailedKey) {
    ScopedWorkDir dir;
    CodecSession session;
    MessageRecorder messages;
    WriteBoolSetting(session.io(), 2, "samemap");
    WriteBoolSetting(session.io(), 0, "cheating");
    WriteIntSetting(session.io(), -3, "Ntimelimit");
    EXPECT_FALSE(dir.exists(kSettingsFile)) << "written with the next save only";
    session.save();
    EXPECT_EQ(dir.settings(),
              QByteArray("[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\nNtimelimit=-3\r\n"));
    EXPECT_EQ(messages.count(), 0);

    // A directory where the file should be: every write fails and each is reported.
    QFile::remove(dir.settingsPath());
    ASSERT_TRUE(QDir(dir.path()).mkdir(kSettingsFile));
    WriteBoolSetting(session.io(), 1, "samemap");
    WriteIntSetting(session.io(), 5, "Nfraglimit");
    EXPECT_EQ(messages.count(), 0);
    session.save();
    ASSERT_EQ(messages.count(), 2);
    for (const MessageBoxCall& call : messages.calls()) {
        EXPECT_EQ(call.text, QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n"));
        EXPECT_EQ(call.title, QStringLiteral("Gomcfg2"));
        EXPECT_EQ(call.type, MB_OK | MB_ICONEXCLAMATION);
    }
}

// The codecs reach only the file of the session they are handed: one in a directory that does
// not exist reads defaults and reports every write, and the file next door stays as it was.
TEST(Codecs, ASessionWithoutItsFileReadsDefaultsAndReportsEveryWrite) {
    ScopedWorkDir dir;
    dir.writeSettings("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=7\r\n");
    MessageRecorder messages;
    CodecSession session(dir.filePath("missing/GombleTroveII.ini").toStdString());
    int v = -1;
    ReadBoolSetting(session.io(), v, "samemap", 0);
    EXPECT_EQ(v, 0);
    ReadIntSetting(session.io(), "Nfraglimit", v, 3);
    EXPECT_EQ(v, 3);
    WriteBoolSetting(session.io(), 0, "samemap");
    session.save();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ERROR: Problem saving GombleTroveII.ini\n")});
    EXPECT_EQ(dir.settings(), QByteArray("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=7\r\n"));
}
