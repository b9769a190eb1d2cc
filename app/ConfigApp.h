#pragma once

#include "platform/Win32Types.h"

#include <QString>

#include <memory>
#include <vector>

class CPropertyPage;
class CPropertySheet;

// The application object: start-up builds the sheet and its pages and runs it modally.
class ConfigApp {
public:
    ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // Runs the sheet to its end; FALSE means the process has nothing more to do.
    BOOL InitInstance();

    // The pages in their tab order, constructed but not yet added to a sheet.
    static std::vector<std::unique_ptr<CPropertyPage>> createPages();

    // What Help shows: the current page's purpose and keys, and the settings file in use.
    static QString helpText(const CPropertySheet& sheet);
    static void OnHelp(const CPropertySheet& sheet);
};
