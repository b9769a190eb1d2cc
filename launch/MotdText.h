#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>

// The message-of-the-day file, read for the preview.
inline constexpr const char* kMotdFileName = "gomble_motd.txt";
inline constexpr qsizetype kMotdPreviewBytes = 1024;

// The preview bytes of the file: at most kMotdPreviewBytes, up to the first NUL. Nothing when the
// file is missing, unreadable or not a regular file. cut tells whether the file went on past the
// bytes returned (a NUL ends the text without cutting it).
struct MotdBytes {
    std::string bytes;
    bool cut = false;
};
std::optional<MotdBytes> ReadMotdBytes(const char* path);

// Preview text from file bytes: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark
// dropped, and a character split by the cut left out), else Windows-1252. CR LF, LF and CR
// all become "\n", which the preview shows as a line break.
QString MotdTextFromBytes(QByteArrayView bytes, bool cut);
