#pragma once

#include "platform/dialog/CWnd.h"

#include <QComboBox>
#include <QString>

inline constexpr int CB_ERR = -1;

// A drop-down list. With an edit field, the list counts as having a selection only while the
// edit field shows the selected item's text, as the platform's combo box does.
class CComboBox : public CWnd {
public:
    QComboBox* combo() const { return qobject_cast<QComboBox*>(GetSafeHwnd()); }

    // index -1 clears the selection; an index past the end returns CB_ERR and clears it too.
    int SetCurSel(int index);
    int GetCurSel() const;
    int GetCount() const;
    QString GetLBText(int index) const;
    QString GetWindowText() const;
};
