#pragma once

#include <optional>
#include <string>

// Where the settings live: one file and one section in it.
inline constexpr const char* kSettingsFileName = "GombleTroveII.ini";
inline constexpr const char* kSettingsSection = "Gomcfg";
// Every value is read into a buffer this large, so at most 1023 bytes of it are seen.
inline constexpr int kValueBufferSize = 1024;

// The settings file every front end edits unless told otherwise: GombleTroveII.ini in
// $GOMCFG_WINDIR when that is set and not empty, else in the current directory ("./...").
std::string SettingsFilePath();

// The file a front end edits when told where: dir/GombleTroveII.ini for a directory, else the file
// named (a bare name is in the current directory, "./name", never in $GOMCFG_WINDIR), else
// SettingsFilePath(). Neither may be empty.
std::string SettingsFilePath(const std::optional<std::string>& dir,
                             const std::optional<std::string>& file);
