#include "settings/SettingsCodecs.h"

#include "platform/MessageBox.h"
#include "platform/PrivateProfile.h"

#include <climits>
#include <cstdio>
#include <cstring>

void ReadBoolSetting(int& result, const char* key, int defaultValue) {
    char buffer[kValueBufferSize];
    GetPrivateProfileString(kSettingsSection, key, defaultValue ? "true" : "false", buffer,
                            sizeof buffer, kSettingsFileName);
    if (std::strcmp(buffer, "true") == 0)
        result = 1;
    else if (std::strcmp(buffer, "false") == 0)
        result = 0;
    else
        result = defaultValue;
}

void WriteBoolSetting(int value, const char* key) {
    if (!WritePrivateProfileString(kSettingsSection, key, value ? "true" : "false",
                                   kSettingsFileName))
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

int ParseLeadingInt(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= INT_MAX) // enough to saturate, and never overflows
            magnitude = magnitude * 10 + (*p - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}
