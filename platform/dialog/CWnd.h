#pragma once

#include "platform/Win32Types.h"

#include <QPointer>
#include <QWidget>

// A member control object: a handle onto a widget that the dialog template created. It starts
// unattached; DDX_Control attaches it. It never owns the widget (the page's window does).
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    void Attach(QWidget* widget) { m_widget = widget; }
    QWidget* GetSafeHwnd() const { return m_widget.data(); }

    // Returns whether the window was disabled before, as the platform call does.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;

private:
    QPointer<QWidget> m_widget;
};
