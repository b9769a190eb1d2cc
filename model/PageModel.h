#pragma once

#include "platform/DialogTemplate.h"
#include "settings/KeyTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PageIo;

// What a control is to the person using the page, whatever draws it.
enum class ControlRole {
    CheckBox,
    Button,
    Number,     // a single-line box of digits that shows an integer key
    Edit,       // any other single-line box
    Preview,    // the read-only message-of-the-day text
    WeaponList, // a substitute list: position i is WeaponId i
    ComboBox,   // a list without items (a placeholder)
    GroupBox,
    Label,
    Picture,
};
// "checkbox", "button", "number", "edit", "preview", "weaponList", "comboBox", "groupBox",
// "label", "picture".
const char* ControlRoleName(ControlRole role);

// One control of a page: its template entry, the key it shows, the rules it follows, and what
// it holds now.
struct PageControl {
    const ControlTemplate* source = nullptr;
    ControlRole role = ControlRole::Label;
    const SettingKey* key = nullptr;    // nullptr: the control shows no setting
    bool placeholder = false;           // created disabled by its template: greyed, never responds
    int dependsOn = IDC_STATIC;         // enabled only while this check box is checked
    const char* editsFile = nullptr;    // a button that opens this text file in the editor
    const char* shortcutFile = nullptr; // a button that opens this URL shortcut

    bool enabled = true;
    bool checked = false; // a check box
    std::string text;     // a number box's text; the preview's text; a shortcut's address
    int selection = -1;   // a weapon list: the chosen WeaponId, -1 for none
    int firstLine = 0;    // the preview: the first line a scrolling front end shows

    int id() const { return source->id; }
    ControlKind kind() const { return source->kind; }
    bool isNumberBox() const { return role == ControlRole::Number; }
    bool isPreview() const { return role == ControlRole::Preview; }
    bool isWeaponList() const { return role == ControlRole::WeaponList; }
    // A tab stop of its template that is not a placeholder: Tab reaches it while it is enabled.
    bool tabStop() const { return !placeholder && (source->style & WS_TABSTOP); }
    // Tab and the mouse reach it now.
    bool focusable() const;
};

// A value refused when its page is left: which control and the message that names the range.
struct Refusal {
    int index;
    std::string message;
};

// The message a number box gets for text: nothing when it is a whole number within the range.
std::optional<std::string> NumberRefusal(std::string_view text, int minValue, int maxValue);

// What a page reports while it reads or writes (the weapon rows' messages, failed saves).
class PageReports {
public:
    virtual ~PageReports() = default;
    virtual void message(const std::string& text) = 0;
};

// One page of the sheet: the controls of its template in template order, with the rules the
// pages follow, and what they hold in one sheet. Its first showing reads its keys through the
// session (OnSetActive), OK and Apply gather its writes (OnApply). Nothing here draws.
class PageModel {
public:
    explicit PageModel(const DialogTemplate& dialog);

    const DialogTemplate& dialog() const { return *m_dialog; }
    const char* caption() const { return m_dialog->caption; }
    // The run-time class name of the page ("WeaponsPageReal").
    const char* className() const;
    std::vector<PageControl>& controls() { return m_controls; }
    const std::vector<PageControl>& controls() const { return m_controls; }
    // The index of the control with this ID on this page, or -1.
    int indexOf(int controlId) const;
    PageControl* control(int controlId);
    const PageControl* control(int controlId) const;

    // The indexes of the controls that show the page's keys, in the order the page reads and
    // writes them.
    std::vector<int> keyOrder() const;
    // The controls Tab reaches now, in tab order (which is template order).
    std::vector<int> focusOrder() const;
    // Every tab stop's place in the tab order, or -1: for a front end that lays out the page.
    int tabOrderOf(int index) const;

    // What the user does. Each marks the page modified where the sheet's pages do.
    void click(int index);                           // a check box: flips it
    void pickWeapon(int index, int weapon);          // a weapon list
    void setNumberText(int index, std::string text); // a number box: its whole text
    void typeIntoNumber(int index, int key);         // a digit or a backspace
    // The weapon whose shown name is typed (ignoring case), as a list's edit field names it; -1.
    static int WeaponNamed(std::string_view typed);

    // Checks the page's numbers in the order its values are taken from the controls; the first
    // that fails, or nothing.
    std::optional<Refusal> validate() const;
    // The dependent controls follow their check boxes.
    void updateDependents();

    // The first showing (and a showing of kept keys again): reads the page's keys through the
    // codecs in the page's order and shows them; the dependent controls follow.
    void OnSetActive(PageIo& io);
    // OK or Apply: the page's writes through the codecs, in its order, into the sheet's save.
    void OnApply(PageIo& io) const;

    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    // Shown at least once: its keys were read and OK or Apply writes them.
    bool shown() const { return m_shown; }
    void setShown() { m_shown = true; }
    // Whether the page shows key.
    bool showsKey(std::string_view key) const;

private:
    // The weapon row whose enabled box is at index: its substitute list, or nullptr.
    PageControl* substituteListOf(int index);
    const PageControl* substituteListOf(int index) const;

    const DialogTemplate* m_dialog;
    std::vector<PageControl> m_controls;
    bool m_modified = false;
    bool m_shown = false;
};

// The six pages in the sheet's order, as before their first showing.
std::vector<PageModel> SheetPageModels();
