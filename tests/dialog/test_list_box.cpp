#include "platform/dialog/CPropertyPage.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char* const kItems[] = {"beta", "Alpha", "gamma", "alpha", "Beta"};
constexpr unsigned kList = WS_TABSTOP | WS_VSCROLL;
constexpr ControlTemplate kListControls[] = {
    {200, ControlKind::ComboBox, nullptr, 10, 10, 80, 60, kList | CBS_SORT, kItems},
    {201, ControlKind::ComboBox, nullptr, 10, 30, 80, 60, kList, kItems},
};
constexpr DialogTemplate kListDialog{9002, "Lists", 100, 80, kListControls};

class ListPage : public CPropertyPage {
public:
    ListPage() : CPropertyPage(kListDialog) {}
    QComboBox* list(int id) const { return qobject_cast<QComboBox*>(GetDlgItem(id)); }
};

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

TEST(ListBox, SortedListIgnoresCaseAndKeepsEqualItemsInTemplateOrder) {
    ListPage page;
    page.createPageWindow();
    EXPECT_EQ(Items(page.list(200)), QStringList({"Alpha", "alpha", "beta", "Beta", "gamma"}));
    EXPECT_EQ(Items(page.list(201)), QStringList({"beta", "Alpha", "gamma", "alpha", "Beta"}));
    for (const int id : {200, 201}) {
        EXPECT_EQ(page.list(id)->currentIndex(), -1);
        EXPECT_TRUE(page.list(id)->currentText().isEmpty());
    }
}

TEST(ListBox, ClosedBoxIsAsHighAsItsOwnSizeHintInEveryFont) {
    for (const int pointSize : {9, 20}) {
        ListPage page;
        QFont font = page.font();
        font.setPointSize(pointSize);
        page.setFont(font);
        page.createPageWindow();
        for (const int id : {200, 201})
            EXPECT_EQ(page.list(id)->height(), page.list(id)->sizeHint().height()) << pointSize;
    }
}

// Typing into the box that has the focus completes the item inline, ignoring case, whether
// the keys reach the box or its edit field.
TEST(ListBox, TypingCompletesInlineThroughTheBoxAndItsField) {
    ListPage page;
    page.createPageWindow();
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    for (const bool throughField : {false, true}) {
        QComboBox* box = page.list(throughField ? 201 : 200);
        box->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClicks(throughField ? static_cast<QWidget*>(box->lineEdit()) : box,
                         QStringLiteral("GA"));
        EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("GAmma")) << throughField;
        EXPECT_EQ(box->lineEdit()->selectedText(), QStringLiteral("mma")) << throughField;
    }
}
