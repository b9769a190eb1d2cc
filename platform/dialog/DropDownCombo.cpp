#include "platform/dialog/DropDownCombo.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

DropDownCombo::DropDownCombo(QWidget* parent) : QComboBox(parent) {
    // What setEditable does, but a field that has a completer keeps the box from making one:
    // one model-less completer stands in for every box while it is made.
    static QCompleter* const placeholder = new QCompleter;
    auto* field = new QLineEdit(this);
    field->setPalette(palette());
    field->setCompleter(placeholder);
    setLineEdit(field);
    field->setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Keys and input methods may reach the field directly, past the box.
    field->installEventFilter(this);
}

bool DropDownCombo::needsCompleter(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

void DropDownCombo::ensureCompleter() {
    if (m_completerMade || !lineEdit())
        return;
    m_completerMade = true;
    lineEdit()->removeEventFilter(this);
    // What Qt's editable box makes for itself, left where selecting the current item left it.
    auto* completer = new QCompleter(model(), lineEdit());
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    completer->setCompletionColumn(modelColumn());
    completer->setCompletionPrefix(lineEdit()->text());
    setCompleter(completer);
}

bool DropDownCombo::event(QEvent* event) {
    if (needsCompleter(event))
        ensureCompleter();
    return QComboBox::event(event);
}

bool DropDownCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && needsCompleter(event))
        ensureCompleter();
    return QComboBox::eventFilter(watched, event);
}

void DropDownCombo::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !view()->isVisible()) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}
