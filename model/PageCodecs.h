#pragma once

#include "model/PageModel.h"

class SettingsSession;

// Where a page's codecs read and write: the sheet's session, and where their messages go (at
// once while reading, during the save for a failed write).
struct PageIo {
    SettingsSession& session;
    PageReports& reports;
};

// Booleans and integers. Unreadable values fall back silently: a boolean to its default, an
// integer to what atoi makes of the text. While the sheet shows kept keys again, a key that
// was not kept leaves result as it is, and the read returns false.
bool ReadBoolSetting(PageIo& io, int& result, const char* key, int defaultValue);
bool ReadIntSetting(PageIo& io, const char* key, int& result, int defaultValue);
// Adds the write to the sheet's OK or Apply; a failed save reports "ERROR: ..." per key.
void WriteBoolSetting(PageIo& io, int value, const char* key);
void WriteIntSetting(PageIo& io, int value, const char* key);
// "ERROR: text" and a line break.
void ShowError(PageIo& io, const char* text);

// One weapon's pair of keys (WeaponId 0 to 8): its enabled flag and its substitute, whose list
// position i is weapon i.

// Reads an enabled flag; anything but "true" or "false" is reported and counts as enabled.
void LoadDataItemON(PageIo& io, const char* key, const char* defaultText, int& enabled);
// Reads the substitute of token into selection; an unknown token is reported and the
// selection stays as it was.
void LoadDataItem(PageIo& io, const char* token, const char* defaultText, int& selection);
// Loads weapon id's pair, each key defaulting to the weapon enabled and standing for itself.
void LoadDataThingy(PageIo& io, unsigned id, int& enabled, int& selection);
// Enables control when flag is non-zero, else disables it; a missing control is reported.
void StatusChecker(PageIo& io, int flag, PageControl* control);
// Writes weapon id's enabled flag, then its substitute; a selection that names no weapon writes
// no substitute, so the file keeps the one it had.
void SaveWeaponSetting(PageIo& io, int enabled, int selection, int id);
