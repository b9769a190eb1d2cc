#pragma once

#include "SheetTestSupport.h"
#include "app/ConfigApp.h"
#include "app/MainDialog.h"

#include <QApplication>

#include <memory>
#include <vector>

// The sheet as the program builds it, with all its pages, open in a scratch directory and
// active, so keyboard input reaches it.
struct RealSheet : ::testing::Test {
    ScopedWorkDir dir;
    MessageRecorder messages;
    MainDialog sheet;
    std::vector<std::unique_ptr<CPropertyPage>> pages = ConfigApp::CreatePages();

    void SetUp() override {
        for (const auto& page : pages)
            sheet.AddPage(page.get());
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }
    void TearDown() override {
        // Pages leave the sheet before they go, as at the end of the program.
        pages.clear();
    }

    int pageIndex(int dialogId) const {
        for (int i = 0; i < sheet.GetPageCount(); ++i)
            if (sheet.GetPage(i)->Template().id == dialogId)
                return i;
        ADD_FAILURE() << "no page with template " << dialogId;
        return 0;
    }
    CPropertyPage& page(int dialogId) const { return *sheet.GetPage(pageIndex(dialogId)); }
    CPropertyPage& show(int dialogId) {
        EXPECT_TRUE(sheet.SetActivePage(pageIndex(dialogId)));
        return page(dialogId);
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus() ? focus() : static_cast<QWidget*>(&sheet), Qt::Key(key), modifiers);
    }
    QTabBar* tabBar() const { return sheet.findChild<QTabBar*>(); }
    QByteArray file() const { return dir.read(QStringLiteral("GombleTroveII.ini")); }
};
