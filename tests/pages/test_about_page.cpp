#include "support/SheetHarness.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

namespace {

struct AboutPageTest : PageSheet {
    static constexpr int kServerTab = 0, kAboutTab = 1;

    AboutPageTest() : PageSheet({IDD_SERVER_OPTIONS, IDD_ABOUT}, kAboutTab) {}

    void show() {
        open();
        ASSERT_EQ(sheet.GetActivePage(), &about);
    }
    QStringList texts() const {
        QStringList all;
        for (const QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                all << label->text();
        return all;
    }
    QStringList openedUrls() const {
        return QString::fromUtf8(dir.read(QStringLiteral("opened_urls.txt")))
            .split(u'\n', Qt::SkipEmptyParts);
    }

    CPropertyPage& server = page(IDD_SERVER_OPTIONS);
    CPropertyPage& about = page(IDD_ABOUT);
};

TEST_F(AboutPageTest, ShowsItsTextsAndItsPicture) {
    show();
    const QStringList fixed = {QStringLiteral("Gomble Trove II Configuration Utility"),
                               QStringLiteral("For more information or other neat"),
                               QStringLiteral("programs by me, visit my home page")};
    const QStringList shown = texts();
    for (const QString& text : fixed)
        EXPECT_TRUE(shown.contains(text)) << text.toStdString();
    ASSERT_EQ(shown.size(), 5);

    // The credit and the home-page address are ours: they fit their one-line boxes.
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || fixed.contains(label->text()))
            continue;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                  label->contentsRect().width())
            << label->text().toStdString();
    }

    int pictures = 0;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        const QPixmap pixmap = label->pixmap();
        if (pixmap.isNull())
            continue;
        ++pictures;
        EXPECT_EQ(pixmap.size(), QSize(128, 128));
        EXPECT_EQ(label->frameShadow(), QFrame::Sunken);
    }
    EXPECT_EQ(pictures, 1);
}

TEST_F(AboutPageTest, ApplyAndOkWriteNothing) {
    show();
    EXPECT_FALSE(applyEnabled(sheet));
    // Let the Server Options page mark the sheet changed, then apply from About.
    clickTab(sheet, kServerTab);
    ASSERT_TRUE(click(server, IDC_NO_EXIT));
    clickTab(sheet, kAboutTab);
    ASSERT_EQ(sheet.GetActivePage(), &about);
    pressApply(sheet);
    EXPECT_FALSE(dir.settings().isEmpty());
    const QByteArray afterServer = dir.settings();
    pressOk(sheet);
    EXPECT_EQ(dir.settings(), afterServer);
    EXPECT_TRUE(messages.calls().empty());
}

TEST_F(AboutPageTest, OnlyAboutVisitedLeavesNoSettingsFile) {
    show();
    pressOk(sheet);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(AboutPageTest, ButtonsOpenTheirShortcutsOncePerClick) {
    const ScopedEnv opener("GOMCFG_URL_OPENER", testScript("record_opened_url.sh"));
    dir.write("gthome.url", "[InternetShortcut]\r\nURL=https://gomcfg.example.org/\r\n");
    dir.write("gthelp.url", "[InternetShortcut]\r\nURL=https://gomcfg.example.org/help/\r\n");
    show();

    ASSERT_TRUE(click(about, IDC_GOTO_HOME_PAGE));
    ASSERT_TRUE(click(about, IDC_GOTO_HOME_PAGE));
    ASSERT_TRUE(click(about, IDC_HELP_FILES));
    ASSERT_TRUE(QTest::qWaitFor([&] { return openedUrls().size() == 3; }, 5000));
    QStringList urls = openedUrls();
    urls.sort();
    EXPECT_EQ(urls, QStringList({QStringLiteral("https://gomcfg.example.org/"),
                                 QStringLiteral("https://gomcfg.example.org/"),
                                 QStringLiteral("https://gomcfg.example.org/help/")}));
    EXPECT_FALSE(applyEnabled(sheet));
    EXPECT_FALSE(dir.exists(kSettingsFile));
    EXPECT_TRUE(messages.calls().empty());
}

TEST(MainDialogIcon, SheetCarriesTheProgramIcon) {
    const MainDialog sheet;
    EXPECT_FALSE(sheet.windowIcon().pixmap(QSize(32, 32)).isNull());
}

} // namespace
