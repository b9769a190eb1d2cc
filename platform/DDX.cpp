#include "platform/DDX.h"

#include "platform/CWnd.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>
#include <climits>

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    auto* box = qobject_cast<QCheckBox*>(pDX->PrepareCtrl(id));
    if (!box)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = box->checkState() == Qt::Checked            ? 1
                : box->checkState() == Qt::PartiallyChecked ? 2
                                                            : 0;
    } else {
        // Setting the mark is not a click: the page is not notified.
        box->setCheckState(value == 1   ? Qt::Checked
                           : value == 2 ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
    }
}

bool ParseWholeNumber(const QString& text, int& value) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return false;
    long long magnitude = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return false;
        if (magnitude <= INT_MAX) // enough to saturate, and never overflows
            magnitude = magnitude * 10 + (t[i].unicode() - u'0');
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    value = int(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    return true;
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    auto* edit = qobject_cast<QLineEdit*>(pDX->PrepareEditCtrl(id));
    if (!edit)
        return;
    if (!pDX->m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    int parsed = 0;
    if (!ParseWholeNumber(edit->text(), parsed)) {
        pDX->Fail(QStringLiteral("Please enter a whole number."));
        return;
    }
    value = parsed;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (pDX->Failed())
        return;
    if (!control.GetSafeHwnd())
        control.Attach(pDX->PrepareCtrl(id));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal)
        pDX->Fail(
            QStringLiteral("Please enter a whole number from %1 to %2.").arg(minVal).arg(maxVal));
}
