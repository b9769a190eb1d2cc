#include "tui/TuiSheet.h"

#include "platform/AsciiCase.h"
#include "platform/DecimalDigits.h"
#include "platform/store/PrivateProfile.h"
#include "res/Dialogs.h"
#include "res/HelpTexts.h"
#include "res/PageKeys.h"
#include "settings/MotdText.h"
#include "settings/SettingReading.h"
#include "settings/SettingValues.h"
#include "settings/SettingsCheck.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"
#include "settings/WeaponTokens.h"

#include <algorithm>
#include <filesystem>

namespace {

// A value as the conflict question shows it: a long one cut short, an empty one named.
std::string shownText(const std::string& text) {
    constexpr std::size_t kLongest = 60;
    if (text.empty())
        return "(empty)";
    if (text.size() <= kLongest)
        return text;
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // never inside a character
    return text.substr(0, cut) + "...";
}

std::string conflictQuestion(const std::vector<SettingsSession::Conflict>& conflicts) {
    std::string list;
    for (const SettingsSession::Conflict& c : conflicts) {
        const std::string inFile =
            c.inFile ? shownText(*c.inFile) + " in the file" : std::string("not in the file");
        list += c.key + ": " + inFile + ", " + shownText(c.here) + " here\n";
    }
    return std::string("Another program changed these settings in ") + kSettingsFileName +
           " after they were read, and they were changed here too:\n\n" + list +
           "\nOverwrite them with the values here?\n"
           "Yes saves the values here, No keeps the file's values, Cancel saves nothing.";
}

bool isWeaponFlag(const SettingKey& key) {
    const SettingKey* substitute = FindSettingKey(std::string(key.key) + "T");
    return key.type == SettingType::Boolean && substitute &&
           substitute->type == SettingType::WeaponToken;
}

std::string previewText(const char* fallbackText) {
    if (const std::optional<MotdBytes> file = ReadMotdBytes(kMotdFileName))
        return MotdUtf8FromBytes(file->bytes, file->cut);
    return MotdUtf8FromBytes(fallbackText, false);
}

std::string shortcutAddress(const char* fileName) {
    // The shortcut lies in the current directory, not where the settings file is kept.
    const std::string path = std::string("./") + fileName;
    return GetPrivateProfileValue("InternetShortcut", "URL", path.c_str())
        .value_or(std::string("(no address: ") + fileName + " not found or has no URL=)");
}

} // namespace

const std::vector<const DialogTemplate*>& TuiSheet::Templates() {
    static const std::vector<const DialogTemplate*> templates{
        &kDialog105, &kDialog106, &kDialog134, &kDialog135, &kDialog136, &kDialog133};
    return templates;
}

TuiSheet::TuiSheet(SettingsSession& session, TuiDialogs& dialogs)
    : m_session(session), m_dialogs(dialogs) {
    for (const DialogTemplate* dialog : Templates())
        m_pages.emplace_back(*dialog);
}

int TuiSheet::TabNamed(const std::string& name) {
    const auto trimmed = [](std::string_view text) {
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        return text;
    };
    for (std::size_t i = 0; i < Templates().size(); ++i) {
        if (EqualsIgnoringAsciiCase(trimmed(Templates()[i]->caption), trimmed(name)))
            return int(i);
    }
    return -1;
}

void TuiSheet::start(int tab) {
    if (m_active >= 0)
        return;
    show(std::clamp(tab, 0, int(m_pages.size()) - 1));
    // A link the store will not follow, and what a killed save left for the admin to judge
    // (docs/store.md).
    for (const std::string& text : SettingsFileMessages(m_session.filePath()))
        m_dialogs.message(text);
}

void TuiSheet::show(int tab) {
    m_active = tab;
    TuiPage& page = activePage();
    if (!page.shown()) {
        page.setShown();
        load(page);
    }
    for (TuiControl& control : page.controls()) {
        if (control.isPreview())
            control.text = previewText(kPreviewFallbackOnShow);
        else if (control.shortcutFile)
            control.text = shortcutAddress(control.shortcutFile);
    }
    page.updateDependents();
    focusFirst();
}

void TuiSheet::load(TuiPage& page) {
    for (const PageKey& pageKey : PageKeys(page.dialog().id)) {
        const SettingKey* key = FindSettingKey(pageKey.key);
        const int index = page.indexOf(pageKey.controlId);
        if (!key || index < 0)
            continue;
        const std::optional<StoredText> stored = m_session.read(key->key);
        if (!stored)
            continue; // showing kept keys again: this one stays as it is
        const std::optional<std::string_view> text =
            *stored ? std::optional<std::string_view>(**stored) : std::nullopt;
        const SettingReading reading = ReadSetting(*key, text);
        TuiControl& control = page.controls()[std::size_t(index)];
        std::optional<std::string> shown;
        switch (key->type) {
        case SettingType::Boolean:
            if (reading.state == StoredState::Unreadable && isWeaponFlag(*key))
                m_dialogs.message("ERROR: problem in .ini file..\nFunction LoadDataItemON()");
            control.checked = reading.value == "true";
            shown = BooleanText(control.checked);
            break;
        case SettingType::Integer:
            page.setNumberText(index, reading.value);
            shown = reading.value;
            break;
        case SettingType::WeaponToken:
            // An unreadable substitute leaves the list as it was, and so what it writes.
            if (reading.state == StoredState::Unreadable)
                m_dialogs.message("ERROR: problem in .ini file\n in function LoadDataItem()\n");
            else
                control.selection = WeaponIndexFromToken(reading.value.c_str());
            if (const char* token = WeaponTokenFromIndex(control.selection))
                shown = token;
            break;
        }
        m_session.noteShown(key->key, shown);
    }
    page.updateDependents();
}

bool TuiSheet::selectTab(int tab) {
    if (tab < 0 || tab >= int(m_pages.size()) || tab == m_active)
        return false;
    if (const std::optional<Refusal> refusal = activePage().validate()) {
        refusedAt(*refusal);
        return false;
    }
    show(tab);
    return true;
}

void TuiSheet::refusedAt(const Refusal& refusal) {
    m_dialogs.message(refusal.message);
    m_focus = {false, refusal.index};
}

bool TuiSheet::applyEnabled() const {
    return std::any_of(m_pages.begin(), m_pages.end(),
                       [](const TuiPage& p) { return p.modified(); });
}

bool TuiSheet::apply() {
    if (const std::optional<Refusal> refusal = activePage().validate()) {
        refusedAt(*refusal);
        return false;
    }
    std::vector<std::string> failures;
    for (const TuiPage& page : m_pages) {
        if (!page.shown())
            continue;
        for (const PageKey& pageKey : PageKeys(page.dialog().id)) {
            const SettingKey* key = FindSettingKey(pageKey.key);
            const int index = page.indexOf(pageKey.controlId);
            if (!key || index < 0)
                continue;
            const TuiControl& control = page.controls()[std::size_t(index)];
            std::string value;
            std::string failure = "ERROR: Problem saving GombleTroveII.ini\n";
            switch (key->type) {
            case SettingType::Boolean:
                value = BooleanText(control.checked);
                if (isWeaponFlag(*key))
                    failure = "ERROR: Problem saving GombleTroveII.ini";
                break;
            case SettingType::Integer:
                value = IntegerText(ParseWholeNumber(control.text).value_or(0));
                break;
            case SettingType::WeaponToken:
                // Without a chosen weapon the file keeps the substitute it had.
                if (!WeaponTokenFromIndex(control.selection))
                    continue;
                value = WeaponTokenFromIndex(control.selection);
                failure = "ERROR: Problem saving GombleTroveII.ini";
                break;
            }
            m_session.addWrite(key->key, std::move(value),
                               [&failures, failure] { failures.push_back(failure); });
        }
    }
    if (const auto conflicts = m_session.sortWrites(); !conflicts.empty()) {
        const TuiDialogs::Answer answer = m_dialogs.ask(conflictQuestion(conflicts));
        if (answer == TuiDialogs::Answer::Cancel) {
            m_session.discardWrites();
            return false;
        }
        m_session.settle(answer == TuiDialogs::Answer::Yes);
    }
    std::vector<SettingsSession::KeptKey> kept = m_session.commit();
    // One message per failed key, as the sheet reports them; a run of the same one is one box.
    for (std::size_t i = 0; i < failures.size();) {
        std::size_t same = i;
        while (same < failures.size() && failures[same] == failures[i])
            ++same;
        std::string text = failures[i];
        if (same - i > 1)
            text += "\n(" + std::to_string(same - i) + " keys)";
        m_dialogs.message(text);
        i = same;
    }
    if (!kept.empty()) {
        std::vector<int> showing;
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            const auto keys = PageKeys(m_pages[i].dialog().id);
            const bool showsKept = std::any_of(kept.begin(), kept.end(), [&](const auto& k) {
                return std::any_of(keys.begin(), keys.end(), [&](const PageKey& shown) {
                    return FindSettingKey(shown.key) == FindSettingKey(k.key);
                });
            });
            if (showsKept && m_pages[i].shown())
                showing.push_back(int(i));
        }
        m_session.beginShowingKept(std::move(kept));
        for (const int i : showing)
            load(m_pages[std::size_t(i)]);
        m_session.endShowingKept();
    }
    for (TuiPage& page : m_pages)
        page.setModified(false);
    return true;
}

std::string TuiSheet::helpText() const {
    const TuiPage& page = activePage();
    const int dialogId = page.dialog().id;
    std::string text = std::string(page.caption()) + "\n\n" + PageHelpText(dialogId) + "\n";
    std::string keys;
    for (const PageKey& shown : PageKeys(dialogId)) {
        const SettingKey* key = FindSettingKey(shown.key);
        if (!key)
            continue;
        keys += std::string("\n  ") + key->key + " = " + key->defaultText;
        if (key->type == SettingType::Integer)
            keys += "  (" + std::to_string(key->minValue) + " to " + std::to_string(key->maxValue) +
                    ")";
    }
    if (!keys.empty())
        text += std::string("\nKeys in section [") + kSettingsSection +
                "], with their defaults:" + keys + "\n";
    std::error_code error;
    const std::filesystem::path path =
        std::filesystem::absolute(m_session.filePath(), error).lexically_normal();
    text += "\nSettings file: " + (error ? m_session.filePath() : path.string());
    return text;
}

void TuiSheet::reloadPreview(const char* fallbackText) {
    for (TuiPage& page : m_pages) {
        for (TuiControl& control : page.controls()) {
            if (control.isPreview() && page.shown())
                control.text = previewText(fallbackText);
        }
    }
}

std::vector<TuiFocus> TuiSheet::focusRing() const {
    std::vector<TuiFocus> ring;
    for (const int index : activePage().focusOrder())
        ring.push_back({false, index});
    ring.push_back({true, int(SheetButton::Ok)});
    ring.push_back({true, int(SheetButton::Cancel)});
    if (applyEnabled())
        ring.push_back({true, int(SheetButton::Apply)});
    ring.push_back({true, int(SheetButton::Help)});
    return ring;
}

void TuiSheet::moveFocus(bool forward) {
    const std::vector<TuiFocus> ring = focusRing();
    const auto at = std::find(ring.begin(), ring.end(), m_focus);
    const int size = int(ring.size());
    int i = at == ring.end() ? (forward ? -1 : 0) : int(at - ring.begin());
    i = (i + (forward ? 1 : -1) + size) % size;
    m_focus = ring[std::size_t(i)];
}

void TuiSheet::focusFirst() {
    m_focus = focusRing().front();
}
