#include "platform/dialog/DDX.h"

#include "platform/DecimalDigits.h"
#include "platform/dialog/CWnd.h"

#include <QCheckBox>
#include <QLineEdit>

#include <string_view>

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

// Qt's white space is Unicode's, so the box also forgives a no-break space around the number.
bool ParseWholeNumber(const QString& text, int& value) {
    const QByteArray t = text.trimmed().toUtf8();
    const std::optional<int> parsed =
        ParseWholeNumber(std::string_view(t.constData(), std::size_t(t.size())));
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->failed())
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
    if (pDX->failed())
        return;
    if (!control.GetSafeHwnd())
        control.Attach(pDX->PrepareCtrl(id));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value < minVal || value > maxVal)
        pDX->Fail(
            QStringLiteral("Please enter a whole number from %1 to %2.").arg(minVal).arg(maxVal));
}
