#include "support/MessageRecorder.h"
#include "support/TestSupport.h"

#include "app/MainDialog.h"
#include "model/PageCodecs.h"
#include "pages/ServerPage.h"
#include "pages/SheetPage.h"
#include "platform/DecimalDigits.h"
#include "platform/dialog/DDX.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

constexpr ControlTemplate kProbeControls[] = {
    {100, ControlKind::CheckBox, "Probe", 10, 10, 60, 10, WS_TABSTOP},
    {101, ControlKind::Edit, nullptr, 10, 30, 60, 10, WS_TABSTOP | WS_BORDER | ES_NUMBER},
    {102, ControlKind::CheckBox, "Greyed", 10, 50, 60, 10, WS_TABSTOP | WS_DISABLED},
};
constexpr DialogTemplate kProbeDialog{9001, "Probe", 100, 80, kProbeControls};
// The probe's number, which the page takes from 1 to 10.
constexpr SettingKey kProbeNumber{"Nprobe", SettingType::Integer, "5", 1, 10, "Probe"};

// A page that counts the protocol calls the sheet makes on it; it reads and writes two keys of
// its own through the codecs, on the sheet's session.
class ProbePage : public CPropertyPage {
public:
    explicit ProbePage(MainDialog& sheet)
        : CPropertyPage(kProbeDialog), m_io{sheet.settingsSession(), sheet.prompts()} {
        ON_BN_CLICKED(100, &ProbePage::OnModified);
        ON_EN_CHANGE(101, &ProbePage::OnModified);
    }
    BOOL OnSetActive() override {
        ++setActiveCalls;
        if (setActiveCalls == 1) {
            ReadBoolSetting(m_io, m_flag, "probe", 0);
            ReadIntSetting(m_io, "Nprobe", m_number, 5);
        }
        UpdateData(FALSE);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnApply() override {
        ++applyCalls;
        UpdateData(TRUE);
        WriteBoolSetting(m_io, m_flag, "probe");
        WriteIntSetting(m_io, m_number, "Nprobe");
        return CPropertyPage::OnApply();
    }
    int setActiveCalls = 0;
    int applyCalls = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Check(pDX, 100, m_flag);
        QString text = QString::number(m_number);
        DDX_Text(pDX, 101, text);
        if (!pDX->m_bSaveAndValidate || pDX->failed())
            return;
        const std::string typed = TypedNumberText(text);
        if (const auto refusal = NumberRefusal(typed, kProbeNumber))
            pDX->Fail(QString::fromStdString(*refusal));
        else
            m_number = *ParseWholeNumber(typed);
    }

private:
    PageIo m_io;
    int m_flag = 0;
    int m_number = 0;
};

struct SheetFixture : ::testing::Test {
    ScopedWorkDir dir;
    MessageRecorder messages;
    MainDialog sheet;
    ProbePage first{sheet};
    ProbePage second{sheet};
    ProbePage third{sheet};

    void SetUp() override {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    }
    QByteArray file() const { return dir.settings(); }
    QTabBar* tabBar() const { return sheet.findChild<QTabWidget*>()->tabBar(); }
    QLineEdit* number(ProbePage& p) const { return qobject_cast<QLineEdit*>(p.GetDlgItem(101)); }
    QCheckBox* flag(ProbePage& p) const { return qobject_cast<QCheckBox*>(p.GetDlgItem(100)); }
    void clickTab(int index) {
        QTest::mouseClick(tabBar(), Qt::LeftButton, {}, tabBar()->tabRect(index).center());
    }
};

} // namespace

TEST_F(SheetFixture, OpensOnFirstPageWithApplyDarkAndOthersUncreated) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Gomcfg for Gomble Trove II"));
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(first.setActiveCalls, 1);
    EXPECT_FALSE(second.isWindowCreated());
    for (auto b : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel, QDialogButtonBox::Apply,
                   QDialogButtonBox::Help})
        ASSERT_NE(sheet.button(b), nullptr);
    // Filling the number box on first showing is a change, as the platform's edit boxes report it.
    EXPECT_TRUE(first.isModified());
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Ok)->isDefault());
}

TEST_F(SheetFixture, OkWritesOnlyVisitedPages) {
    sheet.button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(first.applyCalls, 1);
    EXPECT_EQ(second.applyCalls, 0);
    EXPECT_EQ(file(), QByteArray("[Gomcfg]\r\nprobe=false\r\nNprobe=5\r\n"));
}

TEST_F(SheetFixture, ClickMarksModifiedAndApplyClearsIt) {
    ASSERT_TRUE(flag(first)->isVisible() && flag(first)->isEnabled());
    QTest::mouseClick(flag(first), Qt::LeftButton);
    EXPECT_TRUE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    sheet.button(QDialogButtonBox::Apply)->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_FALSE(sheet.button(QDialogButtonBox::Apply)->isEnabled());
    EXPECT_EQ(file(), QByteArray("[Gomcfg]\r\nprobe=true\r\nNprobe=5\r\n"));
}

TEST_F(SheetFixture, CancelAfterApplyKeepsWhatApplyWrote) {
    QTest::mouseClick(flag(first), Qt::LeftButton);
    sheet.button(QDialogButtonBox::Apply)->click();
    const QByteArray applied = file();
    QTest::mouseClick(flag(first), Qt::LeftButton);
    sheet.button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(file(), applied);
    EXPECT_EQ(first.applyCalls, 1);
}

TEST_F(SheetFixture, EscapeAndCloseWriteNothing) {
    QTest::mouseClick(flag(first), Qt::LeftButton);
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    sheet.show();
    sheet.close();
    EXPECT_FALSE(dir.exists(kSettingsFile));
}

TEST_F(SheetFixture, ReactivationDoesNotReload) {
    number(first)->setText(QStringLiteral("7"));
    clickTab(1);
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    dir.writeSettings("[Gomcfg]\nNprobe=3\n");
    clickTab(0);
    EXPECT_EQ(first.setActiveCalls, 2);
    EXPECT_EQ(number(first)->text(), QStringLiteral("7"));
}

TEST_F(SheetFixture, FailingValueBlocksEveryWayOfLeaving) {
    number(first)->setText(QStringLiteral("11"));
    const auto stillHere = [&] {
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        EXPECT_EQ(tabBar()->currentIndex(), 0);
        EXPECT_TRUE(flag(first)->isVisible());
        EXPECT_EQ(second.setActiveCalls, 0) << "the neighbour must never be activated";
        EXPECT_EQ(third.setActiveCalls, 0);
    };
    clickTab(1);
    stillHere();
    QTest::keyClick(&sheet, Qt::Key_Tab, Qt::ControlModifier);
    stillHere();
    QTest::keyClick(&sheet, Qt::Key_PageDown, Qt::ControlModifier);
    stillHere();
    QTest::keyClick(&sheet, Qt::Key_PageUp, Qt::ControlModifier);
    stillHere();
    EXPECT_FALSE(sheet.SetActivePage(2));
    stillHere();
    sheet.button(QDialogButtonBox::Apply)->click();
    stillHere();
    sheet.button(QDialogButtonBox::Ok)->click();
    stillHere();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(first.applyCalls, 0);
    EXPECT_FALSE(dir.exists(kSettingsFile));
    ASSERT_EQ(messages.count(), 7);
    EXPECT_EQ(messages.texts(),
              QStringList(7, QStringLiteral("Please enter a whole number from 1 to 10.")));
    sheet.activateWindow();
    EXPECT_EQ(QApplication::focusWidget(), number(first));
    EXPECT_EQ(number(first)->selectedText(), QStringLiteral("11"));
}

TEST_F(SheetFixture, EmptyOrNonNumberAsksForWholeNumber) {
    number(first)->clear();
    clickTab(2);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.texts()[0], QStringLiteral("Please enter a whole number."));
}

TEST_F(SheetFixture, KeyboardChangesTabsWhenValid) {
    QTest::keyClick(&sheet, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    QTest::keyClick(&sheet, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    QTest::keyClick(&sheet, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(sheet.GetActiveIndex(), 0) << "wraps around";
    QTest::keyClick(&sheet, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sheet.GetActiveIndex(), 2);
    EXPECT_EQ(tabBar()->currentIndex(), 2);
    EXPECT_TRUE(third.GetDlgItem(100)->isVisible());
}

TEST_F(SheetFixture, ApplyWritesEveryCreatedPageInTabOrder) {
    clickTab(2);
    sheet.button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(first.applyCalls, 1);
    EXPECT_EQ(second.applyCalls, 0);
    EXPECT_EQ(third.applyCalls, 1);
}

TEST_F(SheetFixture, DisabledControlsIgnoreClicksAndTab) {
    auto* greyed = qobject_cast<QCheckBox*>(first.GetDlgItem(102));
    ASSERT_TRUE(greyed->isVisible());
    EXPECT_FALSE(greyed->isEnabled());
    QTest::mouseClick(greyed, Qt::LeftButton);
    EXPECT_FALSE(greyed->isChecked());
    flag(first)->setFocus();
    sheet.activateWindow();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), number(first));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), greyed);
}

TEST_F(SheetFixture, NumberBoxTakesOnlyDigitsButShowsStoredSign) {
    QLineEdit* box = number(first);
    box->clear();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("-4a2 "));
    EXPECT_EQ(box->text(), QStringLiteral("42"));
    box->setText(QStringLiteral("-3"));
    EXPECT_EQ(box->text(), QStringLiteral("-3"));
}

// Text reaches a line edit by more ways than typing; each must keep to digits, whatever the text
// there already holds.
TEST_F(SheetFixture, NumberBoxTakesDigitsOnlyByEveryWayIn) {
    QLineEdit* box = number(first);
    ASSERT_TRUE(box->isVisible() && box->isEnabled());
    box->setText(QStringLiteral("-3"));
    box->setFocus();
    box->setCursorPosition(2);
    const auto expectText = [&](const char* expected, const char* way) {
        EXPECT_EQ(box->text(), QString::fromLatin1(expected)) << way;
    };

    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("4x"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    expectText("-3", "paste");
    clipboard->setText(QStringLiteral("4"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    expectText("-34", "paste");

    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("5\u00E9"));
    QApplication::sendEvent(box, &composed);
    expectText("-34", "input method");

    QMimeData dragged;
    dragged.setText(QStringLiteral("6-"));
    QDropEvent drop(QPointF(box->rect().center()), Qt::CopyAction, &dragged, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    expectText("-34", "drop");

    // X11 pastes the primary selection on a middle click, through insert(); the offscreen
    // platform has no selection, so there the call itself stands in for the click.
    if (clipboard->supportsSelection()) {
        clipboard->setText(QStringLiteral("7y"), QClipboard::Selection);
        QTest::mouseClick(box, Qt::MiddleButton, {}, box->rect().center());
        expectText("-34", "middle click");
    }
    box->insert(QStringLiteral("7y"));
    expectText("-34", "insert");
    box->insert(QStringLiteral("7"));
    expectText("-347", "insert");

    // A screen reader setting the value.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(iface, nullptr);
    iface->setText(QAccessible::Value, QStringLiteral("8z"));
    expectText("-347", "accessible value");
    iface->setText(QAccessible::Value, QStringLiteral("8"));
    expectText("8", "accessible value");
}

TEST_F(SheetFixture, HelpButtonAsksForHelp) {
    int asked = 0;
    QObject::connect(&sheet, &CPropertySheet::helpRequested, [&] { ++asked; });
    sheet.button(QDialogButtonBox::Help)->click();
    EXPECT_EQ(asked, 1);
}

// The program destroys its pages before the sheet; their leaving must not switch pages.
TEST(SheetTeardown, PagesDestroyedBeforeTheSheetActivateNothing) {
    ScopedWorkDir dir;
    MessageRecorder messages;
    MainDialog sheet;
    auto first = std::make_unique<ProbePage>(sheet);
    auto second = std::make_unique<ProbePage>(sheet);
    auto third = std::make_unique<ProbePage>(sheet);
    for (ProbePage* page : {first.get(), second.get(), third.get()})
        sheet.AddPage(page);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    ASSERT_TRUE(sheet.SetActivePage(2));

    first.reset();
    EXPECT_EQ(sheet.GetPageCount(), 2);
    EXPECT_EQ(sheet.GetActivePage(), third.get());
    third.reset();
    EXPECT_EQ(sheet.GetActivePage(), nullptr);
    EXPECT_EQ(second->setActiveCalls, 0);
    EXPECT_FALSE(second->isWindowCreated());
    EXPECT_FALSE(dir.exists(kSettingsFile));
}
