#include "tui/TuiPage.h"

#include "platform/DecimalDigits.h"
#include "res/ControlIds.h"
#include "res/PageKeys.h"
#include "settings/MotdText.h"
#include "settings/SettingValues.h"
#include "settings/WeaponTokens.h"

#include <array>
#include <string_view>

namespace {
// Check boxes that enable other controls besides the weapons, whose lists follow their boxes.
struct Dependency {
    int dialogId;
    int checkBox;
    std::array<int, 2> dependents;
};
constexpr Dependency kDependencies[] = {
    {IDD_GOMBLE_STUFF, IDC_MOTD_ENABLED, {IDC_EDIT_MOTD, IDC_MOTD_PREVIEW}},
    {IDD_SERVICES, IDC_BANNING, {IDC_EDIT_ALLOW_FILE, IDC_EDIT_DENY_FILE}},
};

// What the pages' buttons open.
struct ButtonFile {
    int dialogId;
    int button;
    const char* fileName;
    bool edited; // false: a URL shortcut
};
constexpr ButtonFile kButtonFiles[] = {
    {IDD_GOMBLE_STUFF, IDC_EDIT_MOTD, kMotdFileName, true},
    {IDD_SERVICES, IDC_EDIT_ALLOW_FILE, "allow.cfg", true},
    {IDD_SERVICES, IDC_EDIT_DENY_FILE, "deny.cfg", true},
    {IDD_ABOUT, IDC_GOTO_HOME_PAGE, "gthome.url", false},
    {IDD_ABOUT, IDC_HELP_FILES, "gthelp.url", false},
};

const SettingKey* keyShownBy(int dialogId, int controlId) {
    for (const PageKey& shown : PageKeys(dialogId)) {
        if (shown.controlId == controlId)
            return FindSettingKey(shown.key);
    }
    return nullptr;
}

int controlShowing(int dialogId, const SettingKey& key) {
    for (const PageKey& shown : PageKeys(dialogId)) {
        if (FindSettingKey(shown.key) == &key)
            return shown.controlId;
    }
    return IDC_STATIC;
}

// A weapon's substitute list: the key of the weapon's flag with "T" added.
const SettingKey* substituteOf(const SettingKey& flag) {
    if (flag.type != SettingType::Boolean)
        return nullptr;
    const SettingKey* substitute = FindSettingKey(std::string(flag.key) + "T");
    return substitute && substitute->type == SettingType::WeaponToken ? substitute : nullptr;
}
} // namespace

bool TuiControl::focusable() const {
    if (placeholder || !enabled || !(source->style & WS_TABSTOP))
        return false;
    switch (kind()) {
    case ControlKind::CheckBox:
    case ControlKind::Edit:
        return true;
    case ControlKind::ComboBox:
        return isWeaponList();
    case ControlKind::PushButton:
        // The About page's buttons would open a browser, which a server has not: they show
        // their addresses instead.
        return editsFile != nullptr;
    default:
        return false;
    }
}

TuiPage::TuiPage(const DialogTemplate& dialog) : m_dialog(&dialog) {
    m_controls.reserve(dialog.controls.size());
    for (const ControlTemplate& source : dialog.controls) {
        TuiControl control;
        control.source = &source;
        control.placeholder = (source.style & WS_DISABLED) != 0;
        control.enabled = !control.placeholder;
        if (source.id != IDC_STATIC)
            control.key = keyShownBy(dialog.id, source.id);
        for (const ButtonFile& file : kButtonFiles) {
            if (file.dialogId == dialog.id && file.button == source.id &&
                source.kind == ControlKind::PushButton)
                (file.edited ? control.editsFile : control.shortcutFile) = file.fileName;
        }
        m_controls.push_back(control);
    }
}

int TuiPage::indexOf(int controlId) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].id() == controlId)
            return int(i);
    }
    return -1;
}

std::vector<int> TuiPage::focusOrder() const {
    std::vector<int> order;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].focusable())
            order.push_back(int(i));
    }
    return order;
}

void TuiPage::click(int index) {
    TuiControl& box = m_controls.at(std::size_t(index));
    if (box.kind() != ControlKind::CheckBox || !box.enabled)
        return;
    box.checked = !box.checked;
    updateDependents();
    m_modified = true;
}

void TuiPage::pickWeapon(int index, int weapon) {
    TuiControl& list = m_controls.at(std::size_t(index));
    if (!list.isWeaponList() || !list.enabled || weapon < 0 || weapon >= kWeaponCount)
        return;
    // Only a change of the selection notifies the page.
    if (list.selection != weapon) {
        list.selection = weapon;
        m_modified = true;
    }
}

void TuiPage::setNumberText(int index, std::string text) {
    TuiControl& box = m_controls.at(std::size_t(index));
    if (!box.isNumberBox())
        return;
    // Every change of the text notifies the page, the first filling of the box included.
    if (box.text != text) {
        box.text = std::move(text);
        m_modified = true;
    }
}

void TuiPage::typeIntoNumber(int index, int key) {
    const TuiControl& box = m_controls.at(std::size_t(index));
    if (!box.isNumberBox() || !box.enabled)
        return;
    std::string text = box.text;
    if (key >= '0' && key <= '9')
        text += char(key);
    else if (key == '\b' && !text.empty())
        text.pop_back();
    setNumberText(index, std::move(text));
}

std::optional<std::string> NumberRefusal(const std::string& text, int minValue, int maxValue) {
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value)
        return std::string("Please enter a whole number.");
    if (*value < minValue || *value > maxValue)
        return "Please enter a whole number from " + std::to_string(minValue) + " to " +
               std::to_string(maxValue) + ".";
    return std::nullopt;
}

std::optional<Refusal> TuiPage::validate() const {
    // The sheet takes the values in the page's own order, which is the order it writes them.
    for (const PageKey& pageKey : PageKeys(m_dialog->id)) {
        const int index = indexOf(pageKey.controlId);
        if (index < 0)
            continue;
        const TuiControl& box = m_controls[std::size_t(index)];
        if (!box.isNumberBox() || !box.key)
            continue;
        if (auto message = NumberRefusal(box.text, box.key->minValue, box.key->maxValue))
            return Refusal{index, std::move(*message)};
    }
    return std::nullopt;
}

void TuiPage::updateDependents() {
    auto follow = [this](int dependentId, bool enabled) {
        const int index = indexOf(dependentId);
        if (index >= 0 && !m_controls[std::size_t(index)].placeholder)
            m_controls[std::size_t(index)].enabled = enabled;
    };
    for (const TuiControl& control : m_controls) {
        if (control.kind() != ControlKind::CheckBox)
            continue;
        if (control.key) {
            if (const SettingKey* substitute = substituteOf(*control.key))
                follow(controlShowing(m_dialog->id, *substitute), control.checked);
        }
        for (const Dependency& dependency : kDependencies) {
            if (dependency.dialogId == m_dialog->id && dependency.checkBox == control.id()) {
                for (const int dependent : dependency.dependents)
                    follow(dependent, control.checked);
            }
        }
    }
}
