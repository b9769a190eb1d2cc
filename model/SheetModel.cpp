#include "model/SheetModel.h"

#include "model/PageCodecs.h"
#include "model/PageMessages.h"
#include "platform/AsciiCase.h"
#include "platform/store/PrivateProfile.h"
#include "res/HelpTexts.h"
#include "res/PageKeys.h"
#include "settings/MotdText.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <filesystem>

void SheetPrompts::saveFailed(const std::vector<std::string>& reports) {
    for (const std::string& report : reports)
        message(report);
}

std::string MotdPreviewText(const char* fallbackText) {
    if (const std::optional<MotdBytes> file = ReadMotdBytes(kMotdFileName))
        return MotdUtf8FromBytes(file->bytes, file->cut);
    return MotdUtf8FromBytes(fallbackText ? fallbackText : "", false);
}

std::string ShortcutAddress(const char* fileName) {
    // The shortcut lies in the current directory, not where the settings file is kept.
    const std::string path = std::string("./") + fileName;
    return GetPrivateProfileValue("InternetShortcut", "URL", path.c_str())
        .value_or(std::string("(no address: ") + fileName + " not found or has no URL=)");
}

SheetModel::SheetModel(SettingsSession& session, SheetPrompts& prompts)
    : m_session(session), m_prompts(prompts), m_pages(SheetPageModels()) {}

PageModel* SheetModel::pageFor(int dialogId) {
    for (PageModel& page : m_pages) {
        if (page.dialog().id == dialogId)
            return &page;
    }
    return nullptr;
}

int SheetTabNamed(const std::string& name) {
    const auto trimmed = [](std::string_view text) {
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        return text;
    };
    const std::vector<PageModel> pages = SheetPageModels();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (EqualsIgnoringAsciiCase(trimmed(pages[i].caption()), trimmed(name)))
            return int(i);
    }
    return -1;
}

namespace {
// The failed writes of one save, reported together after it.
class FailureList : public PageReports {
public:
    void message(const std::string& text) override { reports.push_back(text); }
    std::vector<std::string> reports;
};
} // namespace

void SheetModel::OnSetActive(PageModel& page, bool motdEditorOpen) {
    for (PageControl& control : page.controls()) {
        // While the editor is open it owns the preview and refills it when it closes.
        if (control.isPreview() && !motdEditorOpen)
            control.text = MotdPreviewText(PageText::kMotdMissing);
        else if (control.shortcutFile)
            control.text = ShortcutAddress(control.shortcutFile);
    }
    if (!page.shown()) {
        page.setShown();
        PageIo io{m_session, m_prompts};
        page.OnSetActive(io);
    }
    page.updateDependents();
}

void SheetModel::reloadPreview(const char* fallbackText) {
    for (PageModel& page : m_pages) {
        for (PageControl& control : page.controls()) {
            if (control.isPreview() && page.shown())
                control.text = MotdPreviewText(fallbackText);
        }
    }
}

bool SheetModel::apply() {
    m_reshown.clear();
    FailureList failures;
    PageIo writing{m_session, failures};
    for (const PageModel& page : m_pages) {
        if (page.shown())
            page.OnApply(writing);
    }
    if (const auto conflicts = m_session.sortWrites(); !conflicts.empty()) {
        const SheetPrompts::Answer answer = m_prompts.ask(ConflictQuestion(conflicts));
        if (answer == SheetPrompts::Answer::Cancel) {
            // Cancel forgets this OK's writes: the next one gathers and asks afresh.
            m_session.discardWrites();
            return false;
        }
        m_session.settle(answer == SheetPrompts::Answer::Yes);
    }
    std::vector<SettingsSession::KeptKey> kept = m_session.commit();
    if (!failures.reports.empty())
        m_prompts.saveFailed(failures.reports);
    if (!kept.empty()) {
        // The pages that show a kept key read it again, as the file holds it now.
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            const bool showsKept =
                std::any_of(kept.begin(), kept.end(), [&](const SettingsSession::KeptKey& k) {
                    return m_pages[i].showsKey(k.key);
                });
            if (showsKept && m_pages[i].shown())
                m_reshown.push_back(int(i));
        }
        m_session.beginShowingKept(std::move(kept));
        PageIo reading{m_session, m_prompts};
        for (const int i : m_reshown)
            m_pages[std::size_t(i)].OnSetActive(reading);
        m_session.endShowingKept();
    }
    for (PageModel& page : m_pages)
        page.setModified(false);
    return true;
}

std::string SheetModel::helpText(int tab) const {
    std::string text;
    if (tab >= 0 && tab < int(m_pages.size())) {
        const PageModel& page = m_pages[std::size_t(tab)];
        const int dialogId = page.dialog().id;
        text = std::string(page.caption()) + "\n\n" + PageHelpText(dialogId) + "\n";
        std::string keys;
        for (const PageKey& shown : PageKeys(dialogId)) {
            const SettingKey* key = FindSettingKey(shown.key);
            if (!key)
                continue;
            keys += std::string("\n  ") + key->key + " = " + key->defaultText;
            if (key->type == SettingType::Integer)
                keys += "  (" + std::to_string(key->minValue) + " to " +
                        std::to_string(key->maxValue) + ")";
        }
        if (!keys.empty())
            text += std::string("\nKeys in section [") + kSettingsSection +
                    "], with their defaults:" + keys + "\n";
    }
    std::error_code error;
    const std::filesystem::path path =
        std::filesystem::absolute(m_session.filePath(), error).lexically_normal();
    text += "\nSettings file: " + (error ? m_session.filePath() : path.string());
    return text;
}
