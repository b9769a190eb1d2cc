#include "app/CommandLine.h"

#include "res/Strings.h"

#include <QtGlobal>

#include <string_view>

namespace {

struct LongOption {
    std::string_view name;
    CommandLine::Action action;
};

constexpr LongOption kLongOptions[] = {
    {"help", CommandLine::Action::Help},
    {"version", CommandLine::Action::Version},
};

CommandLine Fail(std::string error) {
    return {CommandLine::Action::Error, std::move(error)};
}

CommandLine ParseLongOption(std::string_view arg) {
    const std::string_view body = arg.substr(2);
    const size_t equals = body.find('=');
    const std::string_view name = body.substr(0, equals);
    const LongOption* match = nullptr;
    for (const LongOption& option : kLongOptions) {
        if (option.name == name) {
            match = &option;
            break;
        }
        if (option.name.starts_with(name)) {
            if (match)
                return Fail("option '" + std::string(arg) + "' is ambiguous");
            match = &option;
        }
    }
    if (!match)
        return Fail("unrecognized option '" + std::string(arg) + "'");
    if (equals != std::string_view::npos)
        return Fail("option '--" + std::string(match->name) + "' doesn't allow an argument");
    return {match->action, {}};
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    std::string_view firstOperand;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // Like getopt, every option is looked at before an operand is refused.
            if (firstOperand.data() == nullptr)
                firstOperand = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg[1] != '-')
            return Fail("invalid option -- '" + std::string(1, arg[1]) + "'");
        CommandLine parsed = ParseLongOption(arg);
        if (parsed.action != CommandLine::Action::Run)
            return parsed;
    }
    if (firstOperand.data() != nullptr)
        return Fail("extra operand '" + std::string(firstOperand) + "'");
    return {};
}

std::string HelpText() {
    const std::string name = kExecutableName;
    return "Usage: " + name +
           " [OPTION]\n"
           "Edit the settings of a Gomble Trove II game server: section [Gomcfg] of\n"
           "GombleTroveII.ini, in one tabbed sheet.\n"
           "\n"
           "      --help     display this help and exit\n"
           "      --version  output version information and exit\n"
           "\n"
           "Files:\n"
           "  GombleTroveII.ini  looked for in the directory named by GOMCFG_WINDIR, else in\n"
           "                     the current directory; when it is missing every setting\n"
           "                     shows its default and the first OK or Apply creates it\n"
           "  gomble_motd.txt, allow.cfg, deny.cfg, gthome.url, gthelp.url\n"
           "                     always taken from the current directory: start " +
           name +
           "\n"
           "                     in the server's directory\n"
           "\n"
           "Environment:\n"
           "  GOMCFG_WINDIR      directory of GombleTroveII.ini (default: the current\n"
           "                     directory)\n"
           "  GOMCFG_EDITOR      text editor command for the Edit buttons (default: the\n"
           "                     first of gnome-text-editor, gedit, kate, mousepad,\n"
           "                     featherpad, geany, l3afpad, leafpad, xedit on PATH)\n"
           "  GOMCFG_URL_OPENER  program that opens the URL of a shortcut (default:\n"
           "                     xdg-open)\n"
           "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
           "                     the display the sheet opens on\n"
           "\n"
           "Exit status:\n"
           "  0  the sheet was closed (OK or Cancel), or help or version was shown\n"
           "  1  no display could be opened\n"
           "  2  bad command line\n"
           "\n"
           "Without a display (a server reached over SSH):\n"
           "  gomcfgctl          the same settings as commands, for scripts\n"
           "  gomcfgtui          the same sheet in a terminal\n"
           "\n"
           "Keys, defaults and ranges: the Help button on each tab, or man " +
           name + ".\n";
}

std::string VersionText() {
    return std::string(kExecutableName) + " (Gomcfg) " + GOMCFG_VERSION + "\nQt " + qVersion() +
           "\n";
}

std::string UsageErrorText(const std::string& error) {
    const std::string name = kExecutableName;
    return name + ": " + error + "\nTry '" + name + " --help' for more information.\n";
}
