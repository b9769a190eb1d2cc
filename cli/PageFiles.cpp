#include "cli/PageFiles.h"

#include "platform/store/AtomicFile.h"
#include "settings/SettingsCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// Opening for a save checks what a save checks (directory, file, mode bits, what an interrupted
// save left), and writes nothing unless it puts right such a save.
std::optional<std::string> NotWritableMessage(const std::string& path) {
    AtomicFile file(path, kSystemFileOps, std::chrono::milliseconds(0));
    if (file.open() || errno == EWOULDBLOCK)
        return std::nullopt;
    const int error = errno;
    if (error == EACCES)
        if (const auto directory = UnwritableDirectoryMessage(path))
            return "cannot write " + AbsolutePath(path) + ": " + *directory;
    return "cannot write " + AbsolutePath(path) + ": " + std::strerror(error);
}

std::optional<std::string> MissingDirectoryMessage(const std::string& dir) {
    struct stat st {};
    const int error = ::stat(dir.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (error == 0)
        return std::nullopt;
    return "cannot use directory " + dir + ": " + std::strerror(error);
}
