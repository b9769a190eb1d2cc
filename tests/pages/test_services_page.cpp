#include "launch/EditorLauncher.h"
#include "support/SheetHarness.h"

#include <QLabel>

namespace {

struct ServicesPageTest : PageSheet {
    static constexpr int kServerTab = 0, kServicesTab = 1;

    ServicesPageTest() : PageSheet({IDD_SERVER_OPTIONS, IDD_SERVICES}, kServicesTab) {}

    // Opens on the Services tab, so no other page writes anything.
    void show() {
        open();
        ASSERT_EQ(sheet.GetActivePage(), &services);
    }
    bool buttonsEnabled() const {
        return services.GetDlgItem(IDC_EDIT_ALLOW_FILE)->isEnabled() &&
               services.GetDlgItem(IDC_EDIT_DENY_FILE)->isEnabled();
    }
    bool buttonsDisabled() const {
        return !services.GetDlgItem(IDC_EDIT_ALLOW_FILE)->isEnabled() &&
               !services.GetDlgItem(IDC_EDIT_DENY_FILE)->isEnabled();
    }
    // The one range message, if exactly one was shown since the last call.
    QString takeOnlyMessage() {
        std::vector<MessageBoxCall> shown;
        shown.swap(messages.calls());
        return shown.size() == 1 ? shown.front().text
                                 : QStringLiteral("<%1 messages>").arg(shown.size());
    }

    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
    CPropertyPage& services = page(IDD_SERVICES);
};

TEST_F(ServicesPageTest, WithoutSettingsShowsDefaultsAndOkWritesTheSevenKeysInOrder) {
    show();
    for (int id : {IDC_ISC, IDC_HTTP, IDC_FINGER, IDC_SENDER, IDC_BANNING})
        EXPECT_TRUE(isChecked(services, id)) << id;
    EXPECT_EQ(textOf(services, IDC_HTTP_PORT), QStringLiteral("80"));
    EXPECT_EQ(textOf(services, IDC_FINGER_PORT), QStringLiteral("79"));
    EXPECT_TRUE(buttonsEnabled());
    // Filling the port boxes on the first showing marks the page modified.
    EXPECT_TRUE(applyEnabled(sheet));

    pressOk(sheet);
    EXPECT_EQ(dir.settings(), QByteArray("[Gomcfg]\r\n"
                                         "isc=true\r\n"
                                         "http=true\r\n"
                                         "finger=true\r\n"
                                         "sender=true\r\n"
                                         "banning=true\r\n"
                                         "Nfingerport=79\r\n"
                                         "Nhttpport=80\r\n"));
    EXPECT_TRUE(holdsKeyTableDefaults(dir.settings(), IDD_SERVICES));
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(ServicesPageTest, NotApplicableLabelsHaveASunkenEdge) {
    show();
    int sunken = 0;
    for (const QLabel* label : services.findChildren<QLabel*>())
        if (label->text() == QStringLiteral("N/A") && label->isVisible() &&
            label->frameShadow() == QFrame::Sunken && label->frameWidth() > 0)
            ++sunken;
    EXPECT_EQ(sunken, 2);
}

TEST_F(ServicesPageTest, FirstShowingIsModifiedEvenWithStoredValues) {
    dir.writeSettings("[Gomcfg]\r\nisc=false\r\nsender=nope\r\nNfingerport=7979\r\n"
                      "Nhttpport=8080\r\n");
    show();
    EXPECT_FALSE(isChecked(services, IDC_ISC));
    EXPECT_TRUE(isChecked(services, IDC_SENDER));
    EXPECT_EQ(textOf(services, IDC_FINGER_PORT), QStringLiteral("7979"));
    EXPECT_EQ(textOf(services, IDC_HTTP_PORT), QStringLiteral("8080"));
    EXPECT_TRUE(applyEnabled(sheet));
}

TEST_F(ServicesPageTest, BanningGatesTheEditButtons) {
    dir.writeSettings("[Gomcfg]\r\nbanning=false\r\n");
    show();
    EXPECT_FALSE(isChecked(services, IDC_BANNING));
    EXPECT_TRUE(buttonsDisabled());

    pressApply(sheet);
    ASSERT_FALSE(applyEnabled(sheet));
    ASSERT_TRUE(click(services, IDC_BANNING));
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(applyEnabled(sheet));
    ASSERT_TRUE(click(services, IDC_BANNING));
    EXPECT_TRUE(buttonsDisabled());

    // Away and back with the box unchecked: still unchecked, buttons still off.
    clickTab(sheet, kServerTab);
    ASSERT_EQ(sheet.GetActivePage(), &server);
    clickTab(sheet, kServicesTab);
    ASSERT_EQ(sheet.GetActivePage(), &services);
    EXPECT_FALSE(isChecked(services, IDC_BANNING));
    EXPECT_TRUE(buttonsDisabled());
    ASSERT_TRUE(click(services, IDC_BANNING));
    EXPECT_TRUE(buttonsEnabled());

    pressOk(sheet);
    EXPECT_TRUE(dir.settings().contains("banning=true\r\n"));
}

TEST_F(ServicesPageTest, PortsAcceptOneTo64000AndRefuseTheRest) {
    show();
    for (int id : {IDC_FINGER_PORT, IDC_HTTP_PORT}) {
        const QByteArray key = id == IDC_FINGER_PORT ? "Nfingerport=" : "Nhttpport=";
        for (const char* refused : {"0", "64001", "65535"}) {
            ASSERT_TRUE(typeInto(services, id, QString::fromLatin1(refused)));
            pressApply(sheet);
            const QString message = takeOnlyMessage();
            EXPECT_EQ(message, QStringLiteral("Please enter a whole number from 1 to 64000."))
                << refused;
            EXPECT_EQ(sheet.focusWidget(), services.GetDlgItem(id)) << refused;
            EXPECT_FALSE(dir.settings().contains(key + refused)) << refused;
            // Nor can the page be left.
            EXPECT_FALSE(sheet.SetActivePage(kServerTab)) << refused;
            EXPECT_EQ(sheet.GetActivePage(), &services);
            takeOnlyMessage();
        }
        for (const char* accepted : {"1", "64000"}) {
            ASSERT_TRUE(typeInto(services, id, QString::fromLatin1(accepted)));
            pressApply(sheet);
            EXPECT_TRUE(messages.calls().empty()) << accepted;
            EXPECT_TRUE(dir.settings().contains(key + accepted + "\r\n")) << accepted;
        }
    }
    EXPECT_TRUE(sheet.SetActivePage(kServerTab));
}

TEST_F(ServicesPageTest, FingerPortIsValidatedBeforeTheWebServerPort) {
    show();
    ASSERT_TRUE(typeInto(services, IDC_HTTP_PORT, QStringLiteral("64001")));
    ASSERT_TRUE(typeInto(services, IDC_FINGER_PORT, QStringLiteral("0")));
    services.GetDlgItem(IDC_HTTP_PORT)->setFocus();
    pressOk(sheet);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(sheet.focusWidget(), services.GetDlgItem(IDC_FINGER_PORT));
    messages.calls().clear();

    ASSERT_TRUE(typeInto(services, IDC_FINGER_PORT, QStringLiteral("79")));
    pressOk(sheet);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(sheet.focusWidget(), services.GetDlgItem(IDC_HTTP_PORT));
    EXPECT_FALSE(dir.exists(kSettingsFile));

    // An empty box is refused too.
    ASSERT_TRUE(typeInto(services, IDC_HTTP_PORT, QString()));
    messages.calls().clear();
    pressOk(sheet);
    EXPECT_EQ(messages.calls().size(), 1u);
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(ServicesPageTest, StoredOutOfRangePortIsShownAndKeepsThePageCurrent) {
    dir.writeSettings("[Gomcfg]\r\nNhttpport=-5\r\n");
    show();
    EXPECT_EQ(textOf(services, IDC_HTTP_PORT), QStringLiteral("-5"));
    clickTab(sheet, kServerTab);
    EXPECT_EQ(sheet.GetActivePage(), &services);
    EXPECT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(dir.settings(), QByteArray("[Gomcfg]\r\nNhttpport=-5\r\n"));
}

TEST_F(ServicesPageTest, SwitchedOffWebServerKeepsItsPortLive) {
    show();
    ASSERT_TRUE(click(services, IDC_HTTP));
    EXPECT_FALSE(isChecked(services, IDC_HTTP));
    ASSERT_TRUE(typeInto(services, IDC_HTTP_PORT, QStringLiteral("8080")));
    pressOk(sheet);
    const QByteArray written = dir.settings();
    EXPECT_TRUE(written.contains("http=false\r\n"));
    EXPECT_TRUE(written.contains("Nhttpport=8080\r\n"));
}

TEST_F(ServicesPageTest, EditButtonsNeverMarkThePageModified) {
    const ScopedEnv editor("GOMCFG_EDITOR", "/bin/true");
    show();
    pressApply(sheet);
    ASSERT_FALSE(applyEnabled(sheet));
    ASSERT_TRUE(click(services, IDC_EDIT_ALLOW_FILE));
    ASSERT_TRUE(click(services, IDC_EDIT_DENY_FILE));
    EXPECT_FALSE(applyEnabled(sheet));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return AllowFileEditor.running == 0 && DenyFileEditor.running == 0; }, 5000));
    EXPECT_FALSE(applyEnabled(sheet));
    EXPECT_TRUE(messages.calls().empty());
}

} // namespace
