#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The copy of a file's old bytes that an in-place save puts beside it (BackupFileName) and makes
// durable before it touches the file, and removes once the new bytes are on disk. Its first line
// names the file (device and inode) and the length and checksum of the old and of the new bytes,
// so whoever finds one can tell a half-written file from a whole one: the file is whole when it
// holds exactly the old or the new bytes, and otherwise the copy's old bytes are the truth. The
// copy is only ever put in place by a rename of a flushed temporary file, so one that fails its
// own checks was not made by us and is left alone.
class InPlaceBackup {
public:
    // What the copy holds, for file's oldBytes that are about to become newSize bytes summing
    // to newSum.
    static std::string encode(const struct stat& file, std::string_view oldBytes,
                              std::size_t newSize, std::uint64_t newSum);

    // Reads the copy at path (relative to dirFd). Nothing when there is none (errno ENOENT), it
    // can't be read, or it is not one of ours (errno EEXIST: the name is somebody else's).
    static std::optional<InPlaceBackup> load(int dirFd, const std::string& path);

    // Whether the copy was made for this file, and not for one since replaced under its name.
    bool isFor(const struct stat& file) const;
    // Whether bytes are the old or the new contents in whole.
    bool isWhole(std::string_view bytes) const;
    std::string_view oldBytes() const { return std::string_view(m_raw).substr(m_bodyOffset); }

private:
    std::string m_raw;
    std::size_t m_bodyOffset = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::uint64_t m_oldSum = 0;
    std::size_t m_newSize = 0;
    std::uint64_t m_newSum = 0;
};
