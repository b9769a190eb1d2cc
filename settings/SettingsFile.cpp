#include "settings/SettingsFile.h"

#include <cstdlib>

std::string SettingsFilePath() {
    const char* winDir = std::getenv("GOMCFG_WINDIR");
    std::string dir = winDir && *winDir ? winDir : ".";
    if (dir.back() != '/')
        dir += '/';
    return dir + kSettingsFileName;
}
