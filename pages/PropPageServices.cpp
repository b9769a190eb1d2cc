#include "pages/PropPageServices.h"

#include "launch/EditorLauncher.h"
#include "platform/DDX.h"
#include "res/Dialogs.h"
#include "settings/SettingsCodecs.h"

PropPageServices::PropPageServices() : CPropertyPage(kDialog135) {
    ON_BN_CLICKED(1049, &PropPageServices::OnEnableBanning);
    ON_BN_CLICKED(1048, &PropPageServices::OnModified);
    ON_BN_CLICKED(1047, &PropPageServices::OnModified);
    ON_BN_CLICKED(1046, &PropPageServices::OnModified);
    ON_BN_CLICKED(1052, &PropPageServices::OnModified);
    ON_EN_CHANGE(1051, &PropPageServices::OnModified);
    ON_EN_CHANGE(1050, &PropPageServices::OnModified);
    ON_BN_CLICKED(1053, &PropPageServices::OnEditAllowFile);
    ON_BN_CLICKED(1054, &PropPageServices::OnEditDenyFile);
}

// The finger port is checked before the web server's, so its message is the one shown when
// both are out of range.
void PropPageServices::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1054, m_denyButton);
    DDX_Control(pDX, 1053, m_allowButton);
    DDX_Check(pDX, 1049, m_banning);
    DDX_Check(pDX, 1048, m_finger);
    DDX_Check(pDX, 1047, m_http);
    DDX_Check(pDX, 1046, m_isc);
    DDX_Check(pDX, 1052, m_sender);
    DDX_Text(pDX, 1051, m_fingerPort);
    DDV_MinMaxInt(pDX, m_fingerPort, 1, 64000);
    DDX_Text(pDX, 1050, m_httpPort);
    DDV_MinMaxInt(pDX, m_httpPort, 1, 64000);
}

BOOL PropPageServices::OnApply() {
    UpdateData(TRUE);
    WriteBoolSetting(m_isc, "isc");
    WriteBoolSetting(m_http, "http");
    WriteBoolSetting(m_finger, "finger");
    WriteBoolSetting(m_sender, "sender");
    WriteBoolSetting(m_banning, "banning");
    WriteIntSetting(m_fingerPort, "Nfingerport");
    WriteIntSetting(m_httpPort, "Nhttpport");
    return CPropertyPage::OnApply();
}

// Another first activation, in which the read codecs give only the keys the sheet kept.
void PropPageServices::ReloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    s_banningToggleStarted = 0;
    s_firstActivationDone = 0;
    OnSetActive();
}

// Filling the port boxes changes their text, which marks the page modified on its first showing.
BOOL PropPageServices::OnSetActive() {
    if (!s_firstActivationDone) {
        ReadBoolSetting(m_isc, "isc", 1);
        ReadBoolSetting(m_http, "http", 1);
        ReadBoolSetting(m_finger, "finger", 1);
        ReadBoolSetting(m_sender, "sender", 1);
        ReadBoolSetting(m_banning, "banning", 1);
        ReadIntSetting("Nfingerport", m_fingerPort, 79);
        ReadIntSetting("Nhttpport", m_httpPort, 80);
        s_firstActivationDone = 1;
    }
    EnableEditButtons(m_banning ? TRUE : FALSE);
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

void PropPageServices::OnEnableBanning() {
    if (!s_banningToggleStarted) {
        s_banningToggleStarted = 1;
        s_banningToggleState = m_banning;
    }
    s_banningToggleState = s_banningToggleState ? 0 : 1;
    EnableEditButtons(s_banningToggleState);
    SetModified(TRUE);
}

// The list files are edited outside the settings, so these never mark the page modified.
void PropPageServices::OnEditAllowFile() {
    AllowFileEditor.Launch();
}

void PropPageServices::OnEditDenyFile() {
    DenyFileEditor.Launch();
}

void PropPageServices::EnableEditButtons(BOOL enable) {
    m_allowButton.EnableWindow(enable);
    m_denyButton.EnableWindow(enable);
}
