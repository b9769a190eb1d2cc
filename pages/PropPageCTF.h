#pragma once

#include "platform/dialog/CPropertyPage.h"

// "C.T.F.": the capture-the-flag and teamplay switches; the rune controls are placeholders.
class PropPageCTF : public CPropertyPage {
    Q_OBJECT
public:
    PropPageCTF();

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void reloadSettings() override;

    // Once per process: the keys are read on the first activation only.
    static inline int s_firstActivationDone = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_ctf = 0;
    int m_teamplay = 0;
};
