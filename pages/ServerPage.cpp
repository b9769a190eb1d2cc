#include "pages/ServerPage.h"

#include "pages/SettingsCodecs.h"
#include "platform/dialog/DDX.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

ServerPage::ServerPage() : CPropertyPage(kDialog134) {
    ON_BN_CLICKED(IDC_BREAKABLE_ITEMS, &ServerPage::OnModified);
    ON_BN_CLICKED(IDC_CHEATING, &ServerPage::OnModified);
    ON_BN_CLICKED(IDC_DEATH_MESSAGES, &ServerPage::OnModified);
    ON_BN_CLICKED(IDC_NO_EXIT, &ServerPage::OnModified);
    ON_BN_CLICKED(IDC_SAME_MAP, &ServerPage::OnModified);
    ON_BN_CLICKED(IDC_SHOW_HIGHS, &ServerPage::OnModified);
    ON_EN_CHANGE(IDC_FRAG_LIMIT, &ServerPage::OnModified);
    ON_EN_CHANGE(IDC_TIME_LIMIT, &ServerPage::OnModified);
}

void ServerPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_BREAKABLE_ITEMS, m_breakableItems);
    DDX_Check(pDX, IDC_CHEATING, m_cheating);
    DDX_Check(pDX, IDC_DEATH_MESSAGES, m_deathMessages);
    DDX_Check(pDX, IDC_NO_EXIT, m_noExit);
    DDX_Check(pDX, IDC_SAME_MAP, m_sameMap);
    DDX_Check(pDX, IDC_SHOW_HIGHS, m_showHighs);
    DDX_Text(pDX, IDC_FRAG_LIMIT, m_fragLimit);
    DDV_MinMaxInt(pDX, m_fragLimit, 0, 1000);
    DDX_Text(pDX, IDC_TIME_LIMIT, m_timeLimit);
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
void ServerPage::reloadSettings() {
    s_firstActivationDone = 0;
    OnSetActive();
}
