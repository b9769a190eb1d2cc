#pragma once

#include "TestSupport.h"
#include "platform/PrivateProfile.h"

#include <QString>

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Helpers for the private-profile tests; every file lives in a ScopedWorkDir.
inline constexpr const char* kIni = "test.ini";

inline std::string profileString(const char* section, const char* key,
                                 const char* defaultValue = "<default>", DWORD size = 1024,
                                 const char* file = kIni) {
    std::vector<char> buffer(size + 1, '#');
    const DWORD length =
        GetPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    EXPECT_LT(length, size);
    EXPECT_EQ(buffer[length], '\0');
    return std::string(buffer.data(), length);
}

inline void putBytes(const ScopedWorkDir& dir, const std::string& bytes,
                     const QString& name = kIni) {
    dir.write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

inline std::string bytesOf(const ScopedWorkDir& dir, const QString& name = kIni) {
    return dir.read(name).toStdString();
}

// UTF-16LE with the FF FE mark, as Windows programs save "Unicode" text.
inline std::string utf16LeFile(const QString& text) {
    std::string bytes = "\xFF\xFE";
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

inline std::set<std::string> entriesOf(const QString& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.toStdString()))
        names.insert(entry.path().filename().string());
    return names;
}

inline mode_t modeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return st.st_mode & 07777;
}
