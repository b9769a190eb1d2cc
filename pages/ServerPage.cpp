#include "pages/ServerPage.h"

#include "platform/DDX.h"
#include "res/Dialogs.h"
#include "settings/SettingsCodecs.h"

ServerPage::ServerPage() : CPropertyPage(kDialog134) {
    ON_BN_CLICKED(1037, &ServerPage::OnModified);
    ON_BN_CLICKED(1038, &ServerPage::OnModified);
    ON_BN_CLICKED(1039, &ServerPage::OnModified);
    ON_BN_CLICKED(1036, &ServerPage::OnModified);
    ON_BN_CLICKED(1041, &ServerPage::OnModified);
    ON_BN_CLICKED(1040, &ServerPage::OnModified);
    ON_EN_CHANGE(1043, &ServerPage::OnModified);
    ON_EN_CHANGE(1044, &ServerPage::OnModified);
}

void ServerPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 1037, m_breakableItems);
    DDX_Check(pDX, 1038, m_cheating);
    DDX_Check(pDX, 1039, m_deathMessages);
    DDX_Check(pDX, 1036, m_noExit);
    DDX_Check(pDX, 1041, m_sameMap);
    DDX_Check(pDX, 1040, m_showHighs);
    DDX_Text(pDX, 1043, m_fragLimit);
    DDV_MinMaxInt(pDX, m_fragLimit, 0, 1000);
    DDX_Text(pDX, 1044, m_timeLimit);
    DDV_MinMaxInt(pDX, m_timeLimit, 0, 1000);
}

BOOL ServerPage::OnSetActive() {
    if (!s_firstActivationDone) {
        ReadBoolSetting(m_sameMap, "samemap", 0);
        ReadBoolSetting(m_cheating, "cheating", 0);
        ReadBoolSetting(m_noExit, "noexit", 0);
        ReadIntSetting("Nfraglimit", m_fragLimit, 0);
        ReadIntSetting("Ntimelimit", m_timeLimit, 0);
        s_firstActivationDone = 1;
    }
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

BOOL ServerPage::OnApply() {
    UpdateData(TRUE);
    WriteBoolSetting(m_sameMap, "samemap");
    WriteBoolSetting(m_cheating, "cheating");
    WriteBoolSetting(m_noExit, "noexit");
    WriteIntSetting(m_fragLimit, "Nfraglimit");
    WriteIntSetting(m_timeLimit, "Ntimelimit");
    return CPropertyPage::OnApply();
}

// Another first activation, in which the read codecs give only the keys the sheet kept.
void ServerPage::ReloadSettings() {
    s_firstActivationDone = 0;
    OnSetActive();
}
