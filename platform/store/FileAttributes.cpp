#include "platform/store/FileAttributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>

namespace {

// The names of fd's extended attributes; empty where the file system has none. Nothing on an
// error.
std::optional<std::vector<std::string>> namesOf(int fd) {
    std::string list;
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? std::optional(std::vector<std::string>()) : std::nullopt;
        list.resize(static_cast<std::size_t>(size));
        const ssize_t n = ::flistxattr(fd, list.data(), list.size());
        if (n >= 0) {
            list.resize(static_cast<std::size_t>(n));
            break;
        }
        if (errno != ERANGE) // ERANGE: one was added meanwhile
            return std::nullopt;
    }
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        names.emplace_back(list, at, end - at);
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

// fd's value of name; nothing with errno ENODATA when it has none.
std::optional<std::string> valueOf(int fd, const std::string& name) {
    std::string value;
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t n = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
}

} // namespace

FileAttributes FileAttributes::of(int fd, const struct stat& st) {
    FileAttributes attributes;
    attributes.m_uid = st.st_uid;
    attributes.m_gid = st.st_gid;
    attributes.m_mode = st.st_mode & 07777;
    const auto names = namesOf(fd);
    if (!names) {
        attributes.m_copyable = false;
        return attributes;
    }
    for (const std::string& name : *names) {
        auto value = valueOf(fd, name);
        if (value)
            attributes.m_xattrs.emplace_back(name, std::move(*value));
        else if (errno != ENODATA) // ENODATA: removed since the listing
            attributes.m_copyable = false;
    }
    return attributes;
}

bool FileAttributes::copyTo(int fd) const {
    const auto present = namesOf(fd);
    if (!present)
        return false;
    for (const std::string& name : *present) {
        const bool wanted = std::any_of(m_xattrs.begin(), m_xattrs.end(),
                                        [&](const auto& kept) { return kept.first == name; });
        if (!wanted && ::fremovexattr(fd, name.c_str()) != 0)
            return false;
    }
    for (const auto& [name, value] : m_xattrs) {
        if (valueOf(fd, name) == value)
            continue;
        if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0)
            return false;
    }
    // Without the right to give the file away (EPERM) the check below fails, and the caller
    // keeps owner and group by writing the file in place instead.
    if (::fchown(fd, m_uid, m_gid) != 0 && errno != EPERM)
        return false;
    if (::fchmod(fd, m_mode) != 0)
        return false;
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_uid == m_uid && st.st_gid == m_gid &&
           (st.st_mode & 07777) == m_mode;
}
