#pragma once

#include "platform/Win32Types.h"
#include "platform/store/ProfileFileOps.h"

#include <chrono>
#include <string>

// Private-profile (INI) access with the Win32 parameter order and semantics. A bare file name
// resolves to $GOMCFG_WINDIR when set, else to the current directory. A file starting with the
// bytes FF FE is UTF-16LE; its text is handed over and taken as UTF-8. Any other file is bytes.

// Copies the key's value (or defaultValue) into buffer, cut to size - 1 bytes plus a NUL, and
// returns the number of bytes copied without the NUL. Listing names (a null section or key) is
// not supported: the default is returned.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName);

// Replaces or adds one key, editing only that line; a null value removes the key's line.
// Atomic, see platform/store/AtomicFile.h. Returns FALSE on failure, and for a null section or key
// (removing a whole section is not supported). Another writer of the same directory is waited
// for kProfileLockWait at most; then the write fails and changes nothing.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// The path a profile file name refers to.
std::string ResolveProfilePath(LPCSTR fileName);

// How long a write waits for another writer of the same directory.
inline constexpr std::chrono::milliseconds kProfileLockWait{5000};

// Routes the write, fsync and rename calls of every later save through ops (which must outlive
// its use); nullptr restores the system calls. For tests that simulate I/O faults.
void SetProfileFileOpsForTesting(const ProfileFileOps* ops);

// Sets how long every later save waits for another writer's lock. For tests that hold the lock.
void SetProfileLockWaitForTesting(std::chrono::milliseconds wait);
