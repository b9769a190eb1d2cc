#pragma once

#include "model/PageModel.h"
#include "settings/SettingsSession.h"

#include <string>
#include <vector>

// What the sheet asks of whoever shows it: messages to acknowledge, and a Yes/No/Cancel question
// whose default is Cancel.
class SheetPrompts : public PageReports {
public:
    enum class Answer { Yes, No, Cancel };
    virtual Answer ask(const std::string& question) = 0;
    // The failed writes of one OK or Apply, one report per key in the order written: one
    // message each unless the front end shows them otherwise.
    virtual void saveFailed(const std::vector<std::string>& reports);
};

// The sheet: the six pages in its order and what showing a tab, OK, Apply and Help do, through
// the one settings session it is handed. Front ends draw it and forward the user's acts.
class SheetModel {
public:
    SheetModel(SettingsSession& session, SheetPrompts& prompts);
    SheetModel(const SheetModel&) = delete;
    SheetModel& operator=(const SheetModel&) = delete;

    SettingsSession& session() { return m_session; }
    std::vector<PageModel>& pages() { return m_pages; }
    const std::vector<PageModel>& pages() const { return m_pages; }
    // The page built on dialogId, or nullptr.
    PageModel* pageFor(int dialogId);

    // Activation: the first showing reads the page's keys; every showing refreshes the
    // message-of-the-day preview (unless its editor is open) and the shortcuts' addresses,
    // and the dependent controls follow their boxes.
    void OnSetActive(PageModel& page, bool motdEditorOpen = false);
    // The message-of-the-day preview again, with fallbackText for a missing file.
    void reloadPreview(const char* fallbackText);

    // OK and Apply, once the current page's values have passed: gathers the writes of every
    // page shown, asks about the conflicts and saves. False when the question was cancelled:
    // nothing was written and the sheet stays open.
    bool apply();
    // The pages whose kept keys were shown again by the last apply (tab indexes).
    const std::vector<int>& reshownPages() const { return m_reshown; }

    // What Help shows for a page: its purpose and keys, and the settings file in use.
    std::string helpText(int tab) const;

private:
    SettingsSession& m_session;
    SheetPrompts& m_prompts;
    std::vector<PageModel> m_pages;
    std::vector<int> m_reshown;
};

// The tab whose caption is name, ignoring case and a trailing blank; -1 for none.
int SheetTabNamed(const std::string& name);
// The message-of-the-day preview's text: the file's, or fallbackText when it cannot be read.
std::string MotdPreviewText(const char* fallbackText);
// The address a URL shortcut file of the current directory holds, or why there is none.
std::string ShortcutAddress(const char* fileName);
