#include "support/SheetHarness.h"

#include <QPushButton>

namespace {

using Keyboard = RealSheet;

// What Tab should visit on a page: its controls in template order, less those that cannot
// take focus from the keyboard (no tab stop, static, greyed).
std::vector<QWidget*> TabStops(const CPropertyPage& page) {
    std::vector<QWidget*> stops;
    for (const ControlTemplate& c : page.dialogTemplate().controls) {
        QWidget* w = c.id == IDC_STATIC ? nullptr : page.GetDlgItem(c.id);
        if (w && (c.style & WS_TABSTOP) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            stops.push_back(w);
    }
    return stops;
}

QString Describe(const QWidget* w) {
    return w ? QStringLiteral("%1 %2").arg(QLatin1String(w->metaObject()->className()),
                                           w->objectName())
             : QStringLiteral("nothing");
}

} // namespace

TEST_F(Keyboard, OpensWithTheFirstControlFocused) {
    const std::vector<QWidget*> stops = TabStops(*sheet.GetPage(0));
    ASSERT_FALSE(stops.empty());
    EXPECT_EQ(focus(), stops.front()) << Describe(focus()).toStdString();
}

TEST_F(Keyboard, TabFollowsTemplateOrderOnEveryPageThenTheButtons) {
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        ASSERT_TRUE(sheet.SetActivePage(i));
        CPropertyPage& page = *sheet.GetPage(i);
        tabBar()->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> expected = TabStops(page);
        for (auto which : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel, QDialogButtonBox::Apply,
                           QDialogButtonBox::Help}) {
            if (sheet.button(which)->isEnabled())
                expected.push_back(sheet.button(which));
        }
        expected.push_back(tabBar());
        for (QWidget* want : expected) {
            press(Qt::Key_Tab);
            ASSERT_EQ(focus(), want)
                << page.GetCaption().toStdString() << ": expected " << Describe(want).toStdString()
                << ", got " << Describe(focus()).toStdString();
        }
        // And back again.
        expected.pop_back();
        std::reverse(expected.begin(), expected.end());
        expected.push_back(tabBar());
        for (QWidget* want : expected) {
            press(Qt::Key_Backtab, Qt::ShiftModifier);
            ASSERT_EQ(focus(), want) << page.GetCaption().toStdString() << " backwards";
        }
    }
}

TEST_F(Keyboard, SpaceTogglesACheckBoxAndMarksTheSheetModified) {
    // Railgun: its list goes grey with it.
    CPropertyPage& weapons = page(IDD_WEAPONS);
    auto* railgun = qobject_cast<QCheckBox*>(weapons.GetDlgItem(IDC_RAILGUN));
    QWidget* railgunList = weapons.GetDlgItem(IDC_RAILGUN_LIST);
    ASSERT_NE(railgun, nullptr);
    ASSERT_TRUE(railgun->isChecked());
    weapons.SetModified(FALSE);
    railgun->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_FALSE(railgun->isChecked());
    EXPECT_FALSE(railgunList->isEnabled());
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    press(Qt::Key_Space);
    EXPECT_TRUE(railgun->isChecked());
    EXPECT_TRUE(railgunList->isEnabled());

    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    server.SetModified(FALSE);
    weapons.SetModified(FALSE);
    ASSERT_FALSE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    auto* sameMap = qobject_cast<QCheckBox*>(server.GetDlgItem(IDC_SAME_MAP));
    sameMap->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_TRUE(sameMap->isChecked());
    EXPECT_TRUE(server.isModified());
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
}

TEST_F(Keyboard, EnterIsOkFromAListAndFromANumberBox) {
    show(IDD_SERVER_OPTIONS);
    page(IDD_SERVER_OPTIONS).GetDlgItem(IDC_FRAG_LIMIT)->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(focus(), QStringLiteral("7"));
    show(IDD_WEAPONS);
    page(IDD_WEAPONS).GetDlgItem(IDC_SHOTGUN_LIST)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_TRUE(file().contains("shotgunT=shotgun"));
    EXPECT_TRUE(file().contains("Nfraglimit=7"));
}

TEST_F(Keyboard, EnterOnARefusedValueKeepsTheSheetOpen) {
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    auto* frag = qobject_cast<QLineEdit*>(server.GetDlgItem(IDC_FRAG_LIMIT));
    frag->setFocus(Qt::TabFocusReason);
    frag->selectAll();
    QTest::keyClicks(frag, QStringLiteral("1001"));
    press(Qt::Key_Enter);
    EXPECT_TRUE(sheet.isVisible());
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(focus(), frag);
    EXPECT_EQ(frag->selectedText(), QStringLiteral("1001"));
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(Keyboard, EscapeIsCancel) {
    page(IDD_WEAPONS).GetDlgItem(IDC_SHOTGUN)->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    press(Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(Keyboard, CtrlKeysWalkEveryTabBothWays) {
    const int count = sheet.GetPageCount();
    for (int step = 1; step <= count; ++step) {
        press(step % 2 ? Qt::Key_Tab : Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(sheet.GetActiveIndex(), step % count);
        EXPECT_EQ(tabBar()->currentIndex(), step % count);
        EXPECT_TRUE(sheet.GetActivePage()->isVisible());
    }
    for (int step = 1; step <= count; ++step) {
        if (step % 2)
            press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        else
            press(Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(sheet.GetActiveIndex(), (count - step) % count);
    }
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(Keyboard, CtrlKeysCannotLeaveARefusedValue) {
    CPropertyPage& server = show(IDD_SERVER_OPTIONS);
    const int at = sheet.GetActiveIndex();
    auto* time = qobject_cast<QLineEdit*>(server.GetDlgItem(IDC_TIME_LIMIT));
    time->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(time, QStringLiteral("5000"));
    const std::pair<int, Qt::KeyboardModifiers> ways[] = {
        {Qt::Key_Tab, Qt::ControlModifier},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_PageDown, Qt::ControlModifier},
        {Qt::Key_PageUp, Qt::ControlModifier},
    };
    for (const auto& [key, modifiers] : ways) {
        press(key, modifiers);
        EXPECT_EQ(sheet.GetActiveIndex(), at);
        EXPECT_EQ(tabBar()->currentIndex(), at);
        EXPECT_EQ(focus(), time);
    }
    EXPECT_EQ(messages.texts().size(), 4);
}
