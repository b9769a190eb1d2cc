#pragma once

// The settings file and the codecs through which pages read and write booleans and integers.
// Unreadable values fall back to the default silently; failed writes are reported per key.

#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"

void ReadBoolSetting(int& result, const char* key, int defaultValue);
void WriteBoolSetting(int value, const char* key);
void ReadIntSetting(const char* key, int& result, int defaultValue);
void WriteIntSetting(int value, const char* key);
void ShowError(const char* text);
