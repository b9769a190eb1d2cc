#pragma once

#include "settings/WeaponTokens.h"

class CComboBox;
class CWnd;

// The nine weapons (WeaponId 0 to 8, in byte order of their tokens) and the functions that move
// one weapon's pair of keys, its enabled flag and its substitute, between the settings file and
// a row of the Weapons page. Position i of every substitute list shows weapon i.

// Reads an enabled flag; anything but "true" or "false" is reported and counts as enabled.
void LoadDataItemON(const char* key, const char* defaultText, int& enabled);
// Reads the substitute of token into list's selection; an unknown token is reported and the
// selection stays as it was.
void LoadDataItem(const char* token, const char* defaultText, CComboBox& list);
// Loads weapon id's pair, each key defaulting to the weapon enabled and standing for itself.
void LoadDataThingy(unsigned id, int& enabled, CComboBox& list);
// Enables control when flag is non-zero, else disables it.
void StatusChecker(int flag, CWnd* control);
// Writes weapon id's enabled flag, then its substitute from list. A list without a selection
// writes no substitute, unless its edit field names one of its items, ignoring case.
void SaveWeaponSetting(int enabled, CComboBox& list, int id);
