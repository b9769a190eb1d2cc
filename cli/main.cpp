// gomcfgctl: the settings of the Gomcfg sheet from a terminal, with the sheet's own store and
// rules, for servers without a display.

#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "platform/store/PrivateProfile.h"
#include "settings/SettingsFile.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace {

// The file the sheet would edit, unless --file or --dir names another. A bare name gets "./"
// so the store does not move it to $GOMCFG_WINDIR.
std::string settingsPath(const std::string& file, const std::string& dir) {
    std::string path = file;
    if (!dir.empty())
        path = (dir.back() == '/' ? dir : dir + "/") + kSettingsFileName;
    else if (path.empty())
        path = SettingsFilePath();
    return path.find('/') == std::string::npos ? "./" + path : path;
}

constexpr const char* kValuesHelp =
    "Booleans take true/false, yes/no, on/off or 1/0 in any case and are written true or false.\n"
    "Integers take an optional sign and decimal digits within the key's range.\n"
    "Substitutes (the keys ending in T) take a weapon token or the name the sheet shows, in any\n"
    "case: bfg (BFG), chaingun (Chaingun), grenades (Grenade Launcher), hyperblaster (Hyper\n"
    "Blaster), machinegun (Machinegun), railgun (Railgun), rockets (Rocket Launcher), shotgun\n"
    "(Shotgun), supershotgun (Super shotgun); the token is written.";

} // namespace

int main(int argc, char** argv) {
    CLI::App app("Read, change and check the settings of a Gomble Trove II server, section "
                 "[Gomcfg] of GombleTroveII.ini, with the same rules as the Gomcfg sheet.",
                 "gomcfgctl");
    app.set_version_flag("--version", "gomcfgctl (Gomcfg) " GOMCFG_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.footer("The file is GombleTroveII.ini in $GOMCFG_WINDIR, else in the current directory.\n"
               "Exit status: 0 done; 1 check found problems, or get met a value the sheet reads\n"
               "its own way; 2 usage error or invalid value, nothing written; 3 the file could\n"
               "not be read or written, nothing changed.");
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return std::string("gomcfgctl: ") + e.what() +
               "\nTry 'gomcfgctl --help' for more information.\n";
    });

    std::string file;
    std::string dir;
    CliOptions options;
    CLI::Option* fileOption =
        app.add_option("--file", file, "Edit this file instead")->type_name("PATH");
    app.add_option("--dir", dir, "Edit DIR/GombleTroveII.ini")
        ->type_name("DIR")
        ->excludes(fileOption);
    app.add_flag("--json", options.json, "Print the result as JSON");
    app.add_flag("--dry-run", options.dryRun, "set, reset: show what would change, write nothing");
    app.add_flag("-v,--verbose", options.verbose, "set, reset: print KEY: OLD -> NEW per change");

    CLI::App* list = app.add_subcommand("list", "Every key in table order, with its stored text, "
                                                "value in effect and state");

    std::vector<std::string> getKeys;
    CLI::App* get = app.add_subcommand("get", "The value in effect of each key, one per line");
    get->add_option("KEY", getKeys, "Keys, in any case")->required();

    std::vector<std::string> assignments;
    CLI::App* set =
        app.add_subcommand("set", "Validate every assignment, then write them in one atomic save");
    set->add_option("KEY=VALUE", assignments, "Assignments")->required();
    set->footer(kValuesHelp);

    std::vector<std::string> resetKeys;
    bool resetAll = false;
    CLI::App* reset = app.add_subcommand("reset", "Write the defaults of the keys");
    CLI::Option* resetKeysOption = reset->add_option("KEY", resetKeys, "Keys, in any case");
    reset->add_flag("--all", resetAll, "Every key")->excludes(resetKeysOption);
    reset->callback([&] {
        if (!resetAll && resetKeys.empty())
            throw CLI::ValidationError("reset", "give KEY... or --all");
    });

    CLI::App* check = app.add_subcommand(
        "check", "Report every stored value the sheet would read differently than it is written");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitDone : kExitUsage;
    }

    options.path = settingsPath(file, dir);
    if (list->parsed())
        return RunList(options);
    if (get->parsed())
        return RunGet(options, getKeys);
    if (set->parsed())
        return RunSet(options, assignments);
    if (reset->parsed())
        return RunReset(options, resetKeys, resetAll);
    if (check->parsed())
        return RunCheck(options);
    return kExitUsage;
}
