#pragma once

#include "platform/Win32Types.h"

#include <QString>

#include <functional>

inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

struct MessageBoxCall {
    QString title;
    QString text;
    UINT type = MB_OK;
};

// Tests install a handler to record boxes instead of blocking on them. An empty handler
// restores the real modal box. Returns the handler that was installed before.
using MessageBoxHandler = std::function<void(const MessageBoxCall&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The application name every box is titled with; the application object sets it once.
QString AfxGetAppName();

// Shows a modal box with an OK button, titled with the application name; the warning icon
// unless type asks for the information icon. Returns IDOK.
int AfxMessageBox(const QString& text, UINT type = MB_OK | MB_ICONEXCLAMATION);
