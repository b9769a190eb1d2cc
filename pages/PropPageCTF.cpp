#include "pages/PropPageCTF.h"

#include "pages/SettingsCodecs.h"
#include "platform/dialog/DDX.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

PropPageCTF::PropPageCTF() : CPropertyPage(kDialog136) {
    ON_BN_CLICKED(IDC_CTF, &PropPageCTF::OnModified);
    ON_BN_CLICKED(IDC_TEAMPLAY, &PropPageCTF::OnModified);
}

void PropPageCTF::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_CTF, m_ctf);
    DDX_Check(pDX, IDC_TEAMPLAY, m_teamplay);
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
void PropPageCTF::reloadSettings() {
    s_firstActivationDone = 0;
    OnSetActive();
}
