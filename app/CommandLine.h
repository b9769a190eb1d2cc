#pragma once

#include <string>

// The command line, read before any window system is touched so that --help and --version
// work without a display. Options follow the GNU conventions: long options may be shortened
// to any unambiguous prefix, and "--" ends the options.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string error; // for Error: what is wrong, without the program name
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The texts for --help and --version, each ending in a newline.
std::string HelpText();
std::string VersionText();
// The two lines printed on stderr for a bad command line.
std::string UsageErrorText(const std::string& error);
