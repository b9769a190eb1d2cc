#pragma once

#include "platform/store/ProfileFileOps.h"

#include <functional>
#include <string>

// What every command of gomcfgctl is given, and how it ends.
struct CliOptions {
    std::string path; // the settings file, always with a directory part
    bool dryRun = false;
    bool verbose = false;
    ProfileIo io; // how the settings file's reads and saves reach the disk
    // Runs before each save that set or reset tries; tests change the file there.
    std::function<void()> beforeWrite;
};

enum ExitStatus : int {
    kExitDone = 0,
    kExitProblems = 1, // check found problems, or get met a value the sheet reads its own way
    kExitUsage = 2,    // a usage error or an invalid value; nothing written
    kExitFile = 3,     // the file could not be read or written; nothing changed, unless only the
                       // final flush failed
};
