#include "res/ControlIds.h"
#include "support/LockHolder.h"
#include "support/SheetHarness.h"

#include "settings/KeyTable.h"
#include "settings/SettingValues.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <thread>

// Another program writes the settings file while the sheet is open: what it wrote is never
// silently reverted, and a key both sides changed is the user's decision.

namespace {

struct FileChanges : RealSheet {
    // What a text editor does: the whole file rewritten in place.
    void otherProgramWrites(const QByteArray& bytes) { dir.writeSettings(bytes); }
    // The file without the Weapons page's lines: the sheet opens on that page, so OK and Apply
    // write them too.
    std::string withoutWeapons() const {
        QByteArray out;
        for (const QByteArray& line : file().split('\n')) {
            const SettingKey* key = FindSettingKey(line.left(line.indexOf('=')).toStdString());
            if (!key || QLatin1String(key->tab) != page(IDD_WEAPONS).GetCaption())
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
    dir.writeSettings("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=0\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\n");
    ASSERT_TRUE(click(server, IDC_SAME_MAP));
    pressOk(sheet);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=50\r\ncheating=false\r\n"
                                "noexit=false\r\nNtimelimit=0\r\n");
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(FileChanges, KeptValuesAreShownAndTheNextApplyStartsFromThem) {
    dir.writeSettings("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\nNtimelimit=12abc\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    // The time limit shows as 12; written back unchanged it becomes "12", as always, while
    // the file still holds the text it was read from.
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\nNtimelimit=12abc\r\n");
    ASSERT_TRUE(click(server, IDC_SAME_MAP));
    pressApply(sheet);
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=50\r\nNtimelimit=12\r\n"
                                "cheating=false\r\nnoexit=false\r\n");
    EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QStringLiteral("50"));
    EXPECT_FALSE(applyEnabled(sheet));

    // 50 is now what the page has loaded, and "true" what it wrote: the limit changed here is
    // the user's change, with no question; samemap set back in the file is the file's.
    otherProgramWrites(QByteArray(file()).replace("samemap=true", "samemap=false"));
    ASSERT_TRUE(typeInto(server, IDC_FRAG_LIMIT, QStringLiteral("51")));
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nNfraglimit=51\r\n"));
    EXPECT_TRUE(file().contains("\r\nsamemap=false\r\n"));
    EXPECT_FALSE(isChecked(server, IDC_SAME_MAP));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(FileChanges, KeysMissingAtLoadCountLikeAnyText) {
    dir.writeSettings("[Gomcfg]\r\nNfraglimit=7\r\nNtimelimit=9\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    // Keys added and removed elsewhere; here only cheating and the time limit are changed.
    otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\n");
    ASSERT_TRUE(click(server, IDC_CHEATING));
    ASSERT_TRUE(typeInto(server, IDC_TIME_LIMIT, QStringLiteral("10")));
    messages.answerQuestions(IDNO);
    pressApply(sheet);

    ASSERT_EQ(messages.count(), 1);
    const QString question = messages.texts()[0];
    EXPECT_EQ(question.count(QStringLiteral(" here\n")), 2) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("\ncheating: false in the file, true here\n")));
    EXPECT_TRUE(question.contains(QStringLiteral("\nNtimelimit: not in the file, 10 here\n")));
    // Kept as the file has them: samemap added, the limits gone, cheating the user's answer.
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\ncheating=false\r\nnoexit=false\r\n");
    EXPECT_TRUE(isChecked(server, IDC_SAME_MAP));
    EXPECT_FALSE(isChecked(server, IDC_CHEATING));
    EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QStringLiteral("0"));
    EXPECT_EQ(textOf(server, IDC_TIME_LIMIT), QStringLiteral("0"));
}

// Every answer to the question, with the limit changed on both sides and an untouched key
// added in the file meanwhile.
class Conflict : public FileChanges, public ::testing::WithParamInterface<int> {};

TEST_P(Conflict, OneQuestionBeforeAnythingIsWritten) {
    dir.writeSettings("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    ASSERT_TRUE(typeInto(server, IDC_FRAG_LIMIT, QStringLiteral("8")));
    ASSERT_TRUE(click(server, IDC_CHEATING));
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
    // Cancel is the default, so a hasty Enter writes nothing.
    EXPECT_EQ(question.type, MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON3);
    EXPECT_TRUE(question.text.contains(QStringLiteral("\nNfraglimit: 50 in the file, 8 here\n")))
        << question.text.toStdString();
    EXPECT_FALSE(question.text.contains(QStringLiteral("noexit")));
    if (answer == IDCANCEL) {
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(file().toStdString(), theirs.toStdString());
        EXPECT_TRUE(applyEnabled(sheet));
        EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QStringLiteral("8"));
        return;
    }
    EXPECT_FALSE(sheet.isVisible());
    const std::string limit = answer == IDYES ? "8" : "50";
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=false\r\nNfraglimit=" + limit +
                                    "\r\nnoexit=true\r\ncheating=true\r\nNtimelimit=0\r\n");
    EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QString::fromStdString(limit));
    EXPECT_TRUE(isChecked(server, IDC_NO_EXIT));
}

INSTANTIATE_TEST_SUITE_P(Answers, Conflict, ::testing::Values(IDYES, IDNO, IDCANCEL),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == IDYES  ? std::string("OverwriteTheFile")
                                    : info.param == IDNO ? std::string("KeepTheFile")
                                                         : std::string("Cancel");
                         });

TEST_F(FileChanges, AWeaponTurnedOffElsewhereShowsWithItsListInStep) {
    CPropertyPage& weapons = page(IDD_WEAPONS);
    // The railgun's box was clicked twice: the same value as loaded, so not the user's change.
    ASSERT_TRUE(click(weapons, IDC_RAILGUN));
    ASSERT_TRUE(click(weapons, IDC_RAILGUN));
    ASSERT_TRUE(click(weapons, IDC_SHOTGUN));
    otherProgramWrites("[Gomcfg]\r\nrailgun=false\r\n");
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nrailgun=false\r\n"));
    EXPECT_TRUE(file().contains("\r\nshotgun=false\r\n"));
    EXPECT_FALSE(isChecked(weapons, IDC_RAILGUN));
    EXPECT_FALSE(weapons.GetDlgItem(IDC_RAILGUN_LIST)->isEnabled());

    ASSERT_TRUE(click(weapons, IDC_RAILGUN));
    EXPECT_TRUE(isChecked(weapons, IDC_RAILGUN));
    EXPECT_TRUE(weapons.GetDlgItem(IDC_RAILGUN_LIST)->isEnabled());
    pressApply(sheet);
    EXPECT_TRUE(file().contains("\r\nrailgun=true\r\n"));
    EXPECT_EQ(messages.count(), 0);
}

// The Weapons page reads its keys as the sheet opens, so the file is there first.
struct UnreadableSubstitute : FileChanges {
    void SetUp() override {
        dir.writeSettings("[Gomcfg]\r\nshotgunT=Rocket Launcher\r\n");
        FileChanges::SetUp();
    }
};

TEST_F(UnreadableSubstitute, IsTheUsersChangeOnceChosen) {
    CPropertyPage& weapons = page(IDD_WEAPONS);
    ASSERT_EQ(messages.count(), 1) << "the unreadable substitute is reported";
    ASSERT_EQ(listSelection(IDD_WEAPONS, IDC_SHOTGUN_LIST), -1);
    chooseListItem(weapons, IDC_SHOTGUN_LIST, 0);
    otherProgramWrites("[Gomcfg]\r\nshotgunT=railgun\r\n");
    messages.answerQuestions(IDNO);
    pressApply(sheet);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(
        messages.texts()[1].contains(QStringLiteral("shotgunT: railgun in the file, bfg here")));
    EXPECT_TRUE(file().contains("\r\nshotgunT=railgun\r\n"));
    EXPECT_EQ(listSelection(IDD_WEAPONS, IDC_SHOTGUN_LIST), 5);
}

// What another program writes while the question is up is kept too, whatever the answer.
TEST_F(FileChanges, AChangeMadeWhileTheQuestionIsOpenIsKept) {
    dir.writeSettings("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=7\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    ASSERT_TRUE(typeInto(server, IDC_FRAG_LIMIT, QStringLiteral("8")));
    otherProgramWrites("[Gomcfg]\r\nsamemap=false\r\nNfraglimit=50\r\n");
    messages.answerQuestions(IDYES);
    messages.onMessage([&](const MessageBoxCall&) {
        otherProgramWrites("[Gomcfg]\r\nsamemap=true\r\nNfraglimit=50\r\nnoexit=true\r\n");
    });
    pressApply(sheet);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(withoutWeapons(), "[Gomcfg]\r\nsamemap=true\r\nNfraglimit=8\r\nnoexit=true\r\n"
                                "cheating=false\r\nNtimelimit=0\r\n");
    EXPECT_TRUE(isChecked(server, IDC_SAME_MAP));
    EXPECT_TRUE(isChecked(server, IDC_NO_EXIT));
    EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QStringLiteral("8"));
}

TEST_F(FileChanges, TheSameValueOnBothSidesIsNoConflict) {
    dir.writeSettings("[Gomcfg]\r\nNfraglimit=7\r\nsamemap=false\r\n");
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    ASSERT_TRUE(typeInto(server, IDC_FRAG_LIMIT, QStringLiteral("50")));
    ASSERT_TRUE(click(server, IDC_SAME_MAP));
    otherProgramWrites("[Gomcfg]\r\nNfraglimit=50\r\nsamemap=true\r\n");
    pressApply(sheet);
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(file().startsWith("[Gomcfg]\r\nNfraglimit=50\r\nsamemap=true\r\n"));
    EXPECT_EQ(textOf(server, IDC_FRAG_LIMIT), QStringLiteral("50"));
    EXPECT_TRUE(isChecked(server, IDC_SAME_MAP));
}

TEST_F(UnreadableSubstitute, IsNotReportedAgainWhenOtherKeysAreShownAgain) {
    CPropertyPage& weapons = page(IDD_WEAPONS);
    ASSERT_EQ(messages.count(), 1);
    ASSERT_TRUE(click(weapons, IDC_SHOTGUN));
    otherProgramWrites("[Gomcfg]\r\nshotgunT=Rocket Launcher\r\nbfg=false\r\n");
    pressApply(sheet);
    EXPECT_FALSE(isChecked(weapons, IDC_BFG));
    ASSERT_TRUE(click(weapons, IDC_SHOTGUN));
    otherProgramWrites(QByteArray(file()).replace("bfg=false", "bfg=true"));
    pressApply(sheet);
    EXPECT_TRUE(isChecked(weapons, IDC_BFG));
    EXPECT_EQ(messages.count(), 1) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(file().contains("\r\nshotgunT=Rocket Launcher\r\n"));
}

// A second process sets the web server port over and over while the user applies other
// changes: each Apply leaves it at least at the last value that process had written before.
// (The port, not a limit: the count must stay in range for as long as a slow machine takes.)
TEST_F(FileChanges, AWriterHammeringTheKeyIsNeverOverwrittenWithAStaleValue) {
    dir.writeSettings("[Gomcfg]\r\nisc=false\r\nNhttpport=1\r\n");
    CPropertyPage& services = show(IDD_SERVICES);
    QProcess writer;
    writer.start(QStringLiteral(GOMCFG_PROFILE_WRITER),
                 {QStringLiteral("loop"), dir.filePath(kSettingsFile), QStringLiteral("Gomcfg"),
                  QStringLiteral("Nhttpport")});
    ASSERT_TRUE(writer.waitForStarted());
    QByteArray reported;
    const auto lastReported = [&] {
        writer.waitForReadyRead(1000);
        reported += writer.readAllStandardOutput();
        const QList<QByteArray> lines = reported.trimmed().split('\n');
        return lines.back().toInt();
    };
    const auto portInFile = [&] {
        const QByteArray bytes = file();
        const qsizetype at = bytes.indexOf("Nhttpport=");
        return at < 0 ? -1 : ParseLeadingInt(bytes.mid(at + 10).toStdString());
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return lastReported() > 0; }, 5000));

    for (int round = 0; round < 25; ++round) {
        ASSERT_TRUE(click(services, IDC_ISC));
        const int before = lastReported();
        pressApply(sheet);
        EXPECT_GE(portInFile(), before) << "round " << round;
        EXPECT_GE(textOf(services, IDC_HTTP_PORT).toInt(), before) << "round " << round;
    }
    writer.kill();
    writer.waitForFinished();
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(
        file().contains(isChecked(services, IDC_ISC) ? "\r\nisc=true\r\n" : "\r\nisc=false\r\n"));
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

// Another writer holds the lock. All tabs shown, so every key of the sheet is to be written.
struct LockedFile : FileChanges {
    void showEveryTab() {
        for (int i = sheet.GetPageCount() - 1; i >= 0; --i)
            ASSERT_TRUE(sheet.SetActivePage(i));
        ASSERT_TRUE(click(page(IDD_WEAPONS), IDC_BFG));
    }
    const QByteArray stored = "; mine\r\n[Gomcfg]\r\nNfraglimit=7\r\n";
};

TEST_F(LockedFile, OneOkWaitsForTheLockOnceThenReportsEveryKey) {
    dir.writeSettings(stored);
    showEveryTab();
    const std::chrono::milliseconds wait(400);
    disk.lockWait = wait;
    LockHolder holder(dir.path().toStdString());
    QElapsedTimer clock;
    qint64 firstMessageAfter = -1;
    messages.onMessage([&](const MessageBoxCall&) {
        if (firstMessageAfter < 0)
            firstMessageAfter = clock.elapsed();
    });
    clock.start();
    pressOk(sheet);
    const qint64 took = clock.elapsed();

    const int keys = int(SettingKeys().size());
    EXPECT_EQ(messages.texts(), SaveErrorsOfEveryKey());
    EXPECT_EQ(file(), stored);
    EXPECT_GE(firstMessageAfter, wait.count()) << "the messages come after the wait";
    // A wait per key would take keys times as long.
    EXPECT_LT(took, keys * wait.count() / 4) << "waited " << took << " ms";
    EXPECT_FALSE(sheet.isVisible());
}

TEST_F(LockedFile, AWriterThatLetsGoWithinTheWaitDelaysTheSaveOnly) {
    dir.writeSettings(stored);
    showEveryTab();
    LockHolder holder(dir.path().toStdString());
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        holder.release();
    });
    pressApply(sheet);
    releaser.join();
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(file().contains("\r\nbfg=false\r\n"));
    EXPECT_TRUE(file().contains("\r\nNfraglimit=7\r\n"));
    EXPECT_EQ(settingLines(dir).size(), qsizetype(SettingKeys().size()));
}
