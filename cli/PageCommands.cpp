#include "cli/PageCommands.h"

#include <CLI/CLI.hpp>

void PageCommands::define(CLI::App& app) {
    m_read = app.add_subcommand("read", "For the browser page: the file's values, as JSON");
    m_apply = app.add_subcommand("apply", "For the browser page: one Apply, JSON on stdin");
    m_text = app.add_subcommand("text", "For the browser page: the motd, allow, deny files");
    m_text->require_subcommand(1);
    const std::vector<std::string> names = {"gomble_motd.txt", "allow.cfg", "deny.cfg"};
    m_textRead = m_text->add_subcommand("read", "The file's text and version as JSON");
    m_textRead->add_option("NAME", m_name, "gomble_motd.txt, allow.cfg or deny.cfg")
        ->required()
        ->check(CLI::IsMember(names));
    m_textWrite = m_text->add_subcommand(
        "write", "Save the text on standard input, unless the file changed since VERSION");
    m_textWrite->add_option("NAME", m_name, "gomble_motd.txt, allow.cfg or deny.cfg")
        ->required()
        ->check(CLI::IsMember(names));
    m_textWrite->add_option("--expect", m_expected, "The version that text read gave")
        ->required()
        ->type_name("VERSION");
    for (CLI::App* command : {m_read, m_apply, m_text})
        command->group("Commands");
}

std::optional<int> PageCommands::dispatch(const CliOptions& options, CliOutput& output,
                                          const std::string& textDir, std::istream& in) const {
    if (m_read->parsed())
        return RunRead(options, output, textDir);
    if (m_apply->parsed())
        return RunApply(options, output, textDir, in);
    if (m_textRead->parsed())
        return RunTextRead(output, textDir, m_name);
    if (m_textWrite->parsed())
        return RunTextWrite(output, textDir, m_name, m_expected, in);
    return std::nullopt;
}
