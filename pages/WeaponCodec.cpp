#include "pages/WeaponCodec.h"

#include "pages/SettingsAccess.h"
#include "platform/dialog/CComboBox.h"
#include "platform/dialog/MessageBox.h"
#include "settings/SettingValues.h"
#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstring>

namespace {

void ShowWeaponError(const char* text) {
    AfxMessageBox(QString::fromLatin1(text), MB_OK | MB_ICONEXCLAMATION);
}

void ReportSaveFailure() {
    ShowWeaponError("ERROR: Problem saving GombleTroveII.ini");
}

// A substitute key is the weapon's token with "T" appended.
void SubstituteKey(const char* token, char (&key)[kValueBufferSize]) {
    std::snprintf(key, sizeof key, "%sT", token);
}

// The list position the user has chosen: the selection, or else the item that the edit
// field's text names, ignoring case. CB_ERR when neither exists.
int ChosenPosition(const CComboBox& list) {
    const int selection = list.GetCurSel();
    if (selection != CB_ERR)
        return selection;
    const QString typed = list.GetWindowText();
    for (int i = 0; i < list.GetCount(); ++i) {
        if (QString::compare(list.GetLBText(i), typed, Qt::CaseInsensitive) == 0)
            return i;
    }
    return CB_ERR;
}

} // namespace

void LoadDataItemON(const char* key, const char* defaultText, int& enabled) {
    char buffer[kValueBufferSize];
    if (!ReadSettingText(key, defaultText, buffer))
        return;
    if (const std::optional<int> flag = ReadBooleanText(buffer)) {
        enabled = *flag;
    } else {
        ShowWeaponError("ERROR: problem in .ini file..\nFunction LoadDataItemON()");
        enabled = 1;
    }
    NoteShownValue(key, BooleanText(enabled));
}

void LoadDataItem(const char* token, const char* defaultText, CComboBox& list) {
    char key[kValueBufferSize];
    SubstituteKey(token, key);
    char buffer[kValueBufferSize];
    if (!ReadSettingText(key, defaultText, buffer))
        return;
    const int index = WeaponIndexFromToken(buffer);
    if (index >= 0)
        list.SetCurSel(index);
    else
        ShowWeaponError("ERROR: problem in .ini file\n in function LoadDataItem()\n");
    // An unreadable substitute leaves the list as it was, and so what it would write.
    const char* shown = WeaponTokenFromIndex(ChosenPosition(list));
    NoteShownValue(key, shown ? std::optional<std::string>(shown) : std::nullopt);
}

void LoadDataThingy(unsigned id, int& enabled, CComboBox& list) {
    if (id >= unsigned(kWeaponCount)) {
        ShowWeaponError("ERROR: in LoadDataThingy()\nCan't have a default!!!\n");
        return;
    }
    const char* token = WeaponTokenFromIndex(int(id));
    LoadDataItemON(token, "true", enabled);
    LoadDataItem(token, token, list);
}

void StatusChecker(int flag, CWnd* control) {
    if (!control || !control->GetSafeHwnd()) {
        ShowWeaponError("ERROR in StatusChecker()\nHey moron, dontcha' know yer supposed to pass "
                        "a\nparameter to this function!\nPS: If you didn't code this, tell the "
                        "guy who did");
        return;
    }
    control->EnableWindow(flag ? TRUE : FALSE);
}

void SaveWeaponSetting(int enabled, CComboBox& list, int id) {
    const char* token = WeaponTokenFromIndex(id);
    if (!token)
        return;
    char key[kValueBufferSize];
    SubstituteKey(token, key);
    const char* substitute = WeaponTokenFromIndex(ChosenPosition(list));

    WriteSettingText(token, BooleanText(enabled), &ReportSaveFailure);
    // Without a chosen weapon the file keeps the substitute it had: a null value would delete
    // the key.
    if (substitute)
        WriteSettingText(key, substitute, &ReportSaveFailure);
}
