#pragma once

#include "model/SheetModel.h"
#include "platform/dialog/CPropertySheet.h"
#include "settings/SettingsSession.h"

// The configuration sheet: the whole user interface. It owns the settings session and the page
// model its pages show; each page it is given is bound to its model.
class MainDialog : public CPropertySheet {
    Q_OBJECT
public:
    // io: how the session's reads and saves reach the disk, which must outlive the sheet.
    explicit MainDialog(QWidget* parent = nullptr, UINT selectPage = 0,
                        const ProfileIo& io = kSystemProfileIo);

    SettingsSession& settingsSession() { return m_session; }
    SheetModel& sheetModel() { return m_model; }
    // Message boxes for what the model says and asks.
    SheetPrompts& prompts() { return m_prompts; }

    void AddPage(CPropertyPage* page) override;

protected:
    // The pages' writes in one save, minding what another program wrote since the pages read
    // their keys; the pages that show kept keys show them.
    bool applyPages() override;

private:
    class MessageBoxPrompts : public SheetPrompts {
    public:
        void message(const std::string& text) override;
        Answer ask(const std::string& question) override;
    };

    SettingsSession m_session;
    MessageBoxPrompts m_prompts;
    SheetModel m_model;
};
