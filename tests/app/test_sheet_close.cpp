#include "support/SheetHarness.h"

#include <QPushButton>

using SheetClose = RealSheet;

// Destroying the pages after OK used to move the tab widget to a neighbouring page, which
// then loaded, validated and complained, after the sheet had already gone.
TEST_F(SheetClose, DestroyingThePagesAfterOkWakesNoOtherPage) {
    show(IDD_GOMBLE_STUFF);
    show(IDD_SERVER_OPTIONS);
    sheet.button(QDialogButtonBox::Ok)->click();
    ASSERT_FALSE(sheet.isVisible());
    const QByteArray written = file();
    std::vector<CPropertyPage*> unvisited;
    for (int i = 0; i < sheet.GetPageCount(); ++i)
        if (!sheet.GetPage(i)->isWindowCreated())
            unvisited.push_back(sheet.GetPage(i));
    ASSERT_EQ(unvisited.size(), 3u);

    pages.clear();
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(file(), written);
    EXPECT_FALSE(written.contains("Nhttpport")) << "Services was never visited";
}
