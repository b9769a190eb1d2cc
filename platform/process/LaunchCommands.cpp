#include "platform/process/LaunchCommands.h"

#include "platform/AsciiCase.h"
#include "platform/process/CommandWords.h"
#include "platform/process/ExecutableSearch.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace {
// Words of a command variable; nothing when it is unset or blank, an empty list when it cannot
// be split (which starts nothing).
std::optional<std::vector<std::string>> commandFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value)
        return std::nullopt;
    std::optional<std::vector<std::string>> words = SplitCommandWords(value);
    if (!words)
        return std::vector<std::string>();
    if (words->empty())
        return std::nullopt;
    return words;
}

} // namespace

// Only programs that are graphical through and through, each with the options that give it a
// process of its own instead of handing the file to a running instance and exiting.
std::span<const KnownEditor> KnownEditors() {
    static const std::array<KnownEditor, 9> editors{{
        {"gnome-text-editor", {"--standalone"}},
        {"gedit", {"--standalone"}},
        {"kate", {"--new"}},
        {"mousepad", {"--disable-server"}},
        {"featherpad", {"--standalone"}},
        {"geany", {"--new-instance"}},
        {"l3afpad", {}},
        {"leafpad", {}},
        {"xedit", {}},
    }};
    return editors;
}

std::vector<std::string> EditorCommand(const char* fileName) {
    std::optional<std::vector<std::string>> command = commandFromEnvironment("GOMCFG_EDITOR");
    if (!command) {
        const auto editors = KnownEditors();
        const auto found = std::find_if(editors.begin(), editors.end(), [](const KnownEditor& e) {
            return IsExecutableOnPath(e.program);
        });
        if (found == editors.end())
            return {};
        command.emplace(1, found->program);
        command->insert(command->end(), found->options.begin(), found->options.end());
    }
    if (!command->empty())
        command->emplace_back(fileName);
    return *command;
}

std::vector<std::string> TerminalEditorCommand(const char* fileName) {
    std::optional<std::vector<std::string>> command = commandFromEnvironment("VISUAL");
    if (!command)
        command = commandFromEnvironment("EDITOR");
    if (!command)
        command.emplace(1, IsExecutableOnPath("editor") ? "editor" : "vi");
    if (!command->empty())
        command->emplace_back(fileName);
    return *command;
}

bool IsOpenableUrl(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos)
        return false;
    std::string scheme(url.substr(0, colon));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), AsciiLower);
    return scheme == "http" || scheme == "https" || scheme == "file";
}

std::vector<std::string> UrlOpenerCommand(const std::string& url) {
    std::vector<std::string> command =
        commandFromEnvironment("GOMCFG_URL_OPENER").value_or(std::vector<std::string>{"xdg-open"});
    if (!command.empty())
        command.push_back(url);
    return command;
}
