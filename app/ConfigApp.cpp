#include "app/ConfigApp.h"

#include "app/MainDialog.h"
#include "launch/EditorLauncher.h"
#include "model/SheetModel.h"
#include "pages/AboutPage.h"
#include "pages/GomblePageReal.h"
#include "pages/PropPageCTF.h"
#include "pages/PropPageServices.h"
#include "pages/ServerPage.h"
#include "pages/WeaponsPageReal.h"
#include "platform/dialog/MessageBox.h"
#include "res/Strings.h"
#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>

#include <memory>
#include <optional>

ConfigApp::ConfigApp() {
    // Message boxes are titled with this name.
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));
    ResetEditorFlags();
}

BOOL ConfigApp::InitInstance() {
    // POSIX sockets need no start-up, so there is nothing here to check before the sheet.
    // The sheet is declared before the pages: the pages are destroyed first, the sheet last.
    MainDialog sheet;
    QObject::connect(&sheet, &CPropertySheet::helpRequested, &sheet, [&sheet] { OnHelp(sheet); });

    const std::vector<std::unique_ptr<CPropertyPage>> pages = createPages();
    for (const auto& page : pages)
        sheet.AddPage(page.get());

    // A link the store will not follow, and what a killed save left for the admin to judge
    // (docs/store.md).
    for (const std::string& text : SettingsFileMessages(SettingsFilePath()))
        AfxMessageBox(QString::fromStdString(text));
    sheet.DoModal();
    return FALSE;
}

std::vector<std::unique_ptr<CPropertyPage>> ConfigApp::createPages() {
    std::vector<std::unique_ptr<CPropertyPage>> pages;
    pages.push_back(std::make_unique<WeaponsPageReal>());
    pages.push_back(std::make_unique<GomblePageReal>());
    pages.push_back(std::make_unique<ServerPage>());
    pages.push_back(std::make_unique<PropPageServices>());
    pages.push_back(std::make_unique<PropPageCTF>());
    pages.push_back(std::make_unique<AboutPage>());
    return pages;
}

QString ConfigApp::helpText(const CPropertySheet& sheet) {
    const CPropertyPage* page = sheet.GetActivePage();
    const std::optional<PageModel> shown =
        page ? std::optional<PageModel>(PageModel(page->dialogTemplate())) : std::nullopt;
    return QString::fromStdString(SheetHelpText(shown ? &*shown : nullptr, SettingsFilePath()));
}

void ConfigApp::OnHelp(const CPropertySheet& sheet) {
    AfxMessageBox(helpText(sheet), MB_OK | MB_ICONINFORMATION);
}
