#include "app/ConfigApp.h"

#include "app/MainDialog.h"
#include "launch/EditorLauncher.h"
#include "pages/AboutPage.h"
#include "pages/GomblePageReal.h"
#include "pages/PropPageCTF.h"
#include "pages/PropPageServices.h"
#include "pages/ServerPage.h"
#include "pages/SettingsCodecs.h"
#include "pages/WeaponsPageReal.h"
#include "platform/dialog/MessageBox.h"
#include "res/HelpTexts.h"
#include "res/PageKeys.h"
#include "res/Strings.h"
#include "settings/KeyTable.h"
#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

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
    QString text;
    if (const CPropertyPage* page = sheet.GetActivePage()) {
        const int dialogId = page->dialogTemplate().id;
        text += page->GetCaption() + QStringLiteral("\n\n") +
                QString::fromLatin1(PageHelpText(dialogId)) + QStringLiteral("\n");
        QString keys;
        for (const PageKey& shown : PageKeys(dialogId)) {
            const SettingKey* key = FindSettingKey(shown.key);
            if (!key)
                continue;
            keys += QStringLiteral("\n  %1 = %2")
                        .arg(QLatin1String(key->key), QLatin1String(key->defaultText));
            if (key->type == SettingType::Integer)
                keys += QStringLiteral("  (%1 to %2)").arg(key->minValue).arg(key->maxValue);
        }
        if (!keys.isEmpty())
            text += QStringLiteral("\nKeys in section [%1], with their defaults:")
                        .arg(QLatin1String(kSettingsSection)) +
                    keys + QStringLiteral("\n");
    }
    const QString path = QFileInfo(QString::fromLocal8Bit(SettingsFilePath())).absoluteFilePath();
    text += QStringLiteral("\nSettings file: %1").arg(path);
    return text;
}

void ConfigApp::OnHelp(const CPropertySheet& sheet) {
    AfxMessageBox(helpText(sheet), MB_OK | MB_ICONINFORMATION);
}
