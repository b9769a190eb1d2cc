// gomcfgtui: the settings sheet in a terminal, for a server reached over SSH.
#include "settings/SettingsFile.h"
#include "settings/SettingsSession.h"
#include "tui/TuiScreen.h"
#include "tui/TuiSheet.h"
#include "tui/TuiTerminal.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: gomcfgtui [--file PATH | --dir DIR] [--tab NAME]\n"
    "Edit the Gomble Trove II settings in a terminal: the six tabs of the gomcfg2 sheet.\n"
    "\n"
    "  --file PATH  edit this file instead\n"
    "  --dir DIR    edit DIR/GombleTroveII.ini\n"
    "  --tab NAME   open on this tab (Weapons, \"Gomble Stuff\", \"Server Options\",\n"
    "               Services, C.T.F., About)\n"
    "  --help       show this help\n"
    "  --version    show the version\n"
    "\n"
    "The file is GombleTroveII.ini in $GOMCFG_WINDIR, else in the current directory.\n"
    "Keys: Tab/Shift+Tab move, Space ticks, Up/Down or a letter picks a weapon, Enter is OK,\n"
    "Esc is Cancel, Alt+1..6 or Ctrl+PgUp/PgDn change tabs, F1 is help.\n"
    "For scripts, use gomcfgctl.\n";

int usageError(const std::string& text) {
    std::fprintf(stderr, "gomcfgtui: %s\nTry 'gomcfgtui --help' for more information.\n",
                 text.c_str());
    return kExitUsage;
}

struct Options {
    std::optional<std::string> file;
    std::optional<std::string> dir;
    std::optional<std::string> tab;
};

// Fills options from argv; an exit status when the program ends here.
std::optional<int> parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("gomcfgtui (Gomcfg) %s\n", GOMCFG_VERSION);
            return 0;
        }
        std::optional<std::string>* target = nullptr;
        std::string_view name = arg.substr(0, arg.find('='));
        if (name == "--file")
            target = &options.file;
        else if (name == "--dir")
            target = &options.dir;
        else if (name == "--tab")
            target = &options.tab;
        else
            return usageError(arg.starts_with("-")
                                  ? "unrecognized option '" + std::string(arg) + "'"
                                  : "unexpected argument '" + std::string(arg) + "'");
        std::string value;
        if (name.size() < arg.size()) {
            value = arg.substr(name.size() + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return usageError("option '" + std::string(name) + "' needs a value");
        }
        if (value.empty())
            return usageError("option '" + std::string(name) + "' needs a value that is not empty");
        if (*target)
            return usageError("option '" + std::string(name) + "' given twice");
        *target = value;
    }
    if (options.file && options.dir)
        return usageError("--file and --dir exclude each other");
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    Options options;
    if (const std::optional<int> status = parse(argc, argv, options))
        return *status;
    int tab = 0;
    if (options.tab) {
        tab = TuiSheet::TabNamed(*options.tab);
        if (tab < 0)
            return usageError("no tab named '" + *options.tab + "'");
    }
    const auto noTerminal = [](const char* reason) {
        std::fprintf(stderr,
                     "gomcfgtui: %s; for scripts and pipes use gomcfgctl (gomcfgctl --help)\n",
                     reason);
        return kExitUsage;
    };
    if (const char* reason = TerminalUnusable())
        return noTerminal(reason);

    SettingsSession session(SettingsFilePath(options.dir, options.file));
    int endSignal = 0;
    std::string failure;
    {
        TuiTerminal terminal;
        if (!terminal.isOpen())
            return noTerminal("the terminal type in TERM is unknown");
        try {
            TuiScreen screen(session, terminal);
            screen.run(tab);
        } catch (const TuiTerminal::Ended&) {
            // SIGTERM, SIGHUP, SIGINT (Ctrl+C) or SIGQUIT: nothing more is written.
        } catch (const std::exception& e) {
            failure = e.what();
        }
        endSignal = TuiTerminal::EndSignal();
    } // the terminal is given back here, before anything is printed
    if (!failure.empty()) {
        std::fprintf(stderr, "gomcfgtui: %s\n", failure.c_str());
        return 1;
    }
    if (endSignal != 0)
        return 128 + endSignal;
    return 0;
}
