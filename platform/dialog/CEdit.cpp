#include "platform/dialog/CEdit.h"

#include <QTextCursor>

void CEdit::LimitText(int maxChars) {
    m_limit = maxChars;
}

void CEdit::SetSel(int start, int end) {
    QPlainTextEdit* e = edit();
    if (!e)
        return;
    QTextCursor cursor = e->textCursor();
    const int length = e->document()->characterCount() - 1;
    const int from = qBound(0, start, length);
    const int to = end < 0 ? length : qBound(0, end, length);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    e->setTextCursor(cursor);
}

void CEdit::ReplaceSel(const QString& text, BOOL canUndo) {
    QPlainTextEdit* e = edit();
    if (!e)
        return;
    QString replacement = text;
    if (m_limit > 0) {
        const int room = m_limit - (e->document()->characterCount() - 1) +
                         int(e->textCursor().selectedText().size());
        replacement.truncate(qMax(0, room));
    }
    const bool undo = e->isUndoRedoEnabled();
    if (!canUndo)
        e->setUndoRedoEnabled(false);
    e->textCursor().insertText(replacement);
    if (!canUndo)
        e->setUndoRedoEnabled(undo);
}

QString CEdit::GetWindowText() const {
    QPlainTextEdit* e = edit();
    return e ? e->toPlainText() : QString();
}
