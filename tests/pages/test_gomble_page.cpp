#include "launch/EditorLauncher.h"
#include "support/SheetHarness.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

constexpr int kPlaceholders[] = {IDC_DISTORTION_FIELD, IDC_ION_BLASTER, IDC_LAZER_GUIDED, IDC_BAG};

struct GomblePageTest : PageSheet {
    static constexpr int kGombleTab = 0, kServerTab = 1;

    GomblePageTest() : PageSheet({IDD_GOMBLE_STUFF, IDD_SERVER_OPTIONS}) {}

    void show() { open(); }
    QString preview() const {
        auto* edit = qobject_cast<QPlainTextEdit*>(gomble.GetDlgItem(IDC_MOTD_PREVIEW));
        return edit ? edit->toPlainText() : QString();
    }
    bool motdControlsEnabled() const {
        return gomble.GetDlgItem(IDC_EDIT_MOTD)->isEnabled() &&
               gomble.GetDlgItem(IDC_MOTD_PREVIEW)->isEnabled();
    }
    bool motdControlsDisabled() const {
        return !gomble.GetDlgItem(IDC_EDIT_MOTD)->isEnabled() &&
               !gomble.GetDlgItem(IDC_MOTD_PREVIEW)->isEnabled();
    }

    CPropertyPage& gomble = page(IDD_GOMBLE_STUFF);
    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
};

TEST_F(GomblePageTest, WithoutSettingsEverythingIsOnAndOkWritesTheFourKeysInOrder) {
    show();
    ASSERT_EQ(sheet.GetActivePage(), &gomble);
    for (int id : {IDC_MOTD_ENABLED, IDC_GRAPPLE, IDC_CHOKER, IDC_CHAIN_RAILGUN})
        EXPECT_TRUE(isChecked(gomble, id)) << id;
    EXPECT_TRUE(motdControlsEnabled());
    EXPECT_TRUE(preview().contains(QStringLiteral("Welcome Message")));
    EXPECT_FALSE(applyEnabled(sheet));

    pressOk(sheet);
    EXPECT_EQ(dir.settings(), QByteArray("[Gomcfg]\r\n"
                                         "show_motd=true\r\n"
                                         "grapple=true\r\n"
                                         "choker=true\r\n"
                                         "chainrailgun=true\r\n"));
    EXPECT_TRUE(holdsKeyTableDefaults(dir.settings(), IDD_GOMBLE_STUFF));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(GomblePageTest, PlaceholdersStayGreyUncheckedAndUnwritten) {
    show();
    for (int id : kPlaceholders) {
        QWidget* box = gomble.GetDlgItem(id);
        ASSERT_NE(box, nullptr) << id;
        EXPECT_TRUE(box->isVisible()) << id;
        EXPECT_FALSE(box->isEnabled()) << id;
        EXPECT_FALSE(isChecked(gomble, id)) << id;
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
        EXPECT_FALSE(isChecked(gomble, id)) << id;
    }
    bool missilesGrey = false;
    for (const QLabel* label : gomble.findChildren<QLabel*>())
        missilesGrey |= label->text() == QStringLiteral("Missiles") && !label->isEnabled();
    EXPECT_TRUE(missilesGrey);
    EXPECT_FALSE(applyEnabled(sheet));

    // Toggling every real box twice leaves the placeholders out of the file.
    for (int id : {IDC_GRAPPLE, IDC_CHOKER, IDC_CHAIN_RAILGUN}) {
        ASSERT_TRUE(click(gomble, id));
        ASSERT_TRUE(click(gomble, id));
    }
    pressApply(sheet);
    const QByteArray written = dir.settings();
    EXPECT_EQ(written.count('='), 4);
    for (const char* key : {"bag", "distortion", "ion", "lazer", "missiles"})
        EXPECT_FALSE(written.toLower().contains(key)) << key;
}

TEST_F(GomblePageTest, StoredValuesAreLoadedOnceAndWrittenBack) {
    dir.writeSettings("[Gomcfg]\r\nshow_motd=false\r\ngrapple=false\r\nchoker=TRUE\r\n"
                      "chainrailgun=false\r\n");
    show();
    EXPECT_FALSE(isChecked(gomble, IDC_MOTD_ENABLED));
    EXPECT_FALSE(isChecked(gomble, IDC_GRAPPLE));
    EXPECT_TRUE(isChecked(gomble, IDC_CHOKER)); // not exactly "true": the default
    EXPECT_FALSE(isChecked(gomble, IDC_CHAIN_RAILGUN));
    EXPECT_TRUE(motdControlsDisabled());

    ASSERT_TRUE(click(gomble, IDC_GRAPPLE));
    ASSERT_TRUE(sheet.SetActivePage(kServerTab));
    dir.writeSettings("[Gomcfg]\r\ngrapple=false\r\n");
    ASSERT_TRUE(sheet.SetActivePage(kGombleTab));
    EXPECT_TRUE(isChecked(gomble, IDC_GRAPPLE)); // the box, not the file

    pressOk(sheet);
    // The user's change is written; the keys the other program removed meanwhile stay removed.
    const QByteArray written = dir.settings();
    EXPECT_TRUE(written.contains("grapple=true\r\n"));
    for (const char* key : {"show_motd=", "choker=", "chainrailgun="})
        EXPECT_FALSE(written.contains(key)) << key;
}

TEST_F(GomblePageTest, MotdEnabledGatesEditButtonAndPreviewAcrossTabSwitches) {
    show();
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_FALSE(isChecked(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsDisabled());
    EXPECT_TRUE(applyEnabled(sheet));

    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsEnabled());
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsDisabled());

    // Leaving and coming back shows the same state, and the toggle keeps following the box.
    clickTab(sheet, kServerTab);
    ASSERT_EQ(sheet.GetActivePage(), &server);
    clickTab(sheet, kGombleTab);
    ASSERT_EQ(sheet.GetActivePage(), &gomble);
    EXPECT_FALSE(isChecked(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsDisabled());
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(isChecked(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsEnabled());

    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    pressOk(sheet);
    EXPECT_TRUE(dir.settings().contains("show_motd=false\r\n"));
}

TEST_F(GomblePageTest, ToggleStartsFromTheStoredValue) {
    dir.writeSettings("[Gomcfg]\r\nshow_motd=false\r\n");
    show();
    ASSERT_TRUE(motdControlsDisabled());
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(isChecked(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(motdControlsEnabled());
    EXPECT_TRUE(applyEnabled(sheet));
}

TEST_F(GomblePageTest, PreviewIsRefreshedOnEachActivationUnlessTheEditorIsOpen) {
    dir.write("gomble_motd.txt", "first message\r\n");
    show();
    EXPECT_TRUE(preview().contains(QStringLiteral("first message")));

    ASSERT_TRUE(sheet.SetActivePage(kServerTab));
    dir.write("gomble_motd.txt", "second message\r\n");
    ASSERT_TRUE(sheet.SetActivePage(kGombleTab));
    EXPECT_TRUE(preview().contains(QStringLiteral("second message")));

    // While its editor is open the preview belongs to the editor's worker.
    ASSERT_TRUE(sheet.SetActivePage(kServerTab));
    dir.write("gomble_motd.txt", "third message\r\n");
    MotdEditor.running = 1;
    ASSERT_TRUE(sheet.SetActivePage(kGombleTab));
    MotdEditor.running = 0;
    EXPECT_TRUE(preview().contains(QStringLiteral("second message")));

    // A disabled preview still shows the file.
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    ASSERT_TRUE(sheet.SetActivePage(kServerTab));
    ASSERT_TRUE(sheet.SetActivePage(kGombleTab));
    EXPECT_TRUE(motdControlsDisabled());
    EXPECT_TRUE(preview().contains(QStringLiteral("third message")));
}

TEST_F(GomblePageTest, EditMotdOpensTheEditorWithoutMarkingThePageModified) {
    const ScopedEnv editor("GOMCFG_EDITOR", "/bin/true");
    show();
    ASSERT_FALSE(applyEnabled(sheet));
    ASSERT_TRUE(click(gomble, IDC_EDIT_MOTD));
    EXPECT_FALSE(applyEnabled(sheet));
    ASSERT_TRUE(QTest::qWaitFor([] { return MotdEditor.running == 0; }, 5000));
    EXPECT_FALSE(applyEnabled(sheet));
    EXPECT_FALSE(dir.exists(kSettingsFile));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(GomblePageTest, EditorSavingReloadsTheDisabledPreviewWhenItCloses) {
    const ScopedEnv editor("GOMCFG_EDITOR", testScript("motd_editor_until_released.sh"));
    show();
    ASSERT_TRUE(click(gomble, IDC_EDIT_MOTD));
    ASSERT_EQ(MotdEditor.running.load(), 1);
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    ASSERT_TRUE(motdControlsDisabled());

    dir.write("release", "");
    ASSERT_TRUE(QTest::qWaitFor([] { return MotdEditor.running == 0; }, 5000));
    EXPECT_TRUE(preview().contains(QStringLiteral("Edited while open")));
    EXPECT_TRUE(motdControlsDisabled());
    // Switching the preview back on shows what the editor left, not what the page first read.
    ASSERT_TRUE(click(gomble, IDC_MOTD_ENABLED));
    EXPECT_TRUE(preview().contains(QStringLiteral("Edited while open")));
}

} // namespace
