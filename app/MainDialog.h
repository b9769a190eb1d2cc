#pragma once

#include "platform/dialog/CPropertySheet.h"
#include "settings/SettingsSession.h"

// The configuration sheet: the whole user interface. It owns the settings session through
// which its pages read and write, installed for the codecs while the sheet lives.
class MainDialog : public CPropertySheet {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr, UINT selectPage = 0);
    ~MainDialog() override;

    SettingsSession& settingsSession() { return m_session; }

protected:
    // The pages' writes in one save, minding what another program wrote since the pages read
    // their keys.
    bool applyPages() override;

private:
    SettingsSession m_session;
    SettingsSession* m_previousSession;
};
