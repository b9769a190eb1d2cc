#pragma once

#include "app/ConfigApp.h"
#include "app/MainDialog.h"
#include "pages/AboutPage.h"
#include "pages/GomblePageReal.h"
#include "pages/PropPageCTF.h"
#include "pages/PropPageServices.h"
#include "pages/ServerPage.h"
#include "pages/WeaponsPageReal.h"
#include "platform/dialog/CPropertyPage.h"
#include "platform/dialog/CPropertySheet.h"
#include "platform/dialog/MessageBox.h"
#include "res/ControlIds.h"
#include "res/PageKeys.h"
#include "settings/KeyTable.h"
#include "support/MessageRecorder.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTest>

#include <memory>
#include <vector>

// Driving pages inside a shown sheet, as a user would: controls are found by their named ID
// (res/ControlIds.h) and must be reachable before they are used.

// A control the user can reach: showing on the current page and enabled.
inline ::testing::AssertionResult reachable(const QWidget* w) {
    if (!w)
        return ::testing::AssertionFailure() << "no such control";
    if (!w->isVisible())
        return ::testing::AssertionFailure() << "control is not showing";
    if (!w->isEnabled())
        return ::testing::AssertionFailure() << "control is disabled";
    return ::testing::AssertionSuccess();
}

// Clicks a control of page; a check box on its indicator.
inline ::testing::AssertionResult click(const CPropertyPage& page, int id) {
    QWidget* w = page.GetDlgItem(id);
    if (auto result = reachable(w); !result)
        return result << " (id " << id << ")";
    QPoint at = w->rect().center();
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(box);
        at = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
    return ::testing::AssertionSuccess();
}

// Replaces the text of an edit box by typing.
inline ::testing::AssertionResult typeInto(const CPropertyPage& page, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(page.GetDlgItem(id));
    if (auto result = reachable(edit); !result)
        return result << " (id " << id << ")";
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    return ::testing::AssertionSuccess();
}

// Opens a list and clicks the item at position index.
inline void chooseListItem(const CPropertyPage& page, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(page.GetDlgItem(id));
    ASSERT_TRUE(reachable(combo)) << "list " << id;
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
    const QModelIndex item = combo->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(item).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
}

// Types text into the edit field of a list, after clearing it.
inline void typeIntoList(const CPropertyPage& page, int id, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(page.GetDlgItem(id));
    ASSERT_TRUE(reachable(combo)) << "list " << id;
    ASSERT_NE(combo->lineEdit(), nullptr);
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(combo->lineEdit(), text);
}

inline bool isChecked(const CPropertyPage& page, int id) {
    auto* box = qobject_cast<QCheckBox*>(page.GetDlgItem(id));
    return box && box->isChecked();
}

inline QString textOf(const CPropertyPage& page, int id) {
    auto* edit = qobject_cast<QLineEdit*>(page.GetDlgItem(id));
    return edit ? edit->text() : QString();
}

// Clicks a tab as a user would; the sheet may refuse to leave the current page.
inline void clickTab(CPropertySheet& sheet, int index) {
    QTabBar* bar = sheet.findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

inline bool applyEnabled(const CPropertySheet& sheet) {
    return sheet.button(QDialogButtonBox::Apply)->isEnabled();
}

inline void pressApply(CPropertySheet& sheet) {
    ASSERT_TRUE(applyEnabled(sheet));
    sheet.button(QDialogButtonBox::Apply)->click();
}

inline void pressOk(CPropertySheet& sheet) {
    sheet.button(QDialogButtonBox::Ok)->click();
}

// The "key=value" lines of the settings file, in file order.
inline QStringList settingLines(const ScopedWorkDir& dir) {
    QStringList lines;
    for (const QByteArray& raw : dir.settings().split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.contains(u'='))
            lines << line;
    }
    return lines;
}

// The keys the page built on dialogId shows, each holding the key table's default, and no
// other key.
inline ::testing::AssertionResult holdsKeyTableDefaults(const QByteArray& written, int dialogId) {
    int expected = 0;
    for (const PageKey& shown : PageKeys(dialogId)) {
        const SettingKey* key = FindSettingKey(shown.key);
        if (!key)
            return ::testing::AssertionFailure() << shown.key << " is not in the key table";
        ++expected;
        const QByteArray line = QByteArray(key->key) + '=' + key->defaultText + "\r\n";
        if (!written.contains("\n" + line))
            return ::testing::AssertionFailure() << "missing " << line.trimmed().constData();
    }
    if (written.count('=') != expected)
        return ::testing::AssertionFailure() << written.count('=') << " keys, not " << expected;
    return ::testing::AssertionSuccess();
}

// The program's page built on dialogId.
inline std::unique_ptr<CPropertyPage> makePage(int dialogId) {
    switch (dialogId) {
    case IDD_WEAPONS:
        return std::make_unique<WeaponsPageReal>();
    case IDD_GOMBLE_STUFF:
        return std::make_unique<GomblePageReal>();
    case IDD_SERVER_OPTIONS:
        return std::make_unique<ServerPage>();
    case IDD_SERVICES:
        return std::make_unique<PropPageServices>();
    case IDD_CTF:
        return std::make_unique<PropPageCTF>();
    case IDD_ABOUT:
        return std::make_unique<AboutPage>();
    }
    ADD_FAILURE() << "no page with template " << dialogId;
    return nullptr;
}

// What a failed save of every page shows, in the pages' order: the weapon rows' message has no
// line break at its end, the other codecs' has.
inline QStringList SaveErrorsOfEveryKey() {
    QStringList texts;
    for (const int dialogId :
         {IDD_WEAPONS, IDD_GOMBLE_STUFF, IDD_SERVER_OPTIONS, IDD_SERVICES, IDD_CTF})
        for (std::size_t i = 0; i < PageKeys(dialogId).size(); ++i)
            texts << QStringLiteral("ERROR: Problem saving GombleTroveII.ini%1")
                         .arg(dialogId == IDD_WEAPONS ? "" : "\n");
    return texts;
}

// The sheet with some of the program's pages, in a scratch directory. A test's fixture names the
// pages by template, in tab order, and the tab the sheet opens on; open() shows it.
class PageSheet : public ::testing::Test {
protected:
    PageSheet(std::initializer_list<int> dialogIds, int startTab = 0)
        : sheet(nullptr, UINT(startTab)) {
        for (const int id : dialogIds)
            pages.push_back(makePage(id));
        addPages();
    }
    // All six, as the program builds them.
    explicit PageSheet(std::vector<std::unique_ptr<CPropertyPage>> all) : pages(std::move(all)) {
        addPages();
    }

    void open() {
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }
    int pageIndex(int dialogId) const {
        for (int i = 0; i < sheet.GetPageCount(); ++i)
            if (sheet.GetPage(i)->dialogTemplate().id == dialogId)
                return i;
        ADD_FAILURE() << "no page with template " << dialogId;
        return 0;
    }
    CPropertyPage& page(int dialogId) const { return *sheet.GetPage(pageIndex(dialogId)); }
    CPropertyPage& show(int dialogId) {
        EXPECT_TRUE(sheet.SetActivePage(pageIndex(dialogId)));
        return page(dialogId);
    }
    // Opens the page's tab by clicking it, as a user would.
    CPropertyPage& openTab(int dialogId) {
        clickTab(sheet, pageIndex(dialogId));
        EXPECT_EQ(sheet.GetActiveIndex(), pageIndex(dialogId));
        return page(dialogId);
    }
    void ok() { pressOk(sheet); }
    void apply() { pressApply(sheet); }
    bool applyLit() const { return applyEnabled(sheet); }
    QByteArray file() const { return dir.settings(); }
    // The settings file holding body in its section.
    void writeSection(const QByteArray& body) const { dir.writeSettings("[Gomcfg]\r\n" + body); }

    ScopedWorkDir dir;
    MessageRecorder messages;
    // How the sheet's reads and saves reach the disk; tests make them fail or wait less.
    ProfileIo disk;
    MainDialog sheet{nullptr, 0, disk};
    // Declared after the sheet: pages leave it before it goes, as at the end of the program.
    std::vector<std::unique_ptr<CPropertyPage>> pages;

private:
    void addPages() {
        for (const auto& page : pages)
            if (page)
                sheet.AddPage(page.get());
    }
};

// The sheet as the program builds it, with all its pages, open and active, so keyboard input
// reaches it.
struct RealSheet : PageSheet {
    RealSheet() : PageSheet(ConfigApp::createPages()) {}

    void SetUp() override {
        open();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus() ? focus() : static_cast<QWidget*>(&sheet), Qt::Key(key), modifiers);
    }
    QTabBar* tabBar() const { return sheet.findChild<QTabBar*>(); }
};
