#pragma once

#include "cli/CliOptions.h"

#include <string>
#include <vector>

// The commands of gomcfgctl. Each writes its result to stdout and its complaints to stderr, and
// returns the exit status.
int RunList(const CliOptions& options);
int RunGet(const CliOptions& options, const std::vector<std::string>& keys);
int RunSet(const CliOptions& options, const std::vector<std::string>& assignments);
int RunReset(const CliOptions& options, const std::vector<std::string>& keys, bool all);
int RunCheck(const CliOptions& options);
