#include "platform/dialog/CPropertyPage.h"

#include "platform/dialog/DialogBuilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

CPropertyPage::CPropertyPage(const DialogTemplate& dialog) : m_template(dialog) {
    setMinimumSize(DialogBuilder::pageSize(m_template, this));
}

void CPropertyPage::createPageWindow() {
    if (m_created)
        return;
    m_created = true;
    m_controls = DialogBuilder::build(m_template, this);
    connectCommandMap();
    OnInitDialog();
}

void CPropertyPage::connectCommandMap() {
    for (const CommandEntry& entry : m_commandMap) {
        QWidget* control = m_controls.value(entry.id);
        switch (entry.code) {
        case Notification::Clicked:
            if (auto* button = qobject_cast<QAbstractButton*>(control))
                connect(button, &QAbstractButton::clicked, this, entry.handler);
            break;
        case Notification::EditChange:
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                connect(edit, &QLineEdit::textChanged, this, entry.handler);
            break;
        case Notification::SelectionChange:
            // Only the user's choice: a selection made by the program is not a change.
            if (auto* combo = qobject_cast<QComboBox*>(control))
                connect(combo, &QComboBox::activated, this, entry.handler);
            break;
        }
    }
}

BOOL CPropertyPage::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.failed() ? FALSE : TRUE;
}

void CPropertyPage::SetModified(BOOL changed) {
    const bool modified = changed != FALSE;
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(m_modified);
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    return TRUE;
}

void CPropertyPage::DoDataExchange(CDataExchange*) {}

BOOL CPropertyPage::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}
