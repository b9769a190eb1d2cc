#include "platform/dialog/CDataExchange.h"

#include "platform/dialog/CPropertyPage.h"
#include "platform/dialog/MessageBox.h"

#include <QLineEdit>

QWidget* CDataExchange::PrepareCtrl(int id) {
    m_lastControl = m_pDlgWnd->GetDlgItem(id);
    return m_lastControl;
}

QWidget* CDataExchange::PrepareEditCtrl(int id) {
    return PrepareCtrl(id);
}

void CDataExchange::Fail(const QString& message) {
    m_failed = true;
    AfxMessageBox(message);
    if (m_lastControl) {
        m_lastControl->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(m_lastControl))
            edit->selectAll();
    }
}
