#pragma once

#include "cli/CliOptions.h"
#include "cli/CliOutput.h"

#include <string>
#include <vector>

// The commands of gomcfgctl. Each writes its result and its complaints to output and returns the
// exit status.
int RunList(const CliOptions& options, CliOutput& output);
int RunGet(const CliOptions& options, CliOutput& output, const std::vector<std::string>& keys);
int RunSet(const CliOptions& options, CliOutput& output,
           const std::vector<std::string>& assignments);
int RunReset(const CliOptions& options, CliOutput& output, const std::vector<std::string>& keys,
             bool all);
int RunCheck(const CliOptions& options, CliOutput& output);
// The file the other commands would use, as an absolute path; it need not exist.
int RunFile(const CliOptions& options, CliOutput& output);
