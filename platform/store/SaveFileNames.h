#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Where a save's own files go beside the file it saves, and how they are told apart from files
// somebody else put there: only names that pass these checks are ever removed by a save.

std::string DirectoryOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

// Follows symbolic links until path names something else, which may be missing. False on a
// loop or an unreadable link; errno says which.
bool ResolveLinks(std::string& path);

// A fresh name for a temporary file beside baseName: a random part and a check of it, so a file
// an administrator named like one of ours is never taken for ours.
std::string TempFileName(const std::string& baseName);
bool IsTempFileName(std::string_view name, const std::string& baseName);

// The fixed name of the copy of the old bytes that an in-place save keeps while it rewrites
// baseName. Readers look for it by name, so it cannot be random; its contents prove it ours.
std::string BackupFileName(const std::string& baseName);

// FNV-1a, 64 bits: names and copies are checked against it; not a defence against forgery,
// only against a torn file or a look-alike name.
class Checksum {
public:
    void add(std::string_view bytes) {
        for (const char c : bytes) {
            m_value ^= static_cast<unsigned char>(c);
            m_value *= 0x100000001b3u;
        }
        m_size += bytes.size();
    }
    std::uint64_t value() const { return m_value; }
    std::size_t size() const { return m_size; }

    static std::uint64_t of(std::string_view bytes) {
        Checksum sum;
        sum.add(bytes);
        return sum.value();
    }

private:
    std::uint64_t m_value = 0xcbf29ce484222325u;
    std::size_t m_size = 0;
};
