#pragma once

#include "SheetTestSupport.h"
#include "TestSupport.h"
#include "app/MainDialog.h"
#include "platform/CPropertyPage.h"
#include "platform/MessageBox.h"
#include "settings/KeyTable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <vector>

// Helpers for driving pages inside a shown sheet, as a user would.

inline const char* const kSettingsFile = "GombleTroveII.ini";

// A control the user can reach: showing on the current page and enabled.
inline ::testing::AssertionResult reachable(QWidget* w) {
    if (!w)
        return ::testing::AssertionFailure() << "no such control";
    if (!w->isVisible())
        return ::testing::AssertionFailure() << "control is not showing";
    if (!w->isEnabled())
        return ::testing::AssertionFailure() << "control is disabled";
    return ::testing::AssertionSuccess();
}

// Clicks a control of page; check boxes are clicked on their mark.
inline ::testing::AssertionResult click(CPropertyPage* page, int id) {
    QWidget* w = page->GetDlgItem(id);
    if (auto result = reachable(w); !result)
        return result << " (id " << id << ")";
    const QPoint at = qobject_cast<QCheckBox*>(w) ? QPoint(qMin(6, w->width() / 2), w->height() / 2)
                                                  : w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
    return ::testing::AssertionSuccess();
}

// Replaces the text of an edit box by typing.
inline ::testing::AssertionResult typeInto(CPropertyPage* page, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(page->GetDlgItem(id));
    if (auto result = reachable(edit); !result)
        return result << " (id " << id << ")";
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    return ::testing::AssertionSuccess();
}

inline bool isChecked(const CPropertyPage* page, int id) {
    auto* box = qobject_cast<QCheckBox*>(page->GetDlgItem(id));
    return box && box->isChecked();
}

inline QString textOf(const CPropertyPage* page, int id) {
    auto* edit = qobject_cast<QLineEdit*>(page->GetDlgItem(id));
    return edit ? edit->text() : QString();
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

// The settings file as the sheet left it.
inline QByteArray settingsBytes(const ScopedWorkDir& dir) {
    return dir.read(QString::fromLatin1(kSettingsFile));
}

inline QString scriptPath(const char* name) {
    return QStringLiteral(GOMCFG_TEST_SCRIPTS "/") + QLatin1String(name);
}

// The keys the key table gives the page with dialogId, each holding its documented default,
// and no other key.
inline ::testing::AssertionResult holdsKeyTableDefaults(const QByteArray& written, int dialogId) {
    int expected = 0;
    for (const SettingKey& key : SettingKeys()) {
        if (key.dialogId != dialogId)
            continue;
        ++expected;
        const QByteArray line = QByteArray(key.key) + '=' + key.defaultText + "\r\n";
        if (!written.contains("\n" + line))
            return ::testing::AssertionFailure() << "missing " << line.trimmed().constData();
    }
    if (written.count('=') != expected)
        return ::testing::AssertionFailure() << written.count('=') << " keys, not " << expected;
    return ::testing::AssertionSuccess();
}
