#pragma once

#include <optional>
#include <string>
#include <string_view>

// The message-of-the-day file, read for the preview of every front end.
inline constexpr const char* kMotdFileName = "gomble_motd.txt";
inline constexpr std::size_t kMotdPreviewBytes = 1024;

// The preview bytes of the file: at most kMotdPreviewBytes, up to the first NUL. Nothing when the
// file is missing, unreadable or not a regular file. cut tells whether the file went on past the
// bytes returned (a NUL ends the text without cutting it).
struct MotdBytes {
    std::string bytes;
    bool cut = false;
};
std::optional<MotdBytes> ReadMotdBytes(const char* path);

// Preview text, in UTF-8, from file bytes: the bytes themselves when they are valid UTF-8 (a
// leading byte-order mark dropped, and a character split by the cut left out), else read as
// Windows-1252. CR LF, LF and CR all become "\n", which the preview shows as a line break.
std::string MotdUtf8FromBytes(std::string_view bytes, bool cut);
