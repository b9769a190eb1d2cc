#include "support/SheetHarness.h"

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
    {{IDD_WEAPONS, IDC_SHOTGUN_LIST}, "Shotgun substitute"},
    {{IDD_WEAPONS, IDC_SUPERSHOTGUN_LIST}, "Super Shotgun substitute"},
    {{IDD_WEAPONS, IDC_MACHINEGUN_LIST}, "Machingun substitute"},
    {{IDD_WEAPONS, IDC_CHAINGUN_LIST}, "Chaingun substitute"},
    {{IDD_WEAPONS, IDC_GRENADES_LIST}, "Grenade Launcher substitute"},
    {{IDD_WEAPONS, IDC_ROCKETS_LIST}, "Rocket Launcher substitute"},
    {{IDD_WEAPONS, IDC_HYPERBLASTER_LIST}, "HyperBlaster substitute"},
    {{IDD_WEAPONS, IDC_RAILGUN_LIST}, "Railgun substitute"},
    {{IDD_WEAPONS, IDC_BFG_LIST}, "BFG substitute"},
    {{IDD_GOMBLE_STUFF, IDC_MOTD_PREVIEW}, "Message of the day preview"},
    {{IDD_SERVER_OPTIONS, IDC_FRAG_LIMIT}, "Frag Limit"},
    {{IDD_SERVER_OPTIONS, IDC_TIME_LIMIT}, "Time Limit"},
    {{IDD_SERVICES, IDC_HTTP_PORT}, "Web Server port"},
    {{IDD_SERVICES, IDC_FINGER_PORT}, "Finger Service port"},
};

} // namespace

TEST_F(Accessibility, EveryWorkingControlHasANameAndPlaceholdersReportDisabled) {
    std::size_t named = 0;
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        ASSERT_TRUE(sheet.SetActivePage(i));
        const CPropertyPage& page = *sheet.GetPage(i);
        const int dialogId = page.dialogTemplate().id;
        for (const ControlTemplate& c : page.dialogTemplate().controls) {
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
    auto* shotgun = qobject_cast<QComboBox*>(page(IDD_WEAPONS).GetDlgItem(IDC_SHOTGUN_LIST));
    ASSERT_TRUE(shotgun && shotgun->lineEdit());
    QAccessibleInterface* field = Interface(shotgun->lineEdit());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->role(), QAccessible::EditableText);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Shotgun substitute"));
}

TEST_F(Accessibility, StatesFollowTheControls) {
    CPropertyPage& weapons = page(IDD_WEAPONS);
    auto* railgun = qobject_cast<QCheckBox*>(weapons.GetDlgItem(IDC_RAILGUN));
    ASSERT_NE(railgun, nullptr);
    QAccessibleInterface* box = Interface(railgun);
    QAccessibleInterface* list = Interface(weapons.GetDlgItem(IDC_RAILGUN_LIST));
    ASSERT_TRUE(box && list);
    EXPECT_EQ(box->state().checked, railgun->isChecked());
    ASSERT_TRUE(click(weapons, IDC_RAILGUN));
    EXPECT_EQ(box->state().checked, railgun->isChecked());
    // The row's list follows its check box, and a screen reader hears that it is greyed.
    EXPECT_EQ(list->state().disabled, !railgun->isChecked());

    QAccessibleInterface* frag = Interface(show(IDD_SERVER_OPTIONS).GetDlgItem(IDC_FRAG_LIMIT));
    ASSERT_NE(frag, nullptr);
    EXPECT_EQ(frag->text(QAccessible::Value), QStringLiteral("0"));
}
