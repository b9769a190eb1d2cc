#pragma once

#include <QClipboard>
#include <QLineEdit>

// A single-line edit into which only digits can be typed, pasted, dropped or middle-clicked.
// Text set by the program is shown as it is, so a stored "-3" still appears with its sign.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    static bool isDigits(const QString& text);
    void pasteDigitsOnly(QClipboard::Mode mode = QClipboard::Clipboard);
};
