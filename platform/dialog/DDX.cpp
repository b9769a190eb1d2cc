#include "platform/dialog/DDX.h"

#include "platform/dialog/CWnd.h"

#include <QCheckBox>
#include <QLineEdit>

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->failed())
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

void DDX_Text(CDataExchange* pDX, int id, QString& text) {
    if (pDX->failed())
        return;
    auto* edit = qobject_cast<QLineEdit*>(pDX->PrepareEditCtrl(id));
    if (!edit)
        return;
    if (pDX->m_bSaveAndValidate)
        text = edit->text();
    else if (edit->text() != text)
        edit->setText(text);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (pDX->failed())
        return;
    if (!control.GetSafeHwnd())
        control.Attach(pDX->PrepareCtrl(id));
}
