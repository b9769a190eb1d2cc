#include "pages/SettingsCodecs.h"

#include "platform/dialog/MessageBox.h"
#include "platform/store/PrivateProfile.h"

#include <cstdio>
#include <cstring>

void ReadBoolSetting(int& result, const char* key, int defaultValue) {
    char buffer[kValueBufferSize];
    GetPrivateProfileString(kSettingsSection, key, BooleanText(defaultValue), buffer, sizeof buffer,
                            kSettingsFileName);
    result = ReadBooleanText(buffer).value_or(defaultValue);
}

void WriteBoolSetting(int value, const char* key) {
    if (!WritePrivateProfileString(kSettingsSection, key, BooleanText(value), kSettingsFileName))
        ShowError("Problem saving GombleTroveII.ini");
}

void ReadIntSetting(const char* key, int& result, int defaultValue) {
    char defaultText[kValueBufferSize];
    std::snprintf(defaultText, sizeof defaultText, "%i", defaultValue);
    char buffer[kValueBufferSize];
    GetPrivateProfileString(kSettingsSection, key, defaultText, buffer, sizeof buffer,
                            kSettingsFileName);
    result = ParseLeadingInt(buffer);
}

void WriteIntSetting(int value, const char* key) {
    char text[kValueBufferSize];
    std::snprintf(text, sizeof text, "%i", value);
    if (!WritePrivateProfileString(kSettingsSection, key, text, kSettingsFileName))
        ShowError("Problem saving GombleTroveII.ini");
}

void ShowError(const char* text) {
    char message[kValueBufferSize];
    std::snprintf(message, sizeof message, "ERROR: %s\n", text);
    AfxMessageBox(QString::fromLocal8Bit(message), MB_OK | MB_ICONEXCLAMATION);
}
