#include "pages/GomblePageReal.h"

#include "launch/EditorLauncher.h"
#include "pages/SettingsCodecs.h"
#include "platform/dialog/DDX.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"

GomblePageReal::GomblePageReal() : CPropertyPage(kDialog106) {
    ON_BN_CLICKED(IDC_EDIT_MOTD, &GomblePageReal::OnEditMotd);
    ON_BN_CLICKED(IDC_CHAIN_RAILGUN, &GomblePageReal::OnModified);
    ON_BN_CLICKED(IDC_CHOKER, &GomblePageReal::OnModified);
    ON_BN_CLICKED(IDC_GRAPPLE, &GomblePageReal::OnModified);
    ON_BN_CLICKED(IDC_MOTD_ENABLED, &GomblePageReal::OnMotdEnabled);
}

void GomblePageReal::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_MOTD, m_editMotd);
    DDX_Control(pDX, IDC_MOTD_PREVIEW, m_motdPreview);
    DDX_Check(pDX, IDC_CHAIN_RAILGUN, m_chainRailGun);
    DDX_Check(pDX, IDC_CHOKER, m_choker);
    DDX_Check(pDX, IDC_GRAPPLE, m_grapple);
    DDX_Check(pDX, IDC_MOTD_ENABLED, m_showMotd);
    DDX_Check(pDX, IDC_BAG, m_bag);
    DDX_Check(pDX, IDC_DISTORTION_FIELD, m_distortionField);
    DDX_Check(pDX, IDC_ION_BLASTER, m_ionBlaster);
    DDX_Check(pDX, IDC_LAZER_GUIDED, m_lazerGuided);
}

BOOL GomblePageReal::OnSetActive() {
    // While the editor is open its worker owns the preview and refills it when the editor exits.
    if (!MotdEditor.running) {
        m_motdPreview.LimitText(1024);
        FillMotdPreview(m_motdPreview, "Put Your\r\nWelcome Message\r\nHere\r\n");
    }
    if (!s_firstActivationDone) {
        ReadBoolSetting(m_showMotd, "show_motd", 1);
        ReadBoolSetting(m_grapple, "grapple", 1);
        ReadBoolSetting(m_choker, "choker", 1);
        ReadBoolSetting(m_chainRailGun, "chainrailgun", 1);
        s_firstActivationDone = 1;
    }
    enableMotdControls(m_showMotd ? TRUE : FALSE);
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

BOOL GomblePageReal::OnApply() {
    UpdateData(TRUE);
    WriteBoolSetting(m_showMotd, "show_motd");
    WriteBoolSetting(m_grapple, "grapple");
    WriteBoolSetting(m_choker, "choker");
    WriteBoolSetting(m_chainRailGun, "chainrailgun");
    return CPropertyPage::OnApply();
}

// Another first activation, in which the read codecs give only the keys the sheet kept.
void GomblePageReal::reloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    s_motdToggle.restart();
    s_firstActivationDone = 0;
    OnSetActive();
}

// Opening the file is not a change to the settings, so the page stays unmodified.
void GomblePageReal::OnEditMotd() {
    MotdEditor.Launch(&m_motdPreview);
}

void GomblePageReal::OnMotdEnabled() {
    enableMotdControls(s_motdToggle.click(m_showMotd));
    SetModified(TRUE);
}

void GomblePageReal::enableMotdControls(BOOL enable) {
    m_editMotd.EnableWindow(enable);
    m_motdPreview.EnableWindow(enable);
}
