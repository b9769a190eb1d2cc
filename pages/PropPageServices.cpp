#include "pages/PropPageServices.h"

#include "launch/EditorLauncher.h"
#include "pages/SettingsCodecs.h"
#include "platform/dialog/DDX.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

PropPageServices::PropPageServices() : CPropertyPage(kDialog135) {
    ON_BN_CLICKED(IDC_BANNING, &PropPageServices::OnEnableBanning);
    ON_BN_CLICKED(IDC_FINGER, &PropPageServices::OnModified);
    ON_BN_CLICKED(IDC_HTTP, &PropPageServices::OnModified);
    ON_BN_CLICKED(IDC_ISC, &PropPageServices::OnModified);
    ON_BN_CLICKED(IDC_SENDER, &PropPageServices::OnModified);
    ON_EN_CHANGE(IDC_FINGER_PORT, &PropPageServices::OnModified);
    ON_EN_CHANGE(IDC_HTTP_PORT, &PropPageServices::OnModified);
    ON_BN_CLICKED(IDC_EDIT_ALLOW_FILE, &PropPageServices::OnEditAllowFile);
    ON_BN_CLICKED(IDC_EDIT_DENY_FILE, &PropPageServices::OnEditDenyFile);
}

// The finger port is checked before the web server's, so its message is the one shown when
// both are out of range.
void PropPageServices::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_DENY_FILE, m_denyButton);
    DDX_Control(pDX, IDC_EDIT_ALLOW_FILE, m_allowButton);
    DDX_Check(pDX, IDC_BANNING, m_banning);
    DDX_Check(pDX, IDC_FINGER, m_finger);
    DDX_Check(pDX, IDC_HTTP, m_http);
    DDX_Check(pDX, IDC_ISC, m_isc);
    DDX_Check(pDX, IDC_SENDER, m_sender);
    DDX_Text(pDX, IDC_FINGER_PORT, m_fingerPort);
    DDV_MinMaxInt(pDX, m_fingerPort, 1, 64000);
    DDX_Text(pDX, IDC_HTTP_PORT, m_httpPort);
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
void PropPageServices::reloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    s_banningToggle.restart();
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
    enableEditButtons(m_banning ? TRUE : FALSE);
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

void PropPageServices::OnEnableBanning() {
    enableEditButtons(s_banningToggle.click(m_banning));
    SetModified(TRUE);
}

// The list files are edited outside the settings, so these never mark the page modified.
void PropPageServices::OnEditAllowFile() {
    AllowFileEditor.Launch();
}

void PropPageServices::OnEditDenyFile() {
    DenyFileEditor.Launch();
}

void PropPageServices::enableEditButtons(BOOL enable) {
    m_allowButton.EnableWindow(enable);
    m_denyButton.EnableWindow(enable);
}
