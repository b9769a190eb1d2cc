#pragma once

#include <string>

// Whether name can be run as a program: a name with a slash is taken as a path, any other is
// looked up in the directories of $PATH, as posix_spawnp does.
bool IsExecutableOnPath(const std::string& name);
