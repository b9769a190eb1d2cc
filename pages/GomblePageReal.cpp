#include "pages/GomblePageReal.h"

#include "launch/EditorLauncher.h"
#include "platform/DDX.h"
#include "res/Dialogs.h"
#include "settings/SettingsCodecs.h"

GomblePageReal::GomblePageReal() : CPropertyPage(kDialog106) {
    ON_BN_CLICKED(1022, &GomblePageReal::OnEditMotd);
    ON_BN_CLICKED(1030, &GomblePageReal::OnModified);
    ON_BN_CLICKED(1031, &GomblePageReal::OnModified);
    ON_BN_CLICKED(1029, &GomblePageReal::OnModified);
    ON_BN_CLICKED(1018, &GomblePageReal::OnMotdEnabled);
}

void GomblePageReal::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1022, m_editMotd);
    DDX_Control(pDX, 1021, m_motdPreview);
    DDX_Check(pDX, 1030, m_chainRailGun);
    DDX_Check(pDX, 1031, m_choker);
    DDX_Check(pDX, 1029, m_grapple);
    DDX_Check(pDX, 1018, m_showMotd);
    DDX_Check(pDX, 1035, m_bag);
    DDX_Check(pDX, 1032, m_distortionField);
    DDX_Check(pDX, 1033, m_ionBlaster);
    DDX_Check(pDX, 1034, m_lazerGuided);
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
    EnableMotdControls(m_showMotd ? TRUE : FALSE);
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
void GomblePageReal::ReloadSettings() {
    // The dependent controls follow the check box from the value shown now.
    s_motdToggleStarted = 0;
    s_firstActivationDone = 0;
    OnSetActive();
}

// Opening the file is not a change to the settings, so the page stays unmodified.
void GomblePageReal::OnEditMotd() {
    MotdEditor.Launch(&m_motdPreview);
}

void GomblePageReal::OnMotdEnabled() {
    if (!s_motdToggleStarted) {
        s_motdToggleStarted = 1;
        s_motdToggleState = m_showMotd;
    }
    s_motdToggleState = s_motdToggleState ? 0 : 1;
    EnableMotdControls(s_motdToggleState);
    SetModified(TRUE);
}

void GomblePageReal::EnableMotdControls(BOOL enable) {
    m_editMotd.EnableWindow(enable);
    m_motdPreview.EnableWindow(enable);
}
