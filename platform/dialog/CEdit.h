#pragma once

#include "platform/dialog/CWnd.h"

#include <QPlainTextEdit>
#include <QString>

// A multi-line edit control (the preview kind).
class CEdit : public CWnd {
public:
    QPlainTextEdit* edit() const { return qobject_cast<QPlainTextEdit*>(GetSafeHwnd()); }

    // Maximum number of characters the control holds; 0 means the toolkit's default.
    void LimitText(int maxChars);
    // Selects characters [start, end); end -1 means to the end of the text.
    void SetSel(int start, int end);
    // Replaces the selection with text. canUndo FALSE keeps the change out of the undo history.
    void ReplaceSel(const QString& text, BOOL canUndo = FALSE);
    QString GetWindowText() const;

private:
    int m_limit = 0;
};
