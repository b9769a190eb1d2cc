#pragma once

#include "platform/Win32Types.h"

#include <QString>

class CPropertySheet;

// The application object: start-up builds the sheet and its pages and runs it modally.
class ConfigApp {
public:
    ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // Runs the sheet to its end; FALSE means the process has nothing more to do.
    BOOL InitInstance();

    // What Help shows: the current page's purpose and keys, and the settings file in use.
    static QString HelpText(const CPropertySheet& sheet);
    static void OnHelp(const CPropertySheet& sheet);
};
