#pragma once

#include "platform/store/ProfileFileOps.h"

#include <functional>
#include <ostream>
#include <span>
#include <string>

// gomcfgctl as a function: args are the command line after the program's name; results go to
// out, complaints to err (with --json, everything goes to out as one JSON document). Returns the
// exit status (cli/CliOptions.h). io and beforeWrite: see CliOptions.
int RunGomcfgctl(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                 ProfileIo io = {}, std::function<void()> beforeWrite = {});
