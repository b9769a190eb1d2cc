#include "platform/dialog/MessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <utility>

namespace {
MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(handlerSlot(), std::move(handler));
}

QString AfxGetAppName() {
    return QCoreApplication::applicationName();
}

int AfxMessageBox(const QString& text, UINT type) {
    const bool question = (type & 0x000F) == MB_YESNOCANCEL;
    const bool cancelFirst = (type & 0x0F00) == MB_DEFBUTTON3;
    MessageBoxCall call{AfxGetAppName(), text, type,
                        !question     ? IDOK
                        : cancelFirst ? IDCANCEL
                                      : IDYES};
    if (const MessageBoxHandler& handler = handlerSlot()) {
        handler(call);
        return call.answer;
    }
    const bool info = (type & 0x00F0) == MB_ICONINFORMATION;
    QMessageBox box(info ? QMessageBox::Information : QMessageBox::Warning, call.title, call.text,
                    question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                             : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (!question) {
        box.exec();
        return IDOK;
    }
    box.setDefaultButton(cancelFirst ? QMessageBox::Cancel : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    return pressed == QMessageBox::Yes ? IDYES : pressed == QMessageBox::No ? IDNO : IDCANCEL;
}
