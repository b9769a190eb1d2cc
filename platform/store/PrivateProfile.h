#pragma once

#include "platform/Win32Types.h"
#include "platform/store/ProfileFileOps.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Private-profile (INI) access with the Win32 parameter order and semantics. A file name is a
// path as the system takes it: a bare name is in the current directory. A file starting with the
// bytes FF FE is UTF-16LE; its text is handed over and taken as UTF-8. Any other file is bytes.

// Copies the key's value (or defaultValue) into buffer, cut to size - 1 bytes plus a NUL, and
// returns the number of bytes copied without the NUL. Listing names (a null section or key) is
// not supported: the default is returned.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName);
// The two halves of GetPrivateProfileString, for callers that must know what the file held: the
// key's whole stored text (nothing when the file, section or key is missing or unreadable), and
// what lands in the buffer for it.
std::optional<std::string> GetPrivateProfileValue(LPCSTR section, LPCSTR key, LPCSTR fileName,
                                                  const ProfileIo& io = {});
DWORD CopyPrivateProfileValue(const std::optional<std::string>& stored, LPCSTR defaultValue,
                              LPSTR buffer, DWORD size);

// Replaces or adds one key, editing only that line; a null value removes the key's line.
// Atomic, see platform/store/AtomicFile.h. Returns FALSE on failure, and for a null section or key
// (removing a whole section is not supported). Another writer of the same directory or file is
// waited for io.lockWait at most; then the write fails and changes nothing.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName,
                               const ProfileIo& io = {});

// One key of a batch write. A null value removes the key's line. With expected set, the edit
// (and so the whole batch) only goes ahead while the key's stored text, as a reader sees it, is
// still *expected; an empty *expected means "while the key is still missing".
struct ProfileEdit {
    std::string key;
    std::optional<std::string> value;
    std::optional<std::optional<std::string>> expected;
};

struct ProfileWriteResult {
    enum class Status { Written, Unchanged, Stale, Failed };
    struct StaleKey {
        std::string key;
        std::optional<std::string> current; // what the file holds now; empty when missing
    };
    Status status = Status::Failed;
    std::vector<StaleKey> stale; // every edit whose expectation failed, in edit order
    int error = 0;               // errno when Failed
    // With Failed: only the last flush to disk failed, so the new text is in the file already,
    // though it might not survive a power cut.
    bool contentsWritten = false;
};

enum class ProfileWriteMode {
    Write,
    // Everything a write does up to the write itself: the file and its directory writable, both
    // locks taken, the preconditions checked. Written then means the write would change the file.
    DryRun,
};

// Applies the edits to one section in order, each as WritePrivateProfileString would, and
// saves the result in one atomic replace under the same lock: readers see all of them or none.
// Stale (a precondition failed) and Failed write nothing. Unchanged: every edit left the text as
// it was, and the file was not touched (a missing file is still created when an edit removes a
// key, as a single removal would).
ProfileWriteResult WritePrivateProfileKeys(std::string_view section,
                                           std::span<const ProfileEdit> edits, LPCSTR fileName,
                                           ProfileWriteMode mode = ProfileWriteMode::Write,
                                           const ProfileIo& io = {});

// The text of a profile file as the readers see it (UTF-16LE handed over as UTF-8), read in
// one go so several keys can be looked up in the same state of the file.
struct ProfileText {
    bool exists = false; // false and error 0: the file is missing, which reads as empty
    int error = 0;       // errno when the file exists but can't be read
    std::string text;
};
ProfileText ReadPrivateProfileText(LPCSTR fileName, const ProfileIo& io = {});

// The copies of the old bytes that in-place saves of the file put beside it and did not remove,
// because they were killed or the machine stopped (see platform/store/AtomicFile.h), as paths,
// sorted. The file may then hold the old text, the new one or a mix: only a person can tell,
// and restore a copy by hand. Nothing of ours reads them.
std::vector<std::string> LeftoverSaveCopies(LPCSTR fileName);
