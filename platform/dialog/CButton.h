#pragma once

#include "platform/dialog/CWnd.h"

#include <QAbstractButton>

class CButton : public CWnd {
public:
    QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(GetSafeHwnd()); }
};
