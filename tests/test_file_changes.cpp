#include "PageTestSupport.h"
#include "RealSheet.h"

#include "settings/KeyTable.h"
#include "settings/SettingValues.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

// Another program writes the settings file while the sheet is open: what it wrote is never
// silently reverted, and a key both sides changed is the user's decision.

namespace {

constexpr int kWeapons = 105;
constexpr int kServer = 134;
constexpr int kSameMap = 1041;
constexpr int kCheating = 1038;
constexpr int kNoExit = 1036;
constexpr int kFragLimit = 1043;
constexpr int kTimeLimit = 1044;
constexpr int kShotgunEnabled = 1000;
constexpr int kRailgunEnabled = 1015;
constexpr int kShotgunList = 1018;
constexpr int kRailgunList = 1025;

const QString kFile = QStringLiteral("GombleTroveII.ini");

struct FileChanges : RealSheet {
    // What a text editor does: the whole file rewritten in place.
    void otherProgramWrites(const QByteArray& bytes) { dir.write(kFile, bytes); }
    // The file without the Weapons page's lines: the sheet opens on that page, so OK and Apply
    // write them too.
    std::string withoutWeapons() const {
        QByteArray out;
        for (const QByteArray& line : file().split('\n')) {
            const SettingKey* key = FindSettingKey(line.left(line.indexOf('=')).toStdString());
            if (!key || key->dialogId != kWeapons)
                out += line + '\n';
        }
        out.chop(1);
        return out.toStdString();
    }
    int listSelection(int dialogId, int id) {
        auto* combo = qobject_cast<QComboBox*>(page(dialogId).GetDlgItem(id));
        return combo ? combo->currentIndex() : -2;
    }
};

} // namespace

TEST_F(FileChanges, TheAdminsCaseKeepsTheLimitWrittenFromATerminal) {
    dir.write(kFile, "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=0\r\n");
    CPropertyPage& server = show(kServer);
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\n");
    ASSERT_TRUE(click(&server, kSameMap));
    pressOk(sheet);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=50\r\ncheating=false\r\n"
                                "noexit=false\r\nNtimelimit=0\r\n");
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(FileChanges, KeptValuesAreShownAndTheNextApplyStartsFromThem) {
    dir.write(kFile, "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\nNtimelimit=12abc\r\n");
    CPropertyPage& server = show(kServer);
    // The time limit shows as 12; written back unchanged it becomes "12", as always, while
    // the file still holds the text it was read from.
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\nNtimelimit=12abc\r\n");
    ASSERT_TRUE(click(&server, kSameMap));
    pressApply(sheet);
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=50\r\nNtimelimit=12\r\n"
                                "cheating=false\r\nnoexit=false\r\n");
    EXPECT_EQ(textOf(&server, kFragLimit), QStringLiteral("50"));
    EXPECT_FALSE(applyEnabled(sheet));

    // 50 is now what the page has loaded, and "true" what it wrote: the limit changed here is
    // the user's change, with no question; samemap set back in the file is the file's.
    otherProgramWrites(QByteArray(file()).replace("samemap=true", "samemap=false"));
    ASSERT_TRUE(typeInto(&server, kFragLimit, QStringLiteral("51")));
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nNfraglimit=51\r\n"));
    EXPECT_TRUE(file().contains("\r\nsamemap=false\r\n"));
    EXPECT_FALSE(isChecked(&server, kSameMap));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(FileChanges, KeysMissingAtLoadCountLikeAnyText) {
    dir.write(kFile, "[Gomcfg]\r\nNfraglimit=7\r\nNtimelimit=9\r\n");
    CPropertyPage& server = show(kServer);
    // Keys added and removed elsewhere; here only cheating and the time limit are changed.
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\n");
    ASSERT_TRUE(click(&server, kCheating));
    ASSERT_TRUE(typeInto(&server, kTimeLimit, QStringLiteral("10")));
    messages.answerQuestions(IDNO);
    pressApply(sheet);

    ASSERT_EQ(messages.count(), 1);
    const QString question = messages.texts()[0];
    EXPECT_EQ(question.count(QStringLiteral(" here\n")), 2) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("\ncheating: false in the file, true here\n")));
    EXPECT_TRUE(question.contains(QStringLiteral("\nNtimelimit: not in the file, 10 here\n")));
    // Kept as the file has them: samemap added, the limits gone, cheating the user's answer.
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\nnoexit=false\r\n");
    EXPECT_TRUE(isChecked(&server, kSameMap));
    EXPECT_FALSE(isChecked(&server, kCheating));
    EXPECT_EQ(textOf(&server, kFragLimit), QStringLiteral("0"));
    EXPECT_EQ(textOf(&server, kTimeLimit), QStringLiteral("0"));
}

// Every answer to the question, with the limit changed on both sides and an untouched key
// added in the file meanwhile.
class Conflict : public FileChanges, public ::testing::WithParamInterface<int> {};

TEST_P(Conflict, OneQuestionBeforeAnythingIsWritten) {
    dir.write(kFile, "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\n");
    CPropertyPage& server = show(kServer);
    ASSERT_TRUE(typeInto(&server, kFragLimit, QStringLiteral("8")));
    ASSERT_TRUE(click(&server, kCheating));
    const QByteArray theirs = "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\nnoexit=true\r\n";
    otherProgramWrites(theirs);
    const int answer = GetParam();
    messages.answerQuestions(answer);
    messages.onMessage([&](const MessageBoxCall&) {
        EXPECT_EQ(file().toStdString(), theirs.toStdString())
            << "nothing written before the answer";
    });
    pressOk(sheet);

    ASSERT_EQ(messages.count(), 1);
    const MessageBoxCall& question = messages.calls()[0];
    EXPECT_EQ(question.type & 0x000F, MB_YESNOCANCEL);
    EXPECT_TRUE(question.text.contains(QStringLiteral("\nNfraglimit: 50 in the file, 8 here\n")))
        << question.text.toStdString();
    EXPECT_FALSE(question.text.contains(QStringLiteral("noexit")));
    if (answer == IDCANCEL) {
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(file().toStdString(), theirs.toStdString());
        EXPECT_TRUE(applyEnabled(sheet));
        EXPECT_EQ(textOf(&server, kFragLimit), QStringLiteral("8"));
        return;
    }
    EXPECT_FALSE(sheet.isVisible());
    const std::string limit = answer == IDYES ? "8" : "50";
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=" + limit +
                                    "\r\nnoexit=true\r\ncheating=true\r\nNtimelimit=0\r\n");
    EXPECT_EQ(textOf(&server, kFragLimit), QString::fromStdString(limit));
    EXPECT_TRUE(isChecked(&server, kNoExit));
}

INSTANTIATE_TEST_SUITE_P(Answers, Conflict, ::testing::Values(IDYES, IDNO, IDCANCEL),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == IDYES  ? std::string("OverwriteTheFile")
                                    : info.param == IDNO ? std::string("KeepTheFile")
                                                         : std::string("Cancel");
                         });

TEST_F(FileChanges, AWeaponTurnedOffElsewhereShowsWithItsListInStep) {
    CPropertyPage& weapons = page(kWeapons);
    // The railgun's box was clicked twice: the same value as loaded, so not the user's change.
    ASSERT_TRUE(click(&weapons, kRailgunEnabled));
    ASSERT_TRUE(click(&weapons, kRailgunEnabled));
    ASSERT_TRUE(click(&weapons, kShotgunEnabled));
    otherProgramWrites("[Gomcfg]\r\nrailgun=false\r\n");
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nrailgun=false\r\n"));
    EXPECT_TRUE(file().contains("\r\nshotgun=false\r\n"));
    EXPECT_FALSE(isChecked(&weapons, kRailgunEnabled));
    EXPECT_FALSE(weapons.GetDlgItem(kRailgunList)->isEnabled());

    ASSERT_TRUE(click(&weapons, kRailgunEnabled));
    EXPECT_TRUE(isChecked(&weapons, kRailgunEnabled));
    EXPECT_TRUE(weapons.GetDlgItem(kRailgunList)->isEnabled());
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nrailgun=true\r\n"));
    EXPECT_EQ(messages.count(), 0);
}

// The Weapons page reads its keys as the sheet opens, so the file is there first.
struct UnreadableSubstitute : FileChanges {
    void SetUp() override {
        dir.write(kFile, "[Gomcfg]\r\nshotgunT=Rocket Launcher\r\n");
        FileChanges::SetUp();
    }
};

TEST_F(UnreadableSubstitute, IsTheUsersChangeOnceChosen) {
    CPropertyPage& weapons = page(kWeapons);
    ASSERT_EQ(messages.count(), 1) << "the unreadable substitute is reported";
    ASSERT_EQ(listSelection(kWeapons, kShotgunList), -1);
    chooseListItem(weapons, kShotgunList, 0);
    otherProgramWrites("[Gomcfg]\r\nshotgunT=railgun\r\n");
    messages.answerQuestions(IDNO);
    pressApply(sheet);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(
        messages.texts()[1].contains(QStringLiteral("shotgunT: railgun in the file, bfg here")));
    EXPECT_TRUE(file().contains("\r\nshotgunT=railgun\r\n"));
    EXPECT_EQ(listSelection(kWeapons, kShotgunList), 5);
}

// A second process sets the frag limit over and over while the user applies other changes:
// each Apply leaves it at least at the last value that process had written before.
TEST_F(FileChanges, AWriterHammeringTheKeyIsNeverOverwrittenWithAStaleValue) {
    dir.write(kFile, "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=0\r\n");
    CPropertyPage& server = show(kServer);
    QProcess writer;
    writer.start(QStringLiteral(GOMCFG_PROFILE_WRITER),
                 {QStringLiteral("loop"), dir.filePath(kFile), QStringLiteral("Gomcfg"),
                  QStringLiteral("Nfraglimit")});
    ASSERT_TRUE(writer.waitForStarted());
    QByteArray reported;
    const auto lastReported = [&] {
        writer.waitForReadyRead(1000);
        reported += writer.readAllStandardOutput();
        const QList<QByteArray> lines = reported.trimmed().split('\n');
        return lines.back().toInt();
    };
    const auto limitInFile = [&] {
        const QByteArray bytes = file();
        const qsizetype at = bytes.indexOf("Nfraglimit=");
        return at < 0 ? -1 : ParseLeadingInt(bytes.mid(at + 11).toStdString());
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return lastReported() > 0; }, 5000));

    for (int round = 0; round < 25; ++round) {
        ASSERT_TRUE(click(&server, kSameMap));
        const int before = lastReported();
        pressApply(sheet);
        EXPECT_GE(limitInFile(), before) << "round " << round;
        EXPECT_GE(textOf(&server, kFragLimit).toInt(), before) << "round " << round;
    }
    writer.kill();
    writer.waitForFinished();
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(file().contains(isChecked(&server, kSameMap) ? "\r\nsamemap=true\r\n"
                                                             : "\r\nsamemap=false\r\n"));
}

// The real question box: Yes, No and Cancel, with Cancel the default and Esc cancelling, so a
// hasty Enter writes nothing.
TEST(ConflictQuestionBox, AnswersAsPressed) {
    const auto ask = [](void (*press)(QMessageBox*)) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, press] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                press(box);
            }
        });
        poll->start(10);
        return AfxMessageBox(QStringLiteral("Overwrite?"),
                             MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3);
    };
    EXPECT_EQ(ask([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }), IDYES);
    EXPECT_EQ(ask([](QMessageBox* b) { b->button(QMessageBox::No)->click(); }), IDNO);
    EXPECT_EQ(ask([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }), IDCANCEL);
    EXPECT_EQ(ask([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }), IDCANCEL);
}
