#include "platform/dialog/CComboBox.h"

#include <QLineEdit>

int CComboBox::SetCurSel(int index) {
    QComboBox* c = combo();
    if (!c)
        return CB_ERR;
    if (index < 0 || index >= c->count()) {
        c->setCurrentIndex(-1);
        if (c->lineEdit())
            c->lineEdit()->clear();
        return CB_ERR;
    }
    c->setCurrentIndex(index);
    return index;
}

int CComboBox::GetCurSel() const {
    const QComboBox* c = combo();
    if (!c)
        return CB_ERR;
    const int index = c->currentIndex();
    if (index < 0)
        return CB_ERR;
    // Typing into the edit field leaves no item selected.
    if (c->isEditable() && c->currentText() != c->itemText(index))
        return CB_ERR;
    return index;
}

int CComboBox::GetCount() const {
    const QComboBox* c = combo();
    return c ? c->count() : 0;
}

QString CComboBox::GetLBText(int index) const {
    const QComboBox* c = combo();
    return c ? c->itemText(index) : QString();
}

QString CComboBox::GetWindowText() const {
    const QComboBox* c = combo();
    return c ? c->currentText() : QString();
}
