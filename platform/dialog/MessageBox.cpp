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
    const MessageBoxCall call{AfxGetAppName(), text, type};
    if (const MessageBoxHandler& handler = handlerSlot()) {
        handler(call);
        return IDOK;
    }
    const bool info = (type & 0x00F0) == MB_ICONINFORMATION;
    QMessageBox box(info ? QMessageBox::Information : QMessageBox::Warning, call.title, call.text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    return IDOK;
}
