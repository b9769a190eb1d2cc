#include "RealSheet.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <map>
#include <utility>

namespace {

using Accessibility = RealSheet;

QAccessibleInterface* Interface(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    EXPECT_NE(iface, nullptr) << w->objectName().toStdString();
    return iface;
}

QAccessible::Role RoleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return QAccessible::CheckBox;
    case ControlKind::PushButton:
        return QAccessible::Button;
    case ControlKind::Edit:
        return QAccessible::EditableText;
    case ControlKind::ComboBox:
        return QAccessible::ComboBox;
    default:
        return QAccessible::NoRole;
    }
}

// What a screen reader says a control is. A combo box's own name is its current text here;
// what it is for comes from the label related to it.
QString SpokenName(QAccessibleInterface* iface) {
    if (iface->role() != QAccessible::ComboBox)
        return iface->text(QAccessible::Name).trimmed();
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// The names of the controls that have no caption to go by, as a screen reader speaks them.
const std::map<std::pair<int, int>, QString> kSpokenNames = {
    {{105, 1018}, "Shotgun substitute"},
    {{105, 1002}, "Super Shotgun substitute"},
    {{105, 1019}, "Machingun substitute"},
    {{105, 1020}, "Chaingun substitute"},
    {{105, 1022}, "Grenade Launcher substitute"},
    {{105, 1024}, "Rocket Launcher substitute"},
    {{105, 1023}, "HyperBlaster substitute"},
    {{105, 1025}, "Railgun substitute"},
    {{105, 1021}, "BFG substitute"},
    {{106, 1021}, "Message of the day preview"},
    {{134, 1043}, "Frag Limit"},
    {{134, 1044}, "Time Limit"},
    {{135, 1050}, "Web Server port"},
    {{135, 1051}, "Finger Service port"},
};

} // namespace

TEST_F(Accessibility, EveryWorkingControlHasANameAndPlaceholdersReportDisabled) {
    std::size_t named = 0;
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        ASSERT_TRUE(sheet.SetActivePage(i));
        const CPropertyPage& page = *sheet.GetPage(i);
        const int dialogId = page.Template().id;
        for (const ControlTemplate& c : page.Template().controls) {
            const QAccessible::Role role = RoleOf(c.kind);
            if (c.id == IDC_STATIC || role == QAccessible::NoRole)
                continue;
            QWidget* w = page.GetDlgItem(c.id);
            ASSERT_NE(w, nullptr);
            QAccessibleInterface* iface = Interface(w);
            ASSERT_NE(iface, nullptr);
            const std::string where =
                page.GetCaption().toStdString() + " control " + std::to_string(c.id);
            EXPECT_EQ(iface->role(), role) << where;
            if (c.style & WS_DISABLED) {
                EXPECT_TRUE(iface->state().disabled) << where << " is a placeholder";
                continue;
            }
            const QString name = SpokenName(iface);
            const auto spoken = kSpokenNames.find({dialogId, c.id});
            if (spoken != kSpokenNames.end()) {
                EXPECT_EQ(name, spoken->second) << where;
                ++named;
            } else {
                EXPECT_FALSE(name.isEmpty()) << where << " has no name";
                EXPECT_EQ(name, QString::fromLatin1(c.caption).trimmed()) << where;
            }
            EXPECT_FALSE(iface->state().disabled) << where;
        }
    }
    EXPECT_EQ(named, kSpokenNames.size()) << "a named control is missing from its page";
}

// Focus also lands on widgets that Qt makes inside a control, such as the edit field of a
// drop-down list; a screen reader must say more there than "edit".
TEST_F(Accessibility, EveryWidgetThatTakesFocusHasAName) {
    std::size_t checked = 0;
    const auto expectNamed = [&](QWidget* w, const std::string& where) {
        // A widget with a focus proxy hands focus on; a disabled placeholder never takes it.
        if (w->focusPolicy() == Qt::NoFocus || w->focusProxy() || !w->isVisible() ||
            !w->isEnabled())
            return;
        QAccessibleInterface* iface = Interface(w);
        ASSERT_NE(iface, nullptr);
        EXPECT_FALSE(SpokenName(iface).isEmpty())
            << where << ": " << w->metaObject()->className() << " " << w->objectName().toStdString()
            << " has no name";
        ++checked;
    };
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        ASSERT_TRUE(sheet.SetActivePage(i));
        const CPropertyPage& page = *sheet.GetPage(i);
        for (QWidget* w : page.findChildren<QWidget*>())
            expectNamed(w, page.GetCaption().toStdString());
    }
    const auto onAPage = [](QWidget* w) {
        for (; w; w = w->parentWidget())
            if (qobject_cast<CPropertyPage*>(w))
                return true;
        return false;
    };
    for (QWidget* w : sheet.findChildren<QWidget*>())
        if (!onAPage(w))
            expectNamed(w, "the sheet");
    EXPECT_GT(checked, 40u);

    // The edit field of a list goes by the list's name.
    auto* shotgun = qobject_cast<QComboBox*>(page(105).GetDlgItem(1018));
    ASSERT_TRUE(shotgun && shotgun->lineEdit());
    QAccessibleInterface* field = Interface(shotgun->lineEdit());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Shotgun substitute"));
}

TEST_F(Accessibility, StatesFollowTheControls) {
    CPropertyPage& weapons = page(105);
    auto* railgun = qobject_cast<QCheckBox*>(weapons.GetDlgItem(1015));
    ASSERT_NE(railgun, nullptr);
    QAccessibleInterface* box = Interface(railgun);
    QAccessibleInterface* list = Interface(weapons.GetDlgItem(1025));
    ASSERT_TRUE(box && list);
    EXPECT_EQ(box->state().checked, railgun->isChecked());
    clickCheckBox(weapons, 1015);
    EXPECT_EQ(box->state().checked, railgun->isChecked());
    // The row's list follows its check box, and a screen reader hears that it is greyed.
    EXPECT_EQ(list->state().disabled, !railgun->isChecked());

    QAccessibleInterface* frag = Interface(show(134).GetDlgItem(1043));
    ASSERT_NE(frag, nullptr);
    EXPECT_EQ(frag->text(QAccessible::Value), QStringLiteral("0"));
}
