#pragma once

#include "model/PageMessages.h"
#include "model/SheetModel.h"

#include <string>
#include <vector>

class SettingsSession;

// The terminal draws the page model's pages and controls.
using TuiPage = PageModel;
using TuiControl = PageControl;

// What the sheet asks of the terminal: messages and the conflict question. A save that fails
// for many keys at once is one box per distinct message, with the count.
class TuiDialogs : public SheetPrompts {
public:
    void saveFailed(const std::vector<std::string>& reports) override;
};

enum class SheetButton { Ok, Cancel, Apply, Help };

// Where the keyboard is: a control of the current page, or one of the sheet's buttons.
struct TuiFocus {
    bool onButton = false;
    int index = -1; // a control's index on the page, or a SheetButton
    bool operator==(const TuiFocus&) const = default;
};

// The terminal sheet: the page model's sheet, with the current tab and the keyboard's focus.
// Nothing here draws.
class TuiSheet {
public:
    TuiSheet(SettingsSession& session, TuiDialogs& dialogs);

    static const std::vector<const DialogTemplate*>& Templates();

    std::vector<TuiPage>& pages() { return m_model.pages(); }
    const std::vector<TuiPage>& pages() const { return m_model.pages(); }
    int activeTab() const { return m_active; }
    TuiPage& activePage() { return pages()[std::size_t(m_active)]; }
    const TuiPage& activePage() const { return pages()[std::size_t(m_active)]; }
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
    std::string helpText() const { return m_model.helpText(m_active); }

    // The message-of-the-day preview again, after its editor (with that fallback text).
    void reloadPreview(const char* fallbackText) { m_model.reloadPreview(fallbackText); }

    TuiFocus focus() const { return m_focus; }
    void setFocus(TuiFocus focus) { m_focus = focus; }
    // Tab and Shift+Tab: the page's controls in tab order, then OK, Cancel, Apply, Help.
    void moveFocus(bool forward);
    // The first control of the page, or OK on a page with none.
    void focusFirst();

private:
    void show(int tab);
    void refusedAt(const Refusal& refusal);
    std::vector<TuiFocus> focusRing() const;

    TuiDialogs& m_dialogs;
    SheetModel m_model;
    int m_active = -1;
    TuiFocus m_focus;
};

// The preview's fallback text after the editor closed.
inline constexpr const char* kPreviewFallbackAfterEdit = PageText::kMotdMissingAfterEdit;
