#include "pages/SettingsCodecs.h"

#include "pages/SettingsAccess.h"
#include "platform/dialog/MessageBox.h"

#include <cstdio>
#include <cstring>

namespace {
void ReportSaveFailure() {
    ShowError("Problem saving GombleTroveII.ini");
}
} // namespace

void ReadBoolSetting(int& result, const char* key, int defaultValue) {
    char buffer[kValueBufferSize];
    if (!ReadSettingText(key, BooleanText(defaultValue), buffer))
        return;
    result = ReadBooleanText(buffer).value_or(defaultValue);
    NoteShownValue(key, BooleanText(result));
}

void WriteBoolSetting(int value, const char* key) {
    WriteSettingText(key, BooleanText(value), &ReportSaveFailure);
}

void ReadIntSetting(const char* key, int& result, int defaultValue) {
    char defaultText[kValueBufferSize];
    std::snprintf(defaultText, sizeof defaultText, "%i", defaultValue);
    char buffer[kValueBufferSize];
    if (!ReadSettingText(key, defaultText, buffer))
        return;
    result = ParseLeadingInt(buffer);
    NoteShownValue(key, IntegerText(result));
}

void WriteIntSetting(int value, const char* key) {
    char text[kValueBufferSize];
    std::snprintf(text, sizeof text, "%i", value);
    WriteSettingText(key, text, &ReportSaveFailure);
}

void ShowError(const char* text) {
    char message[kValueBufferSize];
    std::snprintf(message, sizeof message, "ERROR: %s\n", text);
    AfxMessageBox(QString::fromLocal8Bit(message), MB_OK | MB_ICONEXCLAMATION);
}
