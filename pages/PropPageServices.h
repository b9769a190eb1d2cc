#pragma once

#include "platform/dialog/CButton.h"
#include "platform/dialog/CPropertyPage.h"
#include "platform/dialog/DependentToggle.h"

// "Services": the network services, their ports and IP banning with its two list files.
class PropPageServices : public CPropertyPage {
    Q_OBJECT
public:
    PropPageServices();

    BOOL OnApply() override;
    void reloadSettings() override;
    BOOL OnSetActive() override;

    // Once per process: the keys are read on the first activation only.
    static inline int s_firstActivationDone = 0;
    // What the banning box last switched to.
    static inline DependentToggle s_banningToggle;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnEnableBanning();
    void OnEditAllowFile();
    void OnEditDenyFile();
    void enableEditButtons(BOOL enable);

    CButton m_denyButton;
    CButton m_allowButton;
    int m_banning = 0;
    int m_finger = 0;
    int m_http = 0;
    int m_isc = 0;
    int m_sender = 0;
    int m_fingerPort = 0;
    int m_httpPort = 0;
};
