#include "model/PageModel.h"

#include "model/PageCodecs.h"
#include "model/PageMessages.h"
#include "platform/AsciiCase.h"
#include "platform/DecimalDigits.h"
#include "res/ControlIds.h"
#include "res/Dialogs.h"
#include "res/PageKeys.h"
#include "settings/MotdText.h"
#include "settings/SettingValues.h"
#include "settings/WeaponTokens.h"

#include <array>

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

struct PageClass {
    int dialogId;
    const char* name;
};
constexpr PageClass kPageClasses[] = {
    {IDD_WEAPONS, "WeaponsPageReal"},   {IDD_GOMBLE_STUFF, "GomblePageReal"},
    {IDD_SERVER_OPTIONS, "ServerPage"}, {IDD_SERVICES, "PropPageServices"},
    {IDD_CTF, "PropPageCTF"},           {IDD_ABOUT, "AboutPage"},
};

const SettingKey* keyShownBy(int dialogId, int controlId) {
    for (const PageKey& shown : PageKeys(dialogId)) {
        if (shown.controlId == controlId)
            return FindSettingKey(shown.key);
    }
    return nullptr;
}

int controlShowing(int dialogId, std::string_view key) {
    for (const PageKey& shown : PageKeys(dialogId)) {
        if (key == shown.key)
            return shown.controlId;
    }
    return IDC_STATIC;
}

ControlRole roleOf(const ControlTemplate& source) {
    switch (source.kind) {
    case ControlKind::CheckBox:
        return ControlRole::CheckBox;
    case ControlKind::PushButton:
        return ControlRole::Button;
    case ControlKind::Edit:
        if (source.style & ES_MULTILINE)
            return ControlRole::Preview;
        return (source.style & ES_NUMBER) ? ControlRole::Number : ControlRole::Edit;
    case ControlKind::ComboBox:
        return source.items.empty() ? ControlRole::ComboBox : ControlRole::WeaponList;
    case ControlKind::GroupBox:
        return ControlRole::GroupBox;
    case ControlKind::Static:
        return ControlRole::Label;
    case ControlKind::Picture:
        return ControlRole::Picture;
    }
    return ControlRole::Label;
}

// The check box a control follows, or IDC_STATIC.
int dependsOn(int dialogId, int controlId) {
    for (const Dependency& dependency : kDependencies) {
        for (const int dependent : dependency.dependents) {
            if (dependency.dialogId == dialogId && dependent == controlId)
                return dependency.checkBox;
        }
    }
    // A weapon's substitute list follows the weapon's enabled box.
    for (int weapon = 0; weapon < kWeaponCount; ++weapon) {
        const char* token = WeaponTokenFromIndex(weapon);
        if (controlShowing(dialogId, SubstituteKey(token)) == controlId && controlId != IDC_STATIC)
            return controlShowing(dialogId, token);
    }
    return IDC_STATIC;
}
} // namespace

const char* ControlRoleName(ControlRole role) {
    switch (role) {
    case ControlRole::CheckBox:
        return "checkbox";
    case ControlRole::Button:
        return "button";
    case ControlRole::Number:
        return "number";
    case ControlRole::Edit:
        return "edit";
    case ControlRole::Preview:
        return "preview";
    case ControlRole::WeaponList:
        return "weaponList";
    case ControlRole::ComboBox:
        return "comboBox";
    case ControlRole::GroupBox:
        return "groupBox";
    case ControlRole::Label:
        return "label";
    case ControlRole::Picture:
        return "picture";
    }
    return "";
}

bool PageControl::focusable() const {
    if (!tabStop() || !enabled)
        return false;
    switch (role) {
    case ControlRole::CheckBox:
    case ControlRole::Number:
    case ControlRole::Edit:
    case ControlRole::Preview:
    case ControlRole::WeaponList:
        return true;
    case ControlRole::Button:
        // The About page's buttons open a browser, which a front end may not have: it then shows
        // their addresses instead.
        return editsFile != nullptr;
    default:
        return false;
    }
}

std::optional<std::string> NumberRefusal(std::string_view text, int minValue, int maxValue) {
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value)
        return std::string(PageText::kNotANumber);
    if (*value < minValue || *value > maxValue)
        return RangeRefusal(minValue, maxValue);
    return std::nullopt;
}

PageModel::PageModel(const DialogTemplate& dialog) : m_dialog(&dialog) {
    m_controls.reserve(dialog.controls.size());
    for (const ControlTemplate& source : dialog.controls) {
        PageControl control;
        control.source = &source;
        control.role = roleOf(source);
        control.placeholder = (source.style & WS_DISABLED) != 0;
        control.enabled = !control.placeholder;
        if (source.id != IDC_STATIC) {
            control.key = keyShownBy(dialog.id, source.id);
            control.dependsOn = dependsOn(dialog.id, source.id);
        }
        for (const ButtonFile& file : kButtonFiles) {
            if (file.dialogId == dialog.id && file.button == source.id &&
                source.kind == ControlKind::PushButton)
                (file.edited ? control.editsFile : control.shortcutFile) = file.fileName;
        }
        m_controls.push_back(control);
    }
}

const char* PageModel::className() const {
    for (const PageClass& page : kPageClasses) {
        if (page.dialogId == m_dialog->id)
            return page.name;
    }
    return "";
}

int PageModel::indexOf(int controlId) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].id() == controlId)
            return int(i);
    }
    return -1;
}

PageControl* PageModel::control(int controlId) {
    const int index = indexOf(controlId);
    return index < 0 ? nullptr : &m_controls[std::size_t(index)];
}

const PageControl* PageModel::control(int controlId) const {
    const int index = indexOf(controlId);
    return index < 0 ? nullptr : &m_controls[std::size_t(index)];
}

std::vector<int> PageModel::keyOrder() const {
    std::vector<int> order;
    for (const PageKey& pageKey : PageKeys(m_dialog->id)) {
        const int index = indexOf(pageKey.controlId);
        if (index >= 0 && m_controls[std::size_t(index)].key)
            order.push_back(index);
    }
    return order;
}

std::vector<int> PageModel::focusOrder() const {
    std::vector<int> order;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_controls[i].focusable())
            order.push_back(int(i));
    }
    return order;
}

int PageModel::tabOrderOf(int index) const {
    if (!m_controls.at(std::size_t(index)).tabStop())
        return -1;
    int order = 0;
    for (int i = 0; i < index; ++i)
        order += m_controls[std::size_t(i)].tabStop() ? 1 : 0;
    return order;
}

bool PageModel::showsKey(std::string_view key) const {
    for (const PageKey& shown : PageKeys(m_dialog->id)) {
        if (EqualsIgnoringAsciiCase(shown.key, key))
            return true;
    }
    return false;
}

void PageModel::click(int index) {
    PageControl& box = m_controls.at(std::size_t(index));
    if (box.role != ControlRole::CheckBox || !box.enabled)
        return;
    box.checked = !box.checked;
    updateDependents();
    m_modified = true;
}

void PageModel::pickWeapon(int index, int weapon) {
    PageControl& list = m_controls.at(std::size_t(index));
    if (!list.isWeaponList() || !list.enabled || weapon < 0 || weapon >= kWeaponCount)
        return;
    // Only a change of the selection notifies the page.
    if (list.selection != weapon) {
        list.selection = weapon;
        m_modified = true;
    }
}

void PageModel::setNumberText(int index, std::string text) {
    PageControl& box = m_controls.at(std::size_t(index));
    if (!box.isNumberBox())
        return;
    // Every change of the text notifies the page, the first filling of the box included.
    if (box.text != text) {
        box.text = std::move(text);
        m_modified = true;
    }
}

void PageModel::typeIntoNumber(int index, int key) {
    const PageControl& box = m_controls.at(std::size_t(index));
    if (!box.isNumberBox() || !box.enabled)
        return;
    std::string text = box.text;
    if (key >= '0' && key <= '9')
        text += char(key);
    else if (key == '\b' && !text.empty())
        text.pop_back();
    setNumberText(index, std::move(text));
}

int PageModel::WeaponNamed(std::string_view typed) {
    for (int i = 0; i < kWeaponCount; ++i) {
        if (EqualsIgnoringAsciiCase(typed, WeaponShownName(i)))
            return i;
    }
    return -1;
}

std::optional<Refusal> PageModel::validate() const {
    // The sheet takes the values in the page's own order, which is the order it writes them.
    for (const int index : keyOrder()) {
        const PageControl& box = m_controls[std::size_t(index)];
        if (!box.isNumberBox())
            continue;
        if (auto message = NumberRefusal(box.text, box.key->minValue, box.key->maxValue))
            return Refusal{index, std::move(*message)};
    }
    return std::nullopt;
}

void PageModel::updateDependents() {
    for (PageControl& control : m_controls) {
        if (control.dependsOn == IDC_STATIC || control.placeholder)
            continue;
        if (const PageControl* box = this->control(control.dependsOn))
            control.enabled = box->checked;
    }
}

PageControl* PageModel::substituteListOf(int index) {
    const PageControl& box = m_controls[std::size_t(index)];
    if (!box.key || !IsWeaponKey(box.key->key) || box.key->type != SettingType::Boolean)
        return nullptr;
    PageControl* list = control(controlShowing(m_dialog->id, SubstituteKey(box.key->key)));
    return list && list->isWeaponList() ? list : nullptr;
}

const PageControl* PageModel::substituteListOf(int index) const {
    return const_cast<PageModel*>(this)->substituteListOf(index);
}

void PageModel::OnSetActive(PageIo& io) {
    for (const int index : keyOrder()) {
        PageControl& control = m_controls[std::size_t(index)];
        const SettingKey& key = *control.key;
        if (PageControl* list = substituteListOf(index)) {
            // A weapon row: its pair, then its list follows its flag.
            int enabled = control.checked;
            LoadDataThingy(io, unsigned(WeaponIndexFromToken(key.key)), enabled, list->selection);
            control.checked = enabled != 0;
            StatusChecker(io, enabled, list);
            continue;
        }
        switch (key.type) {
        case SettingType::Boolean: {
            int value = control.checked;
            ReadBoolSetting(io, value, key.key, ReadBooleanText(key.defaultText).value_or(0));
            control.checked = value != 0;
            break;
        }
        case SettingType::Integer: {
            int value = 0;
            if (ReadIntSetting(io, key.key, value, ParseLeadingInt(key.defaultText)))
                setNumberText(index, IntegerText(value));
            break;
        }
        case SettingType::WeaponToken:
            break; // read with its row
        }
    }
    updateDependents();
}

void PageModel::OnApply(PageIo& io) const {
    for (const int index : keyOrder()) {
        const PageControl& control = m_controls[std::size_t(index)];
        const SettingKey& key = *control.key;
        if (const PageControl* list = substituteListOf(index)) {
            SaveWeaponSetting(io, control.checked, list->selection, WeaponIndexFromToken(key.key));
            continue;
        }
        switch (key.type) {
        case SettingType::Boolean:
            WriteBoolSetting(io, control.checked, key.key);
            break;
        case SettingType::Integer:
            WriteIntSetting(io, ParseWholeNumber(control.text).value_or(0), key.key);
            break;
        case SettingType::WeaponToken:
            break; // written with its row
        }
    }
}

std::vector<PageModel> SheetPageModels() {
    std::vector<PageModel> pages;
    for (const DialogTemplate* dialog :
         {&kDialog105, &kDialog106, &kDialog134, &kDialog135, &kDialog136, &kDialog133})
        pages.emplace_back(*dialog);
    return pages;
}
