#include "platform/dialog/NumberEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    // The handlers below keep each way in they know to digits; the validator stops any other
    // (a screen reader setting the value, say), letting only a stored number's sign through.
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), this));
}

bool NumberEdit::isDigits(const QString& text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

void NumberEdit::pasteDigitsOnly(QClipboard::Mode mode) {
    const QString text = QApplication::clipboard()->text(mode);
    if (isDigits(text))
        insert(text);
    else
        QApplication::beep();
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            pasteDigitsOnly();
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (printable && !shortcut && !isDigits(text)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!isDigits(event->commitString())) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void NumberEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText() || !isDigits(event->mimeData()->text())) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

void NumberEdit::mouseReleaseEvent(QMouseEvent* event) {
    // X11 pastes the primary selection on a middle click, past the paste shortcut and menu.
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            pasteDigitsOnly(QClipboard::Selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void NumberEdit::contextMenuEvent(QContextMenuEvent* event) {
    // The stock menu pastes unfiltered, so its Paste goes through the digit filter instead.
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [this] { pasteDigitsOnly(); });
        }
    }
    menu->popup(event->globalPos());
}
