#include "cli/Gomcfgctl.h"

#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/PageCommands.h"
#include "cli/PagesCommand.h"
#include "settings/KeySuggestion.h"
#include "settings/SettingsFile.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kCommands[] = {"list", "get",   "set",  "reset", "check", "file",
                                     "help", "pages", "read", "apply", "text"};

// The same words as the README's table and the man page.
constexpr const char* kExitStatusHelp =
    "Exit status:\n"
    "  0  done\n"
    "  1  check found problems, or get met a value the sheet reads its own way or\n"
    "     that is out of range\n"
    "  2  usage error or invalid value; nothing was written\n"
    "  3  the file could not be read or written (the message names the path and the\n"
    "     reason); nothing changed, unless the message says only the final flush\n"
    "     failed: then the new values are already in the file";

constexpr const char* kValuesHelp =
    "Booleans take true/false, yes/no, on/off or 1/0 in any case and are written true or\n"
    "false. Integers take an optional sign and decimal digits within the key's range.\n"
    "Substitutes (the keys ending in T) take a weapon token or the name the sheet shows,\n"
    "in any case: bfg (BFG), chaingun (Chaingun), grenades (Grenade Launcher),\n"
    "hyperblaster (Hyper Blaster), machinegun (Machinegun), railgun (Railgun), rockets\n"
    "(Rocket Launcher), shotgun (Shotgun), supershotgun (Super shotgun); the token is\n"
    "written.";

constexpr const char* kShortUsage = "Usage: gomcfgctl [OPTIONS] COMMAND [ARGS]\n"
                                    "Commands: list, get, set, reset, check, file, help, pages\n";

bool wantsJson(std::span<const std::string> args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), end, "--json") != end;
}

// The command word, found as the parser will find it: the first argument that is neither an
// option nor an option's value. Empty when there is none.
std::string commandWord(const CLI::App& app, std::span<const std::string> args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--")
            return i + 1 < args.size() ? args[i + 1] : std::string();
        if (!arg.starts_with('-') || arg == "-")
            return arg;
        const CLI::Option* option = app.get_option_no_throw(arg);
        if (option && option->get_items_expected_min() > 0 && arg.find('=') == std::string::npos)
            ++i;
    }
    return {};
}

constexpr const char* kEmptyFile = "--file needs a path; an empty one would edit the default file";
constexpr const char* kEmptyDir =
    "--dir needs a directory; an empty one would edit the default file";

// What is wrong with the options before "--", which CLI11 would report only after a missing KEY
// or command: one that neither gomcfgctl nor the command has, or an empty --file= or --dir=.
// Empty when nothing is.
std::string optionFault(const CLI::App& app, const CLI::App* command,
                        std::span<const std::string> args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--")
            break;
        if (!arg.starts_with('-') || arg == "-")
            continue;
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const CLI::Option* option = app.get_option_no_throw(name);
        if (!option && command)
            option = command->get_option_no_throw(name);
        // A command of a command (text write) has options of its own.
        if (!option && command) {
            for (const CLI::App* inner : command->get_subcommands({})) {
                if (std::find(args.begin(), args.end(), inner->get_name()) != args.end())
                    option = inner->get_option_no_throw(name);
                if (option)
                    break;
            }
        }
        if (!option)
            return "unknown option '" + name + "'";
        if (eq == std::string::npos && option->get_items_expected_min() > 0)
            ++i;
        else if (eq + 1 == arg.size() && (name == "--file" || name == "--dir"))
            return name == "--file" ? kEmptyFile : kEmptyDir;
    }
    return {};
}

bool asksForHelpOrVersion(std::span<const std::string> args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "-h" || arg == "--help" || arg == "--version";
    });
}

class Gomcfgctl {
public:
    Gomcfgctl(std::ostream& out, std::ostream& err, bool json, ProfileIo io,
              std::function<void()> beforeWrite)
        : m_out(out), m_err(err), m_output(out, err, json) {
        m_options.io = io;
        m_options.beforeWrite = std::move(beforeWrite);
    }

    int run(std::span<const std::string> args);

private:
    void define();
    int usageError(const std::string& message, const std::string& command = {});
    int dispatch();

    std::ostream& m_out;
    std::ostream& m_err;
    CliOutput m_output;
    CLI::App m_app{"Read, change and check section [Gomcfg] of GombleTroveII.ini, the settings\n"
                   "of a Gomble Trove II server, with the same rules as the Gomcfg sheet.",
                   "gomcfgctl"};
    CliOptions m_options;
    PageCommands m_pageCommands;
    std::string m_file;
    std::string m_dir;
    bool m_json = false;
    CLI::Option* m_fileOption = nullptr;
    CLI::Option* m_dirOption = nullptr;
    std::vector<std::string> m_getKeys;
    std::vector<std::string> m_assignments;
    std::vector<std::string> m_resetKeys;
    bool m_resetAll = false;
    std::string m_helpTopic;
    CLI::App* m_list = nullptr;
    CLI::App* m_get = nullptr;
    CLI::App* m_set = nullptr;
    CLI::App* m_reset = nullptr;
    CLI::App* m_check = nullptr;
    CLI::App* m_fileCommand = nullptr;
    CLI::App* m_help = nullptr;
    CLI::App* m_pages = nullptr;
};

void Gomcfgctl::define() {
    m_app.set_version_flag("--version", "gomcfgctl (Gomcfg) " GOMCFG_VERSION);
    m_app.require_subcommand(1);
    m_app.fallthrough();
    m_app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    m_app.footer("The file is GombleTroveII.ini in $GOMCFG_WINDIR, else in the current\n"
                 "directory. 'gomcfgctl help COMMAND' tells more about a command.\n\n" +
                 std::string(kExitStatusHelp));

    m_fileOption = m_app.add_option("--file", m_file, "Edit this file instead")->type_name("PATH");
    m_dirOption = m_app.add_option("--dir", m_dir, "Edit DIR/GombleTroveII.ini")->type_name("DIR");
    m_app.add_flag("--json", m_json, "Print the result, or the error, as JSON");
    m_app.add_flag("--dry-run", m_options.dryRun, "set, reset: show what would change");
    m_app.add_flag("-v,--verbose", m_options.verbose, "set, reset: print KEY: OLD -> NEW");

    const std::string exitFooter = kExitStatusHelp;
    m_list = m_app.add_subcommand("list", "Every key: stored text, value in effect, state");
    m_list->footer(exitFooter);

    m_get = m_app.add_subcommand("get", "Print the value in effect of each KEY");
    m_get->add_option("KEY", m_getKeys, "Keys, in any case")->required()->type_name("");
    m_get->footer(exitFooter);

    m_set = m_app.add_subcommand("set", "Check each KEY=VALUE, then write all in one save");
    m_set->add_option("KEY=VALUE", m_assignments, "Assignments")->required()->type_name("");
    m_set->footer(std::string(kValuesHelp) + "\n\n" + exitFooter);

    m_reset = m_app.add_subcommand("reset", "Write the defaults of the KEYs, or of --all");
    CLI::Option* keys = m_reset->add_option("KEY", m_resetKeys, "Keys, in any case")->type_name("");
    m_reset->add_flag("--all", m_resetAll, "Every key")->excludes(keys);
    m_reset->callback([this] {
        if (!m_resetAll && m_resetKeys.empty())
            throw CLI::ValidationError("reset", "give KEY... or --all");
    });
    m_reset->footer(exitFooter);

    m_check = m_app.add_subcommand("check", "Name each value the sheet reads differently");
    m_check->footer(exitFooter);

    m_fileCommand = m_app.add_subcommand("file", "Print the settings file's absolute path");
    m_fileCommand->footer(exitFooter);

    m_help = m_app.add_subcommand("help", "Help for COMMAND, as COMMAND --help does");
    m_help->footer(exitFooter);
    for (CLI::App* command : {m_list, m_get, m_set, m_reset, m_check, m_fileCommand, m_help})
        command->group("Commands");
    m_help->add_option("COMMAND", m_helpTopic, "A command")->type_name("");
    m_pages = AddPagesCommand(m_app);
    m_pageCommands.define(m_app);
}

int Gomcfgctl::usageError(const std::string& message, const std::string& command) {
    m_output.fail(kExitUsage, message);
    if (!m_output.json())
        m_err << "Try 'gomcfgctl " << (command.empty() ? "" : command + " ")
              << "--help' for more information.\n";
    return kExitUsage;
}

int Gomcfgctl::run(std::span<const std::string> args) {
    define();
    const std::string command = commandWord(m_app, args);
    if (command.empty() && !asksForHelpOrVersion(args)) {
        if (m_output.json())
            return m_output.fail(kExitUsage, "no command given");
        m_output.problem("no command given");
        m_err << kShortUsage << "Try 'gomcfgctl --help' for more information.\n";
        return kExitUsage;
    }
    const auto known = [](std::string_view word) {
        return std::find(std::begin(kCommands), std::end(kCommands), word) != std::end(kCommands);
    };
    if (!command.empty() && !known(command)) {
        const char* nearest = SuggestedName(command, kCommands);
        return usageError("unknown command '" + command + "'" +
                          (nearest ? "; did you mean '" + std::string(nearest) + "'?" : ""));
    }

    const CLI::App* commandApp = nullptr;
    for (const CLI::App* sub : m_app.get_subcommands({}))
        if (sub->get_name() == command)
            commandApp = sub;
    if (const std::string fault = optionFault(m_app, commandApp, args); !fault.empty())
        return usageError(fault, fault == kEmptyFile || fault == kEmptyDir || command == "help"
                                     ? std::string()
                                     : command);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        m_app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* asked =
            m_app.get_subcommands().empty() ? &m_app : m_app.get_subcommands().front();
        m_out << (asked == &m_app ? m_app.help() : asked->help("gomcfgctl"));
        return kExitDone;
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return m_app.exit(e, m_out, m_err) == 0 ? kExitDone : kExitUsage;
        return usageError(e.what(), command == "help" ? std::string() : command);
    }

    if (m_fileOption->count() > 0 && m_dirOption->count() > 0)
        return usageError("--file and --dir both name the file; give one of them");
    if (m_fileOption->count() > 0 && m_file.empty())
        return usageError(kEmptyFile);
    if (m_dirOption->count() > 0 && m_dir.empty())
        return usageError(kEmptyDir);
    m_options.path = SettingsFilePath(
        m_dirOption->count() > 0 ? std::optional<std::string>(m_dir) : std::nullopt,
        m_fileOption->count() > 0 ? std::optional<std::string>(m_file) : std::nullopt);
    return dispatch();
}

int Gomcfgctl::dispatch() {
    if (m_list->parsed())
        return RunList(m_options, m_output);
    if (m_get->parsed())
        return RunGet(m_options, m_output, m_getKeys);
    if (m_set->parsed())
        return RunSet(m_options, m_output, m_assignments);
    if (m_reset->parsed())
        return RunReset(m_options, m_output, m_resetKeys, m_resetAll);
    if (m_check->parsed())
        return RunCheck(m_options, m_output);
    if (m_fileCommand->parsed())
        return RunFile(m_options, m_output);
    if (m_pages->parsed())
        return RunPages(m_output);
    if (const auto status = m_pageCommands.dispatch(
            m_options, m_output, m_dirOption->count() > 0 ? m_dir : std::string("."), std::cin))
        return *status;
    if (m_helpTopic.empty()) {
        // App::help() would describe the help command, the one that was parsed.
        m_out << m_app.get_formatter()->make_help(&m_app, "gomcfgctl", CLI::AppFormatMode::Normal);
        return kExitDone;
    }
    for (const CLI::App* sub : m_app.get_subcommands({})) {
        if (sub->get_name() == m_helpTopic) {
            m_out << sub->help("gomcfgctl");
            return kExitDone;
        }
    }
    const char* nearest = SuggestedName(m_helpTopic, kCommands);
    return usageError("help: unknown command '" + m_helpTopic + "'" +
                      (nearest ? "; did you mean '" + std::string(nearest) + "'?" : ""));
}

} // namespace

int RunGomcfgctl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                 ProfileIo io, std::function<void()> beforeWrite) {
    Gomcfgctl program(out, err, wantsJson(args), io, std::move(beforeWrite));
    try {
        return program.run(args);
    } catch (const std::bad_alloc&) {
        CliOutput output(out, err, wantsJson(args));
        return output.fail(kExitFile, "out of memory");
    }
}
