#include "pages/AboutPage.h"

#include "launch/OpenUrlShortcut.h"
#include "res/Dialogs.h"

AboutPage::AboutPage() : CPropertyPage(kDialog133) {
    ON_BN_CLICKED(1029, &AboutPage::OnGotoHomePage);
    ON_BN_CLICKED(1069, &AboutPage::OnHelpFiles);
}

void AboutPage::OnGotoHomePage() {
    OpenUrlShortcut(HomePageShortcut);
}

void AboutPage::OnHelpFiles() {
    OpenUrlShortcut(HelpFilesShortcut);
}
