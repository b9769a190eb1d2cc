#pragma once

#include "platform/CButton.h"
#include "platform/CEdit.h"
#include "platform/CPropertyPage.h"

// "Gomble Stuff": the mod's feature switches and a read-only preview of the message of the day.
class GomblePageReal : public CPropertyPage {
    Q_OBJECT
public:
    GomblePageReal();

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void ReloadSettings() override;

    // Once per process: the keys are read on the first activation only.
    static inline int s_firstActivationDone = 0;
    // What "Motd Enabled" last switched to; taken from the page the first time it is clicked.
    static inline int s_motdToggleState = 0;
    static inline int s_motdToggleStarted = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnEditMotd();
    void OnMotdEnabled();
    void EnableMotdControls(BOOL enable);

    CButton m_editMotd;
    CEdit m_motdPreview;
    int m_chainRailGun = 0;
    int m_choker = 0;
    int m_grapple = 0;
    int m_showMotd = 0;
    int m_bag = 0;
    int m_distortionField = 0;
    int m_ionBlaster = 0;
    int m_lazerGuided = 0;
};
