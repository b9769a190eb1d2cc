#pragma once

// The settings file and the codecs through which pages read and write booleans and integers.
// Unreadable values fall back to the default silently; failed writes are reported per key.

inline constexpr const char* kSettingsFileName = "GombleTroveII.ini";
inline constexpr const char* kSettingsSection = "Gomcfg";
inline constexpr int kValueBufferSize = 1024;

void ReadBoolSetting(int& result, const char* key, int defaultValue);
void WriteBoolSetting(int value, const char* key);
void ReadIntSetting(const char* key, int& result, int defaultValue);
void WriteIntSetting(int value, const char* key);
void ShowError(const char* text);

// The integer at the start of text, as the C library's atoi reads it, but saturated to the
// range of int where atoi would be undefined.
int ParseLeadingInt(const char* text);
