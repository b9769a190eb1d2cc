#include "tui/TuiSheet.h"

#include "model/PageMessages.h"
#include "res/Dialogs.h"
#include "settings/SettingsCheck.h"

#include <algorithm>

void TuiDialogs::saveFailed(const std::vector<std::string>& reports) {
    // A run of the same report is one box, with the number of keys.
    for (std::size_t i = 0; i < reports.size();) {
        std::size_t same = i;
        while (same < reports.size() && reports[same] == reports[i])
            ++same;
        std::string text = reports[i];
        if (same - i > 1)
            text += "\n(" + std::to_string(same - i) + " keys)";
        message(text);
        i = same;
    }
}

const std::vector<const DialogTemplate*>& TuiSheet::Templates() {
    static const std::vector<const DialogTemplate*> templates{
        &kDialog105, &kDialog106, &kDialog134, &kDialog135, &kDialog136, &kDialog133};
    return templates;
}

TuiSheet::TuiSheet(SettingsSession& session, TuiDialogs& dialogs)
    : m_dialogs(dialogs), m_model(session, dialogs) {}

int TuiSheet::TabNamed(const std::string& name) {
    return SheetTabNamed(name);
}

void TuiSheet::start(int tab) {
    if (m_active >= 0)
        return;
    show(std::clamp(tab, 0, int(pages().size()) - 1));
    // A link the store will not follow, and what a killed save left for the admin to judge
    // (docs/store.md).
    for (const std::string& text : SettingsFileMessages(m_model.session().filePath()))
        m_dialogs.message(text);
}

void TuiSheet::show(int tab) {
    m_active = tab;
    m_model.OnSetActive(pages()[std::size_t(tab)]);
    focusFirst();
}

bool TuiSheet::selectTab(int tab) {
    if (tab < 0 || tab >= int(pages().size()) || tab == m_active)
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
    return std::any_of(pages().begin(), pages().end(),
                       [](const TuiPage& p) { return p.modified(); });
}

bool TuiSheet::apply() {
    if (const std::optional<Refusal> refusal = activePage().validate()) {
        refusedAt(*refusal);
        return false;
    }
    return m_model.apply();
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
