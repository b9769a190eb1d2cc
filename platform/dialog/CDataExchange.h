#pragma once

#include "platform/Win32Types.h"

#include <QString>

class CPropertyPage;
class QWidget;

// The context of one UpdateData run. Validation stops at the first failing value: after Fail()
// every further exchange of the same run is skipped.
class CDataExchange {
public:
    CDataExchange(CPropertyPage* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    const BOOL m_bSaveAndValidate;
    CPropertyPage* const m_pDlgWnd;

    QWidget* PrepareCtrl(int id);
    QWidget* PrepareEditCtrl(int id);
    // Shows message, then gives the last prepared control focus, its text selected.
    void Fail(const QString& message);
    bool failed() const { return m_failed; }

private:
    QWidget* m_lastControl = nullptr;
    bool m_failed = false;
};
