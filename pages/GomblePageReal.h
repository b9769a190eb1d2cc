#pragma once

#include "platform/dialog/CButton.h"
#include "platform/dialog/CEdit.h"
#include "platform/dialog/CPropertyPage.h"
#include "platform/dialog/DependentToggle.h"

// "Gomble Stuff": the mod's feature switches and a read-only preview of the message of the day.
class GomblePageReal : public CPropertyPage {
    Q_OBJECT
public:
    GomblePageReal();

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void reloadSettings() override;

    // Once per process: the keys are read on the first activation only.
    static inline int s_firstActivationDone = 0;
    // What "Motd Enabled" last switched to.
    static inline DependentToggle s_motdToggle;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnEditMotd();
    void OnMotdEnabled();
    void enableMotdControls(BOOL enable);

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
