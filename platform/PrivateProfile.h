#pragma once

#include "platform/Win32Types.h"

#include <string>

// Private-profile (INI) access with the Win32 parameter order and semantics. A bare file name
// resolves to $GOMCFG_WINDIR when set, else to the current directory.

// Copies the key's value (or defaultValue) into buffer, cut to size - 1 bytes plus a NUL, and
// returns the number of bytes copied without the NUL.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName);

// Replaces or adds one key, editing only that line; atomic. Returns FALSE on failure.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// The path a profile file name refers to.
std::string ResolveProfilePath(LPCSTR fileName);
