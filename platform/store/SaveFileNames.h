#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// Where a save's own files go beside the file it saves, and how they are told apart from files
// somebody else put there: only names that pass these checks are ever removed by a save.

std::string DirectoryOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

// A symbolic link in a sticky directory is followed only when its owner is the directory's owner
// or the user running the program (the kernel's protected_symlinks rule, for every sticky
// directory and not only world-writable ones): anybody else who may add files there could have
// planted it to steer a save or a read to a file of their choosing.
struct UntrustedLink {
    std::string path;
    uid_t owner = 0;
};

// The first link that would be refused on the way to path, through any of its directories and
// the links' own targets; nothing when there is none (or the path cannot be walked further).
std::optional<UntrustedLink> UntrustedLinkOn(const std::string& path);

// Follows symbolic links until path names something else, which may be missing. False on a
// loop, an unreadable link or a link that would be refused (UntrustedLinkOn; errno EACCES);
// errno says which.
bool ResolveLinks(std::string& path);

// A fresh name for a temporary file beside baseName: a random part and a check of it, so a file
// an administrator named like one of ours is never taken for ours.
std::string TempFileName(const std::string& baseName);
bool IsTempFileName(std::string_view name, const std::string& baseName);

// A fresh name for the copy of the old bytes that an in-place save keeps while it rewrites
// baseName: random like a temporary one, so nobody can take it in advance and two writers never
// meet on it. Nothing reads a copy back; one left by a killed save is named to the admin.
std::string SaveCopyFileName(const std::string& baseName);
bool IsSaveCopyFileName(std::string_view name, const std::string& baseName);

// A 64-bit checksum, eight bytes a step: names and copies are checked against it. Not a defence
// against forgery, only against a torn file or a look-alike name. Bytes may come in any pieces.
class Checksum {
public:
    void add(std::string_view bytes) {
        m_size += bytes.size();
        while (!bytes.empty() && m_pendingSize > 0) {
            m_pending[m_pendingSize++] = bytes.front();
            bytes.remove_prefix(1);
            if (m_pendingSize == sizeof m_pending) {
                m_value = mixed(m_value, m_pending);
                m_pendingSize = 0;
            }
        }
        for (; bytes.size() >= sizeof m_pending; bytes.remove_prefix(sizeof m_pending))
            m_value = mixed(m_value, bytes.data());
        if (!bytes.empty()) { // only when nothing is pending
            std::memcpy(m_pending, bytes.data(), bytes.size());
            m_pendingSize = bytes.size();
        }
    }
    std::uint64_t value() const {
        char last[sizeof m_pending] = {};
        std::memcpy(last, m_pending, m_pendingSize);
        return mixed(mixed(m_value, last), reinterpret_cast<const char*>(&m_size));
    }
    std::size_t size() const { return m_size; }

    static std::uint64_t of(std::string_view bytes) {
        Checksum sum;
        sum.add(bytes);
        return sum.value();
    }

private:
    static std::uint64_t mixed(std::uint64_t value, const char* word) {
        std::uint64_t w = 0;
        std::memcpy(&w, word, sizeof w);
        value = (value ^ w) * 0x9e3779b97f4a7c15u;
        return value ^ (value >> 29);
    }

    std::uint64_t m_value = 0xcbf29ce484222325u;
    std::uint64_t m_size = 0;
    char m_pending[8] = {};
    std::size_t m_pendingSize = 0;
};
