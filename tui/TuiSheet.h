#pragma once

#include "tui/TuiPage.h"

#include <string>
#include <vector>

class SettingsSession;

// What the sheet asks of whoever shows it: a message to acknowledge, and a Yes/No/Cancel
// question whose default is Cancel.
class TuiDialogs {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~TuiDialogs() = default;
    virtual void message(const std::string& text) = 0;
    virtual Answer ask(const std::string& question) = 0;
};

enum class SheetButton { Ok, Cancel, Apply, Help };

// Where the keyboard is: a control of the current page, or one of the sheet's buttons.
struct TuiFocus {
    bool onButton = false;
    int index = -1; // a control's index on the page, or a SheetButton
    bool operator==(const TuiFocus&) const = default;
};

// The terminal sheet: the six pages in the sheet's order and what OK, Apply, Cancel and the tabs
// do, through one settings session. Nothing here draws.
class TuiSheet {
public:
    TuiSheet(SettingsSession& session, TuiDialogs& dialogs);

    static const std::vector<const DialogTemplate*>& Templates();

    std::vector<TuiPage>& pages() { return m_pages; }
    const std::vector<TuiPage>& pages() const { return m_pages; }
    int activeTab() const { return m_active; }
    TuiPage& activePage() { return m_pages[std::size_t(m_active)]; }
    const TuiPage& activePage() const { return m_pages[std::size_t(m_active)]; }
    // The tab whose caption is name, ignoring case and a trailing blank; -1 for none.
    static int TabNamed(const std::string& name);

    // Shows the first page; does nothing once a page is shown.
    void start(int tab = 0);
    // Leaves the current page for another: refused, with the message, while a number of the
    // current page is wrong, and the focus then goes to it.
    bool selectTab(int tab);

    bool applyEnabled() const;
    // OK and Apply: false when a number is refused or the conflict question is cancelled, and
    // the sheet then stays open.
    bool apply();
    // The current page's keys and the settings file.
    std::string helpText() const;

    // The message-of-the-day preview again, after its editor (with that fallback text).
    void reloadPreview(const char* fallbackText);

    TuiFocus focus() const { return m_focus; }
    void setFocus(TuiFocus focus) { m_focus = focus; }
    // Tab and Shift+Tab: the page's controls in tab order, then OK, Cancel, Apply, Help.
    void moveFocus(bool forward);
    // The first control of the page, or OK on a page with none.
    void focusFirst();

private:
    void show(int tab);
    void load(TuiPage& page);
    void refusedAt(const Refusal& refusal);
    std::vector<TuiFocus> focusRing() const;

    SettingsSession& m_session;
    TuiDialogs& m_dialogs;
    std::vector<TuiPage> m_pages;
    int m_active = -1;
    TuiFocus m_focus;
};

// The preview's fallback texts: when the page is shown, and after the editor closed.
inline constexpr const char* kPreviewFallbackOnShow = "Put Your\r\nWelcome Message\r\nHere\r\n";
inline constexpr const char* kPreviewFallbackAfterEdit = "Put your motd text here...\n";
