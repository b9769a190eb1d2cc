#pragma once

#include "TestSupport.h"
#include "platform/CPropertyPage.h"
#include "platform/CPropertySheet.h"
#include "platform/MessageBox.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTest>

#include <ostream>
#include <utility>

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The "key=value" lines of the settings file, in file order.
inline QStringList settingLines(const ScopedWorkDir& dir) {
    QStringList lines;
    for (const QByteArray& raw : dir.read(QStringLiteral("GombleTroveII.ini")).split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.contains(u'='))
            lines << line;
    }
    return lines;
}

// A control of the current page, checked to be one a user could reach.
inline QWidget* reachableControl(const CPropertyPage& page, int id) {
    QWidget* w = page.GetDlgItem(id);
    EXPECT_NE(w, nullptr) << "control " << id;
    if (!w)
        return nullptr;
    EXPECT_TRUE(w->isVisible()) << "control " << id;
    EXPECT_TRUE(w->isEnabled()) << "control " << id;
    return w->isVisible() && w->isEnabled() ? w : nullptr;
}

// Clicks a check box on its indicator, as a user would.
inline void clickCheckBox(const CPropertyPage& page, int id) {
    auto* box = qobject_cast<QCheckBox*>(reachableControl(page, id));
    ASSERT_NE(box, nullptr) << "check box " << id;
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

// Opens a list and clicks the item at position index.
inline void chooseListItem(const CPropertyPage& page, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(reachableControl(page, id));
    ASSERT_NE(combo, nullptr) << "list " << id;
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
    auto* combo = qobject_cast<QComboBox*>(reachableControl(page, id));
    ASSERT_NE(combo, nullptr) << "list " << id;
    ASSERT_NE(combo->lineEdit(), nullptr);
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(combo->lineEdit(), text);
}

// Clicks a tab as a user would; the sheet may refuse to leave the current page.
inline void clickTab(CPropertySheet& sheet, int index) {
    QTabBar* bar = sheet.findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}
