#pragma once

#include "platform/DialogTemplate.h"
#include "settings/KeyTable.h"

#include <optional>
#include <string>
#include <vector>

// One control of a page in the terminal: its template entry, the key it shows and what it holds.
struct TuiControl {
    const ControlTemplate* source = nullptr;
    const SettingKey* key = nullptr; // nullptr: the control shows no setting
    bool placeholder = false;        // created disabled by its template: greyed, never responds
    bool enabled = true;
    bool checked = false;            // a check box
    std::string text;                // a number box's digits; the preview's text; an address shown
    int selection = -1;              // a weapon list: the chosen WeaponId, -1 for none
    int firstLine = 0;               // the preview: the first line shown
    const char* editsFile = nullptr; // a button that edits this text file
    const char* shortcutFile = nullptr; // a button that would open this URL shortcut's address

    int id() const { return source->id; }
    ControlKind kind() const { return source->kind; }
    bool isNumberBox() const { return kind() == ControlKind::Edit && (source->style & ES_NUMBER); }
    bool isPreview() const { return kind() == ControlKind::Edit && (source->style & ES_MULTILINE); }
    bool isWeaponList() const { return kind() == ControlKind::ComboBox && !source->items.empty(); }
    // Tab and the mouse reach it.
    bool focusable() const;
};

// A value refused when its page is left: which control and the message that names the range.
struct Refusal {
    int index;
    std::string message;
};

// A page of the terminal sheet: the controls of its template in template order, with the rules
// the sheet's pages follow. Nothing here draws or reads the file.
class TuiPage {
public:
    explicit TuiPage(const DialogTemplate& dialog);

    const DialogTemplate& dialog() const { return *m_dialog; }
    const char* caption() const { return m_dialog->caption; }
    std::vector<TuiControl>& controls() { return m_controls; }
    const std::vector<TuiControl>& controls() const { return m_controls; }
    // The index of the control with this ID on this page, or -1.
    int indexOf(int controlId) const;

    // The controls Tab reaches, in tab order (which is template order).
    std::vector<int> focusOrder() const;

    // What the user does. Each marks the page modified where the sheet's pages do.
    void click(int index);                           // a check box: flips it
    void pickWeapon(int index, int weapon);          // a weapon list
    void setNumberText(int index, std::string text); // a number box: its whole text
    void typeIntoNumber(int index, int key);         // a digit or a backspace

    // Checks the page's numbers in the order its values are taken from the controls; the first
    // that fails, or nothing.
    std::optional<Refusal> validate() const;

    // The dependent controls follow their check boxes.
    void updateDependents();

    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    bool shown() const { return m_shown; }
    void setShown() { m_shown = true; }

private:
    const DialogTemplate* m_dialog;
    std::vector<TuiControl> m_controls;
    bool m_modified = false;
    bool m_shown = false;
};

// The message a number box gets for text: nothing when it is a whole number within the range.
std::optional<std::string> NumberRefusal(const std::string& text, int minValue, int maxValue);
