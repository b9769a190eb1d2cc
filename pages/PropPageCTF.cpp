#include "pages/PropPageCTF.h"

#include "platform/DDX.h"
#include "res/Dialogs.h"
#include "settings/SettingsCodecs.h"

PropPageCTF::PropPageCTF() : CPropertyPage(kDialog136) {
    ON_BN_CLICKED(1055, &PropPageCTF::OnModified);
    ON_BN_CLICKED(1068, &PropPageCTF::OnModified);
}

void PropPageCTF::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 1055, m_ctf);
    DDX_Check(pDX, 1068, m_teamplay);
}

BOOL PropPageCTF::OnSetActive() {
    if (!s_firstActivationDone) {
        ReadBoolSetting(m_ctf, "ctf", 0);
        ReadBoolSetting(m_teamplay, "teamplay", 1);
        s_firstActivationDone = 1;
    }
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

BOOL PropPageCTF::OnApply() {
    UpdateData(TRUE);
    WriteBoolSetting(m_ctf, "ctf");
    WriteBoolSetting(m_teamplay, "teamplay");
    return CPropertyPage::OnApply();
}

// Another first activation, in which the read codecs give only the keys the sheet kept.
void PropPageCTF::ReloadSettings() {
    s_firstActivationDone = 0;
    OnSetActive();
}
