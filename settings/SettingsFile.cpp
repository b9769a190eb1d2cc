#include "settings/SettingsFile.h"

#include <cstdlib>

std::string SettingsFilePath() {
    const char* winDir = std::getenv("GOMCFG_WINDIR");
    std::string dir = winDir && *winDir ? winDir : ".";
    if (dir.back() != '/')
        dir += '/';
    return dir + kSettingsFileName;
}

std::string SettingsFilePath(const std::optional<std::string>& dir,
                             const std::optional<std::string>& file) {
    if (dir)
        return (dir->ends_with('/') ? *dir : *dir + "/") + kSettingsFileName;
    if (file)
        return file->find('/') == std::string::npos ? "./" + *file : *file;
    return SettingsFilePath();
}
