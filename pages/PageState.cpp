#include "pages/PageState.h"

#include "launch/EditorLauncher.h"
#include "pages/GomblePageReal.h"
#include "pages/PropPageCTF.h"
#include "pages/PropPageServices.h"
#include "pages/ServerPage.h"
#include "pages/WeaponsPageReal.h"

void ResetPageStateForTesting() {
    WeaponsPageReal::s_firstActivationDone = 0;
    for (DependentToggle& toggle : WeaponsPageReal::s_toggles)
        toggle = DependentToggle();
    GomblePageReal::s_firstActivationDone = 0;
    GomblePageReal::s_motdToggle = DependentToggle();
    ServerPage::s_firstActivationDone = 0;
    PropPageServices::s_firstActivationDone = 0;
    PropPageServices::s_banningToggle = DependentToggle();
    PropPageCTF::s_firstActivationDone = 0;
    ResetEditorFlags();
}
