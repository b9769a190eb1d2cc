#include "pages/AboutPage.h"

#include "launch/OpenUrlShortcut.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

AboutPage::AboutPage() : CPropertyPage(kDialog133) {
    ON_BN_CLICKED(IDC_GOTO_HOME_PAGE, &AboutPage::OnGotoHomePage);
    ON_BN_CLICKED(IDC_HELP_FILES, &AboutPage::OnHelpFiles);
}

void AboutPage::OnGotoHomePage() {
    OpenUrlShortcut(HomePageShortcut);
}

void AboutPage::OnHelpFiles() {
    OpenUrlShortcut(HelpFilesShortcut);
}
