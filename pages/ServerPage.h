#pragma once

#include "platform/dialog/CPropertyPage.h"

// "Server Options": three rule switches and the frag and time limits.
class ServerPage : public CPropertyPage {
    Q_OBJECT
public:
    ServerPage();

    BOOL OnSetActive() override;
    BOOL OnApply() override;
    void reloadSettings() override;

    // Once per process: the keys are read on the first activation only.
    static inline int s_firstActivationDone = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int m_breakableItems = 0;
    int m_cheating = 0;
    int m_deathMessages = 0;
    int m_noExit = 0;
    int m_sameMap = 0;
    int m_showHighs = 0;
    int m_fragLimit = 0;
    int m_timeLimit = 0;
};
