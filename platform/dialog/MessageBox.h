#pragma once

#include "platform/Win32Types.h"

#include <QString>

#include <functional>

inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_YESNOCANCEL = 0x0003;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONINFORMATION = 0x0040;
inline constexpr UINT MB_DEFBUTTON3 = 0x0200;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxCall {
    QString title;
    QString text;
    UINT type = MB_OK;
    int answer = IDOK; // the button pressed; a handler may choose it, else the default button
};

// Tests install a handler to record boxes instead of blocking on them, and to answer questions.
// An empty handler restores the real modal box. Returns the handler that was installed before.
using MessageBoxHandler = std::function<void(MessageBoxCall&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The application name every box is titled with; the application object sets it once.
QString AfxGetAppName();

// Shows a modal box titled with the application name; the warning icon unless type asks for the
// information icon. An OK button, or with MB_YESNOCANCEL Yes, No and Cancel, the first of them
// the default unless MB_DEFBUTTON3 makes it Cancel. Returns the button pressed; Esc and the close
// box give IDCANCEL for a question.
int AfxMessageBox(const QString& text, UINT type = MB_OK | MB_ICONEXCLAMATION);
