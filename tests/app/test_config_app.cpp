#include "support/MessageRecorder.h"
#include "support/TestSupport.h"

#include "app/ConfigApp.h"
#include "app/MainDialog.h"
#include "pages/ServerPage.h"

#include <QPushButton>
#include <QTest>

TEST(Help, NamesCurrentPageKeysAndTheSettingsFileInUse) {
    ScopedWorkDir dir;
    MessageRecorder messages;
    MainDialog sheet;
    ServerPage page;
    sheet.AddPage(&page);
    QObject::connect(&sheet, &CPropertySheet::helpRequested,
                     [&sheet] { ConfigApp::OnHelp(sheet); });
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));

    sheet.button(QDialogButtonBox::Help)->click();
    ASSERT_EQ(messages.count(), 1);
    const MessageBoxCall& call = messages.calls()[0];
    EXPECT_EQ(call.type & MB_ICONINFORMATION, MB_ICONINFORMATION);
    EXPECT_TRUE(call.text.startsWith(QLatin1String("Server Options")));
    for (const char* key : {"samemap", "cheating", "noexit", "Nfraglimit", "Ntimelimit"})
        EXPECT_TRUE(call.text.contains(QLatin1String(key))) << key;
    EXPECT_TRUE(call.text.contains(QLatin1String("0 to 1000")));
    EXPECT_FALSE(call.text.contains(QLatin1String("Nhttpport"))) << "only the current page's keys";
    EXPECT_TRUE(call.text.contains(dir.settingsPath()));

    QTest::keyClick(&sheet, Qt::Key_F1);
    EXPECT_EQ(messages.count(), 2);
    EXPECT_FALSE(dir.exists(kSettingsFile)) << "help reads and writes nothing";
}

TEST(ConfigAppObject, NamesTheApplicationThatTitlesEveryMessageBox) {
    QCoreApplication::setApplicationName(QStringLiteral("gomcfg_tests"));
    MessageRecorder messages;
    const ConfigApp app;
    AfxMessageBox(QStringLiteral("text"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.calls()[0].title, QStringLiteral("Gomcfg2"));
}
