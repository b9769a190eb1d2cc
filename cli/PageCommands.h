#pragma once

#include "cli/CliOptions.h"
#include "cli/CliOutput.h"

#include <istream>
#include <optional>
#include <string>

namespace CLI {
class App;
}

// The commands the browser page runs, each printing one JSON document: read (every key, the
// preview and the shortcuts, for opening the page), apply (one Apply through SettingsSession:
// first asking about conflicts, then settling them) and text read/write (the three text files).
// textDir is where the text files and shortcuts are: the --dir directory, else the current one.

// The file as the page shows it.
int RunRead(const CliOptions& options, CliOutput& output, const std::string& textDir);
// in: {"read": {KEY: TEXT|null}, "writes": [{"key": KEY, "value": TEXT}], "settle": "ask" |
// "here" | "file"}.
int RunApply(const CliOptions& options, CliOutput& output, const std::string& textDir,
             std::istream& in);
// name: one of the three text files.
int RunTextRead(CliOutput& output, const std::string& textDir, const std::string& name);
// in: the new text, lines ending in LF; saved only while the file is still at version expected.
int RunTextWrite(CliOutput& output, const std::string& textDir, const std::string& name,
                 const std::string& expected, std::istream& in);

// Registers read, apply and text on app and runs whichever was parsed.
class PageCommands {
public:
    void define(CLI::App& app);
    // Nothing when none of them was parsed.
    std::optional<int> dispatch(const CliOptions& options, CliOutput& output,
                                const std::string& textDir, std::istream& in) const;

private:
    CLI::App* m_read = nullptr;
    CLI::App* m_apply = nullptr;
    CLI::App* m_text = nullptr;
    CLI::App* m_textRead = nullptr;
    CLI::App* m_textWrite = nullptr;
    std::string m_name;
    std::string m_expected;
};
