#pragma once

#include "settings/SettingsFile.h"

#include <optional>
#include <string>

class SettingsSession;

// How the codecs reach the settings: through the session of the sheet that is open, which
// installs it for its life. Returns the session installed before, for the sheet to put back.
SettingsSession* SetSettingsSession(SettingsSession* session);

// For the codecs. Without a session there is no settings file: every key reads as missing and
// every write fails.

// Fills buffer as GetPrivateProfileString would. False while the sheet shows kept keys again
// and key is not one of them: the codec then leaves its value as it is.
bool ReadSettingText(const char* key, const char* defaultText, char (&buffer)[kValueBufferSize]);
// After a read: what the page now shows, as the text it would write.
void NoteShownValue(const char* key, std::optional<std::string> shown);
// Adds the write to the sheet's OK or Apply; reportFailure runs if the save fails.
void WriteSettingText(const char* key, const char* value, void (*reportFailure)());
