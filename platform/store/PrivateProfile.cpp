#include "platform/store/PrivateProfile.h"

#include "platform/store/AtomicFile.h"
#include "platform/store/IniDocument.h"
#include "platform/store/ReadFile.h"
#include "platform/store/Utf16Le.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

constexpr ProfileFileOps kSystemFileOps{&::write, &::fsync, &std::rename};
const ProfileFileOps* g_fileOps = &kSystemFileOps;
std::chrono::milliseconds g_lockWait = kProfileLockWait;

// Section and key arguments lose spaces only; a tab is part of the name.
std::string_view trimmedOfSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Nothing when the file is missing or unreadable, or holds no such key.
std::optional<std::string> readValue(LPCSTR section, LPCSTR key, LPCSTR fileName) {
    std::string bytes;
    if (!section || !key || !ReadRegularFile(ResolveProfilePath(fileName), bytes))
        return std::nullopt;
    std::string_view text = bytes;
    std::string utf8;
    if (text.starts_with(kUtf16LeMark)) {
        utf8 = Utf16LeToUtf8(text.substr(kUtf16LeMark.size()), false);
        text = utf8;
    }
    const auto value = IniDocument(text).value(trimmedOfSpaces(section), trimmedOfSpaces(key));
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

bool writeValue(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    AtomicFile file(ResolveProfilePath(fileName), *g_fileOps, g_lockWait);
    if (!file.open())
        return false;
    if (!file.exists() && !value)
        return file.replace({});
    const std::string_view bytes = file.contents();
    const auto change = value ? std::optional<std::string_view>(value) : std::nullopt;
    if (!bytes.starts_with(kUtf16LeMark)) {
        // Spliced while writing: a large file is not copied to change one line.
        const auto edit =
            IniDocument(bytes).edit(trimmedOfSpaces(section), trimmedOfSpaces(key), change);
        return !edit || file.replace({bytes.substr(0, edit->offset), edit->inserted,
                                      bytes.substr(edit->offset + edit->removed)});
    }
    // Lone surrogates survive the trip to UTF-8 and back, so untouched lines keep their units.
    std::string utf8 = Utf16LeToUtf8(bytes.substr(kUtf16LeMark.size()), true);
    // Windows takes a lone mark for text without a line end: a new section goes on a new line.
    if (utf8.empty())
        utf8 = "\r\n";
    const auto edited =
        IniDocument(utf8).edited(trimmedOfSpaces(section), trimmedOfSpaces(key), change);
    if (!edited)
        return true;
    std::string out(kUtf16LeMark);
    out += Utf8ToUtf16Le(*edited);
    const std::string_view halfUnit =
        bytes.size() % 2 != 0 ? bytes.substr(bytes.size() - 1) : std::string_view();
    return file.replace({out, halfUnit}); // half a unit at the end stays where it was
}

} // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName) {
    if (!buffer || size == 0)
        return 0;
    std::optional<std::string> value;
    try {
        value = readValue(section, key, fileName);
    } catch (const std::bad_alloc&) {
        // A file too big for memory reads as missing.
    }
    std::string_view result;
    if (value) {
        result = *value;
        result = result.substr(0, result.find('\0')); // the caller sees a C string
    } else if (defaultValue) {
        result = defaultValue;
        result = result.substr(0, result.find_last_not_of(' ') + 1);
    }
    const std::size_t length = std::min<std::size_t>(result.size(), size - 1);
    std::copy_n(result.begin(), length, buffer);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (!section || !key || !fileName)
        return FALSE;
    try {
        return writeValue(section, key, value, fileName) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

std::string ResolveProfilePath(LPCSTR fileName) {
    if (!fileName)
        return {};
    const std::string name(fileName);
    const char* winDir = std::getenv("GOMCFG_WINDIR");
    if (name.find('/') != std::string::npos || !winDir || !*winDir)
        return name;
    std::string path(winDir);
    if (path.back() != '/')
        path += '/';
    return path + name;
}

void SetProfileFileOpsForTesting(const ProfileFileOps* ops) {
    g_fileOps = ops ? ops : &kSystemFileOps;
}

void SetProfileLockWaitForTesting(std::chrono::milliseconds wait) {
    g_lockWait = wait;
}
